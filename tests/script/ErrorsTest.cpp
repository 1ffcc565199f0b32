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
  const char* text;
};

void PrintTo(const ErrorCase& c, std::ostream* os) {
  *os << c.code;
}

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
  EXPECT_EQ(info.text, c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Compilation, FailingCode,
    ::testing::Values(
        ErrorCase{"x = 1\ny = ", 1023, "Expected expression", 2, 4, "y = "},
        ErrorCase{"x = 1 2", 1025, "Expected end of statement", 1, 6, "x = 1 2"},
        ErrorCase{"x = 12abc", 1025, "Expected end of statement", 1, 6, "x = 12abc"},
        ErrorCase{"x = \"open", 1033, "Unterminated string constant", 1, 4, "x = \"open"},
        ErrorCase{"x = 1 $ 2", 1032, "Invalid character", 1, 6, "x = 1 $ 2"},
        ErrorCase{"If x Then\n  y = 1\n", 1014, "Expected 'End'", 3, 0, ""},
        ErrorCase{"If x\n", 1017, "Expected 'Then'", 1, 4, "If x"},
        ErrorCase{"Function F()\nEnd Sub", 1015, "Expected 'Function'", 2, 4, "End Sub"},
        ErrorCase{"Sub S()\nEnd Function", 1016, "Expected 'Sub'", 2, 4, "End Function"},
        ErrorCase{"For i = 1 To 2\n  x = i\nLoop", 1020, "Expected 'Next'", 3, 0, "Loop"},
        ErrorCase{"For i = 1 2", 1013, "Expected 'To'", 1, 10, "For i = 1 2"},
        ErrorCase{"Do\n  x = 1\n", 1019, "Expected 'Loop'", 3, 0, ""},
        ErrorCase{"While True\n", 1018, "Expected 'Wend'", 2, 0, ""},
        ErrorCase{"Select Case x\nEnd If", 1022, "Expected 'Select'", 2, 4, "End If"},
        ErrorCase{"Dim a, b, a", 1041, "Name redefined", 1, 10, "Dim a, b, a"},
        ErrorCase{"Function F(a, a)\nEnd Function", 1041, "Name redefined", 1, 14,
                  "Function F(a, a)"},
        ErrorCase{"Sub S(a, b)\nEnd Sub\nS(1, 2)", 1044,
                  "Cannot use parentheses when calling a Sub", 3, 0, "S(1, 2)"},
        ErrorCase{"Exit Do", 1039, "Invalid 'exit' statement", 1, 5, "Exit Do"},
        ErrorCase{"x = (1 + 2", 1006, "Expected ')'", 1, 10, "x = (1 + 2"},
        ErrorCase{"Dim a(n)", 1026, "Expected integer constant", 1, 6, "Dim a(n)"},
        ErrorCase{"Const c = 1 + 2", 1025, "Expected end of statement", 1, 12, "Const c = 1 + 2"},
        ErrorCase{"Const c = x", 1045, "Expected literal constant", 1, 10, "Const c = x"},
        ErrorCase{"Next", 1055, "Unexpected 'Next'", 1, 0, "Next"},
        ErrorCase{"Loop", 1038, "'loop' without 'do'", 1, 0, "Loop"},
        ErrorCase{"Dim 5", 1010, "Expected identifier", 1, 4, "Dim 5"},
        ErrorCase{"For Each x Array(1)\nNext", 1046, "Expected 'In'", 1, 11, "For Each x Array(1)"},
        ErrorCase{"Class Person\nEnd Class", 1024, "Expected statement", 1, 0, "Class Person"},
        ErrorCase{"With x\nEnd With", 1024, "Expected statement", 1, 0, "With x"},
        ErrorCase{"x = Me", 1037, "Invalid use of 'Me' keyword", 1, 4, "x = Me"},
        ErrorCase{"x = #13/45/2007#", 1002, "Syntax error", 1, 4, "x = #13/45/2007#"},
        ErrorCase{"On Error GoTo Handler", 1002, "Syntax error", 1, 14, "On Error GoTo Handler"},
        ErrorCase{"x = 1 + _\n  + _\n  )", 1023, "Expected expression", 3, 2, "  )"}));

