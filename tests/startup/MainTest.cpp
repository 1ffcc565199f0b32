#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/RunProgram.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestUser.h"

namespace gui {
namespace {

namespace fs = std::filesystem;
using test::GetFile;
using test::PutFile;
using test::RunGui;
using test::TempFolder;

bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// build/gui run from outside, headless, with a temporary folder of its own.
class MainTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directory(root_ / "runtime");
    fs::permissions(root_ / "runtime", fs::perms::owner_all);
    temp_ = root_ / "runtime/QUENTARIS/PDF Printer";
  }

  test::ProgramResult Run(const std::vector<std::string>& arguments,
                          std::vector<std::string> environment = {}) {
    environment.push_back("XDG_RUNTIME_DIR=" + root_ / "runtime");
    environment.push_back("QUENTARIS_UI=headless");
    return RunGui(arguments, environment);
  }

  TempFolder root_;
  std::string temp_;
};

// A message wins over a job, and headless it never starts the window system (failing here).
TEST_F(MainTest, MessageModeShowsTheDecodedMessageAndLeavesNothing) {
  PutFile(root_ / "job.ps", "%!PS\n");
  auto result = Run({"ps=" + root_ / "job.ps", "msg=First\\nSecond", "icon=Error", "sessionid=m1"},
                    {"DISPLAY=:99", "QT_QPA_PLATFORM=no-such-platform"});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.errorOutput, "QUENTARIS PDF Printer: First\rSecond\n");
  EXPECT_FALSE(fs::exists(temp_ + "/m1_printer.log"));
}

// The window system would fail here (no such display, no such platform), and the loader lists
// every library it loads.
TEST_F(MainTest, AJobThatShowsNoWindowNeverLoadsTheWindowLibraries) {
  fs::create_directories(root_ / "data/QUENTARIS/PDF Printer");
  PutFile(
      root_ / "data/QUENTARIS/PDF Printer/settings.ini",
      "[PDF Printer]\r\nshowsettings=never\r\nshowpdf=no\r\noutput=" + root_ / "out.pdf" + "\r\n");
  PutFile(root_ / "job.ps", "%!PS\r\nshowpage\r\n");
  auto result = RunGui({"ps=" + root_ / "job.ps", "sessionid=w1"},
                       {"XDG_RUNTIME_DIR=" + root_ / "runtime", "APPDATA=" + root_ / "data",
                        "DISPLAY=:99", "QT_QPA_PLATFORM=no-such-platform", "LD_DEBUG=files"});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_TRUE(fs::exists(root_ / "out.pdf")) << result.errorOutput;
  EXPECT_NE(result.errorOutput.find("libguicore"), std::string::npos);
  EXPECT_EQ(result.errorOutput.find("libguiqt"), std::string::npos);
  EXPECT_EQ(result.errorOutput.find("libQt6"), std::string::npos);
  EXPECT_EQ(result.errorOutput.find("libguicups"), std::string::npos);
}

TEST_F(MainTest, MissingEmptyOrFolderJobPathReports1006AndKeepsOnlyTheLog) {
  fs::create_directories(temp_);
  PutFile(temp_ + "/e1_header.ps", "left from before");
  auto result = Run({"ps=" + root_ / "no job.ps", "sessionid=e1"});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_TRUE(Has(result.errorOutput,
                  "An error occured.\r\n\r\nError 1006: Unable to find "
                  "postscript file '" +
                      root_ / "no job.ps" + "'.\r\n\r\nRead PS file from parameters"))
      << result.errorOutput;
  std::string log = GetFile(temp_ + "/e1_printer.log");
  EXPECT_TRUE(Has(log, ": Command Line: ps=\"" + root_ / "no job.ps" + "\" sessionid=e1\r\n"))
      << log;
  EXPECT_TRUE(Has(log, ": Error handler. Error 1006: Unable to find postscript file '"));
  EXPECT_FALSE(fs::exists(temp_ + "/e1_header.ps"));
  // An empty path and a folder are missing jobs too.
  EXPECT_TRUE(Has(Run({"ps=", "sessionid=e2"}).errorOutput, "postscript file ''."));
  EXPECT_TRUE(Has(Run({"ps=" + root_.Path(), "sessionid=e3"}).errorOutput, "Error 1006"));
}

