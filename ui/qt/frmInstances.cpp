#include "ui/qt/frmInstances.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QTreeWidget>

#include "services/modFolders.h"
#include "startup/modInstances.h"
#include "ui/qt/QtUi.h"

namespace gui {

namespace {

constexpr int kColumnMargin = 100;

std::string TextOf(const DictionaryValue& value) {
  const std::string* text = std::get_if<std::string>(&value);
  return text == nullptr ? std::string() : *text;
}

}  // namespace

frmInstances::frmInstances(QWidget* parent) : QDialog(parent), lv_(new QTreeWidget(this)) {
  setObjectName("frmInstances");
  setWindowTitle(QString::fromStdString(kProductName));
  lv_->setObjectName("lv");
  lv_->setRootIsDecorated(false);
  lv_->header()->setStretchLastSection(false);
  connect(lv_, &QTreeWidget::itemDoubleClicked, this, [this] { Choose(); });
  resize(320, 200);
}

std::string frmInstances::SelectInstance() {
  DictionaryPtr instances = GetInstances();
  if (instances->Count() == 0) return {};
  if (instances->Count() == 1) return TextOf(instances->begin()->second);
  EnsureQtApplication();
  frmInstances form;
  form.Fill(*instances);
  form.exec();
  return form.Result();
}

void frmInstances::Fill(const Dictionary& instances) {
  lv_->clear();
  lv_->setColumnCount(1);
  lv_->setHeaderLabels({"Printer"});
  for (const auto& [key, value] : instances) {
    std::string name = TextOf(value);
    auto* row =
        new QTreeWidgetItem(lv_, {QString::fromStdString(name.empty() ? "[default]" : name)});
    row->setData(0, Qt::UserRole, QString::fromStdString(key));
  }
  if (lv_->topLevelItemCount() > 0) lv_->setCurrentItem(lv_->topLevelItem(0));
}

void frmInstances::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      Choose();
      break;
    case Qt::Key_Escape:
      result_.clear();
      reject();
      break;
    default:
      QDialog::keyPressEvent(event);
  }
}

// The list fills the window; its one column leaves a margin for the scroll bar.
void frmInstances::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  lv_->setGeometry(0, 0, width(), height());
  lv_->setColumnWidth(0, lv_->width() - kColumnMargin);
}

void frmInstances::Choose() {
  QTreeWidgetItem* row = lv_->currentItem();
  result_ = row == nullptr ? std::string() : row->data(0, Qt::UserRole).toString().toStdString();
  accept();
}

}  // namespace gui
