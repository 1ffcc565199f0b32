#include "production/modSuperimpose.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "services/modConvert.h"
#include "tests/production/GhostscriptTesting.h"

namespace gui::test {
namespace {

// "filename|place" of each item, joined by ";".
std::string Items(const std::string& superimpose) {
  std::string result;
  int expectedKey = 0;
  DictionaryPtr items = ParseBackgroundSpec(superimpose);
  for (const Dictionary::Entry& entry : *items) {
    EXPECT_EQ(std::to_string(expectedKey++), entry.first);
    DictionaryPtr item = AsDictionary(entry.second);
    result += (result.empty() ? "" : ";") + item->Text("filename") + "|" + item->Text("place");
  }
  return result;
}

TEST(BackgroundSetting, SplitsItemsAndSelections) {
  const std::pair<const char*, const char*> cases[] = {{"", ""},
                                                       {"a.pdf", "a.pdf|"},
                                                       {"a.pdf<1>b.pdf<L2-", "a.pdf|1;b.pdf|L2-"},
                                                       {"a.pdf<1>", "a.pdf|1"},
                                                       {">>a.pdf>>", "a.pdf|"},
                                                       {"a.pdf<1<ignored", "a.pdf|1"},
                                                       {" a b.pdf < O ", " a b.pdf | O "},
                                                       {"<3", "|3"}};
  for (const auto& [superimpose, items] : cases)
    EXPECT_EQ(items, Items(superimpose)) << superimpose;
  EXPECT_FALSE(SuperimposeEnabled(*SettingsWith({"superimpose="})));
  EXPECT_TRUE(SuperimposeEnabled(*SettingsWith({"superimpose=>"})));
}

// "page=item" for every entry of the map, with the pattern "#" standing for the item alone.
std::string Pages(const std::string& superimpose, std::int16_t pageCount) {
  DictionaryPtr pages =
      BuildBackgroundPages(*SettingsWith({"superimpose=" + superimpose}), "#", pageCount);
  std::string result;
  for (const Dictionary::Entry& entry : *pages) {
    std::string item = ToStringSafe(entry.second);
    result += (result.empty() ? "" : " ") + entry.first + "=" + (item.empty() ? "-" : item);
  }
  return result;
}

// Positions outside the job, from "3" on up, only add entries that no page uses.
TEST(BuildBackgroundPages, ReadsEveryFormOfPageSelection) {
  const std::tuple<const char*, std::int16_t, const char*> cases[] = {
      {"a.pdf", 3, "1=1 2=1 3=1"},
      {"a.pdf<", 3, "1=1 2=1 3=1"},
      {"a.pdf<L", 3, "1=1 2=1 3=1"},
      {"a.pdf<1", 3, "1=1 2=- 3=-"},
      {"a.pdf<F1", 3, "1=1 2=- 3=-"},
      {"a.pdf<L1", 3, "1=- 2=- 3=1"},
      {"a.pdf<2-", 3, "1=- 2=1 3=1"},
      {"a.pdf<L2-", 3, "1=1 2=1 3=-"},
      {"a.pdf<-3", 4, "1=1 2=1 3=1 4=-"},
      {"a.pdf<O", 5, "1=1 2=- 3=1 4=- 5=1"},
      {"a.pdf<E", 5, "1=- 2=1 3=- 4=1 5=-"},
      {"a.pdf<LO", 5, "1=1 2=- 3=1 4=- 5=1"},
      {"a.pdf<LO", 4, "1=- 2=1 3=- 4=1"},
      {"a.pdf<lo", 4, "1=- 2=1 3=- 4=1"},
      {"a.pdf<le2-", 5, "1=- 2=1 3=- 4=1 5=-"},
      {"a.pdf<OE", 3, "1=1 2=1 3=1"},
      {"a.pdf<0", 2, "1=1 2=1"},
      {"a.pdf< 2 - 3 ", 4, "1=- 2=1 3=1 4=-"},
      {"a.pdf<2-3x9", 4, "1=- 2=1 3=1 4=-"},
      {"a.pdf<2x-3", 4, "1=- 2=1 3=- 4=-"},
      {"a.pdf<1L", 2, "1=1 2=-"},
      {"a.pdf<3-2", 3, "1=- 2=- 3=-"},
      {"a.pdf<0003", 3, "1=- 2=- 3=1"},
      {"a.pdf<3", 2, "1=- 2=- 3=1"},
      {"a.pdf<L2-4", 2, "1=1 2=- 0=1 -1=1"},
      {"a.pdf<32767", 1, "1=- 32767=1"},
      {"a.pdf>b.pdf<1", 2, "1=2 2=1"},
      {"a.pdf<O>b.pdf<E>", 3, "1=1 2=2 3=1"},
      {"a.pdf<1", 0, "1=1"}};
  for (const auto& [superimpose, pageCount, pages] : cases)
    EXPECT_EQ(pages, Pages(superimpose, pageCount)) << superimpose << " " << pageCount;
  for (const char* superimpose : {"a.pdf<32768", "a.pdf<1-32768", "a.pdf<99999999999999999999"})
    EXPECT_EQ("6: Overflow", FailureOf([&] { Pages(superimpose, 3); })) << superimpose;
}

TEST(StripShowpage, CutsTheLegacyEpsAndWrapsTheModernOne) {
  const std::string start = "/QuentarisBackground save def /showpage {} def\r\n";
  const std::string end = "QuentarisBackground restore\r\n";
  const std::tuple<const char*, GhostscriptDialect, std::string> cases[] = {
      {"draw\nshowpage\nmore showpage\n", GhostscriptDialect::Legacy, "draw\n"},
      {"draw\nShowpage\n", GhostscriptDialect::Legacy, "draw\nShowpage\n"},
      {"", GhostscriptDialect::Legacy, ""},
      {"draw\nshowpage\n", GhostscriptDialect::Modern, start + "draw\nshowpage\n" + end},
      {"draw\r\nshowpage", GhostscriptDialect::Modern, start + "draw\r\nshowpage\r\n" + end}};
  TempFolder folder;
  for (const auto& [eps, dialect, result] : cases) {
    PutFile(folder / "full.eps", eps);
    StripShowpage(folder / "full.eps", folder / "cut.eps", dialect);
    EXPECT_EQ(result, GetFile(folder / "cut.eps")) << eps;
  }
}

// A missing PDF fails before any run. One that Ghostscript cannot read as such fails; one it
// repairs or skips gives an empty background, and its warnings stay in the log.
TEST_F(RealGhostscriptTest, AMissingOrBrokenBackgroundPdfFailsOrLeavesItsWarningsInTheLog) {
  auto create = [&](const std::string& superimpose) {
    settings_->Set("superimpose", superimpose);
    return FailureOf([&] {
      CreateBackgroundEps(*settings_, folder_ + "/s1_si_#.eps", folder_ + "/s1_si_full_#.eps",
                          folder_ + "/s1_si_param_#.gs");
    });
  };
  std::string good = folder_ + "/good.pdf";
  MakePdf(PostScriptJob({"Letterhead"}), good);
  EXPECT_EQ("1011: Background PDF '" + folder_ + "/missing.pdf' does not exist.",
            create(folder_ + "/missing.pdf<1>" + good));
  EXPECT_EQ("1011: Background PDF '" + folder_ + "' does not exist.", create(good + ">" + folder_));
  EXPECT_FALSE(std::filesystem::exists(folder_ + "/s1_si_param_2.gs"));
  EXPECT_FALSE(std::filesystem::exists(folder_ + "/s1_si_2.eps"));

  PutFile(folder_ + "/truncated.pdf", GetFile(good).substr(0, 400));
  EXPECT_EQ("", create(folder_ + "/truncated.pdf"));
  EXPECT_TRUE(Contains(Log(), "Ghostscript output:\r\n"));
  PutFile(folder_ + "/text.pdf", "no PDF here\n");
  EXPECT_EQ(0u, create(folder_ + "/text.pdf")
                    .find("1007: An error occured while running Ghostscript\r\n\r\n"));
  EXPECT_TRUE(Contains(Log(), "Ghostscript returned exit code 1\r\n"));
  EXPECT_EQ("no PDF here\n", GetFile(folder_ + "/text.pdf"));
}

}  // namespace
}  // namespace gui::test
