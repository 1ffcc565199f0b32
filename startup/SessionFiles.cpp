#include "startup/SessionFiles.h"

#include <algorithm>
#include <string_view>

namespace gui {

namespace {

constexpr std::string_view kEndings[] = {ending::kLog,
                                         ending::kPdf,
                                         ending::kParams,
                                         ending::kHeader,
                                         ending::kTrailer,
                                         ending::kPageStart,
                                         ending::kMergeParams,
                                         ending::kMergeTrailer,
                                         ending::kMergedPdf,
                                         ending::kBackgroundForm,
                                         ending::kBackgroundEps,
                                         ending::kBackgroundFullEps,
                                         ending::kBackgroundParams};

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool IsNumber(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), IsDigit);
}

// "#" matches the number of a background.
bool Matches(std::string_view text, std::string_view pattern) {
  std::size_t mark = pattern.find('#');
  if (mark == std::string_view::npos) return text == pattern;
  std::string_view before = pattern.substr(0, mark);
  std::string_view after = pattern.substr(mark + 1);
  return text.size() > before.size() + after.size() && text.starts_with(before) &&
         text.ends_with(after) &&
         IsNumber(text.substr(before.size(), text.size() - before.size() - after.size()));
}

// Ghostscript's output is kept beside each parameter file, ".out" for ".gs".
bool MatchesEnding(std::string_view rest, std::string_view pattern) {
  if (Matches(rest, pattern)) return true;
  constexpr std::string_view kParams = ".gs";
  constexpr std::string_view kOutput = ".out";
  if (!pattern.ends_with(kParams) || !rest.ends_with(kOutput)) return false;
  rest.remove_suffix(kOutput.size());
  pattern.remove_suffix(kParams.size());
  return Matches(rest, pattern);
}

bool IsJobFileEnding(std::string_view rest) {
  auto letterOrDigit = [](char c) {
    return IsDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
  };
  return rest.size() > 1 && rest.front() == '.' &&
         std::all_of(rest.begin() + 1, rest.end(), letterOrDigit);
}

}  // namespace

bool IsSessionFile(const std::string& name, const std::string& sessionId) {
  if (!name.starts_with(sessionId)) return false;
  std::string_view rest = std::string_view(name).substr(sessionId.size());
  if (!sessionId.empty() && IsJobFileEnding(rest)) return true;
  return std::any_of(std::begin(kEndings), std::end(kEndings),
                     [&](std::string_view pattern) { return MatchesEnding(rest, pattern); });
}

}  // namespace gui
