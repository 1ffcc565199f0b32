#include "platform/OsVersion.h"

#include <sys/utsname.h>

#include <cstdlib>

namespace gui::platform {

namespace {

// The leading number at pos of a kernel release such as "6.1.0-18-amd64", leaving pos after
// the number and its dot; 0 when there is none.
std::int32_t ReleaseNumber(const char*& pos) {
  char* end = nullptr;
  long number = std::strtol(pos, &end, 10);
  if (end == pos || number < 0 || number > 0x7FFFFFFF) return 0;
  pos = *end == '.' ? end + 1 : end;
  return static_cast<std::int32_t>(number);
}

}  // namespace

// Not Windows: platform id 0, so no Windows flag is set; major, minor and build are the first
// three numbers of the kernel release.
OsVersionRecord QueryOsVersion() {
  OsVersionRecord record;
  struct utsname names {};
  if (uname(&names) != 0) return record;
  const char* release = names.release;
  record.majorVersion = ReleaseNumber(release);
  record.minorVersion = ReleaseNumber(release);
  record.buildNumber = ReleaseNumber(release);
  record.systemName = names.sysname;
  return record;
}

}  // namespace gui::platform
