#include <gtest/gtest.h>

#include "script/DateTime.h"

namespace gui::script::datetime {
namespace {

struct ParseCase {
  const char* text;
  const char* general;  // the parsed value as CStr writes it, "" when the text is no date
  friend void PrintTo(const ParseCase& c, std::ostream* os) { *os << c.text; }
};

class DateTexts : public ::testing::TestWithParam<ParseCase> {};

TEST_P(DateTexts, ParseAsVBScriptDoes) {
  std::optional<double> serial = Parse(GetParam().text, 2007);
  EXPECT_EQ(serial ? GeneralDate(*serial) : "", GetParam().general) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Accepted, DateTexts,
    ::testing::Values(ParseCase{"3/3/2007", "3/3/2007"}, ParseCase{"03-03-2007", "3/3/2007"},
                      ParseCase{"2007-03-04", "3/4/2007"}, ParseCase{"2007/3/4", "3/4/2007"},
                      ParseCase{"13/1/2007", "1/13/2007"}, ParseCase{"3/4", "3/4/2007"},
                      ParseCase{"3/4/07", "3/4/2007"}, ParseCase{"3/4/45", "3/4/1945"},
                      ParseCase{"March 4, 2007", "3/4/2007"}, ParseCase{"4 Mar 2007", "3/4/2007"},
                      ParseCase{"4-Sept-2007", "9/4/2007"},
                      ParseCase{"Sunday, March 04, 2007", "3/4/2007"},
                      ParseCase{"December 2007", "12/1/2007"}, ParseCase{"2/29/2008", "2/29/2008"},
                      ParseCase{"7:05", "7:05:00 AM"}, ParseCase{"7:05:09 pm", "7:05:09 PM"},
                      ParseCase{"12:00 AM", "12:00:00 AM"}, ParseCase{"12:30 PM", "12:30:00 PM"},
                      ParseCase{"19:05:09", "7:05:09 PM"}, ParseCase{"7 PM", "7:00:00 PM"},
                      ParseCase{"3/4/2007 19:05", "3/4/2007 7:05:00 PM"},
                      ParseCase{"7:05 AM 3/4/2007", "3/4/2007 7:05:00 AM"},
                      ParseCase{"  3/4/2007  ", "3/4/2007"}));

INSTANTIATE_TEST_SUITE_P(
    Rejected, DateTexts,
    ::testing::Values(ParseCase{"", ""}, ParseCase{"hello", ""}, ParseCase{"5", ""},
                      ParseCase{"2/29/2007", ""}, ParseCase{"13/13/2007", ""},
                      ParseCase{"3/4/10000", ""}, ParseCase{"25:00", ""}, ParseCase{"7:60", ""},
                      ParseCase{"13:00 PM", ""}, ParseCase{"7:", ""},
                      ParseCase{"March April 2007", ""}, ParseCase{"3/4/2007 AM", ""},
                      ParseCase{"3/4/2007 @ 7:05", ""}, ParseCase{"1/2/3/4", ""}));

}  // namespace
}  // namespace gui::script::datetime
