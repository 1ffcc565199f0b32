#pragma once

#include <string>

namespace gui::platform {

constexpr int kShellOpened = 42;
constexpr int kShellNoAssociation = 31;
constexpr int kShellFileNotFound = 2;

// Opens a document, folder or web address with its associated application. Returns the shell's
// result: above 32 on success, 31 when nothing can open it, 2 when the opener cannot start or
// the document does not exist.
int ShellOpen(const std::string& path);

}  // namespace gui::platform
