#pragma once

#include <string>

#include "startup/Dictionary.h"

namespace gui {

// A PDF text string in PostScript syntax that keeps every character: a literal for plain ASCII,
// else UTF-16BE with its byte-order mark in hex.
std::string PdfTextString(const std::string& utf8);
// Writes the document information and initial view that Ghostscript runs after the job (and
// after the PDFs of a merge), so that the settings' win over the inputs' own.
void WriteDocumentTrailer(const std::string& file, Dictionary& settings);

}  // namespace gui
