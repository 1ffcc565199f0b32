#pragma once

#include <string>

#include "production/Destination.h"
#include "startup/Dictionary.h"

namespace gui {

// Turns one print job into the PDF its settings describe.
void MakePDF(const std::string& jobFile);
// Opens a PDF with its application, telling the person when that fails; always true.
bool ShowPDF(const std::string& path);
// Starts the after-print program for the finished PDF without waiting for it.
void RunAfterPrintProgram(Dictionary& settings, const std::string& destination);

}  // namespace gui
