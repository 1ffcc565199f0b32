#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "startup/Dictionary.h"

namespace gui {

// The number of pages the job's page comments announce: lines that begin with "%%Page:",
// except those of documents embedded in it. Lines end at CR, LF or CR LF.
std::int32_t GetPageCount(const std::string& jobFile);
// The pdfmark that sets how the PDF opens: the thumbnails when asked for, the first page at
// the zoom of the settings.
std::string DocumentView(Dictionary& settings);
// The document information entries that have a value, in their order: name ("Title") and text.
std::vector<std::pair<std::string, std::string>> DocumentInformationEntries(Dictionary& settings);
// A value as the inside of a PostScript string literal, in the fonts' Windows-1252 codes.
std::string EscapePSText(const std::string& value);
// Writes the header run before the job: initial view, document information, fonts, watermark.
// False when anything fails.
bool WritePostScriptHeader(const std::string& headerFile, Dictionary& settings);

}  // namespace gui
