#include "tests/support/LockHolder.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

namespace gui::test {

namespace {

void Lock(int fd, LockKind kind) {
  if (kind == LockKind::Flock) {
    flock(fd, LOCK_EX);
    return;
  }
  struct flock range {};
  range.l_type = F_WRLCK;
  fcntl(fd, F_SETLKW, &range);
}

}  // namespace

LockHolder::LockHolder(const std::string& path, LockKind kind, int holdMilliseconds,
                       const std::string& marker) {
  int ready[2];
  if (pipe(ready) != 0 || pipe(release_) != 0) return;
  pid_ = fork();
  if (pid_ == 0) {
    Lock(open(path.c_str(), O_RDWR | O_CREAT, 0600), kind);
    char signal = 1;
    (void)!write(ready[1], &signal, 1);
    if (holdMilliseconds < 0) {
      (void)!read(release_[0], &signal, 1);
    } else {
      usleep(holdMilliseconds * 1000);
    }
    if (!marker.empty()) close(open(marker.c_str(), O_WRONLY | O_CREAT, 0600));
    _exit(0);
  }
  char signal;
  (void)!read(ready[0], &signal, 1);
  close(ready[0]);
  close(ready[1]);
}

void LockHolder::Release() {
  if (pid_ <= 0) return;
  char signal = 1;
  (void)!write(release_[1], &signal, 1);
  waitpid(pid_, nullptr, 0);
  close(release_[0]);
  close(release_[1]);
  pid_ = -1;
}

}  // namespace gui::test
