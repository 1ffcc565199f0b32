#include "production/GhostscriptVersion.h"

#include "platform/Files.h"
#include "platform/Ghostscript.h"
#include "services/Error.h"
#include "services/modFiles.h"
#include "services/modFolders.h"
#include "services/modPaths.h"

namespace gui {

namespace {

constexpr char kMemoryName[] = "ghostscript.version";

std::string MemoryFile() {
  std::string folder = GetTempFolder();
  return folder.empty() ? std::string() : JoinPath(folder, kMemoryName);
}

// The memory is one line: the program's identity, its path and its version, between tabs.
std::string Remembered(const std::string& memory, const std::string& key) {
  try {
    std::string text = FileExists(memory) ? ReadTextFile(memory) : std::string();
    return text.compare(0, key.size(), key) == 0 ? text.substr(key.size()) : std::string();
  } catch (const Error&) {
    return {};
  }
}

// Parallel jobs may write it at once; each writes a whole new file.
void Remember(const std::string& memory, const std::string& line) {
  try {
    ReplaceThroughNewFile(memory,
                          [&](const std::string& file) { WritePrivateTextFile(file, line); });
  } catch (const Error&) {
  }
}

}  // namespace

std::string GhostscriptVersion(const std::string& program) {
  std::string identity = platform::FileIdentity(program);
  std::string memory = identity.empty() ? std::string() : MemoryFile();
  std::string key = identity + "\t" + program + "\t";
  std::string version = memory.empty() ? std::string() : Remembered(memory, key);
  if (!version.empty()) return version;
  version = platform::AskGhostscriptVersion(program);
  if (!memory.empty() && !version.empty()) Remember(memory, key + version);
  return version;
}

}  // namespace gui
