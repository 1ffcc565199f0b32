#include "services/modPaths.h"
#include "services/modText.h"

#include <algorithm>
#include <cctype>

#include "platform/Files.h"

namespace gui {

namespace {

constexpr char kSeparator = platform::kPathSeparator;

}  // namespace

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (!folder.empty() && folder.back() == kSeparator) return folder + name;
  return folder + kSeparator + name;
}

std::string NormalizeSeparators(const std::string& path) {
  if (kSeparator != '\\') return path;
  std::string normal = path;
  std::replace(normal.begin(), normal.end(), '/', '\\');
  return normal;
}

std::string StripTrailingBackslashes(const std::string& path) {
  std::size_t end = path.find_last_not_of(kSeparator);
  return end == std::string::npos ? std::string() : path.substr(0, end + 1);
}

std::string GetFolderPart(const std::string& path) {
  std::size_t last = path.rfind(kSeparator);
  return last == std::string::npos ? std::string() : path.substr(0, last + 1);
}

bool IsUncShareRoot(const std::string& path) {
  std::string root = StripTrailingBackslashes(path);
  if (root.size() < 2 || root[0] != kSeparator || root[1] != kSeparator) return false;
  std::size_t middle = root.find(kSeparator, 2);
  return middle != std::string::npos && middle > 2 && middle + 1 < root.size() &&
         root.find(kSeparator, middle + 1) == std::string::npos;
}

bool IsLogicalDrive(const std::string& text) {
  if (text.empty()) return false;
  std::string roots;
  for (const std::string& root : platform::DriveRoots())
    roots += root + '\0';
  return LowerCase(roots).find(LowerCase(text)) != std::string::npos;
}

std::string MakeValidFileName(const std::string& text) {
  std::string valid = text;
  for (char& c : valid) {
    if (std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos) c = '_';
  }
  while (!valid.empty() && valid.back() == '.')
    valid.pop_back();
  return valid;
}

}  // namespace gui
