#pragma once

#include <string>

namespace gui {

// The Save As dialog: the chosen path, or "" when cancelled. With confirmOverwrite, choosing an
// existing file asks first and No shows the dialog again.
std::string SaveAs(const std::string& proposed, bool confirmOverwrite, bool bringToFront);
std::string FileSaveAs(const std::string& fileName, bool confirmOverwrite, bool bringToFront);

}  // namespace gui
