#pragma once

#include <functional>
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

// Has write make a new file beside the target, then puts it in the target's place: a failure
// leaves the older file whole and no new file behind.
void ReplaceThroughNewFile(const std::string& target,
                           const std::function<void(const std::string& newFile)>& write);
// Removes a file when it can; a failure is of no concern to the caller.
void DeleteFileQuietly(const std::string& path);

// Creates the folder and every missing parent; one made meanwhile by another process is fine.
void MkDirRecurse(const std::string& path);

}  // namespace gui
