#include "tests/script/ScriptTestSupport.h"

namespace gui::script::test {
namespace {

// Macro files of the kind users keep in the macros folder.
constexpr const char* kDateStamps = R"(Option Explicit

' Date stamps for output file names.
Function Pad(value, width)
  Pad = Right(String(width, "0") & value, width)
End Function

Function IsoDate()
  IsoDate = Year(Now) & "-" & Pad(Month(Now), 2) & "-" & Pad(Day(Now), 2)
End Function

Function Stamp()
  Stamp = IsoDate() & "_" & Pad(Hour(Now), 2) & Pad(Minute(Now), 2) & Pad(Second(Now), 2)
End Function

Function WeekFolder()
  WeekFolder = Year(Now) & "-W" & Pad(DatePart("ww", Now, vbMonday, vbFirstFourDays), 2)
End Function

Function Quarter()
  Quarter = "Q" & DatePart("q", Now) & " " & Year(Now)
End Function

Function LastMonth()
  Dim d
  d = DateAdd("m", -1, Date)
  LastMonth = MonthName(Month(d)) & " " & Year(d)
End Function
)";

constexpr const char* kCleanTitle = R"(Option Explicit

Const MaxLength = 40

Function CleanTitle(title)
  Dim result, bad, i
  result = Trim(title)
  bad = Array("\", "/", ":", "*", "?", """", "<", ">", "|")
  For i = LBound(bad) To UBound(bad)
    result = Replace(result, bad(i), "_")
  Next
  Do While InStr(result, "  ") > 0
    result = Replace(result, "  ", " ")
  Loop
  If LCase(Right(result, 4)) = ".doc" Then result = Left(result, Len(result) - 4)
  If Len(result) > MaxLength Then result = Left(result, MaxLength) & "..."
  If result = "" Then result = "Untitled"
  CleanTitle = result
End Function

Function TitleCase(text)
  Dim words, i
  words = Split(LCase(text), " ")
  For i = 0 To UBound(words)
    If Len(words(i)) > 0 Then words(i) = UCase(Left(words(i), 1)) & Mid(words(i), 2)
  Next
  TitleCase = Join(words, " ")
End Function
)";

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

TEST_F(MacroFiles, DateStamps) {
  engine_.AddCode(kDateStamps);
  EXPECT_EQ(Text("IsoDate()"), "2007-03-03");
  EXPECT_EQ(Text("Stamp()"), "2007-03-03_070509");
  EXPECT_EQ(Text("WeekFolder()"), "2007-W09");
  EXPECT_EQ(Text("Quarter()"), "Q1 2007");
  EXPECT_EQ(Text("LastMonth()"), "February 2007");
}

TEST_F(MacroFiles, CleaningATitle) {
  engine_.AddCode(kCleanTitle);
  EXPECT_EQ(Text("CleanTitle(\"  Q1: results / plan?  \")"), "Q1_ results _ plan_");
  EXPECT_EQ(Text("CleanTitle(\"Letter   to  Bob.doc\")"), "Letter to Bob");
  EXPECT_EQ(Text("CleanTitle(\"   \")"), "Untitled");
  EXPECT_EQ(Text("CleanTitle(String(50, \"x\"))"), std::string(40, 'x') + "...");
  EXPECT_EQ(Text("TitleCase(\"the ANNUAL  report\")"), "The Annual  Report");
}

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
  engine_.AddCode(kDateStamps);
  engine_.AddCode(kCleanTitle);
  engine_.AddCode(
      "Function OutputName(title)\n"
      "  OutputName = IsoDate() & \" \" & CleanTitle(title) & \".pdf\"\n"
      "End Function");
  EXPECT_EQ(Text("OutputName(\"Plan: 2007\")"), "2007-03-03 Plan_ 2007.pdf");
}

TEST_F(MacroFiles, TopLevelStatementsRunOnceWhenAdded) {
  engine_.AddCode("Dim Calls\nCalls = Calls + 1\nFunction Count()\n  Count = Calls\nEnd Function");
  EXPECT_EQ(Text("Count()"), "1");
  EXPECT_EQ(Text("Count()"), "1");
}

TEST_F(MacroFiles, ValuesWithoutTextGiveEmptyText) {
  engine_.AddCode("Dim Nothing1\nSet Nothing1 = Nothing");
  EXPECT_EQ(Text("Null"), "");
  EXPECT_EQ(Text("Empty"), "");
  EXPECT_EQ(Text("Array(1, 2)"), "");
  EXPECT_EQ(Text("Nothing1"), "");
  EXPECT_EQ(Text("Err"), "0");
}

}  // namespace
}  // namespace gui::script::test
