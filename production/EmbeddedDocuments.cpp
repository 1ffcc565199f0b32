#include "production/EmbeddedDocuments.h"

namespace gui {

bool EmbeddedDocuments::IsJobLine(std::string_view line) {
  if (line.starts_with("%%BeginDocument")) {
    ++depth_;
    return false;
  }
  if (line.starts_with("%%EndDocument")) {
    // A stray end fence does not hide the job's lines that follow.
    if (depth_ > 0) --depth_;
    return false;
  }
  return depth_ == 0;
}

}  // namespace gui
