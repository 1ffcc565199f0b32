#include "backend/JobFile.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <vector>

#include "backend/Cancellation.h"
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

bool CopyInput(int input, int output, const std::string& head) {
  if (!WriteFully(output, head.data(), head.size())) return false;
  std::vector<char> buffer(65536);
  for (;;) {
    ssize_t got = read(input, buffer.data(), buffer.size());
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return false;
    if (got == 0) return true;
    if (!WriteFully(output, buffer.data(), static_cast<std::size_t>(got))) return false;
  }
}

// The product's levels below one of the system's places, or "" and the reason in error.
std::string PrepareFolderBelow(const std::string& base, std::string& error) {
  std::size_t slash = base.find_last_of('/');
  std::string path = base.substr(0, slash);
  Descriptor level(open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (level.Get() < 0) {
    error = Reason("Unable to open the folder", path);
    return {};
  }
  for (const std::string& name : {base.substr(slash + 1), kCompanyName, kProductFolderName}) {
    path += "/" + name;
    if (!EnterPrivateLevel(level, name, path, error)) return {};
  }
  return path;
}

}  // namespace

std::string JobFile::PrepareFolder(std::string& error) {
  std::string reasons;
  for (const std::string& base : platform::SystemTempPaths()) {
    std::string reason;
    std::string folder = PrepareFolderBelow(base, reason);
    if (!folder.empty()) return folder;
    reasons += (reasons.empty() ? "" : " ") + reason;
  }
  error = "No temporary folder for the user. " + reasons;
  return {};
}

bool JobFile::Write(const std::string& folder, const std::string& name, const std::string& head,
                    int input, std::string& error) {
  std::string path = folder + "/" + name;
  RemoveOnCancel(path);
  Descriptor output(open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
  if (output.Get() < 0) {
    error = Reason("Unable to create the job file", path);
    RemoveOnCancel({});
    return false;
  }
  if (!CopyInput(input, output.Get(), head) || fsync(output.Get()) != 0) {
    error = Reason("Unable to write the job file", path);
    unlink(path.c_str());
    RemoveOnCancel({});
    return false;
  }
  return true;
}

// Session ids never begin with one another, so the prefix names this session's files alone.
void JobFile::RemoveSession(const std::string& folder, const std::string& sessionId) {
  DIR* listing = opendir(folder.c_str());
  if (listing == nullptr) return;
  while (dirent* entry = readdir(listing)) {
    if (std::strncmp(entry->d_name, sessionId.c_str(), sessionId.size()) == 0)
      unlinkat(dirfd(listing), entry->d_name, 0);
  }
  closedir(listing);
}

}  // namespace gui::backend
