#include "services/modLocalize.h"

#include <gtest/gtest.h>

#include "tests/support/Session.h"

namespace gui {
namespace {

using test::PutFile;
using test::Session;

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
  void Labels(const std::u16string& text) {
    PutFile(session_.Root() / "program/labels.txt", Utf16Le(text));
    LoadLabels();
  }
  void TearDown() override { LoadLabels(); }
  Session session_;
};

TEST_F(LocalizeTest, WithoutALanguageFileEveryTextShowsItsDefault) {
  LoadLabels();
  EXPECT_EQ(Localize("[L72]Macros"), "Macros");
  EXPECT_EQ(Localize("[QH_output]"), "");
  EXPECT_EQ(Localize("plain"), "plain");
  EXPECT_EQ(Localize("[no close"), "[no close");
  EXPECT_EQ(Localize(""), "");
}

TEST_F(LocalizeTest, TranslatesThroughTheLanguageFile) {
  Labels(
      u"L72=Makroer\r\nL90=Line one\\nLine two\r\nL5 = Aldrig\r\nL20=\r\ncomment line\r\n"
      u"L7=first\r\nL7=second\r\nL8=tab\\there\\\\back\\q\\\r\nL9=a=b\r\nL10=Grüße \u20ac");
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
}

TEST_F(LocalizeTest, ByteOrderMarkSpoilsOnlyTheFirstLine) {
  Labels(u"\uFEFFL1=Eins\r\nL2=Zwei");
  EXPECT_EQ(Localize("[L1]One"), "One");
  EXPECT_EQ(Localize("[L2]Two"), "Zwei");
}

TEST_F(LocalizeTest, LoneCarriageReturnStaysInsideTheLine) {
  Labels(u"L1=a\rL2=b\r\nL3=c\n");
  EXPECT_EQ(Localize("[L1]x"), "a\rL2=b");
  EXPECT_EQ(Localize("[L2]x"), "x");
  EXPECT_EQ(Localize("[L3]x"), "c\n");
}

TEST_F(LocalizeTest, OddLengthAndLoneSurrogatesDoNotBreakLoading) {
  PutFile(session_.Root() / "program/labels.txt", Utf16Le(u"L1=\xD800x\r\nL2=ok") + "\x01");
  LoadLabels();
  EXPECT_EQ(Localize("[L1]d"), "\xEF\xBF\xBDx");
  EXPECT_EQ(Localize("[L2]d"), "ok");
}

TEST(UnescapeLabel, DecodesItsEscapes) {
  EXPECT_EQ(UnescapeLabel("a\\nb"), "a\r\nb");
  EXPECT_EQ(UnescapeLabel("\\\\"), "\\");
  EXPECT_EQ(UnescapeLabel("end\\"), "end");
  EXPECT_EQ(UnescapeLabel("\\x"), "x");
}

}  // namespace
}  // namespace gui
