#include "backend/JobFile.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <vector>

#include "backend/LineEnds.h"
#include "platform/Environment.h"
#include "platform/posix/Descriptor.h"
#include "services/modFolders.h"

namespace gui::backend {

namespace {

using platform::Descriptor;
using platform::WriteFully;

std::string Reason(const std::string& what, const std::string& path) {
  return what + " '" + path + "': " + std::strerror(errno);
}

// Opens a level below parent, making it first when missing, and accepts it only when it is the
// user's own and nobody else may write to it.
bool EnterPrivateLevel(Descriptor& parent, const std::string& name, const std::string& path,
                       std::string& error) {
  if (mkdirat(parent.Get(), name.c_str(), 0700) != 0 && errno != EEXIST) {
    error = Reason("Unable to create the folder", path);
    return false;
  }
  Descriptor level(
      openat(parent.Get(), name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  struct stat status {};
  if (level.Get() < 0 || fstat(level.Get(), &status) != 0) {
    error = Reason("Unable to open the folder", path);
    return false;
  }
  if (status.st_uid != geteuid() || (status.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
    error = "The folder '" + path + "' is not private to the user.";
    return false;
  }
  parent = std::move(level);
  return true;
}

bool CopyInput(int input, int output, const std::string& head, LineEndScan& scan) {
  scan.Feed(head.data(), head.size());
  if (!WriteFully(output, head.data(), head.size())) return false;
  std::vector<char> buffer(65536);
  for (;;) {
    ssize_t got = read(input, buffer.data(), buffer.size());
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return false;
    if (got == 0) return true;
    scan.Feed(buffer.data(), static_cast<std::size_t>(got));
    if (!WriteFully(output, buffer.data(), static_cast<std::size_t>(got))) return false;
  }
}

}  // namespace

std::string JobFile::PrepareFolder(std::string& error) {
  std::string base = platform::SystemTempPath();
  std::size_t slash = base.find_last_of('/');
  if (slash == std::string::npos || slash + 1 == base.size()) {
    error = "No temporary folder for the user: '" + base + "'.";
    return {};
  }
  std::string path = slash == 0 ? "/" : base.substr(0, slash);
  Descriptor level(open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (level.Get() < 0) {
    error = Reason("Unable to open the folder", path);
    return {};
  }
  for (const std::string& name : {base.substr(slash + 1), kCompanyName, kProductFolderName}) {
    path += (path == "/" ? "" : "/") + name;
    if (!EnterPrivateLevel(level, name, path, error)) return {};
  }
  return path;
}

bool JobFile::Write(const std::string& folder, const std::string& name, const std::string& head,
                    int input, std::string& error) {
  std::string path = folder + "/" + name;
  Descriptor output(open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
  if (output.Get() < 0) {
    error = Reason("Unable to create the job file", path);
    return false;
  }
  LineEndScan scan;
  if (!CopyInput(input, output.Get(), head, scan) || fsync(output.Get()) != 0) {
    error = Reason("Unable to write the job file", path);
    unlink(path.c_str());
    return false;
  }
  // The program finds lines by CR, as the jobs of Windows drivers end them.
  if (scan.WantsCrLf() && !ConvertToCrLf(path, error)) {
    unlink(path.c_str());
    return false;
  }
  return true;
}

}  // namespace gui::backend
