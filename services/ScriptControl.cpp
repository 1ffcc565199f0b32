#include "services/ScriptControl.h"

#include <memory>

#include "platform/Clock.h"
#include "script/ScriptEngine.h"
#include "services/ScriptHost.h"

namespace gui {

namespace {

// The program's clock, so that scripts and built-in macros agree on the moment.
script::LocalDateTime ProgramClock() {
  platform::DateTime now = platform::LocalNow();
  return {now.year, now.month, now.day, now.hour, now.minute, now.second, 0};
}

class ScriptControl : public ScriptHost {
 public:
  ScriptControl() { engine_.SetClock(ProgramClock); }
  void AddCode(const std::string& code) override { engine_.AddCode(code); }
  std::string EvalToText(const std::string& expression) override {
    return engine_.EvalToText(expression);
  }
  ScriptErrorPlace LastErrorPlace() const override {
    const auto& info = engine_.LastError();
    return {info.line, info.column, info.text};
  }

 private:
  script::ScriptEngine engine_;
};

}  // namespace

std::any CreateScriptControl() {
  return std::shared_ptr<ScriptHost>(std::make_shared<ScriptControl>());
}

}  // namespace gui
