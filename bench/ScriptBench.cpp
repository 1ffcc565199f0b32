#include <benchmark/benchmark.h>

#include <string>

#include "script/ScriptEngine.h"

namespace {

// A macro file of about `lines` lines: small functions of the kind users write.
std::string MacroFile(int lines) {
  std::string code = "Option Explicit\nDim Counter\nConst Prefix = \"doc_\"\n";
  for (int i = 0; code.size() < static_cast<std::size_t>(lines) * 30; ++i) {
    std::string n = std::to_string(i);
    code += "Function Name" + n + "(title)\n";
    code += "  Dim cleaned, i\n";
    code += "  cleaned = Replace(Trim(title), \":\", \"_\")\n";
    code += "  For i = 1 To 3\n";
    code += "    If Len(cleaned) > 40 Then cleaned = Left(cleaned, 40)\n";
    code += "  Next\n";
    code += "  Name" + n + " = Prefix & cleaned & \"_" + n + "\"\n";
    code += "End Function\n";
    code += "Counter = Counter + 1\n";
  }
  return code;
}

void AddFiveThousandLines(benchmark::State& state) {
  const std::string code = MacroFile(5000);
  for (auto _ : state) {
    gui::script::ScriptEngine engine;
    engine.AddCode(code);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * code.size()));
}
BENCHMARK(AddFiveThousandLines)->Unit(benchmark::kMillisecond);

void EvalSmallFunctionCall(benchmark::State& state) {
  gui::script::ScriptEngine engine;
  engine.AddCode("Function Add(a, b)\n  Add = a + b\nEnd Function");
  for (auto _ : state)
    benchmark::DoNotOptimize(engine.EvalToText("Add(1, 2)"));
}
BENCHMARK(EvalSmallFunctionCall)->Unit(benchmark::kMicrosecond);

void EvalTitleMacro(benchmark::State& state) {
  gui::script::ScriptEngine engine;
  engine.AddCode(MacroFile(100));
  for (auto _ : state) {
    benchmark::DoNotOptimize(engine.EvalToText("Name7(\"  Q1: results and plans  \")"));
  }
}
BENCHMARK(EvalTitleMacro)->Unit(benchmark::kMicrosecond);

void LoopOfAMillionSteps(benchmark::State& state) {
  gui::script::ScriptEngine engine;
  engine.AddCode(
      "Function Sum(n)\n  Dim i, s\n  For i = 1 To n\n    s = s + i\n  Next\n"
      "  Sum = s\nEnd Function");
  for (auto _ : state)
    benchmark::DoNotOptimize(engine.EvalToText("Sum(1000000)"));
}
BENCHMARK(LoopOfAMillionSteps)->Unit(benchmark::kMillisecond);

}  // namespace
