#pragma once

#include <cstdio>
#include <string>

namespace gui::backend {

// A line for the CUPS scheduler: "ERROR:", "INFO:" or "DEBUG:" followed by the text.
inline void Tell(const char* prefix, const std::string& text) {
  std::fprintf(stderr, "%s: %s\n", prefix, text.c_str());
  std::fflush(stderr);
}

}  // namespace gui::backend
