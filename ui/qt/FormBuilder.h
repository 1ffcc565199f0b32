#pragma once

#include <QString>
#include <initializer_list>
#include <string>

class QBoxLayout;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QFormLayout;
class QFrame;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;
class QWidget;

namespace gui {

struct ListItems;

// Program text for a control (CR LF becomes one line break) and back.
QString ToQt(const std::string& text);
std::string FromQt(const QString& text);

// Controls named after their role; captions stay in the "[key]default" form until the form is
// localised as a whole.
QLabel* Label(const char* caption, QWidget* buddy = nullptr, const char* name = nullptr);
QLineEdit* TextBox(const char* name);
// A short box for a number.
QLineEdit* NumberBox(const char* name);
QCheckBox* CheckBox(const char* name, const char* caption);
QPushButton* Button(const char* name, const char* caption);
// The dialog's row of cmdOK, the default button, and cmdCancel.
QLayout* OkCancelButtons(const char* okCaption);
// A browse button: three dots, sized to its text.
QPushButton* BrowseButton(const char* name);
// A list filled with its items; editable lists keep what the person types.
QComboBox* List(const char* name, const ListItems& items, bool editable = false);
// A frame around a layout; name may be null.
QGroupBox* Frame(const char* name, const char* caption, QLayout* content);
// A form layout whose labels line up with their boxes as the platform's style wants.
QFormLayout* FormRows();
// Widgets side by side, the first one taking the spare width.
QHBoxLayout* Row(std::initializer_list<QWidget*> widgets);
// Option buttons, one below the other, exclusive and numbered from 0; the group carries the
// name, each button the name with "_" and its number.
QButtonGroup* OptionGroup(QWidget* owner, const char* name,
                          std::initializer_list<const char*> captions, QBoxLayout* into);
// The swatch that previews the watermark's grey.
QFrame* PreviewShape(const char* name);
// A label holding an explanation that wraps.
QLabel* Explanation(const char* caption);

}  // namespace gui
