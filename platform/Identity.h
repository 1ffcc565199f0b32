#pragma once

#include <string>

namespace gui::platform {

std::string UserName();
// The full name the user database gives the current user (up to its first comma); "" when none.
std::string UserFullName();
std::string ComputerName();
// Fills the buffer from the system's random source; false when it cannot.
bool RandomBytes(unsigned char* buffer, std::size_t size);

}  // namespace gui::platform
