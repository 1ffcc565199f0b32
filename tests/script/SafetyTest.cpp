#include <string>

#include "tests/script/ScriptTestSupport.h"

namespace gui::script::test {
namespace {

class Safety : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    engine_.SetTimeBudget(std::chrono::milliseconds(200));
  }
};

TEST_F(Safety, EndlessLoopsStopAtTheTimeBudget) {
  for (const char* code : {"Do\nLoop", "While True\nWend", "For i = 1 To 2 Step 0\nNext",
                           "On Error Resume Next\nDo\n  x = 1 / 0\nLoop"}) {
    EXPECT_EQ(AddError(code), 1200) << code;
    EXPECT_EQ(engine_.LastError().description, "Script ran longer than its time budget");
  }
}

TEST_F(Safety, EndlessFunctionsStopInEval) {
  engine_.AddCode("Function Spin()\n  Do\n  Loop\nEnd Function");
  EXPECT_EQ(EvalError("Spin()"), 1200);
  EXPECT_EQ(engine_.LastError().line, 2);
  EXPECT_EQ(Text("1 + 1"), "2");
}

TEST_F(Safety, RunawayRecursionIsOutOfStackSpace) {
  engine_.AddCode("Function Down(n)\n  Down = Down(n + 1) + 1\nEnd Function");
  EXPECT_EQ(EvalError("Down(0)"), 28);
  engine_.AddCode("Sub Both(n)\n  On Error Resume Next\n  Both n + 1\n  Both n + 1\nEnd Sub");
  EXPECT_EQ(EvalError("Both(0)"), 1200);
}

TEST_F(Safety, DeepNestingFailsToCompileInsteadOfCrashing) {
  EXPECT_EQ(EvalError(std::string(5000, '(') + "1" + std::string(5000, ')')), 28);
  std::string chain = "1";
  for (int i = 0; i < 20000; ++i)
    chain += "+1";
  EXPECT_EQ(EvalError(chain), 28);
  std::string blocks;
  for (int i = 0; i < 1000; ++i)
    blocks += "If True Then\n";
  EXPECT_EQ(AddError(blocks), 28);
  EXPECT_EQ(EvalError(std::string(5000, '-') + "1"), 28);
}

TEST_F(Safety, HugeStringsAndArraysAreOutOfMemory) {
  EXPECT_EQ(AddError("s = \"x\"\nDo\n  s = s & s\nLoop"), 7);
  EXPECT_EQ(AddError("s = Space(100000000)"), 7);
  EXPECT_EQ(AddError("s = String(5000000, ChrW(8364))"), 7);
  EXPECT_EQ(AddError("ReDim a(100000000)"), 7);
  EXPECT_EQ(AddError("ReDim a(50000, 50000)"), 7);
  EXPECT_EQ(AddError("Dim keep(1000)\nFor i = 0 To 1000\n  keep(i) = Space(4000000)\nNext"), 7);
  EXPECT_EQ(AddError("Dim keep(1000)\nFor i = 0 To 1000\n  ReDim a(1000000)\n  keep(i) = a\nNext"),
            7);
  EXPECT_EQ(Text("Len(Space(1000))"), "1000");
}

TEST_F(Safety, MemoryIsGivenBackWhenValuesGo) {
  for (int i = 0; i < 5; ++i) {
    engine_.AddCode("Dim big\nbig = Space(7000000)\nbig = Empty");
    engine_.AddCode("ReDim cells(3000000)\nErase cells");
  }
  EXPECT_EQ(Text("Len(Space(7000000))"), "7000000");
}

TEST_F(Safety, MalformedInputGetsAClearError) {
  EXPECT_EQ(EvalError("a("), 1006);
  EXPECT_EQ(EvalError("Err.Raise(0)"), 5);
  EXPECT_EQ(AddError("x = #"), 1002);
  EXPECT_EQ(AddError("If x Then Else"), 0);
  EXPECT_EQ(AddError("f , "), 13);
  EXPECT_EQ(AddError("_"), 0);
  EXPECT_EQ(EvalError("&H"), 1002);
  EXPECT_EQ(EvalError("DateSerial(-32768, -32768, -32768)"), 5);
  EXPECT_EQ(EvalError("DateAdd(\"yyyy\", 1E+300, Now)"), 5);
  EXPECT_EQ(EvalError("CDate(1E+300)"), 6);
  EXPECT_EQ(EvalError("Hex(1E+300)"), 6);
  EXPECT_EQ(Text("FormatNumber(1E+300, 2, -1, 0, 0)").size(), 304u);
}

}  // namespace
}  // namespace gui::script::test
