#include <gtest/gtest.h>

#include "services/Error.h"
#include "startup/modMain.h"

namespace gui {
namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;

Pairs Parse(const std::string& text) {
  Pairs pairs;
  DictionaryPtr map = ParseParameters(text);
  for (const auto& [key, value] : *map)
    pairs.emplace_back(key, std::get<std::string>(value));
  return pairs;
}

TEST(ParseParameters, ReadsPairsAsThePortMonitorWritesThem) {
  struct Case {
    std::string text;
    Pairs expected;
  } cases[] = {
      {"", {}},
      {"   ", {}},
      {R"(ps="C:\a b, c.ps" printer="PDF Printer [Inv]" doc="x, y" sessionid=42)",
       {{"ps", "C:\\a b, c.ps"},
        {"printer", "PDF Printer [Inv]"},
        {"doc", "x, y"},
        {"sessionid", "42"}}},
      {"a=1,b=2 c=3", {{"a", "1"}, {"b", "2"}, {"c", "3"}}},
      {"-ps=x /doc=y", {{"ps", "x"}, {"doc", "y"}}},
      {"PS=x", {{"PS", "x"}}},
      {"k=a=b", {{"k", "a=b"}}},
      {R"(msg="say ""hi""")", {{"msg", "say \"hi\""}}},
      {R"("quoted key"=v)", {{"quoted key", "v"}}},
      {R"(msg=" padded ")", {{"msg", "padded"}}},
      {"flag", {{"flag", ""}}},
      {"ps =x", {{"ps", ""}, {"", "x"}}},
      {R"(doc="never closed, still here)", {{"doc", "never closed, still here"}}},
      {"a=,b=", {{"a", ""}, {"b", ""}}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Parse(c.text), c.expected) << c.text;
}

TEST(ParseParameters, RepeatedKeyRaisesDuplicateKeyError) {
  try {
    ParseParameters("ps=a ps=b");
    FAIL();
  } catch (const Error& failure) {
    EXPECT_EQ(failure.Number(), 457);
  }
  EXPECT_THROW(ParseParameters("ps=a -ps=b"), Error);
  EXPECT_NO_THROW(ParseParameters("ps=a PS=b"));
}

TEST(CommandLineFromArguments, ParsesBackToTheArgumentsGiven) {
  std::vector<std::string> arguments{"ps=/tmp/a b, c.ps", "doc=He said \"no\"", "empty=",
                                     "sessionid=1",       "lonely word",        "msg=\"quoted\""};
  Pairs expected{{"ps", "/tmp/a b, c.ps"}, {"doc", "He said \"no\""}, {"empty", ""},
                 {"sessionid", "1"},       {"lonely word", ""},       {"msg", "\"quoted\""}};
  EXPECT_EQ(Parse(CommandLineFromArguments(arguments)), expected);
  EXPECT_EQ(CommandLineFromArguments({"ps=/tmp/x.ps", "sessionid=7"}), "ps=/tmp/x.ps sessionid=7");
}

TEST(UnescapeMessage, DecodesThePortMonitorsEscapes) {
  EXPECT_EQ(UnescapeMessage(R"(one\ntwo)"), "one\rtwo");
  EXPECT_EQ(UnescapeMessage(R"(one\rtwo)"), "one\ntwo");
  EXPECT_EQ(UnescapeMessage(R"(a\tb\\c\qd\)"), "a\tb\\cqd");
  EXPECT_EQ(UnescapeMessage("plain"), "plain");
}

TEST(GetInstanceName, TakesTheBracketedPartAsAFileName) {
  EXPECT_EQ(GetInstanceName("PDF Printer [Invoices]"), "Invoices");
  EXPECT_EQ(GetInstanceName("PDF Printer [A/B]"), "A_B");
  EXPECT_EQ(GetInstanceName("PDF Printer"), "");
  EXPECT_EQ(GetInstanceName("PDF Printer [open"), "");
  EXPECT_EQ(GetInstanceName("x] PDF [first] [second]"), "first");
  EXPECT_EQ(GetInstanceName("P [dots...]"), "dots");
}

}  // namespace
}  // namespace gui
