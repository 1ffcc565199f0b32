#include "backend/GuiWait.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>

#include "backend/Cancellation.h"
#include "platform/posix/Descriptor.h"

namespace gui::backend {

namespace {

constexpr int kGraceMilliseconds = 5000;
// What gui's leftovers may still have in the pipe once it has ended: more is not waited for.
constexpr std::size_t kLastReadBytes = 1 << 20;

void Keep(GuiEnd& end, const char* data, std::size_t size) {
  std::size_t room = kKeptErrorBytes - end.errors.size();
  end.errors.append(data, std::min(size, room));
  end.cut = end.cut || size > room;
}

// The bytes read; 0 at the end of the pipe or when it has nothing now; -1 when interrupted.
ssize_t ReadSome(int errors, GuiEnd& end) {
  char buffer[4096];
  ssize_t got = read(errors, buffer, sizeof buffer);
  if (got > 0) Keep(end, buffer, static_cast<std::size_t>(got));
  if (got < 0) return errno == EINTR ? -1 : 0;
  return got;
}

// Until gui has ended (or, without a process descriptor, until the pipe is closed).
void Watch(pid_t gui, int errors, int ended, GuiEnd& end) {
  pollfd watched[2] = {{errors, POLLIN, 0}, {ended, POLLIN, 0}};
  for (;;) {
    int ready = poll(watched, 2, Cancelled() ? kGraceMilliseconds : -1);
    if (ready < 0 && errno == EINTR) continue;
    if (ready < 0) return;
    if (ready == 0) kill(-gui, SIGKILL);
    if (watched[1].revents != 0) return;
    if (watched[0].revents != 0 && ReadSome(errors, end) == 0) {
      if (ended < 0) return;
      watched[0].fd = -1;
    }
  }
}

// What is in the pipe now, without waiting for whoever still holds its other end.
void ReadRest(int errors, GuiEnd& end) {
  fcntl(errors, F_SETFL, fcntl(errors, F_GETFL) | O_NONBLOCK);
  for (std::size_t total = 0; total < kLastReadBytes;) {
    ssize_t got = ReadSome(errors, end);
    if (got == 0) return;
    if (got > 0) total += static_cast<std::size_t>(got);
  }
}

}  // namespace

GuiEnd WaitForGui(pid_t gui, int errors) {
  GuiEnd end;
  platform::Descriptor ended(static_cast<int>(syscall(SYS_pidfd_open, gui, 0)));
  Watch(gui, errors, ended.Get(), end);
  ReadRest(errors, end);
  while (waitpid(gui, &end.status, 0) < 0 && errno == EINTR)
    continue;
  return end;
}

}  // namespace gui::backend