INSTANTIATE_TEST_SUITE_P(
    Runtime, FailingCode,
    ::testing::Values(
        ErrorCase{"Option Explicit\nDim a\nb = 1", 500, "Variable is undefined: 'b'", 3, 0,
                  "b = 1"},
        ErrorCase{"Option Explicit\nx = Missing + 1", 500, "Variable is undefined: 'Missing'", 2, 0,
                  "x = Missing + 1"},
        ErrorCase{"x = 1\n  y = x / 0", 11, "Division by zero", 2, 2, "  y = x / 0"},
        ErrorCase{"y = 0 / 0", 6, "Overflow", 1, 0, "y = 0 / 0"},
        ErrorCase{"y = 5 Mod 0", 11, "Division by zero", 1, 0, "y = 5 Mod 0"},
        ErrorCase{"Function F()\n  F = CInt(\"abc\")\nEnd Function\nx = F()", 13, "Type mismatch",
                  2, 2, "  F = CInt(\"abc\")"},
        ErrorCase{"x = \"a\" + 1", 13, "Type mismatch", 1, 0, "x = \"a\" + 1"},
        ErrorCase{"x = Array(1) & \"\"", 13, "Type mismatch", 1, 0, "x = Array(1) & \"\""},
        ErrorCase{"x = Undefined(1)", 13, "Type mismatch: 'Undefined'", 1, 0, "x = Undefined(1)"},
        ErrorCase{"x = 5\ny = x(0)", 13, "Type mismatch: 'x'", 2, 0, "y = x(0)"},
        ErrorCase{"x = CInt(40000)", 6, "Overflow", 1, 0, "x = CInt(40000)"},
        ErrorCase{"x = CLng(3000000000)", 6, "Overflow", 1, 0, "x = CLng(3000000000)"},
        ErrorCase{"x = CByte(-1)", 6, "Overflow", 1, 0, "x = CByte(-1)"},
        ErrorCase{"x = 2 ^ 5000", 6, "Overflow", 1, 0, "x = 2 ^ 5000"},
        ErrorCase{"x = 1E+300 * 1E+300", 6, "Overflow", 1, 0, "x = 1E+300 * 1E+300"},
        ErrorCase{"x = 3000000000 \\ 2", 6, "Overflow", 1, 0, "x = 3000000000 \\ 2"},
        ErrorCase{"Dim a(2)\na(3) = 1", 9, "Subscript out of range", 2, 0, "a(3) = 1"},
        ErrorCase{"a = Array(1)\nx = a(0, 0)", 9, "Subscript out of range", 2, 0, "x = a(0, 0)"},
        ErrorCase{"x = UBound(Array(1), 2)", 9, "Subscript out of range", 1, 0,
                  "x = UBound(Array(1), 2)"},
        ErrorCase{"Dim a(2)\nReDim a(5)", 10, "This array is fixed or temporarily locked", 2, 0,
                  "ReDim a(5)"},
        ErrorCase{"x = Mid(\"abc\", 0)", 5, "Invalid procedure call or argument", 1, 0,
                  "x = Mid(\"abc\", 0)"},
        ErrorCase{"x = Left(\"abc\", -1)", 5, "Invalid procedure call or argument", 1, 0,
                  "x = Left(\"abc\", -1)"},
        ErrorCase{"x = Chr(300)", 5, "Invalid procedure call or argument", 1, 0, "x = Chr(300)"},
        ErrorCase{"x = Sqr(-1)", 5, "Invalid procedure call or argument", 1, 0, "x = Sqr(-1)"},
        ErrorCase{"x = DateAdd(\"x\", 1, Now)", 5, "Invalid procedure call or argument", 1, 0,
                  "x = DateAdd(\"x\", 1, Now)"},
        ErrorCase{"x = CStr(Null)", 94, "Invalid use of Null", 1, 0, "x = CStr(Null)"},
        ErrorCase{"x = Len()", 450,
                  "Wrong number of arguments or invalid property assignment: 'Len'", 1, 0,
                  "x = Len()"},
        ErrorCase{"Sub S(a)\nEnd Sub\nS 1, 2", 450,
                  "Wrong number of arguments or invalid property assignment: 'S'", 3, 0, "S 1, 2"},
        ErrorCase{"Const Limit = 1\nLimit = 2", 501, "Illegal assignment: 'Limit'", 2, 0,
                  "Limit = 2"},
        ErrorCase{"vbCrLf = 1", 501, "Illegal assignment: 'vbCrLf'", 1, 0, "vbCrLf = 1"},
        ErrorCase{"x = Nothing", 91, "Object variable not set", 1, 0, "x = Nothing"},
        ErrorCase{"Set x = 5", 424, "Object required", 1, 0, "Set x = 5"},
        ErrorCase{"x = y.z", 424, "Object required: 'y'", 1, 0, "x = y.z"},
        ErrorCase{"x = Err.Colour", 438,
                  "Object doesn't support this property or method: 'Err.Colour'", 1, 0,
                  "x = Err.Colour"},
        ErrorCase{"For Each x In 5\nNext", 451, "Object not a collection", 1, 0, "For Each x In 5"},
        ErrorCase{"Err.Raise 1234, , \"Custom failure\"", 1234, "Custom failure", 1, 0,
                  "Err.Raise 1234, , \"Custom failure\""},
        ErrorCase{"Function F(n)\n  F = F(n + 1)\nEnd Function\nx = F(1)", 28, "Out of stack space",
                  2, 2, "  F = F(n + 1)"}));

