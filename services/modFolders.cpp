#include "services/modFolders.h"

#include <algorithm>

#include "platform/Environment.h"
#include "platform/Files.h"
#include "platform/SpecialFolders.h"
#include "services/modConvert.h"
#include "services/modFiles.h"
#include "services/modPaths.h"
#include "services/modSystem.h"

namespace gui {

namespace {

std::string programFolderOverride;
std::string tempFolderCache;
std::string dataFolderCache;

std::string DropOneTrailingSeparator(std::string path) {
  if (path.size() > 1 && path.back() == platform::kPathSeparator) path.pop_back();
  return path;
}

std::string ProductSubfolder(const std::string& root) {
  return JoinPath(JoinPath(DropOneTrailingSeparator(root), MakeValidFileName(kCompanyName)),
                  MakeValidFileName(kProductFolderName));
}

// Folders of the product below a root from the system must be ours alone, or another user
// could read or replace the job's files.
bool PrivateBelow(const std::string& root, const std::string& path) {
  std::string current = path;
  while (current.size() > root.size()) {
    if (!platform::IsPrivateFolder(current)) return false;
    current = StripTrailingBackslashes(GetFolderPart(current));
  }
  return true;
}

struct Candidate {
  std::string path;
  std::string trustedRoot;  // the folders below it must be private; none when empty
};

// The first candidate whose folder exists or can be made, as the cache-filling functions need.
std::string FirstUsable(const std::vector<Candidate>& candidates, bool requirePrivate) {
  std::string result;
  for (const Candidate& candidate : candidates) {
    if (candidate.path.empty()) continue;
    result = EnsureFolder(candidate.path, true) ? candidate.path : std::string();
    if (!result.empty() && requirePrivate && !PrivateBelow(candidate.trustedRoot, result)) {
      result.clear();
    }
    if (!result.empty()) break;
  }
  return result;
}

Candidate FromEnvironment(const std::string& value) {
  if (value.empty()) return {};
  return {ProductSubfolder(value), DropOneTrailingSeparator(value)};
}

Candidate FromRegistry(const std::string& name) {
  std::string value = GetRegistrySetting(name);
  if (value.empty()) return {};
  std::string path = DropOneTrailingSeparator(value);
  return {path, StripTrailingBackslashes(GetFolderPart(path))};
}

Candidate InProgramFolder(const std::string& name) {
  std::string path = JoinPath(ProgramFolder(), name);
  return {path, ProgramFolder()};
}

std::string Variable(const char* name) {
  return platform::GetVariable(name).value_or("");
}

}  // namespace

std::string ProgramFolder() {
  if (!programFolderOverride.empty()) return programFolderOverride;
  return StripTrailingBackslashes(GetFolderPart(platform::ExecutablePath()));
}

std::string GetTempFolder() {
  if (!tempFolderCache.empty()) return tempFolderCache;
  std::string system = platform::SystemTempPath();
  Candidate fromSystem = FromEnvironment(system);
  // The system's own per-user folder is made by this program too, so it must be private as well.
  fromSystem.trustedRoot = StripTrailingBackslashes(GetFolderPart(system));
  tempFolderCache =
      FirstUsable({fromSystem, FromEnvironment(Variable("TEMP")), FromEnvironment(Variable("TMP")),
                   FromRegistry("USERTEMP"), InProgramFolder("temp")},
                  true);
  return tempFolderCache;
}

std::string GetDataFolder() {
  if (!dataFolderCache.empty()) return dataFolderCache;
  std::string home = Variable("HOME");
  std::string config = Variable("XDG_CONFIG_HOME");
  if (config.empty() && !home.empty()) config = JoinPath(home, ".config");
  dataFolderCache =
      FirstUsable({FromEnvironment(Variable("APPDATA")), FromEnvironment(config),
                   FromEnvironment(home), FromRegistry("USERDATA"), InProgramFolder("data")},
                  false);
  return dataFolderCache;
}

std::string GetRegistrySetting(const std::string& name) {
  auto escaped = [](std::string text) {
    std::replace(text.begin(), text.end(), '\\', '_');
    return text;
  };
  std::string path = "HKEY_LOCAL_MACHINE\\SOFTWARE\\" + escaped(kCompanyName) + "\\" +
                     escaped(kProductFolderName) + "\\Settings\\" + name;
  bool view64 = true;
  return ToStringSafe(GetRegistryValue(path, view64));
}

std::string GetSpecialFolder(int csidl) {
  return platform::SpecialFolderPath(csidl);
}

bool EnsureFolder(const std::string& path, bool create) {
  if (!FolderExists(path) && create) MkDirRecurse(path);
  return FolderExists(path);
}

void SetProgramFolderForTesting(const std::string& folder) {
  programFolderOverride = folder;
}

void ResetFolderCachesForTesting() {
  tempFolderCache.clear();
  dataFolderCache.clear();
}

}  // namespace gui
