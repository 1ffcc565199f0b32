#include "services/modWindows1252.h"

#include "script/Utf8.h"

namespace gui {

std::string ToWindows1252(const std::string& utf8) {
  std::string bytes;
  bytes.reserve(utf8.size());
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    // A malformed sequence decodes to U+FFFD, which the code page lacks, so it becomes "?".
    bytes += static_cast<char>(script::utf8::ToAnsi(script::utf8::Decode(utf8, pos)));
  }
  return bytes;
}

}  // namespace gui
