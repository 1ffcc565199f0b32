#include "startup/modLog.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/Clock.h"
#include "services/Error.h"
#include "services/modSystem.h"
#include "tests/support/LockHolder.h"
#include "tests/support/Session.h"

namespace gui {
namespace {

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

TEST_F(LogTest, FileLivesInTheTemporaryFolderNamedBySession) {
  EXPECT_EQ(LogFileName(), session_.TempFolderPath() + "/job7_printer.log");
}

TEST_F(LogTest, LinesCarryTimestampComputerAndUser) {
  platform::FixLocalNowForTesting({2007, 3, 5, 7, 8, 9});
  WriteLog("Look for settings in /x");
  WriteLog("two\r\nlines");
  std::string prefix = "2007-03-05 07:08:09, " + CurrentComputerName() + ", " + CurrentUserName();
  EXPECT_EQ(GetFile(LogFileName()),
            prefix + ": Look for settings in /x\r\n" + prefix + ": two\r\nlines\r\n");
}

TEST_F(LogTest, StartLogBeginsAFreshLog) {
  WriteLog("old run");
  StartLog();
  WriteLog("new run");
  std::string text = GetFile(LogFileName());
  EXPECT_EQ(text.find("old run"), std::string::npos);
  EXPECT_NE(text.find("new run"), std::string::npos);
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

}  // namespace
}  // namespace gui
