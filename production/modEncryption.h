#pragma once

#include <string>

#include "startup/Dictionary.h"

namespace gui {

bool EncryptionEnabled(Dictionary& settings);
// The encryption lines of the main parameter file, each ended by CR LF.
std::string EncryptionParams(Dictionary& settings);

}  // namespace gui
