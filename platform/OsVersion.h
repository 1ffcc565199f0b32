#pragma once

#include <cstdint>
#include <string>

namespace gui::platform {

// The fields of the system's extended version record.
struct OsVersionRecord {
  std::int32_t majorVersion = 0;
  std::int32_t minorVersion = 0;
  std::int32_t buildNumber = 0;
  std::int32_t platformId = 0;
  std::string csdVersion;  // may hold NUL characters; cut at the first
  std::int16_t servicePackMajor = 0;
  std::int16_t servicePackMinor = 0;
  std::int16_t suiteMask = 0;
  std::int32_t productType = 0;
  std::string systemName;  // the system's own name where it is not Windows ("Linux")
};

OsVersionRecord QueryOsVersion();

}  // namespace gui::platform
