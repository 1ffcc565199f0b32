#include "platform/Environment.h"

#include <unistd.h>

#include <cstdlib>

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

// An absolute folder from a variable, without trailing separators; "" when it is unset,
// relative or the root.
std::string AbsoluteFolder(const char* name) {
  std::string value = GetVariable(name).value_or("");
  if (value.empty() || value.front() != '/') return {};
  while (!value.empty() && value.back() == '/')
    value.pop_back();
  return value;
}

}  // namespace

// The runtime folder, a folder named for the user in the shared one, then the user's cache;
// never the root of the file system or a folder directly in it.
std::vector<std::string> SystemTempPaths() {
  std::string shared = AbsoluteFolder("TMPDIR");
  if (shared.empty()) shared = "/tmp";
  std::string cache = AbsoluteFolder("XDG_CACHE_HOME");
  std::string home = AbsoluteFolder("HOME");
  if (cache.empty() && !home.empty()) cache = home + "/.cache";
  std::vector<std::string> paths;
  for (const std::string& path : {AbsoluteFolder("XDG_RUNTIME_DIR"),
                                  shared + "/quentaris-" + std::to_string(geteuid()), cache}) {
    if (path.find('/', 1) != std::string::npos) paths.push_back(path);
  }
  return paths;
}

}  // namespace gui::platform
