#pragma once

#include <string>

namespace gui {

// The session's log file: temporary folder + session id + "_printer.log"; raises when there is
// no temporary folder.
std::string LogFileName();
// Removes the session's old log; a failure raises "Error removing old log file. ...".
void StartLog();
// Appends one line "<timestamp>, <computer>, <user>: <message>", retrying for 20 seconds
// while another process holds the file.
void WriteLog(const std::string& message);

// Tests shorten the time a locked log is retried and start with a fresh path.
void SetLogRetrySecondsForTesting(double seconds);
void ResetLogForTesting();

}  // namespace gui
