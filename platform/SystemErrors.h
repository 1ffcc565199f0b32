#pragma once

#include <string>

#include "services/Error.h"

namespace gui::platform {

// The error the program raises for a failed system call on path.
Error ErrorFromSystem(int code, const std::string& path = {});
std::string SystemErrorText(int code);

}  // namespace gui::platform
