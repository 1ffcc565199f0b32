#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "production/modMakePDF.h"
#include "startup/JobContext.h"
#include "tests/production/GhostscriptTesting.h"
#include "tests/support/LockHolder.h"
#include "tests/support/ScriptedUi.h"

namespace gui::test {
namespace {

namespace fs = std::filesystem;

class DeliveryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(session_.Root() / "out");
    PutFile(source_, "%PDF-new");
  }
  void TearDown() override { SetCopyRetrySecondsForTesting(10); }
  int LogLinesWith(const std::string& text) { return Occurrences(GetFile(LogFileName()), text); }

  Session session_;
  ScopedScriptedUi ui_;
  std::string source_ = session_.Root() / "made.pdf";
  std::string destination_ = session_.Root() / "out/final.pdf";
};

// The old file is the longer one: the new one must replace it whole, with nothing left beside.
// A lock held past the retries is asked about until the person cancels, and the old file stays
// whole.
TEST_F(DeliveryTest, LockedDestinationIsRetriedThenAskedAboutAndNeverHalfWritten) {
  PutFile(destination_, "%PDF-old and much longer than the new one");
  LockHolder briefly(destination_, LockKind::Flock, 800);
  EXPECT_TRUE(CopyToDestination(source_, destination_));
  EXPECT_EQ(GetFile(destination_), "%PDF-new");
  EXPECT_EQ(FileNames(session_.Root() / "out"), std::vector<std::string>{"final.pdf"});
  EXPECT_TRUE(ui_->boxes.empty());
  EXPECT_GT(LogLinesWith("Error copying PDF to destination. Possible file lock. (" + source_ +
                         " -> " + destination_ + "). Error 75: Path/File access error"),
            2);
  EXPECT_GT(ui_->eventsProcessed, 0);

  SetCopyRetrySecondsForTesting(0.3);
  PutFile(destination_, "%PDF-old");
  LockHolder forever(destination_, LockKind::Flock);
  ui_->boxAnswers = {mb::kRetry, mb::kCancel};
  EXPECT_FALSE(CopyToDestination(source_, destination_));
  ASSERT_EQ(ui_->boxes.size(), 3u);
  EXPECT_EQ(ui_->boxes[0].text,
            "Error copying PDF document to destination file.\r\n\r\nPlease close the file '" +
                destination_ + "' if it is open and try again.");
  EXPECT_EQ(ui_->boxes[0].style, mb::kRetryCancel | mb::kExclamation);
  EXPECT_EQ(ui_->boxes[0].title, "QUENTARIS PDF Printer");
  EXPECT_EQ(GetFile(destination_), "%PDF-old");
  EXPECT_EQ(FileNames(session_.Root() / "out"), std::vector<std::string>{"final.pdf"});
  EXPECT_EQ(LogLinesWith("Error copying PDF to destination (" + source_), 2);
}

// A missing folder is made, as every folder the program needs.
TEST_F(DeliveryTest, AMissingFolderIsMade) {
  std::string destination = session_.Root() / "new folder/deeper/final.pdf";
  EXPECT_TRUE(CopyToDestination(source_, destination));
  EXPECT_EQ(GetFile(destination), "%PDF-new");
  EXPECT_EQ(LogLinesWith("Creating the folder '" + session_.Root() / "new folder/deeper'"), 1);
  EXPECT_TRUE(ui_->boxes.empty());
}

// Closing a file cures neither a folder that cannot be made nor a name the system does not
// take, which is not worth a retry. The PDF stays where it was made, and the person is told
// where.
TEST_F(DeliveryTest, OtherFailuresAreExplainedAtOnceAndThePdfIsKept) {
  std::string longName = session_.Root() / "out/" + std::string(300, 'x') + ".pdf";
  PutFile(session_.Root() / "plain.txt", "a file, not a folder");
  const std::tuple<std::string, std::string, int> cases[] = {
      {session_.Root() / "plain.txt/sub/final.pdf",
       "The folder '" +
           session_.Root() /
               "plain.txt/sub' does not exist.\r\n\r\nError 58: Error creating folder in function "
               "MkDirRecurse. Target=" +
           session_.Root() / "plain.txt/sub, Current=" +
           session_.Root() / "plain.txt/. File already exists",
       mb::kRetryCancel},
      {longName,
       "The file '" + longName + "' could not be written.\r\n\r\nError 52: Bad file name or number",
       mb::kOkOnly}};
  for (const auto& [destination, reason, buttons] : cases) {
    ui_->boxes.clear();
    EXPECT_FALSE(CopyToDestination(source_, destination));
    ASSERT_EQ(ui_->boxes.size(), 2u);
    EXPECT_EQ(ui_->boxes[0].text, "Error copying PDF to destination.\r\n\r\n" + reason);
    EXPECT_EQ(ui_->boxes[0].style, buttons | mb::kExclamation);
    EXPECT_EQ(ui_->boxes[1].text, "The PDF document was not saved as '" + destination +
                                      "'.\r\n\r\nIt is kept as '" + source_ + "'.");
    EXPECT_EQ(LogLinesWith("Error copying PDF to destination (" + source_ + " -> " + destination +
                           "). Error " + reason.substr(reason.find("\r\n\r\nError ") + 10)),
              1);
    EXPECT_EQ(Job().undeliveredPdf, source_);
  }
  EXPECT_EQ(LogLinesWith("Possible file lock"), 0);
  EXPECT_EQ(GetFile(source_), "%PDF-new");
  EXPECT_TRUE(FileNames(session_.Root() / "out").empty());
}

