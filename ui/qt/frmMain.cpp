#include "ui/qt/frmMain.h"

#include <QFileDialog>
#include <QTimer>

#include "platform/Files.h"
#include "services/modFiles.h"
#include "services/modFolders.h"
#include "services/modLocalize.h"
#include "startup/modConfig.h"
#include "ui/UserInterface.h"
#include "ui/qt/FormBuilder.h"
#include "ui/qt/SharedControls.h"
#include "ui/qt/modStealFocus.h"

namespace gui {

namespace {

void Prepare(QFileDialog& dialog, const std::string& fileName) {
  dialog.setObjectName("frmMain");
  dialog.setWindowTitle(ToQt(Localize("[L75]Save PDF Document As")));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  // The program asks its own overwrite question, in its own words.
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.setNameFilters(PdfNameFilters());
  if (FolderExists(fileName)) {
    dialog.setDirectory(ToQt(fileName));
    dialog.selectFile(QString());
  } else {
    dialog.selectFile(ToQt(fileName));
  }
}

}  // namespace

std::string SaveAs(const std::string& proposed, bool confirmOverwrite, bool bringToFront) {
  return FileSaveAs(proposed.empty() ? "*.pdf" : proposed, confirmOverwrite, bringToFront);
}

std::string FileSaveAs(const std::string& fileName, bool confirmOverwrite, bool bringToFront) {
  QFileDialog dialog;
  Prepare(dialog, fileName);
  for (;;) {
    // Asked for by a background service, the dialog must not open behind other windows.
    if (bringToFront) QTimer::singleShot(0, &dialog, [&dialog] { BringToForeground(&dialog); });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    std::string chosen = FromQt(dialog.selectedFiles().front());
    // A pattern such as the proposed "*.pdf" names no file: the dialog stays for a real name.
    if (platform::HasWildcards(chosen)) continue;
    if (!confirmOverwrite || !FileExists(chosen)) return chosen;
    if (Ui().MessageBox(OverwriteQuestion(chosen), mb::kYesNo | mb::kExclamation, kProductName) ==
        mb::kYes) {
      return chosen;
    }
  }
}

}  // namespace gui
