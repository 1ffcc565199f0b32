#include <algorithm>

#include "script/BuiltinSupport.h"
#include "script/Convert.h"
#include "script/Operators.h"
#include "script/ScriptErrors.h"
#include "script/Utf8.h"

namespace gui::script {

namespace {

using builtins::CheckLength;
using builtins::Given;
using builtins::IsNull;
using builtins::LongOr;

// Case folding keeps every character's byte length, so offsets found in folded text hold.
std::size_t Find(const std::string& hay, const std::string& needle, std::size_t from, bool text) {
  if (!text) return hay.find(needle, from);
  return utf8::Lower(hay).find(utf8::Lower(needle), from);
}

std::size_t FindLast(const std::string& hay, const std::string& needle, std::size_t before,
                     bool text) {
  if (needle.size() > before) return std::string::npos;
  std::size_t from = before - needle.size();
  if (!text) return hay.rfind(needle, from);
  return utf8::Lower(hay).rfind(utf8::Lower(needle), from);
}

Variant CharPosition(const std::string& text, std::size_t byte) {
  if (byte == std::string::npos) return Variant::Long(0);
  return Variant::Long(static_cast<std::int32_t>(utf8::CharCount(text.substr(0, byte)) + 1));
}

std::string Slice(const Variant& value, std::size_t start, std::size_t count) {
  return std::string(utf8::Slice(ToText(value), start, count));
}

Variant Len(Runtime&, const Args& a) {
  if (IsNull(a, 0)) return Variant::Null();
  const std::string text = ToText(a[0]);
  return Variant::Long(static_cast<std::int32_t>(utf8::CharCount(text)));
}

Variant Left(Runtime&, const Args& a) {
  std::int32_t count = ToLong(a[1]);
  if (count < 0) ThrowError(vberr::kInvalidCall);
  if (IsNull(a, 0)) return Variant::Null();
  return Variant::String(Slice(a[0], 0, static_cast<std::size_t>(count)));
}

Variant Right(Runtime&, const Args& a) {
  std::int32_t count = ToLong(a[1]);
  if (count < 0) ThrowError(vberr::kInvalidCall);
  if (IsNull(a, 0)) return Variant::Null();
  const std::string text = ToText(a[0]);
  std::size_t length = utf8::CharCount(text);
  std::size_t keep = std::min<std::size_t>(length, static_cast<std::size_t>(count));
  return Variant::String(std::string(utf8::Slice(text, length - keep, keep)));
}

Variant Mid(Runtime&, const Args& a) {
  std::int32_t start = ToLong(a[1]);
  std::int32_t count = LongOr(a, 2, -1);
  if (start < 1 || (Given(a, 2) && count < 0)) ThrowError(vberr::kInvalidCall);
  if (IsNull(a, 0)) return Variant::Null();
  std::size_t length = count < 0 ? std::string::npos : static_cast<std::size_t>(count);
  return Variant::String(Slice(a[0], static_cast<std::size_t>(start - 1), length));
}

Variant LCase(Runtime&, const Args& a) {
  if (IsNull(a, 0)) return Variant::Null();
  return Variant::String(utf8::Lower(ToText(a[0])));
}

Variant UCase(Runtime&, const Args& a) {
  if (IsNull(a, 0)) return Variant::Null();
  return Variant::String(utf8::Upper(ToText(a[0])));
}

Variant TrimSpaces(const Args& a, bool left, bool right) {
  if (IsNull(a, 0)) return Variant::Null();
  std::string text = ToText(a[0]);
  std::size_t first = left ? text.find_first_not_of(' ') : 0;
  if (first == std::string::npos) return Variant::String("");
  std::size_t last = right ? text.find_last_not_of(' ') : text.size() - 1;
  return Variant::String(text.substr(first, last - first + 1));
}

Variant LTrim(Runtime&, const Args& a) {
  return TrimSpaces(a, true, false);
}
Variant RTrim(Runtime&, const Args& a) {
  return TrimSpaces(a, false, true);
}
Variant Trim(Runtime&, const Args& a) {
  return TrimSpaces(a, true, true);
}

Variant Space(Runtime&, const Args& a) {
  std::int32_t count = ToLong(a[0]);
  if (count < 0) ThrowError(vberr::kInvalidCall);
  CheckLength(static_cast<std::size_t>(count));
  return Variant::String(std::string(static_cast<std::size_t>(count), ' '));
}

Variant String(Runtime&, const Args& a) {
  std::int32_t count = ToLong(a[0]);
  if (count < 0) ThrowError(vberr::kInvalidCall);
  if (IsNull(a, 1)) return Variant::Null();
  std::string unit;
  if (a[1].Is(VType::String)) {
    if (a[1].Str().empty()) ThrowError(vberr::kInvalidCall);
    unit = std::string(utf8::Slice(a[1].Str(), 0, 1));
  } else {
    utf8::Append(unit, utf8::FromAnsi(((ToLong(a[1]) % 256) + 256) % 256));
  }
  CheckLength(unit.size() * static_cast<std::size_t>(count));
  std::string text;
  text.reserve(unit.size() * static_cast<std::size_t>(count));
  for (std::int32_t i = 0; i < count; ++i)
    text += unit;
  return Variant::String(std::move(text));
}

Variant StrReverse(Runtime&, const Args& a) {
  const std::string text = ToText(a[0]);
  std::string reversed;
  reversed.reserve(text.size());
  for (std::size_t end = text.size(); end > 0;) {
    std::size_t start = end - 1;
    while (start > 0 && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80)
      --start;
    reversed.append(text, start, end - start);
    end = start;
  }
  return Variant::String(std::move(reversed));
}

Variant InStr(Runtime&, const Args& a) {
  bool withStart = a.size() > 2;
  if (withStart && IsNull(a, 0)) ThrowError(vberr::kInvalidNull);
  std::int32_t start = withStart ? ToLong(a[0]) : 1;
  if (start < 1) ThrowError(vberr::kInvalidCall);
  bool text = withStart && builtins::TextCompare(a, 3);
  const Variant& hay = a[withStart ? 1 : 0];
  const Variant& needle = a[withStart ? 2 : 1];
  if (hay.Is(VType::Null) || needle.Is(VType::Null)) return Variant::Null();
  const std::string h = ToText(hay);
  const std::string n = ToText(needle);
  std::size_t length = utf8::CharCount(h);
  if (h.empty() || static_cast<std::size_t>(start) > length) return Variant::Long(0);
  if (n.empty()) return Variant::Long(start);
  return CharPosition(h,
                      Find(h, n, utf8::ByteOffset(h, static_cast<std::size_t>(start - 1)), text));
}

Variant InStrRev(Runtime&, const Args& a) {
  std::int32_t start = LongOr(a, 2, -1);
  if (start == 0 || start < -1) ThrowError(vberr::kInvalidCall);
  bool text = builtins::TextCompare(a, 3);
  if (IsNull(a, 0) || IsNull(a, 1)) return Variant::Null();
  const std::string h = ToText(a[0]);
  const std::string n = ToText(a[1]);
  std::size_t length = utf8::CharCount(h);
  std::size_t from = start == -1 ? length : static_cast<std::size_t>(start);
  if (n.empty()) return Variant::Long(static_cast<std::int32_t>(from));
  if (from > length) return Variant::Long(0);
  return CharPosition(h, FindLast(h, n, utf8::ByteOffset(h, from), text));
}

Variant Replace(Runtime&, const Args& a) {
  std::int32_t start = LongOr(a, 3, 1);
  std::int32_t count = LongOr(a, 4, -1);
  if (start < 1 || count < -1) ThrowError(vberr::kInvalidCall);
  bool textMode = builtins::TextCompare(a, 5);
  const std::string text = Slice(a[0], static_cast<std::size_t>(start - 1), std::string::npos);
  const std::string find = ToText(a[1]);
  const std::string with = ToText(a[2]);
  if (find.empty() || count == 0) return Variant::String(text);
  const std::string hay = textMode ? utf8::Lower(text) : text;
  const std::string needle = textMode ? utf8::Lower(find) : find;
  std::string out;
  std::size_t pos = 0;
  for (std::int32_t done = 0; count < 0 || done < count; ++done) {
    std::size_t hit = hay.find(needle, pos);
    if (hit == std::string::npos) break;
    CheckLength(out.size() + (hit - pos) + with.size());
    out.append(text, pos, hit - pos).append(with);
    pos = hit + needle.size();
  }
  CheckLength(out.size() + text.size() - pos);
  out.append(text, pos, std::string::npos);
  return Variant::String(std::move(out));
}

Variant StrComp(Runtime&, const Args& a) {
  bool text = builtins::TextCompare(a, 2);
  if (IsNull(a, 0) || IsNull(a, 1)) return Variant::Null();
  return Variant::Integer(
      static_cast<std::int16_t>(ops::CompareText(ToText(a[0]), ToText(a[1]), text)));
}

std::uint32_t FirstCode(const Args& a) {
  if (IsNull(a, 0)) ThrowError(vberr::kInvalidNull);
  const std::string text = ToText(a[0]);
  if (text.empty()) ThrowError(vberr::kInvalidCall);
  std::size_t pos = 0;
  return utf8::Decode(text, pos);
}

Variant Asc(Runtime&, const Args& a) {
  return Variant::Integer(static_cast<std::int16_t>(utf8::ToAnsi(FirstCode(a))));
}

Variant AscW(Runtime&, const Args& a) {
  std::uint32_t code = FirstCode(a);
  if (code > 0xFFFF) return Variant::Long(static_cast<std::int32_t>(code));
  return Variant::Integer(static_cast<std::int16_t>(static_cast<std::uint16_t>(code)));
}

Variant Chr(Runtime&, const Args& a) {
  std::int32_t code = ToLong(a[0]);
  if (code < 0 || code > 255) ThrowError(vberr::kInvalidCall);
  std::string text;
  utf8::Append(text, utf8::FromAnsi(code));
  return Variant::String(std::move(text));
}

Variant ChrW(Runtime&, const Args& a) {
  std::int32_t code = ToLong(a[0]);
  if (code < -32768 || code > 65535) ThrowError(vberr::kInvalidCall);
  std::uint32_t unit = static_cast<std::uint32_t>(code) & 0xFFFF;
  std::string text;
  utf8::Append(text, unit >= 0xD800 && unit <= 0xDFFF ? 0xFFFD : unit);
  return Variant::String(std::move(text));
}

constexpr Builtin kStrings[] = {
    {"asc", "Asc", 1, 1, Asc},          {"ascw", "AscW", 1, 1, AscW},
    {"chr", "Chr", 1, 1, Chr},          {"chrw", "ChrW", 1, 1, ChrW},
    {"instr", "InStr", 2, 4, InStr},    {"instrrev", "InStrRev", 2, 4, InStrRev},
    {"lcase", "LCase", 1, 1, LCase},    {"left", "Left", 2, 2, Left},
    {"len", "Len", 1, 1, Len},          {"ltrim", "LTrim", 1, 1, LTrim},
    {"mid", "Mid", 2, 3, Mid},          {"replace", "Replace", 3, 6, Replace},
    {"right", "Right", 2, 2, Right},    {"rtrim", "RTrim", 1, 1, RTrim},
    {"space", "Space", 1, 1, Space},    {"strcomp", "StrComp", 2, 3, StrComp},
    {"string", "String", 2, 2, String}, {"strreverse", "StrReverse", 1, 1, StrReverse},
    {"trim", "Trim", 1, 1, Trim},       {"ucase", "UCase", 1, 1, UCase},
};

}  // namespace

std::span<const Builtin> StringBuiltins() {
  return kStrings;
}

}  // namespace gui::script
