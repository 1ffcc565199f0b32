#include "tests/production/ProgramFolder.h"

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

namespace gui::test {

SmallDisk::SmallDisk(const std::string& folder, const std::string& options) : folder_(folder) {
  // A mount namespace of the test's own: nothing outlives the test process, even a crash.
  static const bool privateMounts =
      unshare(CLONE_NEWNS) == 0 && mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
  mounted_ = privateMounts && mount("tmpfs", folder.c_str(), "tmpfs", 0, options.c_str()) == 0;
}

SmallDisk::~SmallDisk() {
  if (mounted_) umount2(folder_.c_str(), MNT_DETACH);
}

void FillDisk(const std::string& file) {
  int fd = open(file.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
  std::string block(4096, 'x');
  while (write(fd, block.data(), block.size()) > 0) {
  }
  // The last partial block.
  while (write(fd, block.data(), 1) > 0) {
  }
  close(fd);
}

}  // namespace gui::test
