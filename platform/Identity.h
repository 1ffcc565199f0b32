#pragma once

#include <string>

namespace gui::platform {

std::string UserName();
std::string ComputerName();
// Fills the buffer from the system's random source; false when it cannot.
bool RandomBytes(unsigned char* buffer, std::size_t size);

}  // namespace gui::platform
