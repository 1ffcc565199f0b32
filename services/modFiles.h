#pragma once

#include <string>
#include <vector>

namespace gui {

// Whole files as bytes or text; failures raise the runtime's error.
std::vector<unsigned char> ReadFile(const std::string& path);
std::string ReadTextFile(const std::string& path);
// Writes the bytes; the file ends up exactly that long.
void WriteFile(const std::string& path, const std::vector<unsigned char>& bytes);
void WriteTextFile(const std::string& path, const std::string& text);
// The same for files only the user may read (they may hold passwords); never through a link.
void WritePrivateTextFile(const std::string& path, const std::string& text);

// Answers that never raise. A wildcard in the last name matches as a folder search does.
bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);

// Creates the folder and every missing parent; one made meanwhile by another process is fine.
void MkDirRecurse(const std::string& path);

}  // namespace gui
