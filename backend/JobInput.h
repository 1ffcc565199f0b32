#pragma once

#include <string>

namespace gui::backend {

// The first bytes of the print data, read to tell what it is before anything is written.
std::string ReadHead(int input);

// What the print data is, told by its first bytes.
struct JobKind {
  std::string extension;  // ".ps" or ".pdf"; "" for data gui cannot convert
  std::string refusal;    // why it is refused, when it is
};

// PostScript (with or without a leading Ctrl-D, or a DOS EPS header) or PDF.
JobKind KindOf(const std::string& head);

}  // namespace gui::backend
