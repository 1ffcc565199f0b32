#include "production/PdfStrings.h"

#include <cstdint>

#include "script/Utf8.h"
#include "services/modEncoding.h"

namespace gui {

namespace {

constexpr std::string_view kUtf16Mark = "\xFE\xFF";
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr char16_t kLanguageEscape = 0x1B;

bool IsOctal(char c) {
  return c >= '0' && c <= '7';
}

// After a backslash at pos - 1; appends what the escape stands for and moves past it.
void DecodeEscape(std::string_view text, std::size_t& pos, std::string& out) {
  char c = text[pos++];
  switch (c) {
    case 'n':
      out += '\n';
      return;
    case 'r':
      out += '\r';
      return;
    case 't':
      out += '\t';
      return;
    case 'b':
      out += '\b';
      return;
    case 'f':
      out += '\f';
      return;
    case '\r':  // a line continuation
      if (pos < text.size() && text[pos] == '\n') ++pos;
      return;
    case '\n':
      return;
  }
  if (!IsOctal(c)) {
    out += c;
    return;
  }
  int code = c - '0';
  for (int digits = 1; digits < 3 && pos < text.size() && IsOctal(text[pos]); ++digits)
    code = code * 8 + (text[pos++] - '0');
  out += static_cast<char>(code & 0xFF);
}

// PDFDocEncoding codes that differ from ISO Latin-1, from 0x18 and from 0x80.
constexpr std::uint16_t kLow[8] = {0x02D8, 0x02C7, 0x02C6, 0x02D9, 0x02DD, 0x02DB, 0x02DA, 0x02DC};
constexpr std::uint16_t kHigh[33] = {
    0x2022, 0x2020, 0x2021, 0x2026, 0x2014, 0x2013, 0x0192, 0x2044, 0x2039, 0x203A, 0x2212,
    0x2030, 0x201E, 0x201C, 0x201D, 0x2018, 0x2019, 0x201A, 0x2122, 0xFB01, 0xFB02, 0x0141,
    0x0152, 0x0160, 0x0178, 0x017D, 0x0131, 0x0142, 0x0153, 0x0161, 0x017E, 0xFFFD, 0x20AC};

bool HasNonAscii(std::string_view bytes) {
  for (char c : bytes) {
    if (static_cast<unsigned char>(c) >= 0x80) return true;
  }
  return false;
}

std::uint32_t FromPdfDocEncoding(unsigned char code) {
  if (code >= 0x18 && code <= 0x1F) return kLow[code - 0x18];
  if (code >= 0x80 && code <= 0xA0) return kHigh[code - 0x80];
  if (code == 0x7F) return 0xFFFD;
  return code;
}

}  // namespace

bool IsPdfBlank(char c) {
  return c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\f' || c == '\0';
}

bool IsPdfDelimiter(char c) {
  return c == '(' || c == ')' || c == '<' || c == '>' || c == '[' || c == ']' || c == '{' ||
         c == '}' || c == '/' || c == '%';
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string LiteralStringAt(std::string_view text, std::size_t& pos, bool* closed) {
  std::string out;
  int depth = 0;
  if (closed) *closed = false;
  for (++pos; pos < text.size();) {
    char c = text[pos++];
    if (c == '\\') {
      if (pos < text.size()) DecodeEscape(text, pos, out);
      continue;
    }
    if (c == ')' && depth-- == 0) {
      if (closed) *closed = true;
      break;
    }
    if (c == '(') ++depth;
    if (c == '\r') {  // an unescaped line end is one LF, whichever way it was written
      if (pos < text.size() && text[pos] == '\n') ++pos;
      c = '\n';
    }
    out += c;
  }
  return out;
}

std::string HexStringAt(std::string_view text, std::size_t& pos) {
  std::string out;
  int high = -1;
  for (std::size_t at = pos + 1; at < text.size(); ++at) {
    if (text[at] == '>') {
      if (high >= 0) out += static_cast<char>(high << 4);
      pos = at + 1;
      return out;
    }
    if (IsPdfBlank(text[at])) continue;
    int digit = HexDigit(text[at]);
    if (digit < 0) break;
    if (high < 0) {
      high = digit;
    } else {
      out += static_cast<char>(high << 4 | digit);
      high = -1;
    }
  }
  return {};
}

std::string Utf16BeToUtf8(std::string_view bytes) {
  std::u16string units;
  units.reserve(bytes.size() / 2);
  bool inLanguage = false;  // an escape-delimited language code, not text
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    auto unit = static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) << 8 |
                                      static_cast<unsigned char>(bytes[i + 1]));
    if (unit == kLanguageEscape) {
      inLanguage = !inLanguage;
    } else if (!inLanguage) {
      units += unit;
    }
  }
  return Utf16ToUtf8(units);
}

// Some producers (print filters among them) write UTF-8 without its mark; text in
// PDFDocEncoding that happens to be valid UTF-8 with characters beyond ASCII is far less likely.
std::string PdfTextToUtf8(std::string_view bytes) {
  if (bytes.substr(0, 2) == kUtf16Mark) return Utf16BeToUtf8(bytes.substr(2));
  if (bytes.substr(0, 3) == kUtf8Mark) return std::string(bytes.substr(3));
  if (HasNonAscii(bytes) && script::utf8::IsValid(bytes)) return std::string(bytes);
  std::string out;
  out.reserve(bytes.size());
  for (char c : bytes)
    script::utf8::Append(out, FromPdfDocEncoding(static_cast<unsigned char>(c)));
  return out;
}

}  // namespace gui
