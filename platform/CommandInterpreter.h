#pragma once

#include <string>

namespace gui::platform {

// The text in double quotes, escaped so that the command interpreter passes it on unchanged as
// one word: nothing inside it is expanded or run.
std::string QuoteForInterpreter(const std::string& text);
// The command line that runs a command through the command interpreter ("cmd /c" and the
// command in one more pair of quotes; on POSIX "/bin/sh -c" in the same shape).
std::string InterpreterCommandLine(const std::string& command);

}  // namespace gui::platform
