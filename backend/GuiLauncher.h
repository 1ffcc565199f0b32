#pragma once

#include <string>
#include <vector>

namespace gui::backend {

// Starts gui in a session of its own, with standard streams on /dev/null and no descriptor of
// the scheduler's, and leaves it running: the dialogs may wait for a person. False with the
// reason when the program could not be started.
bool StartGui(const std::string& program, const std::vector<std::string>& arguments,
              const std::vector<std::string>& environment, std::string& error);

}  // namespace gui::backend
