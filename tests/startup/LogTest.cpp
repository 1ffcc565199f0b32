#include "startup/modLog.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/Clock.h"
#include "services/Error.h"
#include "services/modSystem.h"
#include "tests/support/Session.h"

namespace gui {
namespace {

using test::GetFile;
using test::PutFile;
using test::Session;

enum class LockKind { Flock, Fcntl };

// A second process that holds a lock on the file for a while, then leaves a marker behind.
pid_t HoldLock(const std::string& path, LockKind kind, int milliseconds,
               const std::string& marker) {
  int ready[2];
  EXPECT_EQ(pipe(ready), 0);
  pid_t child = fork();
  if (child == 0) {
    int fd = open(path.c_str(), O_RDWR | O_CREAT, 0600);
    if (kind == LockKind::Flock) {
      flock(fd, LOCK_EX);
    } else {
      struct flock range {};
      range.l_type = F_WRLCK;
      fcntl(fd, F_SETLKW, &range);
    }
    char signal = 1;
    (void)!write(ready[1], &signal, 1);
    usleep(milliseconds * 1000);
    close(open(marker.c_str(), O_WRONLY | O_CREAT, 0600));
    _exit(0);
  }
  char signal;
  (void)!read(ready[0], &signal, 1);
  close(ready[0]);
  close(ready[1]);
  return child;
}

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
    pid_t holder = HoldLock(LogFileName(), kind, 1500, marker);
    WriteLog("after the lock");
    EXPECT_EQ(access(marker.c_str(), F_OK), 0) << "the line was written while the lock was held";
    EXPECT_NE(GetFile(LogFileName()).find("after the lock"), std::string::npos);
    waitpid(holder, nullptr, 0);
  }
}

TEST_F(LogTest, GivesUpWithTheOpenErrorWhileTheLockStaysHeld) {
  SetLogRetrySecondsForTesting(0.5);
  pid_t holder = HoldLock(LogFileName(), LockKind::Flock, 3000, session_.Root() / "released");
  try {
    WriteLog("never written");
    FAIL() << "a log held for longer than the retry window must raise";
  } catch (const Error& failure) {
    EXPECT_EQ(failure.Number(), 70);
    EXPECT_EQ(failure.Description(), "Unable to open and append to the log file '" + LogFileName() +
                                         "'. Permission denied");
  }
  kill(holder, SIGKILL);
  waitpid(holder, nullptr, 0);
  EXPECT_EQ(GetFile(LogFileName()).find("never written"), std::string::npos);
}

}  // namespace
}  // namespace gui
