#pragma once

#include <optional>
#include <string>

namespace gui::platform {

std::optional<std::string> GetVariable(const std::string& name);
// Sets a variable of this process, which the programs it starts inherit.
void SetVariable(const std::string& name, const std::string& value);
// The full path of the running executable, links resolved.
std::string ExecutablePath();
std::string CurrentFolder();
// The system's per-user temporary path, the first candidate of the temporary folder.
std::string SystemTempPath();

}  // namespace gui::platform