INSTANTIATE_TEST_SUITE_P(
    Unsupported, FailingCode,
    ::testing::Values(
        ErrorCase{"Set fso = CreateObject(\"Scripting.FileSystemObject\")", 429,
                  "ActiveX component can't create object: 'Scripting.FileSystemObject'", 1, 0,
                  "Set fso = CreateObject(\"Scripting.FileSystemObject\")"},
        ErrorCase{"Set o = GetObject(\"winmgmts:\")", 429,
                  "ActiveX component can't create object: 'winmgmts:'", 1, 0,
                  "Set o = GetObject(\"winmgmts:\")"},
        ErrorCase{"Set o = New RegExp", 429, "ActiveX component can't create object: 'RegExp'", 1,
                  0, "Set o = New RegExp"},
        ErrorCase{"Execute \"x = 1\"", 429, "ActiveX component can't create object: 'Execute'", 1,
                  0, "Execute \"x = 1\""},
        ErrorCase{"ExecuteGlobal \"x = 1\"", 429,
                  "ActiveX component can't create object: 'ExecuteGlobal'", 1, 0,
                  "ExecuteGlobal \"x = 1\""},
        ErrorCase{"x = Eval(\"1 + 1\")", 429, "ActiveX component can't create object: 'Eval'", 1, 0,
                  "x = Eval(\"1 + 1\")"}));

class EvalErrors : public EngineTest {};

TEST_F(EvalErrors, ReportPositionsWithinTheExpression) {
  EXPECT_EQ(EvalError("1 +"), 1023);
  EXPECT_EQ(engine_.LastError().line, 1);
  EXPECT_EQ(engine_.LastError().column, 3);
  EXPECT_EQ(engine_.LastError().text, "1 +");
  EXPECT_EQ(EvalError("1 2"), 1025);
  EXPECT_EQ(engine_.LastError().column, 2);
  EXPECT_EQ(EvalError("1 / 0"), 11);
  EXPECT_EQ(engine_.LastError().source, kRuntimeSource);
  EXPECT_EQ(engine_.LastError().text, "1 / 0");
}

TEST_F(EvalErrors, InsideAFunctionPointAtTheAddedCode) {
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

TEST_F(EvalErrors, CompileFailureAddsNothing) {
  EXPECT_EQ(AddError("Function Kept()\n  Kept = 1\nEnd Function\nx = (("), 1023);
  EXPECT_EQ(EvalError("Kept()"), 13);
}

TEST_F(EvalErrors, RuntimeFailureKeepsTheProcedures) {
  EXPECT_EQ(AddError("Function Kept()\n  Kept = 1\nEnd Function\nx = 1 / 0"), 11);
  EXPECT_EQ(Text("Kept()"), "1");
}

TEST_F(EvalErrors, UndefinedNamesFailOnlyUnderOptionExplicit) {
  EXPECT_EQ(Text("IsEmpty(Unknown)"), "True");
  engine_.AddCode("Option Explicit\nDim Known");
  EXPECT_EQ(EvalError("Unknown"), 500);
  EXPECT_EQ(engine_.LastError().description, "Variable is undefined: 'Unknown'");
}

}  // namespace
}  // namespace gui::script::test
