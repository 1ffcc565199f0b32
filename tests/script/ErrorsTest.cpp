#include <sstream>

#include "tests/script/ScriptTestSupport.h"

namespace gui::script::test {
namespace {

// Code that fails when added, and what the engine reports about it.
struct ErrorCase {
  const char* code;
  long number;
  const char* description;
  int line;
  int column;
  friend void PrintTo(const ErrorCase& c, std::ostream* os) { *os << c.code; }
};

class FailingCode : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(FailingCode, ReportsNumberPositionAndText) {
  const ErrorCase& c = GetParam();
  ScriptEngine engine;
  try {
    engine.AddCode(c.code);
    FAIL() << "no error for " << c.code;
  } catch (const gui::Error& error) {
    EXPECT_EQ(error.Number(), c.number);
    EXPECT_EQ(error.Description(), c.description);
    EXPECT_EQ(error.Source(),
              c.number >= 1000 && c.number < 1100 ? kCompileSource : kRuntimeSource);
  }
  const ScriptErrorInfo& info = engine.LastError();
  EXPECT_EQ(info.number, c.number);
  EXPECT_EQ(info.line, c.line);
  EXPECT_EQ(info.column, c.column);
  std::string text;  // the code's line at the error, "" past its end
  std::istringstream lines(c.code);
  for (int i = 0; i < c.line; ++i)
    if (!std::getline(lines, text)) text.clear();
  EXPECT_EQ(info.text, text);
}

const ErrorCase kCompilation[] = {
    {"x = 1\ny = ", 1023, "Expected expression", 2, 4},
    {"x = 1 2", 1025, "Expected end of statement", 1, 6},
    {"x = 12abc", 1025, "Expected end of statement", 1, 6},
    {"x = \"open", 1033, "Unterminated string constant", 1, 4},
    {"x = 1 $ 2", 1032, "Invalid character", 1, 6},
    {"a _ b", 1032, "Invalid character", 1, 2},
    {"x = [abc", 1032, "Invalid character", 1, 4},
    {"x = &HFFFFFFFFF", 1031, "Invalid number", 1, 4},
    {"x = #2007#", 1002, "Syntax error", 1, 4},
    {"x = 1\r\n\ty = \"a\" 2", 1025, "Expected end of statement", 2, 9},
    {"If x Then\n  y = 1\n", 1014, "Expected 'End'", 3, 0},
    {"If x\n", 1017, "Expected 'Then'", 1, 4},
    {"Function F()\nEnd Sub", 1015, "Expected 'Function'", 2, 4},
    {"Sub S()\nEnd Function", 1016, "Expected 'Sub'", 2, 4},
    {"For i = 1 To 2\n  x = i\nLoop", 1020, "Expected 'Next'", 3, 0},
    {"For i = 1 2", 1013, "Expected 'To'", 1, 10},
    {"Do\n  x = 1\n", 1019, "Expected 'Loop'", 3, 0},
    {"While True\n", 1018, "Expected 'Wend'", 2, 0},
    {"Select Case x\nEnd If", 1022, "Expected 'Select'", 2, 4},
    {"Dim a, b, a", 1041, "Name redefined", 1, 10},
    {"Function F(a, a)\nEnd Function", 1041, "Name redefined", 1, 14},
    {"Sub S(a, b)\nEnd Sub\nS(1, 2)", 1044, "Cannot use parentheses when calling a Sub", 3, 0},
    {"Exit Do", 1039, "Invalid 'exit' statement", 1, 5},
    {"x = (1 + 2", 1006, "Expected ')'", 1, 10},
    {"Dim a(n)", 1026, "Expected integer constant", 1, 6},
    {"Const c = 1 + 2", 1025, "Expected end of statement", 1, 12},
    {"Const c = x", 1045, "Expected literal constant", 1, 10},
    {"Next", 1055, "Unexpected 'Next'", 1, 0},
    {"Loop", 1038, "'loop' without 'do'", 1, 0},
    {"Dim 5", 1010, "Expected identifier", 1, 4},
    {"For Each x Array(1)\nNext", 1046, "Expected 'In'", 1, 11},
    {"Class Person\nEnd Class", 1024, "Expected statement", 1, 0},
    {"With x\nEnd With", 1024, "Expected statement", 1, 0},
    {"x = Me", 1037, "Invalid use of 'Me' keyword", 1, 4},
    {"x = #13/45/2007#", 1002, "Syntax error", 1, 4},
    {"On Error GoTo Handler", 1002, "Syntax error", 1, 14},
    {"x = 1 + _\n  + _\n  )", 1023, "Expected expression", 3, 2},
};

INSTANTIATE_TEST_SUITE_P(Compilation, FailingCode, ::testing::ValuesIn(kCompilation));

const ErrorCase kRuntime[] = {
    {"Option Explicit\nDim a\nb = 1", 500, "Variable is undefined: 'b'", 3, 0},
    {"Option Explicit\nx = Missing + 1", 500, "Variable is undefined: 'Missing'", 2, 0},
    {"x = 1\n  y = x / 0", 11, "Division by zero", 2, 2},
    {"y = 0 / 0", 6, "Overflow", 1, 0},
    {"y = 5 Mod 0", 11, "Division by zero", 1, 0},
    {"Function F()\n  F = CInt(\"abc\")\nEnd Function\nx = F()", 13, "Type mismatch", 2, 2},
    {"x = \"a\" + 1", 13, "Type mismatch", 1, 0},
    {"x = Array(1) & \"\"", 13, "Type mismatch", 1, 0},
    {"x = Undefined(1)", 13, "Type mismatch: 'Undefined'", 1, 0},
    {"x = 5\ny = x(0)", 13, "Type mismatch: 'x'", 2, 0},
    {"Dim a(2)\na(3) = 1", 9, "Subscript out of range", 2, 0},
    {"a = Array(1)\nx = a(0, 0)", 9, "Subscript out of range", 2, 0},
    {"x = UBound(Array(1), 2)", 9, "Subscript out of range", 1, 0},
    {"ReDim m(1, 1)\nReDim Preserve m(2, 1)", 9, "Subscript out of range", 2, 0},
    {"Dim a(2)\nReDim a(5)", 10, "This array is fixed or temporarily locked", 2, 0},
    {"x = Mid(\"abc\", 0)", 5, "Invalid procedure call or argument", 1, 0},
    {"x = CStr(Null)", 94, "Invalid use of Null", 1, 0},
    {"x = Len()", 450, "Wrong number of arguments or invalid property assignment: 'Len'", 1, 0},
    {"Sub S(a)\nEnd Sub\nS 1, 2", 450,
     "Wrong number of arguments or invalid property assignment: 'S'", 3, 0},
    {"Const Limit = 1\nLimit = 2", 501, "Illegal assignment: 'Limit'", 2, 0},
    {"vbCrLf = 1", 501, "Illegal assignment: 'vbCrLf'", 1, 0},
    {"x = Nothing", 91, "Object variable not set", 1, 0},
    {"Set x = 5", 424, "Object required", 1, 0},
    {"x = y.z", 424, "Object required: 'y'", 1, 0},
    {"x = Err.Colour", 438, "Object doesn't support this property or method: 'Err.Colour'", 1, 0},
    {"For Each x In 5\nNext", 451, "Object not a collection", 1, 0},
    {"Err.Raise 1234, , \"Custom failure\"", 1234, "Custom failure", 1, 0},
    {"Function F(n)\n  F = F(n + 1)\nEnd Function\nx = F(1)", 28, "Out of stack space", 2, 2},
    {"Set fso = CreateObject(\"Scripting.FileSystemObject\")", 429,
     "ActiveX component can't create object: 'Scripting.FileSystemObject'", 1, 0},
    {"Set o = GetObject(\"winmgmts:\")", 429, "ActiveX component can't create object: 'winmgmts:'",
     1, 0},
    {"Set o = New RegExp", 429, "ActiveX component can't create object: 'RegExp'", 1, 0},
    {"Execute \"x = 1\"", 429, "ActiveX component can't create object: 'Execute'", 1, 0},
    {"ExecuteGlobal \"x = 1\"", 429, "ActiveX component can't create object: 'ExecuteGlobal'", 1,
     0},
    {"x = Eval(\"1 + 1\")", 429, "ActiveX component can't create object: 'Eval'", 1, 0},
};

INSTANTIATE_TEST_SUITE_P(Runtime, FailingCode, ::testing::ValuesIn(kRuntime));

class EvalErrors : public EngineTest {};

TEST_F(EvalErrors, PointIntoTheExpressionOrTheAddedCode) {
  EXPECT_EQ(EvalError("1 +"), 1023);
  EXPECT_EQ(engine_.LastError().line, 1);
  EXPECT_EQ(engine_.LastError().column, 3);
  EXPECT_EQ(engine_.LastError().text, "1 +");
  EXPECT_EQ(EvalError("1 2"), 1025);
  EXPECT_EQ(engine_.LastError().column, 2);
  EXPECT_EQ(EvalError("1 / 0"), 11);
  EXPECT_EQ(engine_.LastError().source, kRuntimeSource);
  EXPECT_EQ(engine_.LastError().text, "1 / 0");
  engine_.AddCode("' macros\nFunction Bad(x)\n  Bad = x / 0\nEnd Function");
  EXPECT_EQ(EvalError("Bad(1)"), 11);
  EXPECT_EQ(engine_.LastError().line, 3);
  EXPECT_EQ(engine_.LastError().column, 2);
  EXPECT_EQ(engine_.LastError().text, "  Bad = x / 0");
}

TEST_F(EvalErrors, OfOneCallLeaveTheEngineUsable) {
  engine_.AddCode("Function Twice(x)\n  Twice = x * 2\nEnd Function");
  EXPECT_EQ(EvalError("Twice(\"a\")"), 13);
  EXPECT_EQ(Text("Twice(4)"), "8");
  EXPECT_EQ(engine_.LastError().number, 0);
}

// Code that does not compile adds nothing; code that fails while running keeps its procedures.
TEST_F(EvalErrors, FailedAddCodeKeepsProceduresOnlyIfItCompiled) {
  EXPECT_EQ(AddError("Function Kept()\n  Kept = 1\nEnd Function\nx = (("), 1023);
  EXPECT_EQ(EvalError("Kept()"), 13);
  EXPECT_EQ(AddError("Function Kept()\n  Kept = 1\nEnd Function\nx = 1 / 0"), 11);
  EXPECT_EQ(Text("Kept()"), "1");
}

// Each built-in or operator checks its own ranges; the table above has the texts and positions.
TEST_F(EvalErrors, ValuesOutOfRangeOverflowOrAreInvalidArguments) {
  for (const char* e : {"CInt(40000)", "CLng(3000000000)", "CByte(-1)", "2 ^ 5000",
                        "1E+300 * 1E+300", "3000000000 \\ 2", "CDate(1E+300)", "Hex(1E+300)"})
    EXPECT_EQ(EvalError(e), 6) << e;
  for (const char* e :
       {"Left(\"abc\", -1)", "Chr(300)", "Sqr(-1)", "DateAdd(\"x\", 1, Now)",
        "DateSerial(-32768, -32768, -32768)", "DateAdd(\"yyyy\", 1E+300, Now)", "Err.Raise(0)"})
    EXPECT_EQ(EvalError(e), 5) << e;
}

TEST_F(EvalErrors, UndefinedNamesFailOnlyUnderOptionExplicit) {
  EXPECT_EQ(Text("IsEmpty(Unknown)"), "True");
  engine_.AddCode("Option Explicit\nDim Known");
  EXPECT_EQ(EvalError("Unknown"), 500);
  EXPECT_EQ(engine_.LastError().description, "Variable is undefined: 'Unknown'");
}

class Safety : public EngineTest {
 protected:
  Safety() { engine_.SetTimeBudget(std::chrono::milliseconds(200)); }
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
  EXPECT_EQ(AddError("x = #"), 1002);
  EXPECT_EQ(AddError("If x Then Else"), 0);
  EXPECT_EQ(AddError("f , "), 13);
  EXPECT_EQ(AddError("_"), 0);
  EXPECT_EQ(EvalError("&H"), 1002);
  EXPECT_EQ(AddError("x = " + std::string(300, 'a')), 1030);
  EXPECT_EQ(Text("FormatNumber(1E+300, 2, -1, 0, 0)").size(), 304u);
}

}  // namespace
}  // namespace gui::script::test
