#pragma once

#include <string>
#include <vector>

namespace gui {

// Whether a Ghostscript run made what it was to make: it ended with exit code 0, its output
// names no error, and its result file was written to its end.
bool RunSucceeded(int exitCode, const std::string& output, const std::string& resultFile);
// What the person reads besides Ghostscript's words when those do not say what went wrong: the
// PDFs from outside that wanted a password, or a result cut short, by a full disk when it is;
// "" when there is nothing to add.
std::string FailureExplanation(const std::string& output, const std::string& resultFile,
                               const std::vector<std::string>& outsidePdfs);

}  // namespace gui
