#include "tests/script/ScriptTestSupport.h"

namespace gui::script::test {
namespace {

// One expression and the text its value gives.
struct TextCase {
  const char* expression;
  const char* expected;
  friend void PrintTo(const TextCase& c, std::ostream* os) { *os << c.expression; }
};

class Expressions : public EngineTest, public ::testing::WithParamInterface<TextCase> {};

TEST_P(Expressions, GiveTheirText) {
  EXPECT_EQ(Text(GetParam().expression), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Operators, Expressions,
    ::testing::Values(
        TextCase{"1 + 2 * 3", "7"}, TextCase{"(1 + 2) * 3", "9"}, TextCase{"2 ^ 3 ^ 2", "64"},
        TextCase{"-2 ^ 2", "-4"}, TextCase{"2 ^ -1", "0.5"}, TextCase{"7 / 2", "3.5"},
        TextCase{"7 \\ 2", "3"}, TextCase{"-7 \\ 2", "-3"}, TextCase{"7 Mod 3", "1"},
        TextCase{"-7 Mod 3", "-1"}, TextCase{"7.5 Mod 2", "0"}, TextCase{"8.5 \\ 2", "4"},
        TextCase{"1 / 3", "0.333333333333333"}, TextCase{"0.1 + 0.2", "0.3"},
        TextCase{"1E+15 * 10", "1E+16"}, TextCase{"1 / 100000", "1E-05"},
        TextCase{"123456789012345", "123456789012345"}, TextCase{"TypeName(32767 + 1)", "Long"},
        TextCase{"TypeName(2147483647 + 1)", "Double"},
        TextCase{"TypeName(CByte(200) + CByte(100))", "Integer"},
        TextCase{"TypeName(1 + 1)", "Integer"}, TextCase{"TypeName(1 + 1.5)", "Double"},
        TextCase{"TypeName(CLng(1) * CSng(2))", "Double"},
        TextCase{"TypeName(CCur(1) + 1.5)", "Currency"}, TextCase{"CCur(1.5) * 3", "4.5"},
        TextCase{"TypeName(7 / 7)", "Double"}, TextCase{"TypeName(True + True)", "Integer"},
        TextCase{"True + True", "-2"}, TextCase{"Empty + 1", "1"},
        TextCase{"TypeName(Empty + Empty)", "Integer"}, TextCase{"\"1\" + 2", "3"},
        TextCase{"TypeName(\"1\" + 2)", "Double"}, TextCase{"\"1\" + \"2\"", "12"},
        TextCase{"\"a\" + Empty", "a"}, TextCase{"\"10\" - \"4\"", "6"},
        TextCase{"\"a\" & 1 & Null & True", "a1True"}, TextCase{"IsNull(Null & Null)", "True"},
        TextCase{"-\"3\"", "-3"}, TextCase{"TypeName(-CInt(-32768))", "Long"},
        TextCase{"&HFF", "255"}, TextCase{"&HFFFF", "-1"}, TextCase{"&HFFFF&", "65535"},
        TextCase{"&O17", "15"}, TextCase{"&O777", "511"}, TextCase{"TypeName(32768)", "Long"},
        TextCase{"TypeName(2147483648)", "Double"},
        TextCase{"TypeName(1.0) & 1.0 & 1e3", "Double11000"},
        TextCase{"TypeName(&H7FFF) & &H7FFF", "Integer32767"},
        TextCase{"TypeName(&H8000) & &H8000", "Integer-32768"},
        TextCase{"TypeName(&H10000)", "Long"},
        TextCase{"TypeName(&HFFFFFFFF) & &HFFFFFFFF", "Long-1"}, TextCase{"CDbl(0) * -1", "0"},
        TextCase{"1E+15", "1E+15"}, TextCase{"0.000025", "2.5E-05"},
        TextCase{"CCur(-1.2345)", "-1.2345"}, TextCase{"CCur(2)", "2"}, TextCase{".5 + 1", "1.5"},
        TextCase{"#3/3/2007# + 1", "3/4/2007"}, TextCase{"#3/4/2007# - #3/3/2007#", "1"},
        TextCase{"TypeName(#3/3/2007# - 1)", "Date"}, TextCase{"1 < 2", "True"},
        TextCase{"\"a\" < \"b\"", "True"}, TextCase{"\"a\" = \"A\"", "False"},
        TextCase{"\"B\" < \"a\"", "True"}, TextCase{"1 = 1.0", "True"},
        TextCase{"2 = \"2\"", "True"}, TextCase{"\"10\" > \"9\"", "False"},
        TextCase{"Empty = 0", "True"}, TextCase{"Empty = \"\"", "True"},
        TextCase{"IsNull(Null = Null)", "True"}, TextCase{"IsNull(1 <> Null)", "True"},
        TextCase{"True = -1", "True"}, TextCase{"1 <> 2", "True"}, TextCase{"3 >= 3", "True"},
        TextCase{"#1/1/2007# < #1/2/2007#", "True"}, TextCase{"Nothing Is Nothing", "True"},
        TextCase{"1 < 2 = True", "True"}, TextCase{"True And False", "False"},
        TextCase{"True Or False", "True"}, TextCase{"True Xor True", "False"},
        TextCase{"False Eqv False", "True"}, TextCase{"True Imp False", "False"},
        TextCase{"False Imp Null", "True"}, TextCase{"Not True", "False"}, TextCase{"Not 0", "-1"},
        TextCase{"Not 1 = 2", "True"}, TextCase{"6 And 3", "2"}, TextCase{"6 Or 3", "7"},
        TextCase{"6 Xor 3", "5"}, TextCase{"True And 7", "7"}, TextCase{"Null And False", "False"},
        TextCase{"IsNull(Null And True)", "True"}, TextCase{"Null Or True", "True"},
        TextCase{"IsNull(Not Null)", "True"}, TextCase{"1 = 1 And 2 = 2 Or False", "True"}));

INSTANTIATE_TEST_SUITE_P(
    StringsAndArrays, Expressions,
    ::testing::Values(
        TextCase{"Len(\"hello\")", "5"}, TextCase{"Len(\"Gr\xC3\xBC\xC3\x9F\x65\")", "5"},
        TextCase{"Len(123)", "3"}, TextCase{"Left(\"hello\", 2)", "he"},
        TextCase{"Left(\"hi\", 10)", "hi"}, TextCase{"Right(\"hello\", 3)", "llo"},
        TextCase{"Mid(\"hello\", 2, 3)", "ell"}, TextCase{"Mid(\"hello\", 2)", "ello"},
        TextCase{"Mid(\"hello\", 9)", ""}, TextCase{"Mid(\"\xC3\xA9t\xC3\xA9\", 2, 1)", "t"},
        TextCase{"UCase(\"r\xC3\xA9sum\xC3\xA9\")", "R\xC3\x89SUM\xC3\x89"},
        TextCase{"LCase(\"ABC\")", "abc"}, TextCase{"\"[\" & Trim(\"  a b  \") & \"]\"", "[a b]"},
        TextCase{"\"[\" & LTrim(\"  a \") & \"]\"", "[a ]"},
        TextCase{"\"[\" & RTrim(\"  a \") & \"]\"", "[  a]"},
        TextCase{"\"[\" & Space(3) & \"]\"", "[   ]"}, TextCase{"String(3, \"ab\")", "aaa"},
        TextCase{"String(2, 65)", "AA"}, TextCase{"StrReverse(\"abc\")", "cba"},
        TextCase{"InStr(\"hello\", \"l\")", "3"}, TextCase{"InStr(4, \"hello\", \"l\")", "4"},
        TextCase{"InStr(\"hello\", \"z\")", "0"}, TextCase{"InStr(\"hello\", \"\")", "1"},
        TextCase{"InStr(1, \"HELLO\", \"l\", 1)", "3"},
        TextCase{"InStr(1, \"HELLO\", \"l\", vbBinaryCompare)", "0"},
        TextCase{"InStrRev(\"a.b.c\", \".\")", "4"}, TextCase{"InStrRev(\"a.b.c\", \".\", 3)", "2"},
        TextCase{"Replace(\"a-b-c\", \"-\", \"+\")", "a+b+c"},
        TextCase{"Replace(\"a-b-c\", \"-\", \"\", 1, 1)", "ab-c"},
        TextCase{"Replace(\"a-b-c\", \"-\", \"+\", 3)", "b+c"},
        TextCase{"Replace(\"aXbx\", \"x\", \"_\", 1, -1, vbTextCompare)", "a_b_"},
        TextCase{"Replace(\"abc\", \"\", \"x\")", "abc"}, TextCase{"StrComp(\"a\", \"B\")", "1"},
        TextCase{"StrComp(\"a\", \"B\", 1)", "-1"},
        TextCase{"StrComp(\"a\", \"A\", vbTextCompare)", "0"}, TextCase{"Asc(\"A\")", "65"},
        TextCase{"Asc(\"\xE2\x82\xAC\")", "128"}, TextCase{"AscW(\"\xE2\x82\xAC\")", "8364"},
        TextCase{"Chr(65) & Chr(128)", "A\xE2\x82\xAC"}, TextCase{"ChrW(233)", "\xC3\xA9"},
        TextCase{"Len(vbCrLf)", "2"}, TextCase{"Join(Array(1, \"a\", True), \",\")", "1,a,True"},
        TextCase{"Join(Array(\"a\", \"b\"))", "a b"}, TextCase{"UBound(Array())", "-1"},
        TextCase{"UBound(Split(\"a,b,c\", \",\"))", "2"},
        TextCase{"Split(\"a,b,c\", \",\")(1)", "b"}, TextCase{"UBound(Split(\"\"))", "-1"},
        TextCase{"Join(Split(\"a b  c\"), \"|\")", "a|b||c"},
        TextCase{"Join(Split(\"a,b,c\", \",\", 2), \"|\")", "a|b,c"},
        TextCase{"Join(Split(\"aXbxc\", \"x\", -1, 1), \"|\")", "a|b|c"},
        TextCase{"Join(Filter(Array(\"ab\", \"cd\", \"abc\"), \"ab\"), \",\")", "ab,abc"},
        TextCase{"Join(Filter(Array(\"ab\", \"cd\"), \"ab\", False), \",\")", "cd"},
        TextCase{"LBound(Array(1, 2))", "0"}, TextCase{"IsArray(Array())", "True"},
        TextCase{"IsArray(\"a\")", "False"}, TextCase{"TypeName(Array())", "Variant()"},
        TextCase{"VarType(Array())", "8204"}));

INSTANTIATE_TEST_SUITE_P(
    ConversionsAndMath, Expressions,
    ::testing::Values(
        TextCase{"CInt(2.5)", "2"}, TextCase{"CInt(3.5)", "4"}, TextCase{"CInt(\"-1.5\")", "-2"},
        TextCase{"CLng(\"1,234\")", "1234"}, TextCase{"CLng(\"  12  \")", "12"},
        TextCase{"CLng(\"&H10\")", "16"}, TextCase{"CDbl(\"1.5E3\")", "1500"},
        TextCase{"CByte(255)", "255"}, TextCase{"CSng(1 / 3)", "0.3333333"},
        TextCase{"CCur(1.23456)", "1.2346"}, TextCase{"CStr(1.5)", "1.5"},
        TextCase{"CStr(-0.25)", "-0.25"}, TextCase{"CStr(True)", "True"},
        TextCase{"CBool(\"true\")", "True"}, TextCase{"CBool(\"0\")", "False"},
        TextCase{"CBool(5)", "True"}, TextCase{"CDate(\"2007-03-03\")", "3/3/2007"},
        TextCase{"CDate(\"March 3, 2007 7:05 PM\")", "3/3/2007 7:05:00 PM"},
        TextCase{"CDate(39144)", "3/3/2007"}, TextCase{"CDate(0.5)", "12:00:00 PM"},
        TextCase{"TypeName(CDate(\"1/2/2007\"))", "Date"}, TextCase{"IsNumeric(\"12.5\")", "True"},
        TextCase{"IsNumeric(\"1,000\")", "True"}, TextCase{"IsNumeric(\"12a\")", "False"},
        TextCase{"IsNumeric(\"\")", "False"}, TextCase{"IsNumeric(Empty)", "True"},
        TextCase{"IsNumeric(Null)", "False"}, TextCase{"IsDate(\"3/3/2007\")", "True"},
        TextCase{"IsDate(\"2/30/2007\")", "False"}, TextCase{"IsDate(\"hello\")", "False"},
        TextCase{"IsEmpty(Empty) And IsNull(Null)", "True"}, TextCase{"IsObject(Nothing)", "True"},
        TextCase{"TypeName(Nothing)", "Nothing"}, TextCase{"Null", ""}, TextCase{"Empty", ""},
        TextCase{"Array(1, 2)", ""}, TextCase{"Nothing", ""}, TextCase{"Err", "0"},
        TextCase{"TypeName(1)", "Integer"}, TextCase{"TypeName(100000)", "Long"},
        TextCase{"TypeName(1.5)", "Double"}, TextCase{"TypeName(\"\")", "String"},
        TextCase{"TypeName(Empty)", "Empty"}, TextCase{"TypeName(Null)", "Null"},
        TextCase{"TypeName(CByte(1))", "Byte"}, TextCase{"TypeName(CCur(1))", "Currency"},
        TextCase{"TypeName(CSng(1))", "Single"}, TextCase{"TypeName(True)", "Boolean"},
        TextCase{"VarType(\"a\")", "8"}, TextCase{"VarType(Now)", "7"}, TextCase{"Abs(-3)", "3"},
        TextCase{"Abs(-2.5)", "2.5"}, TextCase{"Sgn(-7) & Sgn(0) & Sgn(3)", "-101"},
        TextCase{"Int(-2.5)", "-3"}, TextCase{"Fix(-2.5)", "-2"}, TextCase{"Int(2.9)", "2"},
        TextCase{"Round(2.5)", "2"}, TextCase{"Round(3.5)", "4"}, TextCase{"Round(-2.5)", "-2"},
        TextCase{"Round(2.345, 2)", "2.34"}, TextCase{"Round(2.355, 2)", "2.36"},
        TextCase{"Round(1.23456, 3)", "1.235"}, TextCase{"TypeName(Round(2))", "Integer"},
        TextCase{"Sqr(16)", "4"}, TextCase{"Round(Exp(1), 5)", "2.71828"},
        TextCase{"Round(Log(Exp(2)), 10)", "2"}, TextCase{"Round(Atn(1) * 4, 6)", "3.141593"},
        TextCase{"Sin(0) + Cos(0) + Tan(0)", "1"}, TextCase{"Hex(255)", "FF"},
        TextCase{"Hex(-1)", "FFFF"}, TextCase{"Hex(CLng(-1))", "FFFFFFFF"},
        TextCase{"Hex(65536)", "10000"}, TextCase{"Oct(8)", "10"},
        TextCase{"Rnd() < 1 And Rnd() >= 0", "True"}));

INSTANTIATE_TEST_SUITE_P(
    DatesAndFormats, Expressions,
    ::testing::Values(
        TextCase{"Now", "3/3/2007 7:05:09 AM"}, TextCase{"Date", "3/3/2007"},
        TextCase{"Time", "7:05:09 AM"}, TextCase{"Timer", "25509.25"},
        TextCase{"Year(Now) & \"-\" & Month(Now) & \"-\" & Day(Now)", "2007-3-3"},
        TextCase{"Hour(Now) & \":\" & Minute(Now) & \":\" & Second(Now)", "7:5:9"},
        TextCase{"Year(\"12/31/1999\")", "1999"}, TextCase{"Weekday(Now)", "7"},
        TextCase{"Weekday(Now, vbMonday)", "6"}, TextCase{"WeekdayName(1)", "Sunday"},
        TextCase{"WeekdayName(1, True, vbMonday)", "Mon"}, TextCase{"MonthName(3)", "March"},
        TextCase{"MonthName(12, True)", "Dec"}, TextCase{"DateSerial(2007, 13, 1)", "1/1/2008"},
        TextCase{"DateSerial(2007, 3, 0)", "2/28/2007"},
        TextCase{"DateSerial(7, 1, 1)", "1/1/2007"}, TextCase{"DateSerial(99, 1, 1)", "1/1/1999"},
        TextCase{"TimeSerial(25, 0, 0)", "12/31/1899 1:00:00 AM"},
        TextCase{"TimeSerial(7, 65, 0)", "8:05:00 AM"},
        TextCase{"DateValue(\"3/3/2007 7:05 PM\")", "3/3/2007"},
        TextCase{"TimeValue(\"3/3/2007 7:05 PM\")", "7:05:00 PM"},
        TextCase{"DateAdd(\"d\", 30, #3/3/2007#)", "4/2/2007"},
        TextCase{"DateAdd(\"m\", 1, #1/31/2007#)", "2/28/2007"},
        TextCase{"DateAdd(\"yyyy\", 1, #2/29/2008#)", "2/28/2009"},
        TextCase{"DateAdd(\"q\", 1, #1/15/2007#)", "4/15/2007"},
        TextCase{"DateAdd(\"ww\", 1, #3/3/2007#)", "3/10/2007"},
        TextCase{"DateAdd(\"h\", 20, Now)", "3/4/2007 3:05:09 AM"},
        TextCase{"DateAdd(\"n\", -6, Now)", "3/3/2007 6:59:09 AM"},
        TextCase{"DateAdd(\"s\", 51, Now)", "3/3/2007 7:06:00 AM"},
        TextCase{"DateDiff(\"d\", #3/1/2007#, #3/3/2007#)", "2"},
        TextCase{"DateDiff(\"m\", #12/31/2006#, #1/1/2007#)", "1"},
        TextCase{"DateDiff(\"yyyy\", #12/31/2006#, #1/1/2007#)", "1"},
        TextCase{"DateDiff(\"h\", #3/3/2007 7:59#, #3/3/2007 8:01#)", "1"},
        TextCase{"DateDiff(\"n\", #3/3/2007 7:00#, #3/3/2007 6:30#)", "-30"},
        TextCase{"DateDiff(\"ww\", #3/3/2007#, #3/4/2007#)", "1"},
        TextCase{"DateDiff(\"w\", #3/3/2007#, #3/16/2007#)", "1"},
        TextCase{"DatePart(\"yyyy\", Now)", "2007"}, TextCase{"DatePart(\"q\", Now)", "1"},
        TextCase{"DatePart(\"y\", Now)", "62"}, TextCase{"DatePart(\"ww\", Now)", "9"},
        TextCase{"DatePart(\"ww\", #1/1/2010#, vbMonday, vbFirstFourDays)", "53"},
        TextCase{"DatePart(\"w\", Now)", "7"},
        TextCase{"DatePart(\"h\", Now) * 100 + DatePart(\"n\", Now)", "705"},
        TextCase{"#1/1/100#", "1/1/100"}, TextCase{"#12/30/1899#", "12:00:00 AM"},
        TextCase{"CDate(-1.25)", "12/29/1899 6:00:00 AM"},
        TextCase{"CDate(-1.75)", "12/29/1899 6:00:00 PM"},
        TextCase{"CDbl(CDate(\"12/29/1899 6:00 PM\"))", "-1.75"}, TextCase{"CDbl(#1/1/1900#)", "2"},
        TextCase{"CDate(39144 + 86399.6 / 86400)", "3/4/2007"},
        TextCase{"CDate(0.5 + 0.4 / 86400)", "12:00:00 PM"},
        TextCase{"Weekday(#12/31/1899#) & Weekday(#1/1/1800#)", "14"},
        TextCase{"IsDate(\"2/29/1900\") & IsDate(\"2/29/2000\")", "FalseTrue"},
        TextCase{"FormatNumber(1234.5)", "1,234.50"}, TextCase{"FormatNumber(1234.5, 0)", "1,235"},
        TextCase{"FormatNumber(0.125, 2)", "0.13"}, TextCase{"FormatNumber(2.675, 2)", "2.68"},
        TextCase{"FormatNumber(-1234.5, 1)", "-1,234.5"},
        TextCase{"FormatNumber(0.5, 2, 0)", ".50"}, TextCase{"FormatNumber(-3, 0, -1, -1)", "(3)"},
        TextCase{"FormatNumber(1234567, 0, -1, 0, 0)", "1234567"},
        TextCase{"FormatNumber(-0.001, 2)", "0.00"},
        TextCase{"FormatCurrency(1234.5)", "$1,234.50"}, TextCase{"FormatCurrency(-5)", "($5.00)"},
        TextCase{"FormatCurrency(-5, 2, -1, 0)", "-$5.00"},
        TextCase{"FormatPercent(0.256)", "25.60%"}, TextCase{"FormatPercent(1, 0)", "100%"},
        TextCase{"FormatDateTime(Now)", "3/3/2007 7:05:09 AM"},
        TextCase{"FormatDateTime(Now, vbLongDate)", "Saturday, March 03, 2007"},
        TextCase{"FormatDateTime(Now, vbShortDate)", "3/3/2007"},
        TextCase{"FormatDateTime(Now, vbLongTime)", "7:05:09 AM"},
        TextCase{"FormatDateTime(Now, vbShortTime)", "07:05"},
        TextCase{"FormatDateTime(#3/3/2007 7:05:09 PM#, 4)", "19:05"},
        TextCase{"FormatDateTime(\"3/3/2007\", 1)", "Saturday, March 03, 2007"}));

class NullArguments : public EngineTest {};

TEST_F(NullArguments, PassThroughOrAreRefusedWithInvalidUseOfNull) {
  for (std::string e :
       {"Len(Null)", "Left(Null, 1)", "Right(Null, 1)", "Mid(Null, 1)", "UCase(Null)", "Trim(Null)",
        "InStr(Null, \"a\")", "InStrRev(\"a\", Null)", "StrComp(Null, \"a\")", "String(2, Null)"})
    EXPECT_EQ(Text("IsNull(" + e + ")"), "True") << e;
  for (std::string e : {"Abs(Null)", "Int(Null)", "Round(Null)", "Hex(Null)", "Year(Null)",
                        "DateValue(Null)", "FormatNumber(Null)", "Null + 1", "-Null", "Null \\ 2"})
    EXPECT_EQ(Text("IsNull(" + e + ")"), "True") << e;
  for (const char* e : {"CStr(Null)", "CInt(Null)", "CBool(Null)", "CDate(Null)", "Asc(Null)",
                        "Replace(Null, \"a\", \"b\")", "Split(Null)", "StrReverse(Null)"})
    EXPECT_EQ(EvalError(e), 94) << e;
}

}  // namespace
}  // namespace gui::script::test
