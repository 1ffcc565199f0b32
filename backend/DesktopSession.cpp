#include "backend/DesktopSession.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>

namespace gui::backend {

namespace {

using Variables = std::map<std::string, std::string>;

const char* const kSessionVariables[] = {"DISPLAY",
                                         "WAYLAND_DISPLAY",
                                         "XAUTHORITY",
                                         "XDG_RUNTIME_DIR",
                                         "DBUS_SESSION_BUS_ADDRESS",
                                         "XDG_CURRENT_DESKTOP",
                                         "XDG_SESSION_TYPE",
                                         "LANG"};

Variables SessionVariablesOf(const std::string& pid) {
  std::ifstream file("/proc/" + pid + "/environ", std::ios::binary);
  std::string all((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  Variables found;
  for (std::size_t start = 0, end; start < all.size(); start = end + 1) {
    end = all.find('\0', start);
    if (end == std::string::npos) end = all.size();
    std::string entry = all.substr(start, end - start);
    std::size_t equals = entry.find('=');
    if (equals == std::string::npos) continue;
    for (const char* name : kSessionVariables) {
      if (entry.compare(0, equals, name) == 0) found[name] = entry.substr(equals + 1);
    }
  }
  return found;
}

bool IsOwnSocket(const std::string& path, bool mustBeOwn) {
  struct stat status {};
  if (lstat(path.c_str(), &status) != 0 || !S_ISSOCK(status.st_mode)) return false;
  return !mustBeOwn || status.st_uid == getuid();
}

// A stale environment (a program left over from an ended session) names a display that is gone.
bool DisplayIsLive(const Variables& session) {
  auto runtime = session.find("XDG_RUNTIME_DIR");
  auto wayland = session.find("WAYLAND_DISPLAY");
  if (wayland != session.end() && runtime != session.end() && !wayland->second.empty()) {
    std::string socket =
        wayland->second[0] == '/' ? wayland->second : runtime->second + "/" + wayland->second;
    if (IsOwnSocket(socket, true)) return true;
  }
  auto display = session.find("DISPLAY");
  if (display == session.end() || display->second.empty()) return false;
  if (display->second[0] != ':') return true;  // a forwarded display: nothing local to check
  std::string number = display->second.substr(1, display->second.find('.') - 1);
  return IsOwnSocket("/tmp/.X11-unix/X" + number, false);
}

Variables FindGraphicalSession() {
  DIR* processes = opendir("/proc");
  if (processes == nullptr) return {};
  Variables chosen;
  while (dirent* entry = readdir(processes)) {
    std::string pid = entry->d_name;
    if (pid.find_first_not_of("0123456789") != std::string::npos) continue;
    struct stat status {};
    if (stat(("/proc/" + pid).c_str(), &status) != 0 || status.st_uid != getuid()) continue;
    Variables session = SessionVariablesOf(pid);
    if (DisplayIsLive(session)) {
      chosen = session;
      break;
    }
  }
  closedir(processes);
  return chosen;
}

}  // namespace

GuiSession GuiEnvironment(const std::string& name, const std::string& home,
                          const std::string& shell) {
  GuiSession gui;
  gui.environment = {"HOME=" + home, "USER=" + name, "LOGNAME=" + name, "SHELL=" + shell,
                     "PATH=/usr/local/bin:/usr/bin:/bin"};
  Variables session = FindGraphicalSession();
  gui.headless = session.empty();
  if (gui.headless) {
    gui.environment.push_back("QUENTARIS_UI=headless");
    if (const char* language = std::getenv("LANG"))
      gui.environment.push_back(std::string("LANG=") + language);
  }
  for (const auto& [variable, value] : session)
    gui.environment.push_back(variable + "=" + value);
  return gui;
}

}  // namespace gui::backend
