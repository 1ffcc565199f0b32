#include "script/SourceText.h"

namespace gui::script {

namespace {

// Where the line after the one starting at `start` begins; CR LF, LF and CR each end a line.
std::size_t NextLineStart(const std::string& code, std::size_t start) {
  std::size_t end = code.find_first_of("\r\n", start);
  if (end == std::string::npos) return code.size() + 1;
  return end + ((code[end] == '\r' && end + 1 < code.size() && code[end + 1] == '\n') ? 2 : 1);
}

}  // namespace

std::string SourceText::Line(int line) const {
  std::size_t start = 0;
  for (int n = 1; n < line && start <= code_.size(); ++n)
    start = NextLineStart(code_, start);
  if (start > code_.size()) return {};
  std::size_t end = code_.find_first_of("\r\n", start);
  return code_.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

}  // namespace gui::script
