Option Explicit
Const Max = 40
Function Clean(t)
  Dim r, b, i
  r = Trim(t)
  b = Array("\\", "/", ":", "?")
  For i = LBound(b) To UBound(b)
    r = Replace(r, b(i), "_", 1, -1, 1)
  Next
  Do While InStr(r, "  ") > 0 : r = Replace(r, "  ", " ") : Loop
  Select Case Len(r)
    Case 0 : r = "Untitled"
    Case Is > Max : r = Left(r, Max)
  End Select
  Clean = r
End Function
'--
Clean("  Q1: results ")
Join(Split("a,b", ","), "|")
