#include "tests/script/ScriptTestSupport.h"

namespace gui::script::test {
namespace {

// A piece of code and the text of an expression evaluated after it.
struct ProgramCase {
  const char* code;
  const char* expression;
  const char* expected;
};

void PrintTo(const ProgramCase& c, std::ostream* os) {
  *os << c.code;
}

class Programs : public ::testing::TestWithParam<ProgramCase> {};

TEST_P(Programs, LeaveTheExpectedState) {
  ScriptEngine engine;
  UseFixedClock(engine);
  engine.AddCode(GetParam().code);
  EXPECT_EQ(engine.EvalToText(GetParam().expression), GetParam().expected) << GetParam().code;
}

INSTANTIATE_TEST_SUITE_P(
    Declarations, Programs,
    ::testing::Values(
        ProgramCase{"Dim x\nx = 5", "x * 2", "10"}, ProgramCase{"X = 5", "x", "5"},
        ProgramCase{"Const Title = \"Report\", Pi = 3.14", "Title & Pi", "Report3.14"},
        ProgramCase{"Const Negative = -5", "Negative", "-5"},
        ProgramCase{"Public a, b\nPrivate c\na = 1: b = 2: c = 3", "a + b + c", "6"},
        ProgramCase{"x = 1 ' a comment\nRem another\ny = 2 : Rem and another", "x + y", "3"},
        ProgramCase{"s = \"a\" & _\n    \"b\" & _\n    \"c\"", "s", "abc"},
        ProgramCase{"s = \"say \"\"hi\"\"\"", "s", "say \"hi\""},
        ProgramCase{"Option Explicit\nDim n\nn = 3", "n", "3"},
        ProgramCase{"Dim [my value]\n[my value] = 4", "[my value]", "4"},
        ProgramCase{"x = 1\nSub S : x = 2 : End Sub\nS", "x", "2"},
        ProgramCase{"Dim d\nd = #3/3/2007 7:05:09 PM#", "d", "3/3/2007 7:05:09 PM"},
        ProgramCase{"Set o = Nothing", "o Is Nothing", "True"},
        ProgramCase{"Let v = 9", "v", "9"}));

INSTANTIATE_TEST_SUITE_P(
    Procedures, Programs,
    ::testing::Values(
        ProgramCase{"Function Add(a, b)\n  Add = a + b\nEnd Function", "Add(2, 3)", "5"},
        ProgramCase{"Function Fact(n)\n  If n <= 1 Then Fact = 1 Else Fact = n * Fact(n - 1)\n"
                    "End Function",
                    "Fact(10)", "3628800"},
        ProgramCase{"Function Half(n)\n  Half = n / 2\n  Exit Function\n  Half = 0\nEnd Function",
                    "Half(5)", "2.5"},
        ProgramCase{"Function NoValue()\nEnd Function", "IsEmpty(NoValue())", "True"},
        ProgramCase{"Function Hello\n Hello = \"hi\"\nEnd Function", "Hello & Hello()", "hihi"},
        ProgramCase{"Sub Inc(ByRef n)\n n = n + 1\nEnd Sub\nx = 1\nInc x\nCall Inc(x)", "x", "3"},
        ProgramCase{"Sub Inc(n)\n n = n + 1\nEnd Sub\nx = 1\nInc (x)", "x", "1"},
        ProgramCase{"Sub Inc(ByVal n)\n n = n + 1\nEnd Sub\nx = 1\nInc x", "x", "1"},
        ProgramCase{"Sub Two(a, b)\n a = a & b\nEnd Sub\ns = \"x\"\nTwo s, \"y\"", "s", "xy"},
        ProgramCase{"Sub SetFirst(arr)\n arr(0) = 9\nEnd Sub\nDim a(2)\nSetFirst a", "a(0)", "9"},
        ProgramCase{
            "Function F()\n  F = G() + 1\nEnd Function\nFunction G()\n  G = 1\nEnd Function", "F()",
            "2"},
        ProgramCase{"x = Later()\nFunction Later()\n Later = 7\nEnd Function", "x", "7"},
        ProgramCase{"Function Local()\n Dim x\n x = 5\n Local = x\nEnd Function\nx = 1",
                    "Local() & x", "51"},
        ProgramCase{"Function Shadow()\n y = 5\n Shadow = y\nEnd Function", "Shadow() & IsEmpty(y)",
                    "5True"},
        ProgramCase{"g = 1\nFunction UseGlobal()\n g = g + 1\n UseGlobal = g\nEnd Function",
                    "UseGlobal() + g", "4"},
        ProgramCase{"Function Late()\n z = 3\n Dim z\n Late = z\nEnd Function", "Late()", "3"},
        ProgramCase{"Function K()\n Const Size = 4\n K = Size * 2\nEnd Function", "K()", "8"},
        ProgramCase{"Private Function P(x)\n P = -x\nEnd Function", "P(3)", "-3"},
        ProgramCase{"Dim Shown\nSub Show(v)\n Shown = v\nEnd Sub\nFunction F(x)\n"
                    " Show (x) & \"!\"\nEnd Function\nF \"a\"",
                    "Shown", "a!"}));

INSTANTIATE_TEST_SUITE_P(
    Branches, Programs,
    ::testing::Values(
        ProgramCase{"x = 5\nIf x > 3 Then\n r = \"big\"\nElseIf x > 1 Then\n r = \"mid\"\nElse\n"
                    " r = \"small\"\nEnd If",
                    "r", "big"},
        ProgramCase{"x = 2\nIf x > 3 Then\n r = \"big\"\nElseIf x > 1 Then\n r = \"mid\"\nEnd If",
                    "r", "mid"},
        ProgramCase{"If False Then r = 1 Else r = 2 : q = 3", "r & q", "23"},
        ProgramCase{"If True Then r = 1 : q = 2", "r & q", "12"},
        ProgramCase{"If Null Then r = 1 Else r = 2", "r", "2"},
        ProgramCase{"If 1 Then If 0 Then r = 1 Else r = 2", "r", "2"},
        ProgramCase{"x = 7\nSelect Case x\n Case 1, 2\n  r = \"a\"\n Case 3 To 8\n  r = \"b\"\n"
                    " Case Else\n  r = \"c\"\nEnd Select",
                    "r", "b"},
        ProgramCase{"x = 20\nSelect Case x\n Case Is < 10: r = \"a\"\n Case Is >= 20: r = \"b\"\n"
                    "End Select",
                    "r", "b"},
        ProgramCase{"x = \"pdf\"\nSelect Case LCase(x)\n Case \"doc\", \"pdf\"\n  r = 1\n"
                    " Case Else\n  r = 2\nEnd Select",
                    "r", "1"},
        ProgramCase{"Select Case 99\n Case 1\n  r = 1\nEnd Select", "IsEmpty(r)", "True"},
        ProgramCase{"x = \"2\"\nSelect Case x\n Case 2: r = \"matched\"\nEnd Select", "r",
                    "matched"}));

INSTANTIATE_TEST_SUITE_P(
    Loops, Programs,
    ::testing::Values(
        ProgramCase{"For i = 1 To 5\n s = s & i\nNext", "s & \"/\" & i", "12345/6"},
        ProgramCase{"For i = 10 To 1 Step -3\n s = s & i & \",\"\nNext", "s", "10,7,4,1,"},
        ProgramCase{"For i = 0 To 1 Step 0.25\n n = n + 1\nNext", "n", "5"},
        ProgramCase{"For i = 1 To 0\n n = 1\nNext", "IsEmpty(n) & i", "True1"},
        ProgramCase{"For i = 1 To 10\n If i = 4 Then Exit For\nNext", "i", "4"},
        ProgramCase{"For Each x In Array(1, 2, 3)\n t = t + x\nNext", "t", "6"},
        ProgramCase{"For Each w In Split(\"a b\")\n s = w & s\nNext", "s", "ba"},
        ProgramCase{"Do While n < 3\n n = n + 1\nLoop", "n", "3"},
        ProgramCase{"Do Until n >= 3\n n = n + 1\nLoop", "n", "3"},
        ProgramCase{"Do\n n = n + 1\nLoop While n < 0", "n", "1"},
        ProgramCase{"Do\n n = n + 1\nLoop Until n = 4", "n", "4"},
        ProgramCase{"Do\n n = n + 1\n If n = 6 Then Exit Do\nLoop", "n", "6"},
        ProgramCase{"While n < 5\n n = n + 2\nWend", "n", "6"},
        ProgramCase{
            "For i = 1 To 3\n For j = 1 To 3\n  If j = 2 Then Exit For\n  c = c + 1\n Next\n"
            "Next",
            "c", "3"},
        ProgramCase{"Do\n For i = 1 To 3\n  If i = 2 Then Exit Do\n Next\nLoop", "i", "2"},
        ProgramCase{"Function FirstEven(a)\n For Each x In a\n  If x Mod 2 = 0 Then\n"
                    "   FirstEven = x\n   Exit Function\n  End If\n Next\nEnd Function",
                    "FirstEven(Array(3, 5, 8, 10))", "8"}));

INSTANTIATE_TEST_SUITE_P(
    Arrays, Programs,
    ::testing::Values(
        ProgramCase{"Dim a(2)\na(0) = \"x\": a(2) = \"z\"", "Join(a, \"-\")", "x--z"},
        ProgramCase{"Dim m(1, 2)\nm(1, 2) = 5", "m(1, 2) & UBound(m, 1) & UBound(m, 2)", "512"},
        ProgramCase{"Dim a()\nReDim a(3)\na(3) = 1", "UBound(a) & a(3)", "31"},
        ProgramCase{"ReDim a(1)\na(0) = 7\nReDim Preserve a(4)", "UBound(a) & a(0)", "47"},
        ProgramCase{"ReDim a(1)\na(0) = 7\nReDim a(4)", "IsEmpty(a(0))", "True"},
        ProgramCase{"ReDim m(1, 1)\nm(1, 1) = 3\nReDim Preserve m(1, 3)", "m(1, 1) & UBound(m, 2)",
                    "33"},
        ProgramCase{"a = Array(1, 2)\nb = a\nb(0) = 9", "a(0) & b(0)", "19"},
        ProgramCase{"Dim a(1)\na(0) = 1\nErase a", "IsEmpty(a(0)) & UBound(a)", "True1"},
        ProgramCase{"a = Array(Array(1, 2), 3)", "a(0)(1)", "2"},
        ProgramCase{"Dim a(2)\nFor i = 0 To 2 : a(i) = i * i : Next", "Join(a, \",\")", "0,1,4"}));

INSTANTIATE_TEST_SUITE_P(
    ErrorHandling, Programs,
    ::testing::Values(
        ProgramCase{"On Error Resume Next\nx = 1 / 0\ny = 2",
                    "Err.Number & \"|\" & Err.Description & \"|\" & y", "11|Division by zero|2"},
        ProgramCase{"On Error Resume Next\nx = CInt(\"abc\")\nn = Err.Number\nErr.Clear",
                    "n & Err.Number", "130"},
        ProgramCase{"On Error Resume Next\nErr.Raise 5\nn = Err\nOn Error GoTo 0", "n & Err.Number",
                    "50"},
        ProgramCase{"On Error Resume Next\nErr.Raise vbObjectError + 1, \"My.Source\", \"Mine\"",
                    "Err.Number & \"|\" & Err.Source & \"|\" & Err.Description",
                    "-2147221503|My.Source|Mine"},
        ProgramCase{"On Error Resume Next\nErr.Raise 1000", "Err.Description",
                    "Unknown runtime error"},
        ProgramCase{"Sub Fails()\n x = 1 / 0\n Reached = True\nEnd Sub\n"
                    "On Error Resume Next\nFails\nAfter = True",
                    "IsEmpty(Reached) & After", "TrueTrue"},
        ProgramCase{"Function Safe(v)\n On Error Resume Next\n Safe = CLng(v)\n"
                    " If Err.Number <> 0 Then Safe = -1\nEnd Function",
                    "Safe(\"x\") & Safe(\"4\")", "-14"},
        ProgramCase{"On Error Resume Next\nErr.Raise 6\nn = Err.Source", "n",
                    "Microsoft VBScript runtime error"}));

}  // namespace
}  // namespace gui::script::test
