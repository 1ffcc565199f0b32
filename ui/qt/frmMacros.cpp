#include "ui/qt/frmMacros.h"

#include <QFontDatabase>
#include <QKeyEvent>
#include <QListWidget>
#include <QVBoxLayout>

#include "ui/modSharedGUI.h"
#include "ui/qt/FormBuilder.h"
#include "ui/qt/LocalizeForm.h"

namespace gui {

namespace {

constexpr int kVisibleEntries = 12;
constexpr int kEntryChars = 60;

}  // namespace

frmMacros::frmMacros(QWidget* owner) : QDialog(owner), lstMacros_(new QListWidget) {
  setObjectName("frmMacros");
  setWindowTitle("[L72]Macros");
  LocalizeForm(this);
  lstMacros_->setObjectName("lstMacros");
  // The names are padded to one width; a fixed-pitch font keeps the descriptions in a column.
  lstMacros_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  for (const std::string& entry : MacroListEntries())
    lstMacros_->addItem(ToQt(entry).replace('\t', "  "));
  lstMacros_->setCurrentRow(0);
  lstMacros_->installEventFilter(this);
  connect(lstMacros_, &QListWidget::itemDoubleClicked, this, &frmMacros::Choose);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(lstMacros_);
  QFontMetrics metrics(lstMacros_->font());
  resize(metrics.averageCharWidth() * kEntryChars, metrics.height() * kVisibleEntries);
}

bool frmMacros::eventFilter(QObject* watched, QEvent* event) {
  if (watched == lstMacros_ && event->type() == QEvent::KeyPress) {
    int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      Choose();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void frmMacros::Choose() {
  m_macro = MacroAt(lstMacros_->currentRow());
  accept();
}

}  // namespace gui
