#include "ui/modSharedGUI.h"

#include <gtest/gtest.h>

#include "tests/support/Session.h"

namespace gui {
namespace {

TEST(modSharedGUI, ListsAreFilledInTheirFixedOrderWithTheirFirstSelection) {
  ListItems quality = FillQualityList();
  EXPECT_EQ(quality.captions,
            (std::vector<std::string>{"Default", "Screen", "Ebook", "Printer", "Prepress"}));
  EXPECT_EQ(quality.selected, 0);
  EXPECT_EQ(QualityList()->Keys(),
            (std::vector<std::string>{"default", "screen", "ebook", "printer", "prepress"}));
  EXPECT_EQ(FillKeyLengthList().captions, (std::vector<std::string>{"40", "128"}));
  EXPECT_EQ(FillPrintPermissionList().captions,
            (std::vector<std::string>{"not allowed", "low quality", "high quality"}));
  EXPECT_EQ(FillAppendPositionList().captions, (std::vector<std::string>{"Bottom", "Top"}));
  ListItems rotation = FillRotationList();
  EXPECT_EQ(rotation.captions.size(), 2u);
  EXPECT_EQ(rotation.captions[0], "Lower left corner to Upper right corner");
  EXPECT_EQ(rotation.selected, -1);
}

TEST(modSharedGUI, PdfFilterListsPdfDocumentsThenAllFiles) {
  std::vector<FileFilter> filter = PdfFilter();
  ASSERT_EQ(filter.size(), 2u);
  EXPECT_EQ(filter[0].caption, "PDF Documents (*.pdf)");
  EXPECT_EQ(filter[0].pattern, "*.pdf");
  EXPECT_EQ(filter[1].caption, "All Files");
  EXPECT_EQ(filter[1].pattern, "*.*");
}

TEST(modSharedGUI, NumericTextIsTheLeadingNumberInShortestForm) {
  EXPECT_EQ(NumericText("45"), "45");
  EXPECT_EQ(NumericText(" 12.50 "), "12.5");
  EXPECT_EQ(NumericText("-20deg"), "-20");
  EXPECT_EQ(NumericText("abc"), "0");
  EXPECT_EQ(NumericText("-0"), "0");
}

TEST(modSharedGUI, WatermarkSizeKeepsOnlyWholeNumbersFromZeroToHundred) {
  EXPECT_EQ(NormalizeWatermarkSize(" 40 "), "40");
  EXPECT_EQ(NormalizeWatermarkSize("0"), "0");
  EXPECT_EQ(NormalizeWatermarkSize("100"), "100");
  for (const char* cleared : {"12.5", "abc", "150", "-1", "40pt", "040"})
    EXPECT_EQ(NormalizeWatermarkSize(cleared), "") << cleared;
  EXPECT_EQ(NormalizeWatermarkSize("   "), "");
}

TEST(modSharedGUI, WatermarkTransparencyIsClampedAndOtherTextCleared) {
  EXPECT_EQ(NormalizeWatermarkTransparency("50"), "50");
  EXPECT_EQ(NormalizeWatermarkTransparency("150"), "100");
  EXPECT_EQ(NormalizeWatermarkTransparency("150%"), "100");
  EXPECT_EQ(NormalizeWatermarkTransparency("-5"), "0");
  for (const char* cleared : {"50%", "12.5", "abc"})
    EXPECT_EQ(NormalizeWatermarkTransparency(cleared), "") << cleared;
  EXPECT_EQ(NormalizeWatermarkTransparency(""), "");
}

TEST(modSharedGUI, PreviewGreyRunsFromBlackToWhite) {
  EXPECT_EQ(TransparencyPreviewColor("0"), 0x000000u);
  EXPECT_EQ(TransparencyPreviewColor("100"), 0xFFFFFFu);
  EXPECT_EQ(TransparencyPreviewColor("50"), 0x7F7F7Fu);  // 2.55 * 50 falls just below 127.5
  EXPECT_EQ(TransparencyPreviewColor("250"), 0xFFFFFFu);
  EXPECT_EQ(TransparencyPreviewColor("-3"), 0x000000u);
  EXPECT_EQ(TransparencyPreviewColor(""), TransparencyPreviewColor("85"));
}

TEST(modSharedGUI, MacroEntriesLineUpTheDescriptions) {
  test::Session session;
  std::vector<std::string> entries = MacroListEntries();
  ASSERT_GE(entries.size(), 12u);
  EXPECT_EQ(entries[0].substr(0, 23), "<date>" + std::string(10, ' ') + "\tDate (");
  EXPECT_EQ(entries[8].find('\t'), entries[0].find('\t'));
  EXPECT_EQ(MacroAt(0), "<date>");
  EXPECT_EQ(MacroAt(static_cast<int>(entries.size())), "");
  EXPECT_EQ(MacroAt(-1), "");
}

}  // namespace
}  // namespace gui
