#pragma once

#include <string>

namespace gui::backend {

// The first bytes of the print data, read to tell what it is before anything is written.
std::string ReadHead(int input);

// "" for PostScript (with or without a leading Ctrl-D, or a DOS EPS header); otherwise what the
// data is, for the error message.
std::string NotPostScriptReason(const std::string& head);

}  // namespace gui::backend
