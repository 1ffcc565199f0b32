#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "script/ScriptEngine.h"
#include "script/ScriptErrors.h"
#include "services/Error.h"

namespace gui::script::test {

// The error number an action raises, or 0 when it succeeds.
inline long ErrorNumber(const std::function<void()>& action) {
  try {
    action();
  } catch (const gui::Error& error) {
    return error.Number();
  }
  return 0;
}

// A fresh engine whose clock always reads 7:05:09.25 on Saturday 3 March 2007.
class EngineTest : public ::testing::Test {
 protected:
  EngineTest() {
    engine_.SetClock([] { return LocalDateTime{2007, 3, 3, 7, 5, 9, 250}; });
  }

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
