#pragma once

#include <cstddef>
#include <string>

namespace gui::backend {

// Watches a job as it is copied: whether it is plain text and ends some lines with a lone LF.
class LineEndScan {
 public:
  void Feed(const char* data, std::size_t size);
  // A text job with LF line ends, which the program reads as one long line, wants CR LF.
  bool WantsCrLf() const { return text_ && loneLf_; }

 private:
  bool text_ = true;
  bool loneLf_ = false;
  bool afterCr_ = false;
};

// Rewrites the file with CR LF for every lone LF, through a new file put in its place; false
// with the reason in error.
bool ConvertToCrLf(const std::string& path, std::string& error);

}  // namespace gui::backend
