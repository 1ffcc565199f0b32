#include "tests/script/ScriptTestSupport.h"

namespace gui::script::test {
namespace {

class Expressions : public ::testing::TestWithParam<TextCase> {};

TEST_P(Expressions, GiveTheirText) {
  ScriptEngine engine;
  UseFixedClock(engine);
  EXPECT_EQ(engine.EvalToText(GetParam().expression), GetParam().expected) << GetParam().expression;
}

INSTANTIATE_TEST_SUITE_P(
    Arithmetic, Expressions,
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
        TextCase{"TypeName(Empty + Empty)", "Integer"}, TextCase{"IsNull(Null + 1)", "True"},
        TextCase{"\"1\" + 2", "3"}, TextCase{"TypeName(\"1\" + 2)", "Double"},
        TextCase{"\"1\" + \"2\"", "12"}, TextCase{"\"a\" + Empty", "a"},
        TextCase{"\"10\" - \"4\"", "6"}, TextCase{"\"a\" & 1 & Null & True", "a1True"},
        TextCase{"IsNull(Null & Null)", "True"}, TextCase{"-\"3\"", "-3"},
        TextCase{"TypeName(-CInt(-32768))", "Long"}, TextCase{"&HFF", "255"},
        TextCase{"&HFFFF", "-1"}, TextCase{"&HFFFF&", "65535"}, TextCase{"&O17", "15"},
        TextCase{".5 + 1", "1.5"}, TextCase{"#3/3/2007# + 1", "3/4/2007"},
        TextCase{"#3/4/2007# - #3/3/2007#", "1"}, TextCase{"TypeName(#3/3/2007# - 1)", "Date"}));

INSTANTIATE_TEST_SUITE_P(
    Comparison, Expressions,
    ::testing::Values(TextCase{"1 < 2", "True"}, TextCase{"\"a\" < \"b\"", "True"},
                      TextCase{"\"a\" = \"A\"", "False"}, TextCase{"\"B\" < \"a\"", "True"},
                      TextCase{"1 = 1.0", "True"}, TextCase{"2 = \"2\"", "True"},
                      TextCase{"\"10\" > \"9\"", "False"}, TextCase{"Empty = 0", "True"},
                      TextCase{"Empty = \"\"", "True"}, TextCase{"IsNull(Null = Null)", "True"},
                      TextCase{"IsNull(1 <> Null)", "True"}, TextCase{"True = -1", "True"},
                      TextCase{"1 <> 2", "True"}, TextCase{"3 >= 3", "True"},
                      TextCase{"#1/1/2007# < #1/2/2007#", "True"},
                      TextCase{"Nothing Is Nothing", "True"}, TextCase{"1 < 2 = True", "True"}));

INSTANTIATE_TEST_SUITE_P(
    Logic, Expressions,
    ::testing::Values(TextCase{"True And False", "False"}, TextCase{"True Or False", "True"},
                      TextCase{"True Xor True", "False"}, TextCase{"False Eqv False", "True"},
                      TextCase{"True Imp False", "False"}, TextCase{"False Imp Null", "True"},
                      TextCase{"Not True", "False"}, TextCase{"Not 0", "-1"},
                      TextCase{"Not 1 = 2", "True"}, TextCase{"6 And 3", "2"},
                      TextCase{"6 Or 3", "7"}, TextCase{"6 Xor 3", "5"},
                      TextCase{"True And 7", "7"}, TextCase{"Null And False", "False"},
                      TextCase{"IsNull(Null And True)", "True"}, TextCase{"Null Or True", "True"},
                      TextCase{"IsNull(Not Null)", "True"},
                      TextCase{"1 = 1 And 2 = 2 Or False", "True"}));

}  // namespace
}  // namespace gui::script::test
