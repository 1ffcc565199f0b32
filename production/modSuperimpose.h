#pragma once

#include <cstdint>
#include <string>

#include "startup/Dictionary.h"

namespace gui {

bool SuperimposeEnabled(Dictionary& settings);
// The background items of the setting, keyed "0", "1", ...; each a map of filename and place.
DictionaryPtr ParseBackgroundSpec(const std::string& spec);
// Makes the page description of every background PDF; the patterns hold "#" for the item number.
void CreateBackgroundEps(Dictionary& settings, const std::string& epsPattern,
                         const std::string& fullEpsPattern, const std::string& paramPattern);
// Page number ("1" ...) to the background page description to insert, "" for none.
DictionaryPtr BuildBackgroundPages(Dictionary& settings, const std::string& epsPattern,
                                   std::int16_t pageCount);
void WriteEpsParams(Dictionary& settings, const std::string& paramFile, const std::string& pdfFile,
                    const std::string& epsFile);
// Copies the text before the first "showpage" of the source.
void StripShowpage(const std::string& source, const std::string& destination);

}  // namespace gui
