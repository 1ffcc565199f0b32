#pragma once

#include <string>

namespace gui {

// Writes a form file that draws the first page of a PDF through Ghostscript's own PDF
// interpreter as the named form of background item k: vectors, fonts and transparency stay as
// they are, and no conversion run is needed. The job must be allowed to read the PDF.
void WritePdfPageForm(const std::string& pdfFile, const std::string& formFile, int item);

}  // namespace gui
