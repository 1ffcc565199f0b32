#include "platform/SpecialFolders.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

namespace gui::platform {

namespace {

// HOME, or the user database's home folder when HOME is unset.
std::string Home() {
  const char* home = std::getenv("HOME");
  if (home != nullptr && *home != '\0') return home;
  struct passwd entry {};
  struct passwd* found = nullptr;
  char buffer[4096];
  if (getpwuid_r(geteuid(), &entry, buffer, sizeof buffer, &found) != 0 || found == nullptr) {
    return {};
  }
  return found->pw_dir ? found->pw_dir : "";
}

bool IsFolder(const std::string& path) {
  struct stat info {};
  return !path.empty() && stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The value of a line such as XDG_DESKTOP_DIR="$HOME/Desktop" in the user's folder list.
std::string UserDirectory(const std::string& key) {
  const char* configHome = std::getenv("XDG_CONFIG_HOME");
  std::string config = configHome && *configHome ? configHome : Home() + "/.config";
  std::ifstream list(config + "/user-dirs.dirs");
  std::string line;
  while (std::getline(list, line)) {
    if (line.rfind(key + "=\"", 0) != 0 || line.size() < key.size() + 3) continue;
    std::string value = line.substr(key.size() + 2);
    value = value.substr(0, value.rfind('"'));
    if (value.rfind("$HOME", 0) == 0) value = Home() + value.substr(5);
    return value.empty() || value[0] != '/' ? std::string() : value;
  }
  return {};
}

}  // namespace

std::string SpecialFolderPath(int csidl) {
  if (csidl != kCsidlDesktop && csidl != kCsidlPersonal) return {};
  bool desktop = csidl == kCsidlDesktop;
  std::string configured = UserDirectory(desktop ? "XDG_DESKTOP_DIR" : "XDG_DOCUMENTS_DIR");
  if (IsFolder(configured)) return configured;
  std::string usual = Home() + (desktop ? "/Desktop" : "/Documents");
  if (IsFolder(usual)) return usual;
  return Home();
}

}  // namespace gui::platform
