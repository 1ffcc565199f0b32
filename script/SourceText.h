#pragma once

#include <string>

namespace gui::script {

// The text of one piece of added code or one evaluated expression, kept for error reports.
class SourceText {
 public:
  explicit SourceText(std::string code) : code_(std::move(code)) {}

  const std::string& Code() const { return code_; }
  // The text of a 1-based line, without its line break.
  std::string Line(int line) const;

 private:
  std::string code_;
};

}  // namespace gui::script
