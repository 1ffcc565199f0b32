#pragma once

#include <string>

namespace gui {

// UTF-8 text as Windows-1252 bytes, the codes the ISO Latin-1 fonts of the PostScript header
// print. A character outside that code page, and a byte that is no valid UTF-8, becomes "?".
std::string ToWindows1252(const std::string& utf8);

}  // namespace gui
