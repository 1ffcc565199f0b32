#include "backend/Cancellation.h"

#include <limits.h>
#include <signal.h>
#include <unistd.h>

#include <cstring>

namespace gui::backend {

namespace {

static_assert(sizeof(pid_t) <= sizeof(sig_atomic_t), "a process group fits a signal-safe number");

// The handler reads these, so each is whole whenever it can run.
char partialFile[PATH_MAX];
volatile sig_atomic_t fileArmed = 0;
volatile sig_atomic_t guiGroup = 0;
volatile sig_atomic_t cancelled = 0;

void OnTerminate(int) {
  cancelled = 1;
  if (fileArmed) unlink(partialFile);
  if (guiGroup > 0) {
    kill(-static_cast<pid_t>(guiGroup), SIGTERM);
    return;
  }
  signal(SIGTERM, SIG_DFL);
  raise(SIGTERM);
}

void SetTermBlocked(bool blocked) {
  sigset_t term;
  sigemptyset(&term);
  sigaddset(&term, SIGTERM);
  sigprocmask(blocked ? SIG_BLOCK : SIG_UNBLOCK, &term, nullptr);
}

}  // namespace

void CatchCancellation() {
  struct sigaction action {};
  action.sa_handler = OnTerminate;
  sigemptyset(&action.sa_mask);
  sigaction(SIGTERM, &action, nullptr);
}

// A path too long to keep is one that open refuses as well.
void RemoveOnCancel(const std::string& path) {
  fileArmed = 0;
  if (path.empty() || path.size() >= sizeof partialFile) return;
  std::memcpy(partialFile, path.c_str(), path.size() + 1);
  fileArmed = 1;
}

void EndOnCancel(pid_t group) {
  guiGroup = group;
}

bool Cancelled() {
  return cancelled != 0;
}

void EndCancelled() {
  signal(SIGTERM, SIG_DFL);
  SetTermBlocked(false);
  raise(SIGTERM);
  _exit(128 + SIGTERM);
}

CancellationHeld::CancellationHeld() {
  SetTermBlocked(true);
}

CancellationHeld::~CancellationHeld() {
  SetTermBlocked(false);
}

}  // namespace gui::backend
