#pragma once

#include <cstdint>
#include <string>

#include "production/modGhostScript.h"
#include "startup/Dictionary.h"

namespace gui {

// True when the superimpose setting names any background.
bool SuperimposeEnabled(Dictionary& settings);
// The background items of the setting, keyed "0", "1", ...; each a map of filename and place.
DictionaryPtr ParseBackgroundSpec(const std::string& spec);
// The file of background item k (from 1): the pattern with its "#" replaced by the number.
std::string BackgroundFileName(const std::string& pattern, int item);
// Makes the page description of every background PDF; the patterns hold "#" for the item number.
// A missing background PDF raises 1011.
void CreateBackgroundEps(Dictionary& settings, const std::string& epsPattern,
                         const std::string& fullEpsPattern, const std::string& paramPattern);
// Page number ("1" ...) to the background page description to insert, "" for none. A number
// in a page selection above 32767 raises an overflow.
DictionaryPtr BuildBackgroundPages(Dictionary& settings, const std::string& epsPattern,
                                   std::int16_t pageCount);
void WriteEpsParams(Dictionary& settings, const std::string& paramFile, const std::string& pdfFile,
                    const std::string& epsFile);
// Makes the page description insertable at the start of a page: legacy copies the text before
// the first "showpage"; modern keeps the whole EPS between a save that disables "showpage"
// and its restore.
void StripShowpage(const std::string& source, const std::string& destination,
                   GhostscriptDialect dialect);

}  // namespace gui
