#include "startup/modLog.h"

#include "platform/Clock.h"
#include "platform/Files.h"
#include "services/Error.h"
#include "services/modConvert.h"
#include "services/modFiles.h"
#include "services/modFolders.h"
#include "services/modPaths.h"
#include "services/modSystem.h"
#include "startup/JobContext.h"
#include "startup/SessionFiles.h"
#include "ui/UserInterface.h"

namespace gui {

namespace {

std::string logPath;
double retrySeconds = 20.0;

}  // namespace

std::string LogFileName() {
  if (logPath.empty()) {
    logPath = JoinPath(RequiredTempFolder(), Job().sessionId + ending::kLog);
  }
  return logPath;
}

void StartLog() {
  std::string path = LogFileName();
  if (!FileExists(path)) return;
  try {
    platform::RemoveFile(path);
  } catch (const Error& failure) {
    throw Error(failure.Number(), "Error removing old log file. Error " +
                                      std::to_string(failure.Number()) + ": " +
                                      failure.Description());
  }
}

void WriteLog(const std::string& message) {
  std::string path = LogFileName();
  std::string line = FormatTimestamp(platform::LocalNow()) + ", " + CurrentComputerName() + ", " +
                     CurrentUserName() + ": " + message + "\r\n";
  double start = platform::MonotonicSeconds();
  for (;;) {
    try {
      // A failed write loses the line without notice; only the opening is retried.
      platform::AppendExclusive(path, line);
      return;
    } catch (const Error& failure) {
      if (platform::MonotonicSeconds() - start > retrySeconds) {
        throw Error(failure.Number(), "Unable to open and append to the log file '" + path + "'. " +
                                          failure.Description());
      }
    }
    platform::SleepMilliseconds(100);
    Ui().ProcessEvents();
  }
}

void SetLogRetrySecondsForTesting(double seconds) {
  retrySeconds = seconds;
}

void ResetLogForTesting() {
  logPath.clear();
}

}  // namespace gui
