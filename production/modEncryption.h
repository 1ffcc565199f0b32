#pragma once

#include <string>

#include "production/modGhostScript.h"
#include "startup/Dictionary.h"

namespace gui {

bool EncryptionEnabled(Dictionary& settings);
// The encryption lines of a parameter file in the dialect given, each ended by CR LF.
std::string EncryptionParams(Dictionary& settings, GhostscriptDialect dialect);

}  // namespace gui
