On Error Resume Next
x = 1 / 0
Err.Raise 5, "s", "d"
n = Err.Number
On Error GoTo 0
ReDim a(2, 3)
a(1, 2) = &HFF& Mod 7
ReDim Preserve a(2, 5)
Sub S(ByRef v, ByVal w)
 v = v & w
End Sub
S x, CStr(CCur(1.5) * 3)
'--
FormatCurrency(-1234.5)
Hex(-1) & Oct(8) & Chr(65) & AscW("e")
CDate("March 3, 2007 7:05 PM") + 1
