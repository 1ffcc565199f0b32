#include "services/modFiles.h"

#include "platform/Files.h"
#include "services/Error.h"
#include "services/modPaths.h"
#include "services/modSystem.h"

namespace gui {

namespace {

// The first entry that the path names, as a folder search finds it.
platform::FileStatus FirstMatch(const std::string& path) {
  std::string name = path.substr(GetFolderPart(path).size());
  if (!platform::HasWildcards(name)) return platform::StatusOf(path);
  std::string folder = StripTrailingBackslashes(GetFolderPart(path));
  auto entries = platform::FindEntries(folder, name);
  platform::FileStatus status;
  if (entries.empty()) return status;
  status.exists = true;
  status.isFolder = entries.front().isFolder;
  status.isRegular = entries.front().isRegular;
  return status;
}

}  // namespace

std::vector<unsigned char> ReadFile(const std::string& path) {
  if (path.empty()) {
    throw Error(err::kSmallRoutine,
                "Function ReadFile does not accept an empty file name as parameter.");
  }
  return platform::ReadBytes(path);
}

std::string ReadTextFile(const std::string& path) {
  platform::FileStatus status = platform::StatusOf(path);
  if (!status.exists || status.isFolder) throw RuntimeError(err::kFileNotFound);
  std::vector<unsigned char> bytes = platform::ReadBytes(path);
  return std::string(bytes.begin(), bytes.end());
}

void WriteFile(const std::string& path, const std::vector<unsigned char>& bytes) {
  platform::WriteBytes(path, bytes.data(), bytes.size());
}

void WriteTextFile(const std::string& path, const std::string& text) {
  WriteFile(path, std::vector<unsigned char>(text.begin(), text.end()));
}

void WritePrivateTextFile(const std::string& path, const std::string& text) {
  platform::WritePrivateBytes(path, reinterpret_cast<const unsigned char*>(text.data()),
                              text.size());
}

void ReplaceThroughNewFile(const std::string& target,
                           const std::function<void(const std::string& newFile)>& write) {
  // A short name of its own, so that a target whose name is as long as allowed is replaced too.
  std::string folder = GetFolderPart(target);
  std::string newFile =
      (folder.empty() ? std::string("./") : folder) + ".quentaris-" + NewGuid() + ".part";
  try {
    write(newFile);
    platform::ReplaceFile(newFile, target);
  } catch (const Error&) {
    DeleteFileQuietly(newFile);
    throw;
  }
}

void DeleteFileQuietly(const std::string& path) {
  try {
    platform::RemoveFile(path);
  } catch (const Error&) {
  }
}

bool FileExists(const std::string& path) {
  if (path.empty()) return false;
  platform::FileStatus status = FirstMatch(path);
  return status.exists && !status.isFolder;
}

bool FolderExists(const std::string& path) {
  std::string folder = StripTrailingBackslashes(path);
  if (folder.empty()) folder = path;
  if (folder.empty()) return false;
  return FirstMatch(folder).isFolder;
}

void MkDirRecurse(const std::string& path) {
  std::string normal = NormalizeSeparators(path);
  const std::string separator(1, platform::kPathSeparator);
  bool network = normal.rfind(separator + separator, 0) == 0;
  std::size_t threshold = network ? 3 : 0;
  std::string current;
  std::size_t part = 0;
  std::size_t start = 0;
  try {
    while (start <= normal.size()) {
      std::size_t end = normal.find(platform::kPathSeparator, start);
      if (end == std::string::npos) end = normal.size();
      current += normal.substr(start, end - start) + separator;
      if (part > threshold && end > start && !FolderExists(current)) platform::MakeFolder(current);
      ++part;
      start = end + 1;
    }
  } catch (const Error& failure) {
    throw Error(failure.Number(),
                "Error creating folder in function MkDirRecurse. Target=" + path +
                    ", Current=" + current + ". " + failure.Description(),
                failure.Source());
  }
}

}  // namespace gui
