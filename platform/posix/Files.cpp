#include "platform/Files.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <limits.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <vector>

#include "platform/SystemErrors.h"
#include "platform/posix/Descriptor.h"

namespace gui::platform {

namespace {

// As many links in a row as the kernel follows.
constexpr int kMostLinks = 40;

FileStatus FromStat(const struct stat& info) {
  FileStatus status;
  status.exists = true;
  status.isFolder = S_ISDIR(info.st_mode);
  status.isRegular = S_ISREG(info.st_mode);
  status.isLink = S_ISLNK(info.st_mode);
  status.size = static_cast<std::uint64_t>(info.st_size);
  status.modified = static_cast<std::int64_t>(info.st_mtime);
  return status;
}

// Only "*" and "?" are wildcards in the program's patterns.
std::string EscapedPattern(const std::string& pattern) {
  std::string escaped;
  for (char c : pattern) {
    if (c == '[' || c == ']' || c == '\\') escaped += '\\';
    escaped += c;
  }
  return escaped;
}

// "*.*" matches names without a dot too, as the system this program came from does.
bool NameMatches(const std::string& rawPattern, const std::string& name) {
  std::string pattern = EscapedPattern(rawPattern);
  if (fnmatch(pattern.c_str(), name.c_str(), 0) == 0) return true;
  if (pattern.size() >= 2 && pattern.compare(pattern.size() - 2, 2, ".*") == 0) {
    std::string stem = pattern.substr(0, pattern.size() - 2);
    return fnmatch(stem.c_str(), name.c_str(), 0) == 0;
  }
  return false;
}

void WriteAll(int fd, const unsigned char* data, std::size_t size, const std::string& path) {
  if (!WriteFully(fd, data, size)) throw ErrorFromSystem(errno, path);
}

void WriteWithMode(const std::string& path, const unsigned char* data, std::size_t size, int flags,
                   mode_t mode) {
  Descriptor file(open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | flags, mode));
  if (file.Get() < 0) throw ErrorFromSystem(errno, path);
  WriteAll(file.Get(), data, size, path);
  // An older, longer content must not survive behind the new bytes.
  if (ftruncate(file.Get(), static_cast<off_t>(size)) != 0) throw ErrorFromSystem(errno, path);
}

bool LockHeldElsewhere(int fd) {
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) return true;
  struct flock range {};
  range.l_type = F_WRLCK;
  range.l_whence = SEEK_SET;
  return fcntl(fd, F_SETLK, &range) != 0;
}

// The folder part of a path, its separator kept; "" for a bare name.
std::string FolderPrefix(const std::string& path) {
  std::string::size_type slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// As the kernel's protected links: in a sticky folder that others may write, only a link of
// the user or of the folder's owner leads anywhere.
bool MayFollow(const struct stat& link, const std::string& folder) {
  struct stat holder {};
  if (stat(folder.empty() ? "." : folder.c_str(), &holder) != 0) return false;
  bool shared = (holder.st_mode & S_ISVTX) != 0 && (holder.st_mode & S_IWOTH) != 0;
  return !shared || link.st_uid == geteuid() || link.st_uid == holder.st_uid;
}

std::string ReadLink(const std::string& path) {
  std::vector<char> target(PATH_MAX);
  ssize_t length = readlink(path.c_str(), target.data(), target.size());
  if (length < 0) throw ErrorFromSystem(errno, path);
  return std::string(target.data(), static_cast<std::size_t>(length));
}

}  // namespace

FileStatus StatusOf(const std::string& path) {
  struct stat info {};
  if (path.empty() || stat(path.c_str(), &info) != 0) return {};
  return FromStat(info);
}

FileStatus LinkStatusOf(const std::string& path) {
  struct stat info {};
  if (path.empty() || lstat(path.c_str(), &info) != 0) return {};
  return FromStat(info);
}

