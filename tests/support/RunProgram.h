#pragma once

#include <string>
#include <vector>

namespace gui::test {

struct ProgramResult {
  int exitCode = -1;
  std::string errorOutput;
};

// Runs a program with arguments and extra NAME=VALUE environment entries (an entry "NAME="
// with nothing after it removes NAME); collects its standard error.
ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                         const std::vector<std::string>& environment);

// The same for the built gui executable.
ProgramResult RunGui(const std::vector<std::string>& arguments,
                     const std::vector<std::string>& environment);

}  // namespace gui::test
