#include "services/modShell.h"

#include <cmath>
#include <cstdint>

#include "platform/Clock.h"
#include "platform/Shell.h"
#include "services/Error.h"
#include "ui/UserInterface.h"

namespace gui {

namespace {

constexpr int kWaitSliceMs = 50;

// A clock of whole seconds, as coarse as the time-out it measures.
std::int64_t WholeSeconds() {
  return static_cast<std::int64_t>(std::floor(platform::MonotonicSeconds()));
}

void WaitForChild(platform::ChildProcess& child, int timeoutSeconds) {
  std::int64_t start = WholeSeconds();
  bool finished = false;
  do {
    finished = child.WaitFor(kWaitSliceMs);
    Ui().ProcessEvents();
  } while (!finished && WholeSeconds() - start <= timeoutSeconds);
}

}  // namespace

// The show-window code has no meaning for a POSIX child.
int RunCommand(const std::string& commandLine, bool& timedOut, int& exitCode,
               [[maybe_unused]] int showWindow, int timeoutSeconds,
               const std::string& workingFolder) {
  platform::ChildProcess child;
  if (!child.Start(commandLine, workingFolder))
    throw Error(err::kSmallRoutine, "Error launching the command [" + commandLine + "]");
  if (timeoutSeconds != 0) WaitForChild(child, timeoutSeconds);
  timedOut = IsProcessRunning(child);
  exitCode = timedOut ? 0 : child.ExitCode();
  return child.Id();
}

ProgramOutcome RunCapturedProgram(const std::vector<std::string>& words,
                                  const std::string& outputFile, int timeoutSeconds,
                                  const std::string& workingFolder) {
  platform::ChildProcess child;
  if (!child.StartCaptured(words, workingFolder, outputFile))
    throw Error(err::kSmallRoutine, "Error launching the command [" + words.front() + "]");
  WaitForChild(child, timeoutSeconds);
  ProgramOutcome outcome;
  outcome.timedOut = IsProcessRunning(child);
  if (outcome.timedOut)
    child.Terminate();
  else
    outcome.exitCode = child.ExitCode();
  return outcome;
}

bool IsProcessRunning(platform::ChildProcess& process) {
  return process.IsRunning();
}

std::optional<bool> OpenDocument(const std::string& path) {
  if (path.empty()) return std::nullopt;
  return platform::ShellOpen(path) > 32;
}

}  // namespace gui
