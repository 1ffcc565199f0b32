#pragma once

#include <cstdint>
#include <string>

#include "platform/OsVersion.h"

namespace gui {

// Which Windows version the program runs on, read once at creation. Each Is... flag means this
// version or later; on a system that is not Windows no flag is set.
class COpSysInfo {
 public:
  COpSysInfo();
  explicit COpSysInfo(const platform::OsVersionRecord& record);

  std::int32_t BuildNumber() const;
  const std::string& CSDVersion() const { return csdVersion_; }
  std::int32_t MajorVersion() const { return record_.majorVersion; }
  std::int32_t MinorVersion() const { return record_.minorVersion; }
  std::int32_t PlatformID() const { return record_.platformId; }
  std::int32_t ProductType() const { return record_.productType; }
  std::int16_t ServicePackMajor() const { return record_.servicePackMajor; }
  std::int16_t ServicePackMinor() const { return record_.servicePackMinor; }
  std::int16_t SuiteMask() const { return record_.suiteMask; }
  bool HasAS() const { return HasSuite(2); }
  bool HasBO() const { return HasSuite(4); }
  bool HasDC() const { return HasSuite(128); }
  bool HasSBS() const { return HasSuite(1); }
  bool HasSBSr() const { return HasSuite(32); }
  bool HasTS() const { return HasSuite(16); }
  bool IsWin2003() const { return isWin2003_; }
  bool IsWinXP() const { return isWinXP_; }
  bool IsWinVista() const { return isWinVista_; }
  bool IsWin2K() const { return isWin2K_; }
  bool IsWinNT() const { return isWinNT_; }
  bool IsWin9x() const { return isWin95_ || isWin98_ || isWinME_; }
  bool IsWin95() const { return isWin95_; }
  bool IsWin98() const { return isWin98_; }
  bool IsWinME() const { return isWinME_; }
  std::string Platform() const;
  std::string Version() const;
  std::string ProductTypeName() const;

 private:
  bool HasSuite(int bit) const { return (record_.suiteMask & bit) != 0; }

  platform::OsVersionRecord record_;
  std::string csdVersion_;
  bool isWinNT_ = false, isWin2K_ = false, isWinXP_ = false, isWin2003_ = false;
  bool isWinVista_ = false, isWin95_ = false, isWin98_ = false, isWinME_ = false;
};

}  // namespace gui
