#pragma once

#include <cstdint>
#include <string>

#include "startup/Dictionary.h"

namespace gui {

// The number of lines that begin with "%%Page:"; more than 32767 raises an overflow.
std::int16_t GetPageCount(const std::string& jobFile);
// Writes the job with the configured title and author and, on every page, its background and
// the watermark call.
void PatchPostScriptFile(Dictionary& settings, const std::string& epsPattern,
                         const std::string& patchedFile, const std::string& jobFile);
// A value as the inside of a PostScript string literal, in the fonts' Latin-1 codes.
std::string EscapePSText(const std::string& value);
// Writes the header run before the job: initial view, document information, fonts, watermark.
bool WritePostScriptHeader(const std::string& headerFile, Dictionary& settings);

}  // namespace gui
