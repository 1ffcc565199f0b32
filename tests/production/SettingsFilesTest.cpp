#include <sys/mount.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/production/GhostscriptTesting.h"
#include "tests/production/ProgramFolder.h"

namespace gui::test {
namespace {

namespace fs = std::filesystem;

// The real gui in a program folder of its own, steered by the user's own settings files alone.
class SettingsFilesTest : public ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    fs::create_directories(Data(""));
  }
  std::string Data(const std::string& name) const {
    return root_ / "data/QUENTARIS/PDF Printer/" + name;
  }
  // Settings of a job that asks nothing, keeps its log and writes its PDF to the file.
  std::string SettingsTo(const std::string& pdf) const {
    return "[PDF Printer]\r\nshowsettings=never\r\nshowpdf=no\r\ndebug=yes\r\noutput=" + pdf +
           "\r\n";
  }

  std::string report_ = GUI_SOURCE_DIR "/samples/report.ps";
};

TEST_F(SettingsFilesTest, MarkedFileWithItsSectionInLowerCaseGivesTheEncryptedPdfWhereItSays) {
  const std::string written =
      "\xEF\xBB\xBF[pdf printer]\nshowsettings=never\nshowpdf=no\noutput=" + Out("secret.pdf") +
      "\nownerpassword=owner\nuserpassword=us er\n";
  PutFile(Data("settings.ini"), written);
  ProgramResult result = Print(report_, "marked");
  EXPECT_EQ(result.exitCode, 0) << result.errorOutput;
  std::string encryption =
      CaptureOutput("qpdf", {"--show-encryption", "--password=us er", Out("secret.pdf")});
  EXPECT_TRUE(Contains(encryption, "Supplied password is user password")) << encryption;
  std::string text = CaptureOutput("pdftotext", {"-upw", "us er", Out("secret.pdf"), "-"});
  EXPECT_TRUE(Contains(text, "Quarterly Report")) << text;
  EXPECT_EQ(GetFile(Data("settings.ini")), written);
  EXPECT_EQ(FileNames(Data("")), std::vector<std::string>{"settings.ini"});
}

// Root may write anywhere, so the data folder is made read-only by mounting it so.
TEST_F(SettingsFilesTest, RunOnceFileServesFromAReadOnlyFolderAndStaysWhenItCannotBeLoaded) {
  SmallDisk disk(root_ / "data", "size=128k");
  if (!disk.Mounted()) GTEST_SKIP() << "cannot mount a small tmpfs here (needs CAP_SYS_ADMIN)";
  fs::create_directories(Data(""));
  PutFile(Data("settings.ini"), SettingsTo(Out("usual.pdf")));
  const std::string broken = SettingsTo(Out("once.pdf")) + "output=" + Out("twice.pdf") + "\r\n";
  PutFile(Data("runonce.ini"), broken);
  ProgramResult result = Print(report_, "broken");
  EXPECT_EQ(result.exitCode, 0) << result.errorOutput;
  EXPECT_EQ(FileNames(Out("")), std::vector<std::string>{"usual.pdf"});
  EXPECT_EQ(GetFile(Data("runonce.ini")), broken);
  EXPECT_TRUE(Contains(Log("broken"), "Unable to load settings. Error 457: ")) << Log("broken");

  PutFile(Data("runonce.ini"), SettingsTo(Out("once.pdf")));
  ASSERT_EQ(mount("tmpfs", (root_ / "data").c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, "size=128k"),
            0);
  result = Print(report_, "readonly");
  EXPECT_EQ(result.exitCode, 0) << result.errorOutput;
  EXPECT_EQ(FileNames(Out("")), (std::vector<std::string>{"once.pdf", "usual.pdf"}));
  EXPECT_EQ(Occurrences(Log("readonly"), "Error removing '" + Data("runonce.ini") +
                                             "'. Error 70: Permission denied\r\n"),
            1)
      << Log("readonly");
  EXPECT_TRUE(fs::exists(Data("runonce.ini")));
}

}  // namespace
}  // namespace gui::test
