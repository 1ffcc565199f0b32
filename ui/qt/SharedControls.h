#pragma once

#include <string>

#include <QStringList>

class QFrame;
class QLineEdit;
class QWidget;

namespace gui {

// Selects the whole text of a text box or editable list once the click that focused it is done.
void SelectAllText(QWidget* control);
// The file dialogs' type list: PDF documents, then all files.
QStringList PdfNameFilters();
// The open-file dialog of the browse buttons, listing PDF documents and all files; "" when the
// person cancels. The process's current folder is the same afterwards.
std::string ShowOpenFileDialog(QWidget* owner, const std::string& title,
                               const std::string& initialFile);
// Paints the preview swatch with the grey of the transparency box.
void UpdateTransparencyPreview(const QLineEdit* box, QFrame* shape);

}  // namespace gui
