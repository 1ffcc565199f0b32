#pragma once

#include <cstdint>
#include <string>

#include "startup/Dictionary.h"

namespace gui {

// The built-in default of a setting.
std::string DefaultSetting(const std::string& name);
// The value of the number at the start of a text (blanks, sign, digits, decimal part); 0 when
// the text does not start with one.
double LeadingNumber(const std::string& text);
// The font size in points per inch of page width, 0 to 100.
std::int32_t WatermarkSize(Dictionary& settings);
bool WatermarkEnabled(Dictionary& settings);
// The gray level as a PostScript number, "0.85" for 85.
std::string WatermarkGray(Dictionary& settings);
// A PostScript expression that leaves the angle on the stack.
std::string WatermarkRotation(Dictionary& settings);
// One PostScript string literal per line of the text (lines end at CR LF), separated by CR LF;
// the characters in the fonts' Windows-1252 codes.
std::string PSTextLines(const std::string& text);
// The watermark procedures the header defines, every line ended by CR LF.
std::string WatermarkProgram(Dictionary& settings);

}  // namespace gui
