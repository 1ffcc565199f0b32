#include "platform/Registry.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

#include "platform/Environment.h"
#include "platform/Files.h"
#include "services/modEncoding.h"

namespace gui::platform {

// The registry is a file in the registry-export format that regedit writes. The file is read
// anew on every call: it is small, read a few times per run, and never goes stale that way.
namespace {

constexpr const char* kDefaultRegistryFile = "/etc/quentaris/registry.reg";

std::string RegistryFilePath() {
  std::string path = GetVariable("QUENTARIS_REGISTRY").value_or("");
  return path.empty() ? kDefaultRegistryFile : path;
}

// The file's bytes; "" for anything but a readable ordinary file.
std::string ReadWholeFile(const std::string& path) {
  std::error_code ignored;
  if (!std::filesystem::is_regular_file(path, ignored)) return {};
  try {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  } catch (const std::exception&) {
    return {};
  }
}

// UTF-16 little-endian bytes as UTF-8, up to the first NUL when asked to.
std::string Utf16BytesToUtf8(const std::string& bytes, bool stopAtNul) {
  std::u16string units = Utf16LeFromBytes(bytes);
  if (stopAtNul) units = units.substr(0, units.find(u'\0'));
  return Utf16ToUtf8(units);
}

// The file as UTF-8: regedit writes UTF-16LE with a byte-order mark; older or hand-written
// files are ANSI or UTF-8, taken as they are.
std::string DecodeFile(const std::string& bytes) {
  if (bytes.rfind("\xFF\xFE", 0) == 0) return Utf16BytesToUtf8(bytes.substr(2), false);
  if (bytes.rfind("\xEF\xBB\xBF", 0) == 0) return bytes.substr(3);
  return bytes;
}

std::string Trim(const std::string& text) {
  const char* blanks = " \t\r";
  std::string::size_type first = text.find_first_not_of(blanks);
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

// Trimmed lines, a line ending in a backslash joined with the next one.
std::vector<std::string> LogicalLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string pending;
  std::string::size_type start = 0;
  while (start <= text.size()) {
    std::string::size_type end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = Trim(text.substr(start, end - start));
    start = end + 1;
    if (!line.empty() && line.back() == '\\') {
      pending += line.substr(0, line.size() - 1);
      continue;
    }
    lines.push_back(pending + line);
    pending.clear();
  }
  if (!pending.empty()) lines.push_back(pending);
  return lines;
}

// The registry compares key and value names without regard to case.
std::string Fold(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

std::string WithoutTrailingBackslashes(std::string path) {
  while (!path.empty() && path.back() == '\\')
    path.pop_back();
  return path;
}

std::optional<RegistryRoot> RootNamed(const std::string& name) {
  std::string folded = Fold(name);
  if (folded == "hkey_classes_root" || folded == "hkcr") return RegistryRoot::ClassesRoot;
  if (folded == "hkey_current_user" || folded == "hkcu") return RegistryRoot::CurrentUser;
  if (folded == "hkey_local_machine" || folded == "hklm") return RegistryRoot::LocalMachine;
  if (folded == "hkey_users" || folded == "hku") return RegistryRoot::Users;
  return std::nullopt;
}

// The root and folded key that a "[root\\key]" line opens. A deleted key ("[-...]") or a line
// that cannot be read opens none, so that the values below it are never taken for another key's.
std::optional<std::pair<RegistryRoot, std::string>> OpenedKey(const std::string& line) {
  if (line.size() < 2 || line.front() != '[' || line.back() != ']' || line[1] == '-') return {};
  std::string path = line.substr(1, line.size() - 2);
  std::string::size_type slash = path.find('\\');
  std::optional<RegistryRoot> root = RootNamed(path.substr(0, slash));
  if (!root) return {};
  std::string key = slash == std::string::npos ? "" : path.substr(slash + 1);
  return std::make_pair(*root, Fold(WithoutTrailingBackslashes(key)));
}

bool OpensKey(const std::string& line, RegistryRoot root, const std::string& foldedKey) {
  auto opened = OpenedKey(line);
  return opened && opened->first == root && opened->second == foldedKey;
}

// Reads a double-quoted text with the escapes \\ and \" from pos, leaving pos after it.
std::optional<std::string> QuotedText(const std::string& line, std::string::size_type& pos) {
  if (pos >= line.size() || line[pos] != '"') return std::nullopt;
  std::string text;
  for (++pos; pos < line.size(); ++pos) {
    char c = line[pos];
    if (c == '"') {
      ++pos;
      return text;
    }
    if (c == '\\' && pos + 1 < line.size() && (line[pos + 1] == '\\' || line[pos + 1] == '"'))
      c = line[++pos];
    text += c;
  }
  return std::nullopt;
}

std::optional<unsigned long> HexNumber(const std::string& digits, std::size_t maxDigits) {
  if (digits.empty() || digits.size() > maxDigits) return std::nullopt;
  unsigned long value = 0;
  for (char c : digits) {
    int digit = c >= '0' && c <= '9'   ? c - '0'
                : c >= 'a' && c <= 'f' ? c - 'a' + 10
                : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                       : -1;
    if (digit < 0) return std::nullopt;
    value = value * 16 + static_cast<unsigned long>(digit);
  }
  return value;
}

std::optional<std::string> HexBytes(const std::string& list) {
  std::string bytes;
  std::string::size_type start = 0;
  while (start <= list.size()) {
    std::string::size_type comma = list.find(',', start);
    if (comma == std::string::npos) comma = list.size();
    std::string item = Trim(list.substr(start, comma - start));
    start = comma + 1;
    if (item.empty()) continue;
    std::optional<unsigned long> byte = HexNumber(item, 2);
    if (!byte) return std::nullopt;
    bytes += static_cast<char>(*byte);
  }
  return bytes;
}

RegistryValue TextValue(std::string text) {
  RegistryValue value;
  value.kind = RegistryValue::Kind::Text;
  value.text = std::move(text);
  return value;
}

RegistryValue NumberValue(unsigned long number) {
  RegistryValue value;
  value.kind = RegistryValue::Kind::Number;
  value.number = static_cast<std::int32_t>(static_cast<std::uint32_t>(number));
  return value;
}

RegistryValue BytesValue(const std::string& bytes) {
  RegistryValue value;
  value.kind = RegistryValue::Kind::Bytes;
  value.bytes.assign(bytes.begin(), bytes.end());
  return value;
}

// A value written as hex(type): text (1), bytes (3) and numbers (4) as the registry keeps them.
std::optional<RegistryValue> TypedHexValue(unsigned long type, const std::string& bytes) {
  if (type == 1) return TextValue(Utf16BytesToUtf8(bytes, true));
  if (type == 3) return BytesValue(bytes);
  if (type != 4) return RegistryValue{};
  if (bytes.size() != 4) return std::nullopt;
  unsigned long number = 0;
  for (int i = 3; i >= 0; --i)
    number = number * 256 + static_cast<unsigned char>(bytes[i]);
  return NumberValue(number);
}

std::optional<RegistryValue> HexValue(const std::string& data) {
  std::string::size_type colon = data.find(':');
  if (colon == std::string::npos) return std::nullopt;
  std::optional<std::string> bytes = HexBytes(data.substr(colon + 1));
  if (!bytes) return std::nullopt;
  std::string type = Trim(data.substr(3, colon - 3));
  if (type.empty()) return BytesValue(*bytes);
  if (type.size() < 3 || type.front() != '(' || type.back() != ')') return std::nullopt;
  std::optional<unsigned long> number = HexNumber(type.substr(1, type.size() - 2), 8);
  if (!number) return std::nullopt;
  return TypedHexValue(*number, *bytes);
}

// The value written after "="; nothing for data that cannot be read, so that the line is
// passed over; a null value for a deleted value ("-") or a type the program does not read.
std::optional<RegistryValue> ParseData(const std::string& data) {
  if (data == "-") return RegistryValue{};
  if (data.rfind('"', 0) == 0) {
    std::string::size_type pos = 0;
    std::optional<std::string> text = QuotedText(data, pos);
    if (!text || pos != data.size()) return std::nullopt;
    return TextValue(*text);
  }
  std::string folded = Fold(data);
  if (folded.rfind("dword:", 0) == 0) {
    std::optional<unsigned long> number = HexNumber(Trim(data.substr(6)), 8);
    if (!number) return std::nullopt;
    return NumberValue(*number);
  }
  if (folded.rfind("hex", 0) == 0) return HexValue(data);
  return std::nullopt;
}

// Splits a '"name"=data' or '@=data' line; nothing when it is neither.
std::optional<std::pair<std::string, std::string>> NameAndData(const std::string& line) {
  std::string::size_type pos = 0;
  std::string name;
  if (line.rfind('@', 0) == 0) {
    pos = 1;
  } else {
    std::optional<std::string> quoted = QuotedText(line, pos);
    if (!quoted) return std::nullopt;
    name = *quoted;
  }
  std::string rest = Trim(line.substr(pos));
  if (rest.empty() || rest.front() != '=') return std::nullopt;
  return std::make_pair(name, Trim(rest.substr(1)));
}

// The file's logical lines, read again only once the file has changed: a search for an
// installation asks for hundreds of values.
const std::vector<std::string>& RegistryLines() {
  static std::string readPath, readIdentity;
  static std::vector<std::string> lines;
  std::string path = RegistryFilePath();
  std::string identity = FileIdentity(path);
  if (lines.empty() || path != readPath || identity != readIdentity) {
    lines = LogicalLines(DecodeFile(ReadWholeFile(path)));
    readPath = path;
    readIdentity = identity;
  }
  return lines;
}

bool IsHeader(const std::string& line) {
  return line == "Windows Registry Editor Version 5.00" || line == "REGEDIT4";
}

// The index of the first line after the file's header; the line count when there is none.
std::size_t FirstEntry(const std::vector<std::string>& lines) {
  std::size_t first = 0;
  while (first < lines.size() && lines[first].empty())
    ++first;
  return first < lines.size() && IsHeader(lines[first]) ? first + 1 : lines.size();
}

}  // namespace

RegistryValue ReadRegistryValue(RegistryRoot root, const std::string& keyPath,
                                const std::string& valueName, bool view64) {
  (void)view64;  // the file holds one view of the registry
  const std::vector<std::string>& lines = RegistryLines();
  std::size_t first = FirstEntry(lines);
  std::string foldedKey = Fold(WithoutTrailingBackslashes(keyPath));
  std::string foldedName = Fold(valueName);
  bool inKey = false;
  RegistryValue found;
  for (std::size_t i = first; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    if (line.rfind('[', 0) == 0) inKey = OpensKey(line, root, foldedKey);
    if (!inKey) continue;
    auto entry = NameAndData(line);
    if (!entry || Fold(entry->first) != foldedName) continue;
    if (std::optional<RegistryValue> value = ParseData(entry->second)) found = *value;
  }
  return found;
}

bool RegistryKeyExists(RegistryRoot root, const std::string& keyPath, bool view64) {
  (void)view64;
  const std::vector<std::string>& lines = RegistryLines();
  std::string foldedKey = Fold(WithoutTrailingBackslashes(keyPath));
  for (std::size_t i = FirstEntry(lines); i < lines.size(); ++i) {
    auto opened = OpenedKey(lines[i]);
    if (opened && opened->first == root &&
        (opened->second == foldedKey || opened->second.rfind(foldedKey + "\\", 0) == 0))
      return true;
  }
  return false;
}

}  // namespace gui::platform
