#pragma once

#include <string>

namespace gui {

// UTF-16 code units to UTF-8; a lone surrogate becomes U+FFFD.
std::string Utf16ToUtf8(const std::u16string& text);
// Little-endian bytes to UTF-16 code units; an odd last byte is dropped.
std::u16string Utf16LeFromBytes(const std::string& bytes);

}  // namespace gui
