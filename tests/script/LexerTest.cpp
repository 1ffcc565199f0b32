#include <gtest/gtest.h>

#include "script/Convert.h"
#include "script/Lexer.h"
#include "script/ScriptErrors.h"

namespace gui::script {
namespace {

std::vector<Token> Tokens(const SourceText& source) {
  return Lexer(source, 2007).Tokenize();
}

// The token kinds and texts of a line, as one string ("Identifier:x Equal:= ...").
std::string Describe(const std::string& code) {
  SourceText source(code);
  std::string out;
  for (const Token& token : Tokens(source)) {
    if (!out.empty()) out += ' ';
    out += std::to_string(static_cast<int>(token.kind)) + ":" + std::string(token.text);
  }
  return out;
}

TEST(Lexer, ReportsLinesAndZeroBasedColumns) {
  SourceText source("x = 1\r\n  y = \"a\"\n\tz");
  std::vector<Token> tokens = Tokens(source);
  ASSERT_GE(tokens.size(), 9u);
  EXPECT_EQ(tokens[4].line, 2);
  EXPECT_EQ(tokens[4].column, 2);
  EXPECT_EQ(tokens[6].column, 6);
  EXPECT_EQ(tokens[8].line, 3);
  EXPECT_EQ(tokens[8].column, 1);
}

TEST(Lexer, JoinsContinuedLinesAndDropsComments) {
  EXPECT_EQ(Describe("a _\n  b ' note"), Describe("a b"));
  EXPECT_EQ(Describe("a : Rem note\nb"), Describe("a :\nb"));
  EXPECT_EQ(Describe("remark = 1"), Describe("remark = 1"));
  EXPECT_NE(Describe("remark = 1").find("remark"), std::string::npos);
}

TEST(Lexer, TypesNumberLiteralsAsVBScript) {
  struct Case {
    const char* code;
    const char* type;
    const char* text;
  } cases[] = {
      {"32767", "Integer", "32767"},
      {"32768", "Long", "32768"},
      {"2147483648", "Double", "2147483648"},
      {"1.0", "Double", "1"},
      {"1e3", "Double", "1000"},
      {"&H7FFF", "Integer", "32767"},
      {"&H8000", "Integer", "-32768"},
      {"&H10000", "Long", "65536"},
      {"&HFFFFFFFF", "Long", "-1"},
      {"&O777", "Integer", "511"},
  };
  for (const Case& c : cases) {
    SourceText source(c.code);
    Token token = Tokens(source)[0];
    EXPECT_EQ(TypeName(token.value), c.type) << c.code;
    EXPECT_EQ(ToText(token.value), c.text) << c.code;
  }
}

TEST(Lexer, KnowsKeywordsRegardlessOfCase) {
  SourceText source("END if [End] Step");
  std::vector<Token> tokens = Tokens(source);
  EXPECT_EQ(tokens[0].keyword, Kw::End);
  EXPECT_EQ(tokens[1].keyword, Kw::If);
  EXPECT_EQ(tokens[2].keyword, Kw::None);
  EXPECT_FALSE(IsReserved(tokens[3].keyword));
}

TEST(Lexer, RejectsMalformedTokensWithTheirPosition) {
  struct Case {
    const char* code;
    long number;
    int column;
  } cases[] = {
      {"x = \"abc", 1033, 4},  {"x = 1 ? 2", 1032, 6}, {"x = &HFFFFFFFFF", 1031, 4},
      {"x = #2007#", 1002, 4}, {"a _ b", 1032, 2},     {"x = [abc", 1032, 4},
  };
  for (const Case& c : cases) {
    SourceText source(c.code);
    try {
      Tokens(source);
      ADD_FAILURE() << c.code;
    } catch (const ScriptException& e) {
      EXPECT_EQ(e.number, c.number) << c.code;
      EXPECT_EQ(e.column, c.column) << c.code;
    }
  }
  SourceText tooLong("x = " + std::string(300, 'a'));
  EXPECT_THROW(Tokens(tooLong), ScriptException);
}

}  // namespace
}  // namespace gui::script
