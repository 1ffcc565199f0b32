#pragma once

#include <string>

namespace gui {

// Fills the label map from labels.txt (UTF-16LE) in the program folder; no file is no error.
void LoadLabels();
// "[key]default" shown as the key's translation, or the default when there is none.
std::string Localize(const std::string& text);
// Decodes \\, \n (CR LF) and \t; a backslash before anything else is dropped.
std::string UnescapeLabel(const std::string& text);

}  // namespace gui
