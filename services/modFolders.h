#pragma once

#include <string>

namespace gui {

// The product's identity: folder and registry key names and the title of every message box.
inline const std::string kCompanyName = "QUENTARIS";
inline const std::string kProductName = "QUENTARIS PDF Printer";
inline const std::string kProductFolderName = "PDF Printer";
inline const std::string kProductVersion = "3.00.0353";

// The folder of the executable, without a trailing separator.
std::string ProgramFolder();
// The program's temporary and data folders, created on first use and cached; "" when no
// candidate can be used. A candidate for the temporary folder that is not the user's alone, or
// cannot be made, is passed over.
std::string GetTempFolder();
std::string GetDataFolder();
// The temporary folder for a file to go into; raises 76 naming every candidate tried and why it
// was passed over when there is none.
std::string RequiredTempFolder();
// A value under the product's machine-wide settings key, "" when missing.
std::string GetRegistrySetting(const std::string& name);
// A shell special folder (5 personal documents, 0 desktop), "" when there is none.
std::string GetSpecialFolder(int csidl);
// Whether the path is an existing folder, creating it with its parents first when asked.
bool EnsureFolder(const std::string& path, bool create);

// Tests place the program in a folder of their own and start with empty caches.
void SetProgramFolderForTesting(const std::string& folder);
void ResetFolderCachesForTesting();

}  // namespace gui
