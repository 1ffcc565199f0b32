#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "script/Runtime.h"
#include "script/Variant.h"

namespace gui::script {

// The last failure, as the Windows script control's Error object reports it.
struct ScriptErrorInfo {
  long number = 0;
  std::string description;
  std::string source;  // "Microsoft VBScript runtime error" or "... compilation error"
  int line = 0;        // 1-based, within the added code or the evaluated expression
  int column = 0;      // 0-based
  std::string text;    // the offending source line
};

// The VBScript engine behind "vbs:" macros: code is added once, then expressions are evaluated
// against its functions, constants and variables.
//
// Every failure is thrown as gui::Error with VBScript's number, English description and source,
// and recorded in LastError with its position. Besides VBScript's own errors the engine raises:
//   1200 "Script ran longer than its time budget" when one AddCode or Eval runs past the budget
//        (10 seconds unless set); On Error Resume Next cannot trap it;
//   28 "Out of stack space" for calls nested too deeply;
//   7 "Out of memory" for a string over 8 MiB or more than 128 MiB of strings and arrays alive;
//   429 "ActiveX component can't create object" for CreateObject, GetObject, New, Eval,
//       Execute and ExecuteGlobal, which the engine does not offer.
// Classes and With blocks are not supported and fail to compile with 1024 "Expected statement".
class ScriptEngine {
 public:
  ScriptEngine();
  ~ScriptEngine();
  ScriptEngine(const ScriptEngine&) = delete;
  ScriptEngine& operator=(const ScriptEngine&) = delete;

  // Compiles the code, then runs its top-level statements once. Nothing of code that does not
  // compile is kept; the procedures of code that fails while running are.
  void AddCode(const std::string& source);
  Variant Eval(const std::string& expression);
  // The value as text; Null, Empty and values without a text (arrays, Nothing) give "".
  std::string EvalToText(const std::string& expression);
  const ScriptErrorInfo& LastError() const;

  void SetTimeBudget(std::chrono::milliseconds budget);
  // The local date and time that Now, Date, Time and Timer read.
  void SetClock(Clock clock);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace gui::script
