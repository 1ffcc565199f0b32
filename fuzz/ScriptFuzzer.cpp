// Feeds arbitrary text to the VBScript engine: as added code, then as an expression, and the
// part after a line "'--" as expressions evaluated against the code before it.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>

#include "script/ScriptEngine.h"
#include "services/Error.h"

namespace {

void Try(gui::script::ScriptEngine& engine, const std::string& text, bool asCode) {
  try {
    if (asCode) {
      engine.AddCode(text);
    } else {
      engine.EvalToText(text);
    }
  } catch (const gui::Error&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string input(reinterpret_cast<const char*>(data), size);
  gui::script::ScriptEngine engine;
  engine.SetTimeBudget(std::chrono::milliseconds(200));
  engine.SetClock([] { return gui::script::LocalDateTime{2007, 3, 3, 7, 5, 9, 0}; });
  std::size_t split = input.find("\n'--\n");
  std::string code = input.substr(0, split);
  Try(engine, code, true);
  if (split == std::string::npos) {
    Try(engine, input, false);
    return 0;
  }
  std::string rest = input.substr(split + 5);
  for (std::size_t start = 0; start <= rest.size();) {
    std::size_t end = rest.find('\n', start);
    if (end == std::string::npos) end = rest.size();
    Try(engine, rest.substr(start, end - start), false);
    start = end + 1;
  }
  return 0;
}
