#pragma once

#include <string>

#include "startup/Dictionary.h"

namespace gui {

// True when something is drawn under every page's content: a background or the watermark.
bool PageStartEnabled(Dictionary& settings);
// Writes the procedure that the page device runs as each page begins: the page's background
// form, then the watermark, under whatever the job draws. The job itself is never rewritten.
// Backgrounds counted from the end need the job's page count, read only then.
void WritePageStart(const std::string& file, Dictionary& settings, const std::string& jobFile);

}  // namespace gui
