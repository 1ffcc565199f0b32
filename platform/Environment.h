#pragma once

#include <optional>
#include <string>
#include <vector>

namespace gui::platform {

std::optional<std::string> GetVariable(const std::string& name);
// Sets a variable of this process, which the programs it starts inherit.
void SetVariable(const std::string& name, const std::string& value);
// The full path of the running executable, links resolved.
std::string ExecutablePath();
std::string CurrentFolder();
// The system's places for the user's temporary files, best first: the first candidates of the
// temporary folder, each still to be proved the user's own.
std::vector<std::string> SystemTempPaths();

}  // namespace gui::platform