// The change time moves with every write and rename, and no one can set it back.
std::string FileIdentity(const std::string& path) {
  struct stat info {};
  if (path.empty() || stat(path.c_str(), &info) != 0) return {};
  std::string identity;
  for (auto number :
       {static_cast<long long>(info.st_dev), static_cast<long long>(info.st_ino),
        static_cast<long long>(info.st_size), static_cast<long long>(info.st_mtim.tv_sec),
        static_cast<long long>(info.st_mtim.tv_nsec), static_cast<long long>(info.st_ctim.tv_sec),
        static_cast<long long>(info.st_ctim.tv_nsec)})
    identity += std::to_string(number) + ":";
  return identity;
}

bool HasWildcards(const std::string& name) {
  return name.find_first_of("*?") != std::string::npos;
}

std::vector<FolderEntry> FindEntries(const std::string& folder, const std::string& pattern) {
  std::vector<FolderEntry> entries;
  DIR* listing = opendir(folder.empty() ? "." : folder.c_str());
  if (listing == nullptr) return entries;
  while (struct dirent* entry = readdir(listing)) {
    std::string name = entry->d_name;
    if (name == "." || name == ".." || !NameMatches(pattern, name)) continue;
    FileStatus status = StatusOf(folder + "/" + name);
    if (!status.exists) continue;
    entries.push_back({name, status.isFolder, status.isRegular, status.modified});
  }
  closedir(listing);
  return entries;
}

std::string MakePrivateFolder(const std::string& path) {
  if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return SystemErrorText(errno);
  struct stat info {};
  if (lstat(path.c_str(), &info) != 0) return SystemErrorText(errno);
  if (S_ISLNK(info.st_mode)) return "it is a link";
  if (!S_ISDIR(info.st_mode)) return "it is not a folder";
  if (info.st_uid != geteuid()) return "it belongs to another user";
  if ((info.st_mode & (S_IWGRP | S_IWOTH)) != 0) return "others may write to it";
  return {};
}

std::uint64_t FreeSpaceOf(const std::string& path) {
  struct statvfs info {};
  if (statvfs(path.c_str(), &info) != 0) return UINT64_MAX;
  return static_cast<std::uint64_t>(info.f_bavail) * info.f_frsize;
}

bool NameFits(const std::string& folder, const std::string& name) {
  long longest = pathconf(folder.empty() ? "." : folder.c_str(), _PC_NAME_MAX);
  if (longest <= 0) longest = NAME_MAX;
  return name.size() <= static_cast<std::size_t>(longest);
}

