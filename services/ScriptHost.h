#pragma once

#include <string>

namespace gui {

// Where the last failure of a script host happened: 1-based line, 0-based column, source line.
struct ScriptErrorPlace {
  long line = 0;
  long column = 0;
  std::string text;
};

// The script component that evaluates "vbs:" macros.
class ScriptHost {
 public:
  virtual ~ScriptHost() = default;
  // Compiles the code and runs its top-level statements; raises on failure.
  virtual void AddCode(const std::string& code) = 0;
  // The value of an expression as text (Null gives ""); raises on failure.
  virtual std::string EvalToText(const std::string& expression) = 0;
  virtual ScriptErrorPlace LastErrorPlace() const = 0;
};

}  // namespace gui
