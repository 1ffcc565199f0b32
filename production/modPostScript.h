#pragma once

#include <cstdint>
#include <string>

#include "startup/Dictionary.h"

namespace gui {

// The number of lines that begin with "%%Page:".
std::int32_t GetPageCount(const std::string& jobFile);
// Writes the job with the configured title and author and, on every page, its background and
// the watermark call. Lines end at CR or CR LF and are written with CR LF; more than 32767 pages
// raise an overflow. The job is read and written in large blocks, never held whole.
void PatchPostScriptFile(Dictionary& settings, const std::string& epsPattern,
                         const std::string& patchedFile, const std::string& jobFile);
// A value as the inside of a PostScript string literal, in the fonts' Windows-1252 codes.
std::string EscapePSText(const std::string& value);
// Writes the header run before the job: initial view, document information, fonts, watermark.
// False when anything fails.
bool WritePostScriptHeader(const std::string& headerFile, Dictionary& settings);

}  // namespace gui
