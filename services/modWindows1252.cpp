#include "services/modWindows1252.h"

#include <cstdint>

#include "script/Utf8.h"

namespace gui {

namespace {

constexpr long kNotUtf8 = -1;

// The code point of the well-formed sequence at pos, which then moves past it; kNotUtf8 for an
// overlong form, a surrogate, a code beyond U+10FFFF or a missing continuation byte.
long DecodeStrict(const std::string& text, std::size_t& pos) {
  auto lead = static_cast<unsigned char>(text[pos]);
  int extra = lead >= 0xC2 && lead <= 0xDF   ? 1
              : lead >= 0xE0 && lead <= 0xEF ? 2
              : lead >= 0xF0 && lead <= 0xF4 ? 3
                                             : 0;
  if (extra == 0 || pos + extra >= text.size()) return kNotUtf8;
  std::uint32_t code = lead & (0x3F >> extra);
  for (int i = 1; i <= extra; ++i) {
    auto next = static_cast<unsigned char>(text[pos + i]);
    if ((next & 0xC0) != 0x80) return kNotUtf8;
    code = code << 6 | (next & 0x3F);
  }
  static constexpr std::uint32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
  if (code < kSmallest[extra] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
    return kNotUtf8;
  pos += extra + 1;
  return static_cast<long>(code);
}

}  // namespace

std::string ToWindows1252(const std::string& utf8) {
  std::string bytes;
  bytes.reserve(utf8.size());
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    auto byte = static_cast<unsigned char>(utf8[pos]);
    long code = byte < 0x80 ? kNotUtf8 : DecodeStrict(utf8, pos);
    if (code == kNotUtf8) {  // one byte: ASCII, or a code that is Windows-1252 already
      code = static_cast<long>(script::utf8::FromAnsi(byte));
      ++pos;
    }
    bytes += static_cast<char>(script::utf8::ToAnsi(static_cast<std::uint32_t>(code)));
  }
  return bytes;
}

}  // namespace gui
