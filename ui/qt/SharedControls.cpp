#include "ui/qt/SharedControls.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFrame>
#include <QLineEdit>
#include <QTimer>

#include "services/modFiles.h"
#include "services/modPaths.h"
#include "ui/modSharedGUI.h"
#include "ui/qt/FormBuilder.h"

namespace gui {

QStringList PdfNameFilters() {
  QStringList filters;
  // The toolkit reads a filter's patterns from the parentheses at the end of its caption.
  for (const FileFilter& filter : PdfFilter()) {
    QString caption = ToQt(filter.caption);
    QString patterns = "(" + ToQt(filter.pattern) + ")";
    filters << (caption.endsWith(patterns) ? caption : caption + " " + patterns);
  }
  return filters;
}

void SelectAllText(QWidget* control) {
  auto* edit = qobject_cast<QLineEdit*>(control);
  if (auto* combo = qobject_cast<QComboBox*>(control)) edit = combo->lineEdit();
  // A mouse press places the cursor after the focus arrives; the selection must come later.
  if (edit) QTimer::singleShot(0, edit, &QLineEdit::selectAll);
}

std::string ShowOpenFileDialog(QWidget* owner, const std::string& title,
                               const std::string& initialFile) {
  QString folder = QDir::currentPath();
  QFileDialog dialog(owner, ToQt(title));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setNameFilters(PdfNameFilters());
  // A name in a missing folder cannot be shown; the dialog then starts without one.
  std::string initialFolder = GetFolderPart(initialFile);
  if (initialFolder.empty() || FolderExists(initialFolder)) dialog.selectFile(ToQt(initialFile));
  std::string chosen;
  if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
    chosen = FromQt(dialog.selectedFiles().front());
  QDir::setCurrent(folder);
  return chosen;
}

void UpdateTransparencyPreview(const QLineEdit* box, QFrame* shape) {
  QPalette palette = shape->palette();
  palette.setColor(QPalette::Window,
                   QColor::fromRgb(TransparencyPreviewColor(FromQt(box->text()))));
  shape->setPalette(palette);
}

}  // namespace gui
