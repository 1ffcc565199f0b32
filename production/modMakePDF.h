#pragma once

#include <string>

#include "startup/Dictionary.h"

namespace gui {

// Turns one print job into the PDF its settings describe.
void MakePDF(const std::string& jobFile);
// Opens a PDF with its application, telling the person when that fails; always true.
bool ShowPDF(const std::string& path);
// Starts the after-print program for the finished PDF without waiting for it.
void RunAfterPrintProgram(Dictionary& settings, const std::string& destination);
// Copies the finished PDF to its destination (a link's target), retrying while the destination
// is locked and then asking, and asking before a read-only file is replaced; false when the
// person gave up, the PDF then kept where it is and named.
bool CopyToDestination(const std::string& source, const std::string& destination);

// Tests shorten the time a locked destination is retried.
void SetCopyRetrySecondsForTesting(double seconds);

}  // namespace gui
