#include "ui/qt/frmMain.h"

#include <QFileDialog>
#include <QLineEdit>
#include <filesystem>

#include "startup/modConfig.h"
#include "tests/ui/DialogTesting.h"

namespace gui {
namespace {

struct Seen {
  QString title;
  QString name;
  QString folder;
  QStringList filters;
};

// Looks at the dialog once it is up, then cancels it.
void SeeAndCancel(Seen& seen) {
  test::WhenModal<QFileDialog>([&seen](QFileDialog* dialog) {
    seen = {dialog->windowTitle(), dialog->findChild<QLineEdit*>("fileNameEdit")->text(),
            dialog->directory().absolutePath(), dialog->nameFilters()};
    dialog->reject();
  });
}

void Choose(const std::string& path, std::function<void()> then = {}) {
  test::WhenModal<QFileDialog>([path, then](QFileDialog* dialog) {
    if (then) then();
    dialog->findChild<QLineEdit*>("fileNameEdit")->setText(QString::fromStdString(path));
    QMetaObject::invokeMethod(dialog, "accept");
  });
}

class SaveAsTest : public test::DialogTest {
 protected:
  SaveAsTest() {
    std::filesystem::create_directories(Path("out"));
    test::PutFile(Path("out/old.pdf"), "%PDF");
  }
};

TEST_F(SaveAsTest, AnEmptyNameProposesEveryPdf) {
  Seen seen;
  SeeAndCancel(seen);
  EXPECT_EQ(SaveAs("", true, false), "");
  EXPECT_EQ(seen.title, "Save PDF Document As");
  EXPECT_EQ(seen.name, "*.pdf");
  EXPECT_EQ(seen.filters, QStringList({"PDF Documents (*.pdf)", "All Files (*.*)"}));
}

TEST_F(SaveAsTest, AFolderOpensTheDialogThereWithoutAName) {
  Seen seen;
  SeeAndCancel(seen);
  SaveAs(Path("out"), true, true);
  EXPECT_EQ(seen.folder.toStdString(), Path("out"));
  EXPECT_EQ(seen.name, "");
}

TEST_F(SaveAsTest, NoToTheOverwriteQuestionShowsTheDialogAgain) {
  ui_->boxAnswers = {mb::kNo};
  Seen again;
  Choose(Path("out/old.pdf"), [&again] { SeeAndCancel(again); });
  EXPECT_EQ(SaveAs(Path("out/new.pdf"), true, false), "");
  ASSERT_EQ(ui_->boxes.size(), 1u);
  EXPECT_EQ(ui_->boxes[0].text, OverwriteQuestion(Path("out/old.pdf")));
  EXPECT_EQ(ui_->boxes[0].style, mb::kYesNo | mb::kExclamation);
  EXPECT_EQ(ui_->boxes[0].title, "QUENTARIS PDF Printer");
  EXPECT_EQ(again.title, "Save PDF Document As");
}

TEST_F(SaveAsTest, APatternIsNoChoice) {
  Seen again;
  Choose(Path("out/*.pdf"), [&again] { SeeAndCancel(again); });
  EXPECT_EQ(SaveAs("", false, false), "");
  EXPECT_EQ(again.title, "Save PDF Document As");
}

TEST_F(SaveAsTest, YesOrNoGuardReturnsTheExistingFile) {
  ui_->boxAnswers = {mb::kYes};
  Choose(Path("out/old.pdf"));
  EXPECT_EQ(SaveAs("", true, false), Path("out/old.pdf"));
  Choose(Path("out/old.pdf"));
  EXPECT_EQ(SaveAs("", false, false), Path("out/old.pdf"));
  EXPECT_EQ(ui_->boxes.size(), 1u);
}

}  // namespace
}  // namespace gui
