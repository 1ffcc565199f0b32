#pragma once

#include <string>

namespace gui::platform {

constexpr int kCsidlDesktop = 0;
constexpr int kCsidlPersonal = 5;

// The path of a shell special folder, or "" when there is none; never creates it.
std::string SpecialFolderPath(int csidl);

}  // namespace gui::platform
