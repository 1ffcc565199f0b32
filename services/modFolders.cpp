#include "services/modFolders.h"

#include <algorithm>

#include "platform/Environment.h"
#include "platform/Files.h"
#include "platform/SpecialFolders.h"
#include "services/Error.h"
#include "services/modConvert.h"
#include "services/modFiles.h"
#include "services/modPaths.h"
#include "services/modSystem.h"

namespace gui {

namespace {

std::string programFolderOverride;
std::string tempFolderCache;
std::string tempFolderProblems;  // each candidate passed over and why, one per line
std::string dataFolderCache;

std::string DropOneTrailingSeparator(std::string path) {
  if (path.size() > 1 && path.back() == platform::kPathSeparator) path.pop_back();
  return path;
}

std::string ProductSubfolder(const std::string& root) {
  return JoinPath(JoinPath(DropOneTrailingSeparator(root), MakeValidFileName(kCompanyName)),
                  MakeValidFileName(kProductFolderName));
}

struct Candidate {
  std::string path;
  std::string trustedRoot;  // the temporary folder's levels below it must be the user's alone
};

// The first candidate whose folder exists or can be made, as the data folder needs.
std::string FirstUsable(const std::vector<Candidate>& candidates) {
  for (const Candidate& candidate : candidates) {
    if (!candidate.path.empty() && EnsureFolder(candidate.path, true)) return candidate.path;
  }
  return {};
}

// The folders of the temporary folder are made one by one below the root, and each must be the
// user's alone, or another user could read or replace the job's files. "" when all are, else
// the folder at fault and why.
std::string PrivateFolderProblem(const Candidate& candidate) {
  std::vector<std::string> levels;
  for (std::string level = candidate.path; level.size() > candidate.trustedRoot.size();
       level = StripTrailingBackslashes(GetFolderPart(level))) {
    levels.insert(levels.begin(), level);
  }
  for (const std::string& level : levels) {
    std::string problem = platform::MakePrivateFolder(level);
    if (!problem.empty()) return "'" + level + "': " + problem;
  }
  return {};
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
  std::vector<Candidate> candidates;
  for (const std::string& system : platform::SystemTempPaths()) {
    // The system's per-user folder is made by this program too, so it must be private as well.
    candidates.push_back(
        {ProductSubfolder(system), StripTrailingBackslashes(GetFolderPart(system))});
  }
  for (const Candidate& candidate :
       {FromEnvironment(Variable("TEMP")), FromEnvironment(Variable("TMP")),
        FromRegistry("USERTEMP"), InProgramFolder("temp")}) {
    candidates.push_back(candidate);
  }
  tempFolderProblems.clear();
  for (const Candidate& candidate : candidates) {
    if (candidate.path.empty()) continue;
    std::string problem = PrivateFolderProblem(candidate);
    if (problem.empty()) return tempFolderCache = candidate.path;
    tempFolderProblems += "\r\n" + problem;
  }
  return {};
}

std::string RequiredTempFolder() {
  std::string folder = GetTempFolder();
  if (folder.empty()) {
    throw Error(err::kPathNotFound,
                "No folder for temporary files can be used." + tempFolderProblems);
  }
  return folder;
}

std::string GetDataFolder() {
  if (!dataFolderCache.empty()) return dataFolderCache;
  std::string home = Variable("HOME");
  std::string config = Variable("XDG_CONFIG_HOME");
  if (config.empty() && !home.empty()) config = JoinPath(home, ".config");
  dataFolderCache =
      FirstUsable({FromEnvironment(Variable("APPDATA")), FromEnvironment(config),
                   FromEnvironment(home), FromRegistry("USERDATA"), InProgramFolder("data")});
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
