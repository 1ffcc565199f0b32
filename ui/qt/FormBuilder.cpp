#include "ui/qt/FormBuilder.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/modSharedGUI.h"

namespace gui {

namespace {

constexpr int kTextBoxChars = 36;
constexpr int kNumberBoxChars = 8;
constexpr int kSwatchChars = 3;

template <typename T>
T* Named(T* widget, const char* name) {
  if (name) widget->setObjectName(name);
  return widget;
}

}  // namespace

QString ToQt(const std::string& text) {
  return QString::fromStdString(text).replace("\r\n", "\n");
}

std::string FromQt(const QString& text) {
  return text.toStdString();
}

QLabel* Label(const char* caption, QWidget* buddy, const char* name) {
  auto* label = Named(new QLabel(caption), name);
  label->setBuddy(buddy);
  return label;
}

QLineEdit* TextBox(const char* name) {
  auto* box = Named(new QLineEdit, name);
  box->setMinimumWidth(box->fontMetrics().averageCharWidth() * kTextBoxChars);
  return box;
}

QLineEdit* NumberBox(const char* name) {
  auto* box = Named(new QLineEdit, name);
  box->setFixedWidth(box->fontMetrics().averageCharWidth() * kNumberBoxChars);
  return box;
}

QCheckBox* CheckBox(const char* name, const char* caption) {
  return Named(new QCheckBox(caption), name);
}

QPushButton* Button(const char* name, const char* caption) {
  return Named(new QPushButton(caption), name);
}

QLayout* OkCancelButtons(const char* okCaption) {
  auto* buttons = new QDialogButtonBox;
  QPushButton* ok = Button("cmdOK", okCaption);
  ok->setDefault(true);
  buttons->addButton(ok, QDialogButtonBox::AcceptRole);
  buttons->addButton(Button("cmdCancel", "[L129]Cancel"), QDialogButtonBox::RejectRole);
  auto* row = new QHBoxLayout;
  row->addWidget(buttons);
  return row;
}

QPushButton* BrowseButton(const char* name) {
  auto* button = Button(name, "...");
  int width = button->fontMetrics().horizontalAdvance("....") * 2;
  button->setMaximumWidth(width);
  button->setMinimumWidth(width);
  return button;
}

QComboBox* List(const char* name, const ListItems& items, bool editable) {
  auto* list = Named(new QComboBox, name);
  list->setEditable(editable);
  if (editable) list->setInsertPolicy(QComboBox::NoInsert);
  for (const std::string& caption : items.captions)
    list->addItem(ToQt(caption));
  list->setCurrentIndex(items.selected);
  return list;
}

QGroupBox* Frame(const char* name, const char* caption, QLayout* content) {
  auto* frame = Named(new QGroupBox(caption), name);
  frame->setLayout(content);
  return frame;
}

QFormLayout* FormRows() {
  auto* rows = new QFormLayout;
  rows->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
  return rows;
}

QHBoxLayout* Row(std::initializer_list<QWidget*> widgets) {
  auto* row = new QHBoxLayout;
  row->setContentsMargins(0, 0, 0, 0);
  int stretch = 1;
  for (QWidget* widget : widgets) {
    row->addWidget(widget, stretch);
    stretch = 0;
  }
  return row;
}

QButtonGroup* OptionGroup(QWidget* owner, const char* name,
                          std::initializer_list<const char*> captions, QBoxLayout* into) {
  auto* group = Named(new QButtonGroup(owner), name);
  int id = 0;
  for (const char* caption : captions) {
    auto* option = new QRadioButton(caption);
    option->setObjectName(QString(name) + "_" + QString::number(id));
    group->addButton(option, id++);
    into->addWidget(option);
  }
  return group;
}

QFrame* PreviewShape(const char* name) {
  auto* shape = Named(new QFrame, name);
  shape->setFrameShape(QFrame::Box);
  shape->setAutoFillBackground(true);
  int side = shape->fontMetrics().averageCharWidth() * kSwatchChars;
  shape->setFixedSize(side, QLineEdit().sizeHint().height());
  return shape;
}

QLabel* Explanation(const char* caption) {
  auto* label = new QLabel(caption);
  label->setWordWrap(true);
  return label;
}

}  // namespace gui
