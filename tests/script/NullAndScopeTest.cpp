#include "tests/script/ScriptTestSupport.h"

namespace gui::script::test {
namespace {

class NullArguments : public ::testing::TestWithParam<TextCase> {};

// Functions that pass Null through give Null; the others fail with "Invalid use of Null".
TEST_P(NullArguments, PassNullThroughOrRefuseIt) {
  ScriptEngine engine;
  UseFixedClock(engine);
  std::string expression = GetParam().expression;
  if (std::string(GetParam().expected) == "94") {
    EXPECT_EQ(ErrorNumber([&] { engine.Eval(expression); }), 94) << expression;
  } else {
    EXPECT_EQ(engine.EvalToText("IsNull(" + expression + ")"), "True") << expression;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Builtins, NullArguments,
    ::testing::Values(TextCase{"Len(Null)", "Null"}, TextCase{"Left(Null, 1)", "Null"},
                      TextCase{"Right(Null, 1)", "Null"}, TextCase{"Mid(Null, 1)", "Null"},
                      TextCase{"UCase(Null)", "Null"}, TextCase{"Trim(Null)", "Null"},
                      TextCase{"InStr(Null, \"a\")", "Null"},
                      TextCase{"InStrRev(\"a\", Null)", "Null"},
                      TextCase{"StrComp(Null, \"a\")", "Null"}, TextCase{"Abs(Null)", "Null"},
                      TextCase{"Int(Null)", "Null"}, TextCase{"Round(Null)", "Null"},
                      TextCase{"Hex(Null)", "Null"}, TextCase{"Year(Null)", "Null"},
                      TextCase{"DateValue(Null)", "Null"}, TextCase{"FormatNumber(Null)", "Null"},
                      TextCase{"String(2, Null)", "Null"}, TextCase{"Null + 1", "Null"},
                      TextCase{"-Null", "Null"}, TextCase{"Null \\ 2", "Null"},
                      TextCase{"CStr(Null)", "94"}, TextCase{"CInt(Null)", "94"},
                      TextCase{"CBool(Null)", "94"}, TextCase{"CDate(Null)", "94"},
                      TextCase{"Asc(Null)", "94"}, TextCase{"Replace(Null, \"a\", \"b\")", "94"},
                      TextCase{"Split(Null)", "94"}, TextCase{"StrReverse(Null)", "94"}));

class Scopes : public EngineTest {};

TEST_F(Scopes, OnErrorResumeNextHoldsOnlyInItsProcedure) {
  engine_.AddCode(
      "Function Inner()\n  Inner = 1 / 0\n  Inner = 5\nEnd Function\n"
      "Function Outer()\n  On Error Resume Next\n  Outer = Inner()\n"
      "  Outer = Outer & \"|\" & Err.Number\nEnd Function");
  EXPECT_EQ(Text("Outer()"), "|11");
  EXPECT_EQ(EvalError("Inner()"), 11);
}

TEST_F(Scopes, ErrIsClearedByOnErrorAndExit) {
  engine_.AddCode(
      "Function Fails()\n  On Error Resume Next\n  Fails = 1 / 0\n  Exit Function\n"
      "End Function\nFunction Check()\n  On Error Resume Next\n  Err.Raise 9\n"
      "  Check = Err.Number\n  On Error GoTo 0\n  Check = Check & Err.Number\nEnd Function");
  EXPECT_EQ(Text("Fails() & Err.Number"), "0");
  EXPECT_EQ(Text("Check()"), "90");
}

TEST_F(Scopes, ByRefReachesGlobalsAndArraysButNotConstants) {
  engine_.AddCode(
      "Const Fixed = 1\nDim g, list(1)\nSub Bump(ByRef v)\n  v = v + 10\nEnd Sub\n"
      "Sub Fill(a)\n  a(1) = \"filled\"\nEnd Sub\ng = 1\nBump g\nBump Fixed\nFill list");
  EXPECT_EQ(Text("g & Fixed & list(1) & list(0)"), "111filled");
}

TEST_F(Scopes, ArraysPassedByValueAreCopies) {
  engine_.AddCode(
      "Function Changed(ByVal a)\n  a(0) = \"new\"\n  Changed = a(0)\nEnd Function\n"
      "Dim original\noriginal = Array(\"old\")");
  EXPECT_EQ(Text("Changed(original) & original(0)"), "newold");
}

TEST_F(Scopes, LaterCodeSeesAndReplacesEarlierDefinitions) {
  engine_.AddCode("Dim Shared\nShared = 1\nFunction Version()\n  Version = 1\nEnd Function");
  engine_.AddCode("Shared = Shared + 1\nFunction Version()\n  Version = 2\nEnd Function");
  EXPECT_EQ(Text("Shared & Version()"), "22");
}

TEST_F(Scopes, LocalsDoNotOutliveTheirCall) {
  engine_.AddCode("Function Counter()\n  Dim n\n  n = n + 1\n  Counter = n\nEnd Function");
  EXPECT_EQ(Text("Counter() + Counter()"), "2");
  EXPECT_EQ(Text("IsEmpty(n)"), "True");
}

TEST_F(Scopes, TheClockCanBeFixed) {
  engine_.SetClock([] { return LocalDateTime{1999, 12, 31, 23, 59, 59, 0}; });
  EXPECT_EQ(Text("Now"), "12/31/1999 11:59:59 PM");
  EXPECT_EQ(Text("DateAdd(\"s\", 1, Now)"), "1/1/2000");
  EXPECT_EQ(Text("CDate(\"6/1\")"), "6/1/1999");
}

}  // namespace
}  // namespace gui::script::test