TEST_F(MainTest, RepeatedKeyIsReportedAtParsing) {
  auto result = Run({"ps=a", "-ps=b"});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_TRUE(Has(result.errorOutput,
                  "Error 457: This key is already associated with an element of this "
                  "collection\r\n\r\nParse command line"))
      << result.errorOutput;
}

TEST_F(MainTest, OptionsModeHonoursTheDisableSwitch) {
  PutFile(root_ / "global.ini", "[PDF Printer]\r\ndisableoptiondialog=yes\r\n");
  fs::copy_file(GUI_BINARY, root_ / "gui");
  auto result = test::RunProgram(root_ / "gui", {},
                                 {"XDG_RUNTIME_DIR=" + root_ / "runtime",
                                  "APPDATA=" + root_ / "data", "QUENTARIS_UI=headless"});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.errorOutput, "QUENTARIS PDF Printer: Options dialog is disabled.\n");
}

TEST_F(MainTest, OptionsModeWithoutDisplaySaysItNeedsOne) {
  auto result = Run({}, {"APPDATA=" + root_ / "data"});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.errorOutput.find("needs a display"), std::string::npos) << result.errorOutput;
}

// Nothing serves :77, so the windows cannot be had: each mode goes on as without a display, and
// the log says why.
TEST_F(MainTest, ADisplayThatCannotBeOpenedCountsAsNone) {
  const std::vector<std::string> deadDisplay = {"XDG_RUNTIME_DIR=" + root_ / "runtime",
                                                "APPDATA=" + root_ / "data",
                                                "DISPLAY=:77",
                                                "WAYLAND_DISPLAY=",
                                                "QT_QPA_PLATFORM=",
                                                "QUENTARIS_UI="};
  const std::string why = ": The display ':77' cannot be opened; going on without windows\r\n";
  const std::string settings = root_ / "data/QUENTARIS/PDF Printer/settings.ini";
  fs::create_directories(fs::path(settings).parent_path());
  PutFile(root_ / "job.ps", "%!PS\r\nshowpage\r\n");

  // The Create PDF dialog is due and taken as accepted; the kept log tells why.
  PutFile(settings,
          "[PDF Printer]\r\nshowpdf=no\r\ndebug=yes\r\noutput=" + root_ / "out.pdf" + "\r\n");
  auto job = RunGui({"ps=" + root_ / "job.ps", "sessionid=d1"}, deadDisplay);
  EXPECT_EQ(job.exitCode, 0) << job.errorOutput;
  EXPECT_TRUE(fs::exists(root_ / "out.pdf"));
  EXPECT_TRUE(Has(GetFile(temp_ + "/d1_printer.log"), why));
  // The Save As dialog is due and nobody answers it: the job fails and says so.
  PutFile(settings, "[PDF Printer]\r\nshowsettings=never\r\noutput=\r\n");
  auto unnamed = RunGui({"ps=" + root_ / "job.ps", "sessionid=d2", "doc=Report"}, deadDisplay);
  EXPECT_EQ(unnamed.exitCode, 1);
  EXPECT_TRUE(Has(unnamed.errorOutput, "No PDF document was made for 'Report'"))
      << unnamed.errorOutput;

  auto message = RunGui({"msg=Hello"}, deadDisplay);
  EXPECT_EQ(message.exitCode, 0);
  EXPECT_EQ(message.errorOutput, "QUENTARIS PDF Printer: Hello\n");

  auto options = RunGui({}, deadDisplay);
  EXPECT_EQ(options.exitCode, 1);
  EXPECT_TRUE(Has(options.errorOutput, "needs a display")) << options.errorOutput;
  std::string log = GetFile(temp_ + "/_printer.log");
  EXPECT_TRUE(Has(log, why)) << log;
  EXPECT_TRUE(Has(log, ": Error handler. Error ")) << log;
}

