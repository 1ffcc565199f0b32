#pragma once

#include <string_view>

namespace gui {

// Tells a job's own lines from those of the documents embedded in it between "%%BeginDocument"
// and "%%EndDocument" (EPS figures placed on a page), which may nest and carry comments of their
// own. Fed every line of the job in order.
class EmbeddedDocuments {
 public:
  // Whether the line belongs to the job itself; the fences belong to the embedded document.
  bool IsJobLine(std::string_view line);

 private:
  int depth_ = 0;
};

}  // namespace gui
