#include "printing/COpSysInfo.h"

namespace gui {

namespace {

constexpr std::int32_t kPlatformWin9x = 1;
constexpr std::int32_t kPlatformNT = 2;

std::string ServicePackText(const std::string& raw) {
  std::string text = raw.substr(0, raw.find('\0'));
  std::string::size_type first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

COpSysInfo::COpSysInfo() : COpSysInfo(platform::QueryOsVersion()) {}

COpSysInfo::COpSysInfo(const platform::OsVersionRecord& record)
    : record_(record), csdVersion_(ServicePackText(record.csdVersion)) {
  int major = record.majorVersion;
  int minor = record.minorVersion;
  isWinNT_ = record.platformId == kPlatformNT;
  isWin2K_ = isWinNT_ && major >= 5;
  isWinXP_ = isWinNT_ && ((major == 5 && minor >= 1) || major >= 6);
  isWin2003_ = isWinNT_ && ((major == 5 && minor >= 2) || major >= 6);
  isWinVista_ = isWinNT_ && major >= 6;
  isWin95_ = record.platformId == kPlatformWin9x;
  isWin98_ = isWin95_ && minor >= 10;
  isWinME_ = isWin95_ && BuildNumber() >= 3000;
}

// Windows 95 to Me keep the version in the high word of the build number.
std::int32_t COpSysInfo::BuildNumber() const {
  return static_cast<std::int16_t>(record_.buildNumber & 0xFFFF);
}

std::string COpSysInfo::Platform() const {
  if (isWinME_) return "Windows Me";
  if (isWin98_) return "Windows 98";
  if (isWin95_) return "Windows 95";
  if (isWinVista_) return "Windows Vista";
  if (isWin2003_) return "Windows Server 2003";
  if (isWinXP_) return "Windows XP";
  if (isWin2K_) return "Windows 2000";
  if (isWinNT_) return "Windows NT";
  return record_.systemName;
}

std::string COpSysInfo::Version() const {
  return Platform() + " v" + std::to_string(MajorVersion()) + "." + std::to_string(MinorVersion()) +
         ", Build " + std::to_string(BuildNumber());
}

std::string COpSysInfo::ProductTypeName() const {
  switch (record_.productType) {
    case 0:
      return "Unknown";
    case 1:
      return "NT Workstation";
    case 2:
      return "Domain Controller";
    case 3:
      return "NT Server";
    default:
      return "";
  }
}

}  // namespace gui
