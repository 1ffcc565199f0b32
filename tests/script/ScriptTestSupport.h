#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "script/ScriptEngine.h"
#include "script/ScriptErrors.h"
#include "services/Error.h"

namespace gui::script::test {

// 7:05:09 on Saturday 3 March 2007, the moment every test engine reads.
inline LocalDateTime FixedMoment() {
  return {2007, 3, 3, 7, 5, 9, 250};
}

inline void UseFixedClock(ScriptEngine& engine) {
  engine.SetClock(FixedMoment);
}

// One expression and the text its value gives.
struct TextCase {
  const char* expression;
  const char* expected;
};

inline void PrintTo(const TextCase& c, std::ostream* os) {
  *os << c.expression;
}

// The error number an action raises, or 0 when it succeeds.
inline long ErrorNumber(const std::function<void()>& action) {
  try {
    action();
  } catch (const gui::Error& error) {
    return error.Number();
  }
  return 0;
}

// A fresh engine with the fixed clock and, optionally, code added.
class EngineTest : public ::testing::Test {
 protected:
  void SetUp() override { UseFixedClock(engine_); }

  std::string Text(const std::string& expression) { return engine_.EvalToText(expression); }
  long EvalError(const std::string& expression) {
    return ErrorNumber([&] { engine_.Eval(expression); });
  }
  long AddError(const std::string& code) {
    return ErrorNumber([&] { engine_.AddCode(code); });
  }

  ScriptEngine engine_;
};

}  // namespace gui::script::test
