#pragma once

#include <string>

namespace gui::platform {

// The command line that runs a command through the command interpreter ("cmd /c" and the
// command in one more pair of quotes; on POSIX "/bin/sh -c" in the same shape).
std::string InterpreterCommandLine(const std::string& command);

}  // namespace gui::platform
