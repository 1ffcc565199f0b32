#include <gtest/gtest.h>

#include <filesystem>

#include "services/modFolders.h"
#include "startup/JobContext.h"
#include "startup/modMain.h"
#include "tests/support/Session.h"

namespace gui {
namespace {

namespace fs = std::filesystem;
using test::PutFile;
using test::Session;

class CleanUpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    temp_ = GetTempFolder();
    for (const char* name :
         {"s1_patched.ps", "s1_printer.log", "s1_params.gs", "s12_other.pdf", "other_patched.ps"}) {
      PutFile(temp_ + "/" + name, "x");
    }
    PutFile(temp_ + "/old.txt", "x");
    fs::last_write_time(temp_ + "/old.txt",
                        fs::file_time_type::clock::now() - std::chrono::hours(49));
    fs::create_directory(temp_ + "/s1_folder");
  }

  std::vector<std::string> Remaining() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(temp_)) {
      names.push_back(entry.path().filename());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  Session session_;
  std::string temp_;
};

TEST_F(CleanUpTest, RemovesTheSessionsFilesAndOldFiles) {
  CleanUpTempFiles(false);
  // The session id is a prefix, so s12's file goes too: session ids must not prefix each other.
  EXPECT_EQ(Remaining(), (std::vector<std::string>{"other_patched.ps", "s1_folder"}));
}

TEST_F(CleanUpTest, KeepsTheLogAfterAnError) {
  CleanUpTempFiles(true);
  EXPECT_EQ(Remaining(),
            (std::vector<std::string>{"other_patched.ps", "s1_folder", "s1_printer.log"}));
}

TEST_F(CleanUpTest, DebugSettingKeepsTheSessionButNotOldFiles) {
  Job().debug = true;
  CleanUpTempFiles(false);
  EXPECT_EQ(Remaining(),
            (std::vector<std::string>{"other_patched.ps", "s12_other.pdf", "s1_folder",
                                      "s1_params.gs", "s1_patched.ps", "s1_printer.log"}));
}

TEST_F(CleanUpTest, DebugMarkerProtectsEverything) {
  PutFile(session_.Root() / "program/debug.txt", "");
  std::vector<std::string> before = Remaining();
  CleanUpTempFiles(false);
  EXPECT_EQ(Remaining(), before);
}

TEST_F(CleanUpTest, EmptySessionIdMatchesEveryFile) {
  Job().sessionId.clear();
  CleanUpTempFiles(false);
  EXPECT_EQ(Remaining(), (std::vector<std::string>{"s1_folder"}));
}

}  // namespace
}  // namespace gui