// Mode 0444: root may write any file, so one that grants writing to nobody is read-only to all.
TEST_F(DeliveryTest, ReadOnlyDestinationIsReplacedOnlyWhenThePersonAgrees) {
  PutFile(destination_, "%PDF-old");
  const fs::perms readOnly = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
  fs::permissions(destination_, readOnly);
  ui_->boxAnswers = {mb::kNo, mb::kOk};
  EXPECT_FALSE(CopyToDestination(source_, destination_));
  ASSERT_EQ(ui_->boxes.size(), 2u);
  EXPECT_EQ(ui_->boxes[0].text, "The file is read-only.\r\n\r\n" + destination_ +
                                    "\r\n\r\nDo you want to overwrite it?");
  EXPECT_EQ(ui_->boxes[0].style, mb::kYesNo | mb::kExclamation);
  EXPECT_EQ(GetFile(destination_), "%PDF-old");
  EXPECT_EQ(fs::status(destination_).permissions(), readOnly);
  EXPECT_EQ(FileNames(session_.Root() / "out"), std::vector<std::string>{"final.pdf"});
  EXPECT_EQ(Job().undeliveredPdf, source_);

  ui_->boxAnswers = {mb::kYes};
  EXPECT_TRUE(CopyToDestination(source_, destination_));
  EXPECT_EQ(ui_->boxes.size(), 3u);
  EXPECT_EQ(GetFile(destination_), "%PDF-new");
  EXPECT_EQ(FileNames(session_.Root() / "out"), std::vector<std::string>{"final.pdf"});
}

// Each link, as written, and the file it finally names; the links stay as they were.
TEST_F(DeliveryTest, ALinkStaysALinkAndItsTargetReceivesThePdf) {
  std::string elsewhere = session_.Root() / "elsewhere";
  const std::tuple<std::string, std::string, bool> cases[] = {
      {elsewhere + "/real.pdf", elsewhere + "/real.pdf", true},
      {"../elsewhere/real.pdf", elsewhere + "/real.pdf", true},
      {"middle.pdf", elsewhere + "/real.pdf", true},
      {elsewhere + "/new.pdf", elsewhere + "/new.pdf", false}};
  fs::create_symlink("../elsewhere/real.pdf", session_.Root() / "out/middle.pdf");
  for (const auto& [link, target, exists] : cases) {
    fs::remove_all(elsewhere);
    fs::create_directories(elsewhere);
    if (exists) PutFile(target, "%PDF-old");
    fs::remove(destination_);
    fs::create_symlink(link, destination_);
    EXPECT_TRUE(CopyToDestination(source_, destination_)) << link;
    EXPECT_EQ(fs::read_symlink(destination_), link);
    EXPECT_EQ(GetFile(target), "%PDF-new") << link;
    EXPECT_EQ(FileNames(session_.Root() / "out"),
              (std::vector<std::string>{"final.pdf", "middle.pdf"}));
    EXPECT_EQ(FileNames(elsewhere), std::vector<std::string>{fs::path(target).filename()});
  }
  EXPECT_TRUE(ui_->boxes.empty());

  fs::remove(destination_);
  fs::create_symlink("final.pdf", destination_);
  EXPECT_FALSE(CopyToDestination(source_, destination_));
  ASSERT_FALSE(ui_->boxes.empty());
  EXPECT_TRUE(Contains(ui_->boxes[0].text, "Error 76: Path not found")) << ui_->boxes[0].text;
  EXPECT_EQ(fs::read_symlink(destination_), "final.pdf");

  // Someone else's link in a folder that everybody may write leads nowhere.
  std::string shared = session_.Root() / "shared";
  fs::create_directories(shared);
  fs::permissions(shared, fs::perms::all | fs::perms::sticky_bit);
  PutFile(elsewhere + "/precious", "untouched");
  fs::create_symlink(elsewhere + "/precious", shared + "/x.pdf");
  if (lchown((shared + "/x.pdf").c_str(), 65534, static_cast<gid_t>(-1)) != 0)
    GTEST_SKIP() << "only root can give a link to another user";
  ui_->boxes.clear();
  EXPECT_FALSE(CopyToDestination(source_, shared + "/x.pdf"));
  ASSERT_FALSE(ui_->boxes.empty());
  EXPECT_TRUE(Contains(ui_->boxes[0].text, "Error 70: Permission denied")) << ui_->boxes[0].text;
  EXPECT_EQ(GetFile(elsewhere + "/precious"), "untouched");
  EXPECT_TRUE(fs::is_symlink(shared + "/x.pdf"));
}

