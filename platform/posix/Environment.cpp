#include "platform/Environment.h"

#include <unistd.h>

#include <cstdlib>
#include <vector>

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

std::string SystemTempPath() {
  std::string runtime = GetVariable("XDG_RUNTIME_DIR").value_or("");
  if (!runtime.empty()) return runtime;
  std::string base = GetVariable("TMPDIR").value_or("");
  if (base.empty()) base = "/tmp";
  while (base.size() > 1 && base.back() == '/')
    base.pop_back();
  return base + "/quentaris-" + std::to_string(geteuid());
}

}  // namespace gui::platform
