#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "startup/Dictionary.h"

namespace gui {

// The quality presets in list order: setting value to localised caption.
DictionaryPtr QualityList();

// The localised items of one of the dialogs' choice lists, in their fixed order, and the index
// selected right after filling (-1 for none).
struct ListItems {
  std::vector<std::string> captions;
  int selected = -1;
};

ListItems FillQualityList();
ListItems FillKeyLengthList();
ListItems FillPrintPermissionList();
ListItems FillRotationList();
ListItems FillAppendPositionList();

// One entry of a file dialog's type list.
struct FileFilter {
  std::string caption;
  std::string pattern;
};

// PDF documents and all files, the list of every browse button.
std::vector<FileFilter> PdfFilter();

// The value of the number the text starts with, as its shortest decimal text ("0" without one).
std::string NumericText(const std::string& text);

// What the watermark size and transparency boxes hold once they lose the focus.
std::string NormalizeWatermarkSize(const std::string& text);
std::string NormalizeWatermarkTransparency(const std::string& text);
// The grey, as 0xRRGGBB, that previews the transparency box's text (black at 0, white at 100).
std::uint32_t TransparencyPreviewColor(const std::string& text);

// The macro list's entries: "<name>", blanks to a common width, a tab and the description.
std::vector<std::string> MacroListEntries();
// "<name>" of the macro at a list position; "" outside the list.
std::string MacroAt(int index);

}  // namespace gui