// Root may write anything, so a file that grants writing to nobody counts as read-only too.
bool IsReadOnly(const std::string& path) {
  struct stat info {};
  if (path.empty() || stat(path.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) return false;
  if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return true;
  return faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0 && errno == EACCES;
}

std::vector<std::string> DriveRoots() {
  return {"/"};
}

std::vector<unsigned char> ReadBytes(const std::string& path) {
  Descriptor file(open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (file.Get() < 0) throw ErrorFromSystem(errno, path);
  struct stat info {};
  if (fstat(file.Get(), &info) != 0) throw ErrorFromSystem(errno, path);
  if (S_ISDIR(info.st_mode)) throw ErrorFromSystem(EISDIR, path);
  std::vector<unsigned char> bytes;
  bytes.reserve(static_cast<std::size_t>(info.st_size));
  unsigned char buffer[1 << 16];
  for (;;) {
    ssize_t got = read(file.Get(), buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) throw ErrorFromSystem(errno, path);
    if (got == 0) return bytes;
    bytes.insert(bytes.end(), buffer, buffer + got);
  }
}

// Every file written this way is one of the job's own, never a link's target.
void WriteBytes(const std::string& path, const unsigned char* data, std::size_t size) {
  WriteWithMode(path, data, size, O_NOFOLLOW, 0666);
}

void WritePrivateBytes(const std::string& path, const unsigned char* data, std::size_t size) {
  WriteWithMode(path, data, size, O_NOFOLLOW, 0600);
  if (chmod(path.c_str(), 0600) != 0) throw ErrorFromSystem(errno, path);
}

void MakeFolder(const std::string& path) {
  if (mkdir(path.c_str(), 0700) == 0) return;
  int failure = errno;
  // Another job of the same user may have made it a moment ago.
  if (failure == EEXIST && StatusOf(path).isFolder) return;
  throw ErrorFromSystem(failure, path);
}

void RemoveFile(const std::string& path) {
  if (unlink(path.c_str()) != 0) throw ErrorFromSystem(errno, path);
}

void ReplaceFile(const std::string& from, const std::string& to) {
  if (rename(from.c_str(), to.c_str()) != 0) throw ErrorFromSystem(errno, to);
}

void RenameToFreeName(const std::string& from, const std::string& to) {
  if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return;
  // File systems that cannot rename without replacing can still link without replacing.
  if (errno != EINVAL || link(from.c_str(), to.c_str()) != 0) throw ErrorFromSystem(errno, to);
  if (unlink(from.c_str()) != 0) throw ErrorFromSystem(errno, from);
}

std::string LinkedFile(const std::string& path) {
  std::string current = path;
  for (int hop = 0; hop < kMostLinks; ++hop) {
    struct stat link {};
    if (lstat(current.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return current;
    std::string folder = FolderPrefix(current);
    if (!MayFollow(link, folder)) throw ErrorFromSystem(EACCES, current);
    std::string target = ReadLink(current);
    current = target.starts_with('/') ? target : folder + target;
  }
  throw RuntimeError(err::kPathNotFound);
}

bool AppendExclusive(const std::string& path, const std::string& text) {
  Descriptor file(open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600));
  if (file.Get() < 0) throw ErrorFromSystem(errno, path);
  if (LockHeldElsewhere(file.Get())) throw ErrorFromSystem(EACCES, path);
  try {
    WriteAll(file.Get(), reinterpret_cast<const unsigned char*>(text.data()), text.size(), path);
  } catch (const Error&) {
    return false;
  }
  return true;
}

void CopyToNewFile(const std::string& source, const std::string& destination) {
  Descriptor from(open(source.c_str(), O_RDONLY | O_CLOEXEC));
  if (from.Get() < 0) throw ErrorFromSystem(errno, source);
  // What is copied is delivered, and a delivered PDF is its owner's alone, whatever the umask.
  Descriptor to(
      open(destination.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
  if (to.Get() < 0) throw ErrorFromSystem(errno, destination);
  std::vector<unsigned char> buffer(1 << 20);
  for (;;) {
    ssize_t got = read(from.Get(), buffer.data(), buffer.size());
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) throw ErrorFromSystem(errno, source);
    if (got == 0) break;
    WriteAll(to.Get(), buffer.data(), static_cast<std::size_t>(got), destination);
  }
  if (fsync(to.Get()) != 0) throw ErrorFromSystem(errno, destination);
}

bool IsLockedByOther(const std::string& path) {
  Descriptor file(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (file.Get() < 0) return false;
  if (flock(file.Get(), LOCK_EX | LOCK_NB) != 0) return true;
  struct flock range {};
  range.l_type = F_WRLCK;
  range.l_whence = SEEK_SET;
  return fcntl(file.Get(), F_GETLK, &range) == 0 && range.l_type != F_UNLCK;
}

InputFile::InputFile(const std::string& path) : path_(path) {
  fd_ = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) throw ErrorFromSystem(errno, path);
}

InputFile::~InputFile() {
  close(fd_);
}

std::size_t InputFile::Read(char* buffer, std::size_t size) {
  for (;;) {
    ssize_t got = read(fd_, buffer, size);
    if (got >= 0) return static_cast<std::size_t>(got);
    if (errno != EINTR) throw ErrorFromSystem(errno, path_);
  }
}

}  // namespace gui::platform
