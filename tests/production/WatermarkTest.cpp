#include <gtest/gtest.h>

#include <string>

#include "production/modWatermark.h"
#include "tests/production/GhostscriptTesting.h"

namespace gui::test {
namespace {

class WatermarkTest : public ::testing::Test {
 protected:
  Dictionary& With(const char* key, const char* value) {
    settings_->Set(key, std::string(value));
    return *settings_;
  }

  DictionaryPtr settings_ = NewDictionary();
};

TEST_F(WatermarkTest, SizeIsAWholeNumberClampedToHundredElseTheDefault) {
  const std::pair<const char*, int> cases[] = {{"12", 12}, {" 12 ", 12}, {"250", 100}, {"-5", 0},
                                               {"0", 0},   {"6.5", 6},   {"abc", 6},   {"", 6},
                                               {"+7", 6},  {"&H10", 6}};
  for (const auto& [text, size] : cases)
    EXPECT_EQ(WatermarkSize(With("watermarksize", text)), size) << text;
}

TEST_F(WatermarkTest, EnabledNeedsTextAndASizeAboveZero) {
  With("watermarksize", "6");
  EXPECT_FALSE(WatermarkEnabled(With("watermarktext", "")));
  EXPECT_TRUE(WatermarkEnabled(With("watermarktext", "Draft")));
  EXPECT_FALSE(WatermarkEnabled(With("watermarksize", "0")));
  EXPECT_TRUE(WatermarkEnabled(With("watermarksize", "x")));  // the default 6
}

TEST_F(WatermarkTest, GrayIsThePercentageAsAFractionWithTwoDecimals) {
  const std::pair<const char*, const char*> cases[] = {
      {"85", "0.85"},
      {"100", "1.00"},
      {"7", "0.07"},
      {"0", "0.00"},
      {"101", "0.00"},
      {"-5", "0.00"},
      {"", "0.85"},
      {"  ", "0.85"},
      {"abc", "0.00"},
      {"40%", "0.40"},
      // A fraction is rounded to a whole percentage, halves to even, to stay a number.
      {"50.5", "0.50"},
      {"51.5", "0.52"},
      {"99.7", "1.00"},
      {"100.2", "0.00"}};
  for (const auto& [text, gray] : cases)
    EXPECT_EQ(WatermarkGray(With("watermarktransparency", text)), gray) << text;
}

TEST_F(WatermarkTest, RotationIsTheDiagonalOrAWholeAngleWithinOneTurn) {
  const std::pair<const char*, const char*> cases[] = {{"c2c", "corner2corner"},
                                                       {" C2C ", "corner2corner"},
                                                       {"", "corner2corner"},
                                                       {"-c2c", "corner2corner -1 mul"},
                                                       {"90", "90"},
                                                       {"-30", "-30"},
                                                       {"405", "45"},
                                                       {"-405", "-45"},
                                                       {"720", "0"},
                                                       {"44.5", "44"},
                                                       {"45.5", "46"},
                                                       {"abc", "0"},
                                                       {"1e3", "1"},
                                                       {"99999999999999", "279"}};
  for (const auto& [text, rotation] : cases)
    EXPECT_EQ(WatermarkRotation(With("watermarkrotation", text)), rotation) << text;
}

TEST_F(WatermarkTest, TextLinesAreEscapedStringLiteralsSplitOnlyAtCrLf) {
  EXPECT_EQ(PSTextLines("One\r\nTwo"), "(One)\r\n(Two)");
  EXPECT_EQ(PSTextLines("a(b\\c"), "(a\\(b\\\\c)");
  EXPECT_EQ(PSTextLines("cr\rlf\n"), "(cr\rlf\n)");
  EXPECT_EQ(PSTextLines("é€日"), "(\xE9\x80?)");
  EXPECT_EQ(PSTextLines(""), "()");
}

TEST_F(WatermarkTest, ProgramWithAFixedAngle) {
  With("watermarktext", "Draft");
  With("watermarkrotation", "405");
  EXPECT_EQ(WatermarkProgram(*settings_), Golden("watermark_angle.ps"));
}

}  // namespace
}  // namespace gui::test
