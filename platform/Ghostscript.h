#pragma once

#include <string>

namespace gui::platform {

// The file name of Ghostscript's console program.
constexpr char kGhostscriptProgram[] = "gs";

// Ghostscript as the system finds it when neither a setting nor the registry names it: the
// first such program on the PATH, as a full path; "" when there is none.
std::string FindGhostscriptOnPath();
// The first line that the program prints for "--version", asked directly, without a command
// interpreter; "" when it cannot be started, fails, or gives no answer within seconds.
std::string AskGhostscriptVersion(const std::string& program);

}  // namespace gui::platform
