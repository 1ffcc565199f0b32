#include "ui/qt/frmMain.h"

#include <QFileDialog>

#include "services/modFiles.h"
#include "services/modFolders.h"
#include "services/modLocalize.h"
#include "startup/modConfig.h"
#include "ui/UserInterface.h"

namespace gui {

namespace {

QString Localized(const char* text) {
  return QString::fromStdString(Localize(text));
}

void Prepare(QFileDialog& dialog, const std::string& fileName, bool bringToFront) {
  dialog.setWindowTitle(Localized("[L75]Save PDF Document As"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  // The program asks its own overwrite question, in its own words.
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.setNameFilters(
      {Localized("[L76]PDF Documents") + " (*.pdf)", Localized("[L77]All Files") + " (*.*)"});
  if (FolderExists(fileName)) {
    dialog.setDirectory(QString::fromStdString(fileName));
  } else {
    dialog.selectFile(QString::fromStdString(fileName));
  }
  if (bringToFront) dialog.setWindowFlag(Qt::WindowStaysOnTopHint);
}

}  // namespace

std::string SaveAs(const std::string& proposed, bool confirmOverwrite, bool bringToFront) {
  return FileSaveAs(proposed.empty() ? "*.pdf" : proposed, confirmOverwrite, bringToFront);
}

std::string FileSaveAs(const std::string& fileName, bool confirmOverwrite, bool bringToFront) {
  QFileDialog dialog;
  Prepare(dialog, fileName, bringToFront);
  for (;;) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    std::string chosen = dialog.selectedFiles().front().toStdString();
    if (!confirmOverwrite || !FileExists(chosen)) return chosen;
    if (Ui().MessageBox(OverwriteQuestion(chosen), mb::kYesNo | mb::kExclamation, kProductName) ==
        mb::kYes) {
      return chosen;
    }
  }
}

}  // namespace gui
