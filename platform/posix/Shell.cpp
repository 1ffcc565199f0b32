#include "platform/Shell.h"

#include "platform/Process.h"

namespace gui::platform {

namespace {

// xdg-open may run the viewer in its own process and not return until it closes; an opener
// still running after this long has found something to open it with.
constexpr int kOpenerPatienceMs = 5000;

// xdg-open's exit codes: 2 the file does not exist, 3 no tool found, 4 the action failed;
// any other failure also means that nothing could open it.
int ResultOfExit(int exitCode) {
  if (exitCode == 0) return kShellOpened;
  if (exitCode == 2) return kShellFileNotFound;
  return kShellNoAssociation;
}

}  // namespace

int ShellOpen(const std::string& path) {
  ChildProcess opener;
  if (!opener.StartDetached({"xdg-open", path})) return kShellFileNotFound;
  if (!opener.WaitFor(kOpenerPatienceMs)) return kShellOpened;
  return ResultOfExit(opener.ExitCode());
}

}  // namespace gui::platform
