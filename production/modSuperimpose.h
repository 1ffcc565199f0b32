#pragma once

#include <cstdint>
#include <string>
#include <vector>

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
// Writes a form file for every background PDF that draws its first page directly; the pattern
// holds "#" for the item number. Returns the PDFs, which the job must be allowed to read. A
// missing background PDF raises 1011.
std::vector<std::string> WriteBackgroundForms(Dictionary& settings, const std::string& formPattern);
// Which pages of a job one background item is drawn on.
struct PageSelection {
  bool fromEnd = false;  // positions count from the last page
  bool odd = false;
  bool even = false;
  int first = 1;
  int last = -1;  // -1: up to the last page
};
// Letters out of F, L, O and E, a first position, and "-" with an optional last position. A
// number above 32767 raises an overflow.
PageSelection ReadPageSelection(std::string place);
void WriteEpsParams(Dictionary& settings, const std::string& paramFile, const std::string& pdfFile,
                    const std::string& epsFile);
// The name of the form that draws background item k (from 1).
std::string BackgroundFormName(int item);
// Makes the page description of item k a named form that any page can draw: legacy takes the
// text before the first "showpage"; modern keeps the whole EPS inside a save that disables
// "showpage".
void StripShowpage(const std::string& source, const std::string& destination,
                   GhostscriptDialect dialect, int item);

}  // namespace gui
