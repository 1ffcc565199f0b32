#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/Process.h"

namespace gui {

// Starts the command line as a child process in the working folder and waits for it at most
// timeoutSeconds (0: not at all), letting window messages be processed meanwhile. A child still
// running then is left running: timedOut is true and exitCode 0; otherwise exitCode is the
// child's. Returns the child's process id. A command that cannot be started raises error 1000.
int RunCommand(const std::string& commandLine, bool& timedOut, int& exitCode, int showWindow,
               int timeoutSeconds, const std::string& workingFolder);

// How a program run to its end, or to its time-out, went.
struct ProgramOutcome {
  bool timedOut = false;
  int exitCode = 0;
};

// Runs a program with its arguments, no command interpreter in between, its standard output and
// error going to a new file; waits at most timeoutSeconds, letting window messages be processed
// meanwhile, and ends a program still running then. A program that cannot be started raises
// error 1000.
ProgramOutcome RunCapturedProgram(const std::vector<std::string>& words,
                                  const std::string& outputFile, int timeoutSeconds,
                                  const std::string& workingFolder);

bool IsProcessRunning(platform::ChildProcess& process);

// Opens a document, folder or web address with its associated application: true when the
// shell accepted it; nothing, without asking the shell, for "".
std::optional<bool> OpenDocument(const std::string& path);

}  // namespace gui
