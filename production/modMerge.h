#pragma once

#include <string>
#include <vector>

#include "startup/Dictionary.h"

namespace gui {

bool MergeEnabled(Dictionary& settings);
// Writes the parameter file of the merge run over its inputs in order: the PDFs, then what
// sets the document's view and information; returns true.
bool WriteMergeParams(Dictionary& settings, const std::string& paramFile,
                      const std::vector<std::string>& inputs, const std::string& output);

}  // namespace gui
