#pragma once

#include <string>

#include "startup/Dictionary.h"

namespace gui {

// The job's title, author and creation date from its comments in the first 1000 lines.
DictionaryPtr ReadDocumentProperties(const std::string& jobFile);

}  // namespace gui
