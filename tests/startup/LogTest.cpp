#include "startup/modLog.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/Clock.h"
#include "services/Error.h"
#include "services/modFolders.h"
#include "services/modSystem.h"
#include "startup/JobContext.h"
#include "startup/modMain.h"
#include "tests/support/LockHolder.h"
#include "tests/support/Session.h"

namespace gui {
namespace {

namespace fs = std::filesystem;
using test::GetFile;
using test::LockKind;
using test::PutFile;
using test::Session;

class LogTest : public ::testing::Test {
 protected:
  void TearDown() override {
    platform::FixLocalNowForTesting({});
    SetLogRetrySecondsForTesting(20);
  }
  Session session_{"job7"};
};

TEST_F(LogTest, FileIsNamedBySessionAndLinesCarryTimestampComputerAndUserUntilStartLog) {
  EXPECT_EQ(LogFileName(), session_.TempFolderPath() + "/job7_printer.log");
  platform::FixLocalNowForTesting({2007, 3, 5, 7, 8, 9});
  WriteLog("Look for settings in /x");
  WriteLog("two\r\nlines");
  std::string prefix = "2007-03-05 07:08:09, " + CurrentComputerName() + ", " + CurrentUserName();
  EXPECT_EQ(GetFile(LogFileName()),
            prefix + ": Look for settings in /x\r\n" + prefix + ": two\r\nlines\r\n");
  StartLog();
  WriteLog("new run");
  EXPECT_EQ(GetFile(LogFileName()), prefix + ": new run\r\n") << "StartLog begins a fresh log";
}

TEST_F(LogTest, WaitsForAnotherProcessToReleaseItsLock) {
  for (LockKind kind : {LockKind::Flock, LockKind::Fcntl}) {
    std::string marker = session_.Root() / "released";
    unlink(marker.c_str());
    test::LockHolder holder(LogFileName(), kind, 1500, marker);
    WriteLog("after the lock");
    EXPECT_EQ(access(marker.c_str(), F_OK), 0) << "the line was written while the lock was held";
    EXPECT_NE(GetFile(LogFileName()).find("after the lock"), std::string::npos);
  }
}

TEST_F(LogTest, GivesUpWithTheOpenErrorWhileTheLockStaysHeld) {
  SetLogRetrySecondsForTesting(0.5);
  test::LockHolder holder(LogFileName(), LockKind::Flock);
  try {
    WriteLog("never written");
    FAIL() << "a log held for longer than the retry window must raise";
  } catch (const Error& failure) {
    EXPECT_EQ(failure.Number(), 70);
    EXPECT_EQ(failure.Description(), "Unable to open and append to the log file '" + LogFileName() +
                                         "'. Permission denied");
  }
  holder.Release();
  EXPECT_EQ(GetFile(LogFileName()).find("never written"), std::string::npos);
}

// s1 begins s12, s1-2 and s1_2, whose files stay; old files go whoever made them.
TEST(CleanUpTempFiles, RemovesWhatEachPassAllows) {
  const std::vector<std::string> all = {"_printer.log",   "old.txt",         "s1-2_printer.log",
                                        "s1.ps",          "s12_printer.pdf", "s1_2_header.ps",
                                        "s1_folder",      "s1_params.gs",    "s1_params.out",
                                        "s1_printer.log", "s1_printer.pdf"};
  // Another session's files, and the old file left for every case but the debug marker's.
  const std::vector<std::string> others = {"s1-2_printer.log", "s12_printer.pdf", "s1_2_header.ps",
                                           "s1_folder"};
  auto plus = [&](const std::vector<std::string>& more) {
    std::vector<std::string> names = others;
    names.insert(names.end(), more.begin(), more.end());
    std::sort(names.begin(), names.end());
    return names;
  };
  struct Case {
    bool afterError, debugSetting, debugMarker, undelivered;
    const char* sessionId;
    std::vector<std::string> remaining;
  } cases[] = {
      {false, false, false, false, "s1", plus({"_printer.log"})},
      {true, false, false, false, "s1", plus({"_printer.log", "s1_printer.log"})},
      {true, false, false, true, "s1", plus({"_printer.log", "s1_printer.log", "s1_printer.pdf"})},
      {false, true, false, false, "s1",
       plus({"_printer.log", "s1.ps", "s1_params.gs", "s1_params.out", "s1_printer.log",
             "s1_printer.pdf"})},
      {false, false, true, false, "s1", all},
      {false, false, false, false, "",
       plus({"s1.ps", "s1_params.gs", "s1_params.out", "s1_printer.log", "s1_printer.pdf"})},
  };
  for (const Case& c : cases) {
    Session session;
    std::string temp = GetTempFolder();
    fs::create_directory(temp + "/s1_folder");
    for (const std::string& name : all)
      if (name != "s1_folder") PutFile(temp + "/" + name, "x");
    fs::last_write_time(temp + "/old.txt",
                        fs::file_time_type::clock::now() - std::chrono::hours(49));
    if (c.debugMarker) PutFile(session.Root() / "program/debug.txt", "");
    Job().debug = c.debugSetting;
    Job().sessionId = c.sessionId;
    if (c.undelivered) Job().undeliveredPdf = temp + "/s1_printer.pdf";
    CleanUpTempFiles(c.afterError);
    std::vector<std::string> remaining;
    for (const auto& entry : fs::directory_iterator(temp))
      remaining.push_back(entry.path().filename());
    std::sort(remaining.begin(), remaining.end());
    EXPECT_EQ(remaining, c.remaining) << &c - cases;
  }
}

}  // namespace
}  // namespace gui
