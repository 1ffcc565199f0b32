#include "platform/Environment.h"

#include <errno.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

#include "platform/Files.h"

namespace gui::platform {

std::optional<std::string> GetVariable(const std::string& name) {
  const char* value = std::getenv(name.c_str());
  if (value == nullptr) return std::nullopt;
  return std::string(value);
}

void SetVariable(const std::string& name, const std::string& value) {
  setenv(name.c_str(), value.c_str(), 1);
}

std::string ExecutablePath() {
  std::vector<char> buffer(4096);
  for (;;) {
    ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length < 0) return {};
    if (static_cast<std::size_t>(length) < buffer.size()) return std::string(buffer.data(), length);
    buffer.resize(buffer.size() * 2);
  }
}

std::string CurrentFolder() {
  std::vector<char> buffer(4096);
  while (getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (buffer.size() > (1u << 20)) return {};
    buffer.resize(buffer.size() * 2);
  }
  return buffer.data();
}

namespace {

// The user's folder in the shared temporary folder, made at once when missing so that nobody
// can take the name between the check and its use; "" when someone else holds the name.
std::string SharedTempFolder() {
  std::string base = GetVariable("TMPDIR").value_or("");
  if (base.empty()) base = "/tmp";
  while (base.size() > 1 && base.back() == '/')
    base.pop_back();
  std::string path = base + "/quentaris-" + std::to_string(geteuid());
  if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return {};
  return IsPrivateFolder(path) ? path : std::string();
}

// In the user's home, where no one else can plant a folder; "" without a home.
std::string CacheFolder() {
  std::string cache = GetVariable("XDG_CACHE_HOME").value_or("");
  if (!cache.empty() && cache.front() == '/') return cache;
  std::string home = GetVariable("HOME").value_or("");
  return home.empty() ? home : home + "/.cache";
}

}  // namespace

std::string SystemTempPath() {
  std::string runtime = GetVariable("XDG_RUNTIME_DIR").value_or("");
  if (!runtime.empty() && IsPrivateFolder(runtime)) return runtime;
  std::string shared = SharedTempFolder();
  return shared.empty() ? CacheFolder() : shared;
}

}  // namespace gui::platform
