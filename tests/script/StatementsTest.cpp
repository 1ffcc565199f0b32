#include "tests/script/ScriptTestSupport.h"

namespace gui::script::test {
namespace {

// A piece of code and the text of an expression evaluated after it.
struct ProgramCase {
  const char* code;
  const char* expression;
  const char* expected;
  friend void PrintTo(const ProgramCase& c, std::ostream* os) { *os << c.code; }
};

class Programs : public EngineTest, public ::testing::WithParamInterface<ProgramCase> {};

TEST_P(Programs, LeaveTheExpectedState) {
  engine_.AddCode(GetParam().code);
  EXPECT_EQ(Text(GetParam().expression), GetParam().expected);
}

const ProgramCase kDeclarations[] = {
    {"Dim x\nx = 5", "x * 2", "10"},
    {"X = 5", "x", "5"},
    {"Const Title = \"Report\", Pi = 3.14", "Title & Pi", "Report3.14"},
    {"Const Negative = -5", "Negative", "-5"},
    {"Public a, b\nPrivate c\na = 1: b = 2: c = 3", "a + b + c", "6"},
    {"x = 1 ' a comment\nRem another\ny = 2 : Rem and another\nremark = 3", "x + y + remark", "6"},
    {"s = \"a\" & _\n    \"b\" & _\n    \"c\" ' note", "s", "abc"},
    {"s = \"say \"\"hi\"\"\"", "s", "say \"hi\""},
    {"Dim [my value]\n[my value] = 4", "[my value]", "4"},
    {"x = 1\nSub S : x = 2 : End Sub\nS", "x", "2"},
    {"Dim d\nd = #3/3/2007 7:05:09 PM#", "d", "3/3/2007 7:05:09 PM"},
    {"Set o = Nothing", "o Is Nothing", "True"},
    {"Let v = 9", "v", "9"},
    {"Dim [End], Step\nIF True THEN\n  [End] = 1 : Step = 2\nend if", "[End] + Step", "3"},
    {"Calls = Calls + 1", "Calls", "1"},
};

INSTANTIATE_TEST_SUITE_P(Declarations, Programs, ::testing::ValuesIn(kDeclarations));

const ProgramCase kProceduresAndScopes[] = {
    {"Function Add(a, b)\n  Add = a + b\nEnd Function", "Add(2, 3)", "5"},
    {"Function Fact(n)\n  If n <= 1 Then Fact = 1 Else Fact = n * Fact(n - 1)\n"
     "End Function",
     "Fact(10)", "3628800"},
    {"Function Half(n)\n  Half = n / 2\n  Exit Function\n  Half = 0\nEnd Function", "Half(5)",
     "2.5"},
    {"Function NoValue()\nEnd Function", "IsEmpty(NoValue())", "True"},
    {"Function Hello\n Hello = \"hi\"\nEnd Function", "Hello & Hello()", "hihi"},
    {"Sub Inc(ByRef n)\n n = n + 1\nEnd Sub\nx = 1\nInc x\nCall Inc(x)", "x", "3"},
    {"Sub Inc(n)\n n = n + 1\nEnd Sub\nx = 1\nInc (x)", "x", "1"},
    {"Sub Inc(ByVal n)\n n = n + 1\nEnd Sub\nx = 1\nInc x", "x", "1"},
    {"Sub Two(a, b)\n a = a & b\nEnd Sub\ns = \"x\"\nTwo s, \"y\"", "s", "xy"},
    {"x = Later()\nFunction Later()\n Later = 7\nEnd Function", "x", "7"},
    {"Function Local()\n Dim x\n x = 5\n Local = x\nEnd Function\nx = 1", "Local() & x", "51"},
    {"Function Shadow()\n y = 5\n Shadow = y\nEnd Function", "Shadow() & IsEmpty(y)", "5True"},
    {"g = 1\nFunction UseGlobal()\n g = g + 1\n UseGlobal = g\nEnd Function", "UseGlobal() + g",
     "4"},
    {"Function Late()\n z = 3\n Dim z\n Late = z\nEnd Function", "Late()", "3"},
    {"Function K()\n Const Size = 4\n K = Size * 2\nEnd Function", "K()", "8"},
    {"Private Function P(x)\n P = -x\nEnd Function", "P(3)", "-3"},
    {"Dim Shown\nSub Show(v)\n Shown = v\nEnd Sub\nFunction F(x)\n"
     " Show (x) & \"!\"\nEnd Function\nF \"a\"",
     "Shown", "a!"},
    {"Function Inner()\n  Inner = 1 / 0\n  Inner = 5\nEnd Function\n"
     "Function Outer()\n  On Error Resume Next\n  Outer = Inner()\n"
     "  Outer = Outer & \"|\" & Err.Number\nEnd Function",
     "Outer()", "|11"},
    {"Function Fails()\n  On Error Resume Next\n  Fails = 1 / 0\n  Exit Function\n"
     "End Function\nFunction Check()\n  On Error Resume Next\n  Err.Raise 9\n"
     "  Check = Err.Number\n  On Error GoTo 0\n  Check = Check & Err.Number\n"
     "End Function",
     "Fails() & Err.Number & \"|\" & Check()", "0|90"},
    {"Const Fixed = 1\nDim g, list(1)\nSub Bump(ByRef v)\n  v = v + 10\nEnd Sub\n"
     "Sub Fill(a)\n  a(1) = \"filled\"\nEnd Sub\ng = 1\nBump g\nBump Fixed\nFill list",
     "g & Fixed & list(1) & list(0)", "111filled"},
    {"Function Changed(ByVal a)\n  a(0) = \"new\"\n  Changed = a(0)\nEnd Function\n"
     "Dim original\noriginal = Array(\"old\")",
     "Changed(original) & original(0)", "newold"},
    {"Function Counter()\n  Dim n\n  n = n + 1\n  Counter = n\nEnd Function",
     "Counter() + Counter() & IsEmpty(n)", "2True"},
};

INSTANTIATE_TEST_SUITE_P(ProceduresAndScopes, Programs, ::testing::ValuesIn(kProceduresAndScopes));

const ProgramCase kBranchesAndLoops[] = {
    {"x = 5\nIf x > 3 Then\n r = \"big\"\nElseIf x > 1 Then\n r = \"mid\"\nElse\n"
     " r = \"small\"\nEnd If",
     "r", "big"},
    {"x = 2\nIf x > 3 Then\n r = \"big\"\nElseIf x > 1 Then\n r = \"mid\"\nEnd If", "r", "mid"},
    {"If False Then r = 1 Else r = 2 : q = 3", "r & q", "23"},
    {"If True Then r = 1 : q = 2", "r & q", "12"},
    {"If Null Then r = 1 Else r = 2", "r", "2"},
    {"If 1 Then If 0 Then r = 1 Else r = 2", "r", "2"},
    {"x = 7\nSelect Case x\n Case 1, 2\n  r = \"a\"\n Case 3 To 8\n  r = \"b\"\n"
     " Case Else\n  r = \"c\"\nEnd Select",
     "r", "b"},
    {"x = 20\nSelect Case x\n Case Is < 10: r = \"a\"\n Case Is >= 20: r = \"b\"\n"
     "End Select",
     "r", "b"},
    {"x = \"pdf\"\nSelect Case LCase(x)\n Case \"doc\", \"pdf\"\n  r = 1\n"
     " Case Else\n  r = 2\nEnd Select",
     "r", "1"},
    {"Select Case 99\n Case 1\n  r = 1\nEnd Select", "IsEmpty(r)", "True"},
    {"x = \"2\"\nSelect Case x\n Case 2: r = \"matched\"\nEnd Select", "r", "matched"},
    {"For i = 1 To 5\n s = s & i\nNext", "s & \"/\" & i", "12345/6"},
    {"For i = 10 To 1 Step -3\n s = s & i & \",\"\nNext", "s", "10,7,4,1,"},
    {"For i = 0 To 1 Step 0.25\n n = n + 1\nNext", "n", "5"},
    {"For i = 1 To 0\n n = 1\nNext", "IsEmpty(n) & i", "True1"},
    {"For i = 1 To 10\n If i = 4 Then Exit For\nNext", "i", "4"},
    {"For Each x In Array(1, 2, 3)\n t = t + x\nNext", "t", "6"},
    {"Do While n < 3\n n = n + 1\nLoop", "n", "3"},
    {"Do Until n >= 3\n n = n + 1\nLoop", "n", "3"},
    {"Do\n n = n + 1\nLoop While n < 0", "n", "1"},
    {"Do\n n = n + 1\nLoop Until n = 4", "n", "4"},
    {"Do\n n = n + 1\n If n = 6 Then Exit Do\nLoop", "n", "6"},
    {"While n < 5\n n = n + 2\nWend", "n", "6"},
    {"For i = 1 To 3\n For j = 1 To 3\n  If j = 2 Then Exit For\n  c = c + 1\n Next\n"
     "Next",
     "c", "3"},
    {"Do\n For i = 1 To 3\n  If i = 2 Then Exit Do\n Next\nLoop", "i", "2"},
    {"Function FirstEven(a)\n For Each x In a\n  If x Mod 2 = 0 Then\n"
     "   FirstEven = x\n   Exit Function\n  End If\n Next\nEnd Function",
     "FirstEven(Array(3, 5, 8, 10))", "8"},
};

INSTANTIATE_TEST_SUITE_P(BranchesAndLoops, Programs, ::testing::ValuesIn(kBranchesAndLoops));

const ProgramCase kArrays[] = {
    {"Dim a(2)\na(0) = \"x\": a(2) = \"z\"", "Join(a, \"-\")", "x--z"},
    {"Dim m(1, 2)\nm(1, 2) = 5", "m(1, 2) & UBound(m, 1) & UBound(m, 2)", "512"},
    {"Dim a()\nReDim a(3)\na(3) = 1", "UBound(a) & a(3)", "31"},
    {"ReDim a(1)\na(0) = 7\nReDim Preserve a(4)", "UBound(a) & a(0)", "47"},
    {"ReDim a(1)\na(0) = 7\nReDim a(4)", "IsEmpty(a(0))", "True"},
    {"ReDim m(1, 1)\nm(1, 1) = 3\nReDim Preserve m(1, 3)", "m(1, 1) & UBound(m, 2)", "33"},
    {"a = Array(1, 2)\nb = a\nb(0) = 9", "a(0) & b(0)", "19"},
    {"Dim a(1)\na(0) = 1\nErase a", "IsEmpty(a(0)) & UBound(a)", "True1"},
    {"a = Array(Array(1, 2), 3)", "a(0)(1)", "2"},
    {"Dim a(2)\nFor i = 0 To 2 : a(i) = i * i : Next", "Join(a, \",\")", "0,1,4"},
};

INSTANTIATE_TEST_SUITE_P(Arrays, Programs, ::testing::ValuesIn(kArrays));

const ProgramCase kErrorHandling[] = {
    {"On Error Resume Next\nx = 1 / 0\ny = 2", "Err.Number & \"|\" & Err.Description & \"|\" & y",
     "11|Division by zero|2"},
    {"On Error Resume Next\nx = CInt(\"abc\")\nn = Err.Number\nErr.Clear", "n & Err.Number", "130"},
    {"On Error Resume Next\nErr.Raise 5\nn = Err\nOn Error GoTo 0", "n & Err.Number", "50"},
    {"On Error Resume Next\nErr.Raise vbObjectError + 1, \"My.Source\", \"Mine\"",
     "Err.Number & \"|\" & Err.Source & \"|\" & Err.Description", "-2147221503|My.Source|Mine"},
    {"On Error Resume Next\nErr.Raise 1000", "Err.Description", "Unknown runtime error"},
    {"Sub Fails()\n x = 1 / 0\n Reached = True\nEnd Sub\n"
     "On Error Resume Next\nFails\nAfter = True",
     "IsEmpty(Reached) & After", "TrueTrue"},
    {"Function Safe(v)\n On Error Resume Next\n Safe = CLng(v)\n"
     " If Err.Number <> 0 Then Safe = -1\nEnd Function",
     "Safe(\"x\") & Safe(\"4\")", "-14"},
    {"On Error Resume Next\nErr.Raise 6\nn = Err.Source", "n", "Microsoft VBScript runtime error"},
};

INSTANTIATE_TEST_SUITE_P(ErrorHandling, Programs, ::testing::ValuesIn(kErrorHandling));

class Scopes : public EngineTest {};

TEST_F(Scopes, LaterCodeSeesAndReplacesEarlierDefinitions) {
  engine_.AddCode("Dim Shared\nShared = 1\nFunction Version()\n  Version = 1\nEnd Function");
  engine_.AddCode("Shared = Shared + 1\nFunction Version()\n  Version = 2\nEnd Function");
  EXPECT_EQ(Text("Shared & Version()"), "22");
}

TEST_F(Scopes, TheClockCanBeFixed) {
  engine_.SetClock([] { return LocalDateTime{1999, 12, 31, 23, 59, 59, 0}; });
  EXPECT_EQ(Text("Now"), "12/31/1999 11:59:59 PM");
  EXPECT_EQ(Text("DateAdd(\"s\", 1, Now)"), "1/1/2000");
  EXPECT_EQ(Text("CDate(\"6/1\")"), "6/1/1999");
}

// A macro file of the kind users keep in the macros folder.
constexpr const char* kChooseFolder = R"(Option Explicit

Dim Folders(2, 1)
Folders(0, 0) = "invoice" : Folders(0, 1) = "Accounts\Invoices"
Folders(1, 0) = "offer"   : Folders(1, 1) = "Sales\Offers"
Folders(2, 0) = "report"  : Folders(2, 1) = "Reports"

Function FolderFor(docName)
  Dim i, name
  name = LCase(docName)
  FolderFor = "Unsorted"
  For i = 0 To UBound(Folders, 1)
    If InStr(1, name, Folders(i, 0), vbTextCompare) > 0 Then
      FolderFor = Folders(i, 1)
      Exit Function
    End If
  Next
End Function

Function ByExtension(docName)
  Dim dot
  dot = InStrRev(docName, ".")
  If dot = 0 Then ByExtension = "Other" : Exit Function
  Select Case LCase(Mid(docName, dot + 1))
    Case "doc", "docx", "odt"
      ByExtension = "Documents"
    Case "xls", "xlsx"
      ByExtension = "Spreadsheets"
    Case Else
      ByExtension = "Other"
  End Select
End Function
)";

class MacroFiles : public EngineTest {};

TEST_F(MacroFiles, ChoosingAFolderByTheDocumentName) {
  engine_.AddCode(kChooseFolder);
  EXPECT_EQ(Text("FolderFor(\"Invoice 2007-031.pdf\")"), "Accounts\\Invoices");
  EXPECT_EQ(Text("FolderFor(\"Monthly REPORT.doc\")"), "Reports");
  EXPECT_EQ(Text("FolderFor(\"holiday.jpg\")"), "Unsorted");
  EXPECT_EQ(Text("ByExtension(\"a.b.DOCX\")"), "Documents");
  EXPECT_EQ(Text("ByExtension(\"sheet.xls\")"), "Spreadsheets");
  EXPECT_EQ(Text("ByExtension(\"README\")"), "Other");
}

TEST_F(MacroFiles, SeveralFilesShareOneEngine) {
  engine_.AddCode(kChooseFolder);
  engine_.AddCode(
      "Option Explicit\nFunction OutputName(title)\n"
      "  OutputName = FolderFor(title) & \"\\\" & Replace(title, \":\", \"_\") & \".pdf\"\n"
      "End Function");
  EXPECT_EQ(Text("OutputName(\"Report: 2007\")"), "Reports\\Report_ 2007.pdf");
}

}  // namespace
}  // namespace gui::script::test
