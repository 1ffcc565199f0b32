#include "services/modLocalize.h"

#include <gtest/gtest.h>

#include "tests/support/Session.h"

namespace gui {
namespace {

std::string Utf16Le(const std::u16string& text) {
  std::string bytes;
  for (char16_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

class LocalizeTest : public ::testing::Test {
 protected:
  void TearDown() override { LoadLabels(); }
  test::Session session_;
};

TEST_F(LocalizeTest, WithoutALanguageFileEveryTextShowsItsDefault) {
  LoadLabels();
  EXPECT_EQ(Localize("[L72]Macros"), "Macros");
  EXPECT_EQ(Localize("[QH_output]"), "");
  EXPECT_EQ(Localize("plain"), "plain");
  EXPECT_EQ(Localize("[no close"), "[no close");
  EXPECT_EQ(Localize(""), "");
}

// A byte order mark spoils line one, a lone CR stays in its line, odd bytes still load.
TEST_F(LocalizeTest, TranslatesThroughTheLanguageFile) {
  test::PutFile(
      session_.Root() / "program/labels.txt",
      Utf16Le(u"\uFEFFL1=Eins\r\nL72=Makroer\r\nL90=Line one\\nLine two\r\nL5 = Aldrig\r\n"
              u"L20=\r\ncomment line\r\nL7=first\r\nL7=second\r\n"
              u"L8=tab\\there\\\\back\\q\\\r\nL9=a=b\r\nL10=Grüße \u20ac\r\n"
              u"L11=\xD800x\r\nL12=a\rL13=b\r\nL14=c\n") +
          "\x01");
  LoadLabels();
  EXPECT_EQ(Localize("[L1]One"), "One");
  EXPECT_EQ(Localize("[L72]Macros"), "Makroer");
  EXPECT_EQ(Localize("[L90]x"), "Line one\r\nLine two");
  EXPECT_EQ(Localize("[L5]Never"), "Never");
  EXPECT_EQ(Localize("[L5 ]Never"), " Aldrig");
  EXPECT_EQ(Localize("[L20]Default"), "Default");
  EXPECT_EQ(Localize("[L999]Hello"), "Hello");
  EXPECT_EQ(Localize("[L7]x"), "second");
  EXPECT_EQ(Localize("[L8]x"), "tab\there\\backq");
  EXPECT_EQ(Localize("[L9]x"), "a=b");
  EXPECT_EQ(Localize("[L10]x"), "Grüße €");
  EXPECT_EQ(Localize("[L11]d"), "\xEF\xBF\xBDx");
  EXPECT_EQ(Localize("[L12]x"), "a\rL13=b");
  EXPECT_EQ(Localize("[L13]x"), "x");
  EXPECT_EQ(Localize("[L14]x"), "c\n");
}

}  // namespace
}  // namespace gui
