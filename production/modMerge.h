#pragma once

#include <string>

#include "startup/Dictionary.h"

namespace gui {

bool MergeEnabled(Dictionary& settings);
// Writes the parameter file of the merge run; returns true.
bool WriteMergeParams(Dictionary& settings, const std::string& paramFile, const std::string& first,
                      const std::string& second, const std::string& output);

}  // namespace gui
