#include "platform/SystemErrors.h"

#include <errno.h>
#include <string.h>
#include <sys/stat.h>

namespace gui::platform {

namespace {

// ENOENT means "Path not found" when a folder on the way is missing.
bool ParentMissing(const std::string& path) {
  std::string::size_type slash = path.find_last_of('/');
  if (slash == std::string::npos || slash == 0) return false;
  struct stat info {};
  return stat(path.substr(0, slash).c_str(), &info) != 0 || !S_ISDIR(info.st_mode);
}

long NumberFor(int code, const std::string& path) {
  switch (code) {
    case ENOENT:
      return ParentMissing(path) ? err::kPathNotFound : err::kFileNotFound;
    case ENOTDIR:
      return err::kPathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
      return err::kPermissionDenied;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return err::kDiskFull;
    case EIO:
      return err::kDeviceIo;
    case EEXIST:
      return err::kFileAlreadyExists;
    case EMFILE:
    case ENFILE:
      return err::kTooManyFiles;
    case ENAMETOOLONG:
      return err::kBadFileName;
    default:
      return err::kPathFileAccess;
  }
}

}  // namespace

Error ErrorFromSystem(int code, const std::string& path) {
  long number = NumberFor(code, path);
  return Error(number, RuntimeErrorText(number));
}

std::string SystemErrorText(int code) {
  char buffer[512];
  return strerror_r(code, buffer, sizeof buffer);
}

}  // namespace gui::platform
