#pragma once

#include <string>

#include "startup/Dictionary.h"

namespace gui {

// The job's title, author and creation date as UTF-8: a PDF job's from its document information
// or metadata, a PostScript job's from the comments of its own header: up to "%%EndComments",
// within the first 1000 lines, never those of a document embedded in it. A title that is only a
// file name loses its document extension.
DictionaryPtr ReadDocumentProperties(const std::string& jobFile);

}  // namespace gui
