#pragma once

#include <string>

namespace gui {

// UTF-8 text as Windows-1252 bytes, the codes that the ISO Latin-1 fonts of the PostScript header
// print and that Ghostscript reads in comments. A character outside that code page becomes "?".
// A byte that starts no well-formed UTF-8 sequence is taken as the Windows-1252 code it already
// is, so text that arrives from a Windows job unconverted keeps its characters.
std::string ToWindows1252(const std::string& utf8);

}  // namespace gui