// Every candidate is someone else's or open to others; the log would otherwise go into "/".
TEST_F(MainTest, WithoutAUsableTemporaryFolderTheJobEndsNamingEachFolderAndWritesNoLog) {
  chown((root_ / "runtime").c_str(), 65534, 65534);
  fs::create_directories(root_ / "tmp/quentaris-" + std::to_string(geteuid()));
  fs::permissions(root_ / "tmp/quentaris-" + std::to_string(geteuid()), fs::perms::all);
  fs::create_directories(root_ / "program/temp");
  fs::permissions(root_ / "program/temp", fs::perms::all);
  fs::copy_file(GUI_BINARY, root_ / "program/gui");
  PutFile(root_ / "job.ps", "%!PS\r\nshowpage\r\n");
  std::string session = "nofolder" + std::to_string(getpid());
  const std::vector<std::string> environment = {"XDG_RUNTIME_DIR=" + root_ / "runtime",
                                                "TMPDIR=" + root_ / "tmp",
                                                "HOME=",
                                                "XDG_CACHE_HOME=",
                                                "TEMP=",
                                                "TMP=",
                                                "QUENTARIS_REGISTRY=" + root_ / "none.reg",
                                                "APPDATA=" + root_ / "data",
                                                "QUENTARIS_UI=headless"};
  auto result = test::RunProgram(root_ / "program/gui",
                                 {"ps=" + root_ / "job.ps", "sessionid=" + session}, environment);
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_TRUE(Has(result.errorOutput, "Error 76: No folder for temporary files can be used.\r\n'" +
                                          root_ / "runtime" + "': it belongs to another user\r\n'" +
                                          root_ / "tmp/quentaris-" + std::to_string(geteuid()) +
                                          "': others may write to it\r\n'" +
                                          root_ / "program/temp" + "': others may write to it\r\n"))
      << result.errorOutput;
  EXPECT_FALSE(Has(result.errorOutput, "log file")) << result.errorOutput;
  for (const auto& entry : fs::directory_iterator("/"))
    EXPECT_NE(entry.path().filename().string().rfind(session, 0), 0u) << entry.path();
  // A message needs no log to be shown.
  auto message = test::RunProgram(root_ / "program/gui", {"msg=Still said"}, environment);
  EXPECT_EQ(message.exitCode, 0);
  EXPECT_EQ(message.errorOutput, "QUENTARIS PDF Printer: Still said\n");
}

// After su without a login shell the runtime folder is still the first user's.
TEST_F(MainTest, ARuntimeFolderOfAnotherUserIsPassedOver) {
  test::TestUser user;
  std::string others = root_ / "runtime";
  fs::permissions(root_.Path(), fs::perms::owner_all | fs::perms::others_exec);
  user.Settings("", {"output=" + user.Home() + "/out.pdf"});
  user.Put(user.Home() + "/job.ps", "%!PS\r\nshowpage\r\n");
  auto result = test::RunProgram(
      "/usr/sbin/runuser",
      {"-u", user.Name(), "--", GUI_BINARY, "ps=" + user.Home() + "/job.ps", "sessionid=su1"},
      {"XDG_RUNTIME_DIR=" + others, "HOME=" + user.Home(),
       "TMPDIR=", "XDG_CACHE_HOME=", "APPDATA=", "QUENTARIS_UI=headless"});
  EXPECT_EQ(result.exitCode, 0) << result.errorOutput;
  EXPECT_TRUE(user.OwnsAlone(user.Home() + "/out.pdf"));
  EXPECT_TRUE(fs::exists(user.JobFolder() + "/ghostscript.version"));
  EXPECT_FALSE(fs::exists(others + "/QUENTARIS"));
}

}  // namespace
}  // namespace gui
