#pragma once

#include <string>

namespace gui {

// The version that the Ghostscript program reports ("10.00.0"; "" when it does not answer). A
// query costs as much as converting a small job, so the answer is kept in the temporary folder
// and asked again only once the program file has changed.
std::string GhostscriptVersion(const std::string& program);

}  // namespace gui
