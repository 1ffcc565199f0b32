#pragma once

#include <string>

namespace gui::platform {

// A function that a library of the program exports, the library looked for beside the
// program's own logic and loaded once; nullptr when either is missing, with the system's reason
// in reason.
void* ProgramLibraryFunction(const std::string& library, const std::string& function,
                             std::string& reason);

}  // namespace gui::platform
