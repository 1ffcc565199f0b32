#pragma once

#include <string>

#include "startup/Dictionary.h"

namespace gui {

// The output path with a file name the file system takes: one that is too long is cut by whole
// characters before its extension, and the cut logged.
std::string FittingOutput(const std::string& output);
// The output path, or when an existing file there may not be replaced without a question nobody
// answered, the next free numbered name beside it.
std::string UnclaimedOutput(Dictionary& settings, const std::string& output);
// Copies the finished PDF to its destination (a link's target), retrying while the destination
// is locked and then asking, and asking before a read-only file is replaced; false when the
// person gave up, the PDF then kept where it is and named.
bool CopyToDestination(const std::string& source, const std::string& destination);

// Tests shorten the time a locked destination is retried.
void SetCopyRetrySecondsForTesting(double seconds);

}  // namespace gui
