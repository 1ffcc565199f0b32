#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace gui::backend {

// Starts gui in a session of its own (its process group is its process id), with its files
// private to the user, standard input and output on /dev/null, standard error on errors (or
// /dev/null when it is -1) and no other descriptor of the scheduler's. The process id, or -1
// with the reason in error when the program could not be started.
pid_t StartGui(const std::string& program, const std::vector<std::string>& arguments,
               const std::vector<std::string>& environment, int errors, std::string& error);

}  // namespace gui::backend
