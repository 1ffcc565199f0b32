#include "services/modSystem.h"

#include <algorithm>
#include <cctype>
#include <optional>

#include "platform/Identity.h"
#include "platform/SystemErrors.h"
#include "services/Error.h"

namespace gui {

namespace {

std::string Upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return text;
}

std::optional<platform::RegistryRoot> RootNamed(const std::string& name) {
  std::string upper = Upper(name);
  if (upper == "HKEY_CLASSES_ROOT" || upper == "HKCR") return platform::RegistryRoot::ClassesRoot;
  if (upper == "HKEY_CURRENT_USER" || upper == "HKCU") return platform::RegistryRoot::CurrentUser;
  if (upper == "HKEY_LOCAL_MACHINE" || upper == "HKLM") return platform::RegistryRoot::LocalMachine;
  if (upper == "HKEY_USERS" || upper == "HKUR") return platform::RegistryRoot::Users;
  return std::nullopt;
}

std::string CachedName(std::string& cache, std::string (*lookUp)()) {
  if (cache.empty()) cache = lookUp();
  return cache;
}

}  // namespace

platform::RegistryValue GetRegistryValue(const std::string& path, bool& view64) {
  if (view64 && !GetOsInfo().IsWinXP()) view64 = false;
  std::string::size_type first = path.find('\\');
  if (first == std::string::npos) return {};
  std::optional<platform::RegistryRoot> root = RootNamed(path.substr(0, first));
  if (!root) return {};
  std::string::size_type last = path.rfind('\\');
  std::string key = last > first ? path.substr(first + 1, last - first - 1) : "";
  return platform::ReadRegistryValue(*root, key, path.substr(last + 1), view64);
}

bool RegistryKeyExists(const std::string& path, bool view64) {
  if (view64 && !GetOsInfo().IsWinXP()) view64 = false;
  std::string::size_type first = path.find('\\');
  std::optional<platform::RegistryRoot> root = RootNamed(path.substr(0, first));
  if (!root) return false;
  std::string key = first == std::string::npos ? "" : path.substr(first + 1);
  return platform::RegistryKeyExists(*root, key, view64);
}

const COpSysInfo& GetOsInfo() {
  static const COpSysInfo shared;
  return shared;
}

std::string CurrentUserName() {
  static std::string cache;
  return CachedName(cache, platform::UserName);
}

std::string CurrentComputerName() {
  static std::string cache;
  return CachedName(cache, platform::ComputerName);
}

std::string SystemErrorText(int code) {
  return platform::SystemErrorText(code);
}

std::string NewGuid() {
  unsigned char bytes[16];
  if (!platform::RandomBytes(bytes, sizeof bytes))
    throw Error(err::kSmallRoutine,
                "Error generating guid: Error generating guid. Function did not return S_OK");
  bytes[6] = static_cast<unsigned char>((bytes[6] & 0x0F) | 0x40);  // version 4: random
  bytes[8] = static_cast<unsigned char>((bytes[8] & 0x3F) | 0x80);  // the standard variant
  static const char digits[] = "0123456789ABCDEF";
  std::string text;
  for (int i = 0; i < 16; ++i) {
    if (i == 4 || i == 6 || i == 8 || i == 10) text += '-';
    text += digits[bytes[i] >> 4];
    text += digits[bytes[i] & 0x0F];
  }
  return text;
}

}  // namespace gui