TEST_F(DeliveryTest, ShowPdfExplainsWhatWentWrong) {
  StandInPath path;
  path.Put("xdg-open", "exit 0");
  EXPECT_TRUE(ShowPDF(destination_));
  EXPECT_TRUE(ui_->boxes.empty());

  path.Put("xdg-open", "exit 3");
  ShowPDF(destination_);
  ShowPDF(session_.Root() / "out/final.txt");
  ASSERT_EQ(ui_->boxes.size(), 2u);
  EXPECT_TRUE(ui_->boxes[0].text.starts_with(
      "The printer was unable to open the PDF document.\r\n\r\nMake sure you have a PDF "
      "document reader installed on your computer.\r\n\r\n"));
  EXPECT_EQ(ui_->boxes[1].text,
            "The program was unable to show the document. The extension of your document file "
            "name should be PDF. Please change that and try again.\r\n\r\nFile name: " +
                session_.Root() / "out/final.txt");
  EXPECT_EQ(ui_->boxes[1].style, mb::kExclamation | mb::kOkOnly);

  fs::remove(path / "xdg-open");
  ShowPDF(destination_);
  ASSERT_EQ(ui_->boxes.size(), 3u);
  EXPECT_EQ(ui_->boxes[2].text,
            "Error opening the PDF Document.\r\n\r\nNo such file or directory\r\nError 2");
}

TEST_F(DeliveryTest, AfterPrintProgramNeverLetsTheShellReadThePath) {
  std::string folder = session_.Root() / "out";
  std::string hostile = folder + "/a$(touch pwned);b `touch pwned2` \"q\" 'x'.pdf";
  PutFile(hostile, "%PDF");
  RunAfterPrintProgram(*SettingsWith({"afterprintprogram=cp \"%1\" copy1.pdf && cp %1 copy2.pdf",
                                      "afterprintprogramdir=" + folder}),
                       hostile);
  for (int i = 0; i < 200 && !fs::exists(folder + "/copy2.pdf"); ++i)
    usleep(10 * 1000);
  EXPECT_EQ(GetFile(folder + "/copy1.pdf"), "%PDF");
  EXPECT_EQ(GetFile(folder + "/copy2.pdf"), "%PDF");
  EXPECT_FALSE(fs::exists(folder + "/pwned"));
  EXPECT_FALSE(fs::exists(folder + "/pwned2"));
}

TEST_F(DeliveryTest, GhostscriptRunsUnderTheProgressWindowHoweverItEnds) {
  StandInPath path;
  path.Put("gs", "exit 1");
  Job().documentName = "Report.odt";
  EXPECT_THROW(RunGhostscript(*SettingsWith(), session_.Root() / "p.gs", session_.Root() / "p.pdf"),
               Error);
  EXPECT_EQ(ui_->progress, (std::vector<std::string>{"begin Report.odt", "end"}));
}

TEST_F(DeliveryTest, DebugMarkerOpensTheTemporaryFolderAfterTheJob) {
  ScopedVariable appData("APPDATA", session_.Root() / "data");
  PutFile(session_.Root() / "program/global.ini", "[PDF Printer]\r\noutput=\r\n");
  PutFile(session_.Root() / "program/debug.txt", "");
  StandInPath path;
  path.Put("xdg-open", "echo \"$1\" > " + session_.Root() / "opened");
  Job().documentInfo = NewDictionary();
  MakePDF(source_);
  ASSERT_EQ(ui_->boxes.size(), 1u);
  EXPECT_EQ(ui_->boxes[0].text,
            "Debugging is enabled. The folder for temporary files will now open.");
  EXPECT_EQ(ui_->boxes[0].style, mb::kInformation | mb::kOkOnly);
  EXPECT_EQ(GetFile(session_.Root() / "opened"), session_.TempFolderPath() + "\n");
  EXPECT_TRUE(Contains(GetFile(LogFileName()), ": No output specified\r\n"));
}

}  // namespace
}  // namespace gui::test
