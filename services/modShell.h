#pragma once

#include <optional>
#include <string>

#include "platform/Process.h"

namespace gui {

// Starts the command line as a child process in the working folder and waits for it at most
// timeoutSeconds (0: not at all), letting window messages be processed meanwhile. A child still
// running then is left running: timedOut is true and exitCode 0; otherwise exitCode is the
// child's. Returns the child's process id. A command that cannot be started raises error 1000.
int RunCommand(const std::string& commandLine, bool& timedOut, int& exitCode, int showWindow,
               int timeoutSeconds, const std::string& workingFolder);

bool IsProcessRunning(platform::ChildProcess& process);

// Opens a document, folder or web address with its associated application: true when the
// shell accepted it; nothing, without asking the shell, for "".
std::optional<bool> OpenDocument(const std::string& path);

}  // namespace gui
