Function Pad(v, w)
  Pad = Right(String(w, "0") & v, w)
End Function
Function Stamp()
  Stamp = Year(Now) & "-" & Pad(Month(Now), 2) & "_" & FormatDateTime(Now, 4) & DateAdd("m", -1, Date) & DatePart("ww", Now, 2, 2)
End Function
'--
Stamp()
DateDiff("h", #3/3/2007 7:59#, Now)
