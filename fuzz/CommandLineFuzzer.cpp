// Parses arbitrary text as the program's command line, and checks that arguments given one by
// one (the input split at NUL bytes) come back from the command line made of them.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "services/Error.h"
#include "startup/modMain.h"

namespace {

std::vector<std::string> SplitAtNul(const std::string& input) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (;;) {
    std::size_t end = input.find('\0', start);
    parts.push_back(input.substr(start, end == std::string::npos ? end : end - start));
    if (end == std::string::npos) return parts;
    start = end + 1;
  }
}

bool HasOuterSpace(const std::string& text) {
  return !text.empty() && (text.front() == ' ' || text.back() == ' ');
}

// Outer spaces are trimmed, a leading "/" or "-" of a key is dropped and a repeated key is an
// error: such arguments cannot come back as they were.
bool ComesBackUnchanged(const std::vector<std::string>& arguments) {
  std::set<std::string> keys;
  for (const std::string& argument : arguments) {
    std::size_t equals = argument.find('=');
    std::string key = argument.substr(0, equals);
    std::string value = equals == std::string::npos ? "" : argument.substr(equals + 1);
    if (HasOuterSpace(key) || HasOuterSpace(value)) return false;
    if (!key.empty() && (key[0] == '/' || key[0] == '-')) return false;
    if (!keys.insert(key).second) return false;
  }
  return true;
}

void CheckRoundTrip(const std::vector<std::string>& arguments) {
  if (!ComesBackUnchanged(arguments)) return;
  gui::DictionaryPtr parsed = gui::ParseParameters(gui::CommandLineFromArguments(arguments));
  if (parsed->Count() != arguments.size()) std::abort();
  auto entry = parsed->begin();
  for (const std::string& argument : arguments) {
    std::size_t equals = argument.find('=');
    std::string value = equals == std::string::npos ? "" : argument.substr(equals + 1);
    if (entry->first != argument.substr(0, equals)) std::abort();
    if (std::get<std::string>(entry->second) != value) std::abort();
    ++entry;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string input(reinterpret_cast<const char*>(data), size);
  try {
    gui::ParseParameters(input);
  } catch (const gui::Error&) {
  }
  gui::UnescapeMessage(input);
  gui::GetInstanceName(input);
  std::vector<std::string> arguments = SplitAtNul(input);
  if (input.empty()) arguments.clear();
  CheckRoundTrip(arguments);
  return 0;
}
