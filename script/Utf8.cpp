#include "script/Utf8.h"

namespace gui::script::utf8 {

namespace {

bool IsContinuation(unsigned char c) {
  return (c & 0xC0) == 0x80;
}

// The code points of Windows-1252 bytes 0x80 to 0x9F (0 where the code page has none).
constexpr std::uint32_t kAnsiHigh[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

std::uint32_t ToUpper(std::uint32_t c) {
  if (c >= 'a' && c <= 'z') return c - 32;
  if (c < 0x80) return c;
  if ((c >= 0xE0 && c <= 0xFE && c != 0xF7)) return c - 32;
  if (c == 0xFF) return 0x178;
  if (c >= 0x100 && c <= 0x17F) {
    bool oddUpper = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    if (c == 0x131 || c == 0x138 || c == 0x149 || c == 0x178) return c;
    if (oddUpper) return (c % 2 == 0) ? c - 1 : c;
    return (c % 2 == 1) ? c - 1 : c;
  }
  if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return c - 32;
  if (c >= 0x430 && c <= 0x44F) return c - 32;
  if (c >= 0x450 && c <= 0x45F) return c - 80;
  return c;
}

std::uint32_t ToLower(std::uint32_t c) {
  if (c >= 'A' && c <= 'Z') return c + 32;
  if (c < 0x80) return c;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
  if (c == 0x178) return 0xFF;
  if (c >= 0x100 && c <= 0x17F) {
    bool oddUpper = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    if (c == 0x130 || c == 0x138 || c == 0x149) return c;
    if (oddUpper) return (c % 2 == 1) ? c + 1 : c;
    return (c % 2 == 0) ? c + 1 : c;
  }
  if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return c + 32;
  if (c >= 0x410 && c <= 0x42F) return c + 32;
  if (c >= 0x400 && c <= 0x40F) return c + 80;
  return c;
}

template <typename Map>
std::string MapCase(std::string_view text, Map map) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) {
    unsigned char c = static_cast<unsigned char>(text[pos]);
    if (c < 0x80) {
      out += static_cast<char>(map(c));
      ++pos;
      continue;
    }
    std::size_t start = pos;
    std::uint32_t code = Decode(text, pos);
    if (code == 0xFFFD) {
      out.append(text.substr(start, pos - start));
    } else {
      Append(out, map(code));
    }
  }
  return out;
}

}  // namespace

std::size_t CharCount(std::string_view text) {
  std::size_t count = 0;
  for (char c : text)
    count += !IsContinuation(static_cast<unsigned char>(c));
  return count;
}

std::size_t ByteOffset(std::string_view text, std::size_t charIndex) {
  std::size_t pos = 0;
  while (pos < text.size() && charIndex > 0) {
    ++pos;
    while (pos < text.size() && IsContinuation(static_cast<unsigned char>(text[pos])))
      ++pos;
    --charIndex;
  }
  return pos;
}

std::string_view Slice(std::string_view text, std::size_t start, std::size_t count) {
  std::size_t from = ByteOffset(text, start);
  std::string_view rest = text.substr(from);
  return rest.substr(0, ByteOffset(rest, count));
}

std::uint32_t Decode(std::string_view text, std::size_t& pos) {
  unsigned char lead = static_cast<unsigned char>(text[pos++]);
  if (lead < 0x80) return lead;
  int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
  std::uint32_t code = lead & (0x3F >> extra);
  std::size_t start = pos;
  for (int i = 0; i < extra; ++i) {
    if (pos >= text.size() || !IsContinuation(static_cast<unsigned char>(text[pos]))) {
      pos = start;
      while (pos < text.size() && IsContinuation(static_cast<unsigned char>(text[pos])))
        ++pos;
      return 0xFFFD;
    }
    code = (code << 6) | (static_cast<unsigned char>(text[pos++]) & 0x3F);
  }
  if (extra == 0) {
    while (pos < text.size() && IsContinuation(static_cast<unsigned char>(text[pos])))
      ++pos;
    return 0xFFFD;
  }
  return code;
}

// Malformed bytes do not survive a round trip through the decoder.
bool IsValid(std::string_view text) {
  std::string character;
  for (std::size_t pos = 0; pos < text.size();) {
    std::size_t start = pos;
    character.clear();
    Append(character, Decode(text, pos));
    if (text.substr(start, pos - start) != character) return false;
  }
  return true;
}

void Append(std::string& out, std::uint32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

std::string Upper(std::string_view text) {
  return MapCase(text, ToUpper);
}

std::string Lower(std::string_view text) {
  return MapCase(text, ToLower);
}

int ToAnsi(std::uint32_t codePoint) {
  if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) {
    return static_cast<int>(codePoint);
  }
  for (int i = 0; i < 32; ++i) {
    if (kAnsiHigh[i] != 0 && kAnsiHigh[i] == codePoint) return 0x80 + i;
  }
  return '?';
}

std::uint32_t FromAnsi(int code) {
  if (code >= 0x80 && code < 0xA0 && kAnsiHigh[code - 0x80] != 0) return kAnsiHigh[code - 0x80];
  return static_cast<std::uint32_t>(code);
}

}  // namespace gui::script::utf8
