#pragma once

#include <string>

namespace gui {

// Path helpers over the platform's separator ("/" here, "\" on Windows).
std::string JoinPath(const std::string& folder, const std::string& name);
// Writes the other system's separator as this one's where the platform has two.
std::string NormalizeSeparators(const std::string& path);
std::string StripTrailingBackslashes(const std::string& path);
// The text up to and including the last separator; "" when there is none.
std::string GetFolderPart(const std::string& path);
// True for a share root of the form <sep><sep>server<sep>share, trailing separators ignored.
bool IsUncShareRoot(const std::string& path);
// True when the text occurs, ignoring case, in the system's list of drive roots.
bool IsLogicalDrive(const std::string& text);
// Replaces the nine characters not allowed in file names by "_" and drops trailing dots.
std::string MakeValidFileName(const std::string& text);

}  // namespace gui
