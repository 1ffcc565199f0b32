#pragma once

#include <cstdint>
#include <string>

#include "startup/Dictionary.h"

namespace gui {

// The built-in default of a setting.
std::string DefaultSetting(const std::string& name);
std::int32_t WatermarkSize(Dictionary& settings);
bool WatermarkEnabled(Dictionary& settings);
// The gray level as a PostScript number, "0.85" for 85.
std::string WatermarkGray(Dictionary& settings);
// A PostScript expression that leaves the angle on the stack.
std::string WatermarkRotation(Dictionary& settings);
// One PostScript string literal per line of the text, separated by CR LF.
std::string PSTextLines(const std::string& text);
// The watermark procedures the header defines.
std::string WatermarkProgram(Dictionary& settings);

}  // namespace gui
