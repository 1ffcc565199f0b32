#include "production/modSuperimpose.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "services/Error.h"
#include "services/modConvert.h"
#include "tests/production/GhostscriptTesting.h"

namespace gui {
namespace {

DictionaryPtr WithBackground(const std::string& superimpose) {
  return test::SettingsWith({{"superimpose", superimpose}});
}

// "filename|place" of each item, joined by ";".
std::string Items(const std::string& spec) {
  std::string result;
  DictionaryPtr items = ParseBackgroundSpec(spec);
  int expectedKey = 0;
  for (const Dictionary::Entry& entry : *items) {
    EXPECT_EQ(std::to_string(expectedKey++), entry.first);
    DictionaryPtr item = AsDictionary(entry.second);
    result += (result.empty() ? "" : ";") + item->Text("filename") + "|" + item->Text("place");
  }
  return result;
}

TEST(ParseBackgroundSpec, SplitsItemsAndSelections) {
  const struct {
    const char* spec;
    const char* items;
  } cases[] = {
      {"", ""},
      {"a.pdf", "a.pdf|"},
      {"a.pdf<1>b.pdf<L2-", "a.pdf|1;b.pdf|L2-"},
      {"a.pdf<1>", "a.pdf|1"},
      {">>a.pdf>>", "a.pdf|"},
      {"a.pdf<1<ignored", "a.pdf|1"},
      {" a b.pdf < O ", " a b.pdf | O "},
      {"<3", "|3"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.items, Items(c.spec)) << c.spec;
  EXPECT_FALSE(SuperimposeEnabled(*WithBackground("")));
  EXPECT_TRUE(SuperimposeEnabled(*WithBackground(">")));
}

// "page=item" for every entry of the map, with the pattern "#" standing for the item alone.
std::string Pages(const std::string& superimpose, std::int16_t pageCount) {
  DictionaryPtr pages = BuildBackgroundPages(*WithBackground(superimpose), "#", pageCount);
  std::string result;
  for (const Dictionary::Entry& entry : *pages) {
    std::string item = ToStringSafe(entry.second);
    result += (result.empty() ? "" : " ") + entry.first + "=" + (item.empty() ? "-" : item);
  }
  return result;
}

TEST(BuildBackgroundPages, ReadsEveryFormOfPageSelection) {
  const struct {
    const char* superimpose;
    std::int16_t pageCount;
    const char* pages;
  } cases[] = {
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
      // Positions outside the job only add entries that no page uses.
      {"a.pdf<3", 2, "1=- 2=- 3=1"},
      {"a.pdf<L2-4", 2, "1=1 2=- 0=1 -1=1"},
      {"a.pdf<32767", 1, "1=- 32767=1"},
      {"a.pdf>b.pdf<1", 2, "1=2 2=1"},
      {"a.pdf<O>b.pdf<E>", 3, "1=1 2=2 3=1"},
      {"a.pdf<1", 0, "1=1"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.pages, Pages(c.superimpose, c.pageCount)) << c.superimpose << " " << c.pageCount;
}

TEST(BuildBackgroundPages, ANumberAbove32767Overflows) {
  for (const char* superimpose : {"a.pdf<32768", "a.pdf<1-32768", "a.pdf<99999999999999999999"}) {
    try {
      Pages(superimpose, 3);
      ADD_FAILURE() << superimpose;
    } catch (const Error& failure) {
      EXPECT_EQ(err::kOverflow, failure.Number()) << superimpose;
      EXPECT_EQ("Overflow", failure.Description());
    }
  }
}

TEST(BackgroundFileName, NumbersTheLastMarkOnly) {
  EXPECT_EQ("/t/s1_si_12.eps", BackgroundFileName("/t/s1_si_#.eps", 12));
  EXPECT_EQ("/t/a#b/s1_si_2.eps", BackgroundFileName("/t/a#b/s1_si_#.eps", 2));
}

TEST(WriteEpsParams, FollowsTheDialect) {
  test::TempFolder folder;
  test::TestRegistry registry;
  for (const char* version : {"8.54", "10.00.0"}) {
    std::string programFolder = folder / version;
    std::filesystem::create_directories(programFolder);
    test::PutStandInGhostscript(programFolder + "/gs", version, "exit 0");
    test::ScopedVariable path("PATH", programFolder);
    std::string file = folder / "s1_si_param_1.gs";
    WriteEpsParams(*WithBackground("x"), file, "/tmp/q/letterhead.pdf", "/tmp/q/s1_si_full_1.eps");
    std::string golden = std::string("eps_") + (version[0] == '8' ? "legacy" : "modern") + ".gs";
    EXPECT_EQ(test::Golden(golden), test::GetFile(file)) << golden;
  }
}

TEST(StripShowpage, CutsTheLegacyEpsAndWrapsTheModernOne) {
  const std::string start = "/QuentarisBackground save def /showpage {} def\r\n";
  const std::string end = "QuentarisBackground restore\r\n";
  const struct {
    const char* eps;
    GhostscriptDialect dialect;
    std::string result;
  } cases[] = {
      {"draw\nshowpage\nmore showpage\n", GhostscriptDialect::Legacy, "draw\n"},
      {"draw\nShowpage\n", GhostscriptDialect::Legacy, "draw\nShowpage\n"},
      {"", GhostscriptDialect::Legacy, ""},
      {"draw\nshowpage\n", GhostscriptDialect::Modern, start + "draw\nshowpage\n" + end},
      {"draw\r\nshowpage", GhostscriptDialect::Modern, start + "draw\r\nshowpage\r\n" + end},
  };
  test::TempFolder folder;
  for (const auto& c : cases) {
    test::PutFile(folder / "full.eps", c.eps);
    StripShowpage(folder / "full.eps", folder / "cut.eps", c.dialect);
    EXPECT_EQ(c.result, test::GetFile(folder / "cut.eps")) << c.eps;
  }
}

class CreateBackground : public test::RealGhostscriptTest {
 protected:
  void Create() {
    CreateBackgroundEps(*settings_, folder_ + "/s1_si_#.eps", folder_ + "/s1_si_full_#.eps",
                        folder_ + "/s1_si_param_#.gs");
  }

  // The error raised, as "number: description".
  std::string Failure() {
    try {
      Create();
    } catch (const Error& failure) {
      return std::to_string(failure.Number()) + ": " + failure.Description();
    }
    return "none";
  }
};

TEST_F(CreateBackground, AMissingPdfRaises1011BeforeAnyRun) {
  std::string present = folder_ + "/present.pdf";
  test::MakePdf(test::PostScriptJob({"Letterhead"}), present);
  settings_->Set("superimpose", folder_ + "/missing.pdf<1>" + present);
  EXPECT_EQ("1011: Background PDF '" + folder_ + "/missing.pdf' does not exist.", Failure());
  settings_->Set("superimpose", present + ">" + folder_);
  EXPECT_EQ("1011: Background PDF '" + folder_ + "' does not exist.", Failure());
  EXPECT_FALSE(std::filesystem::exists(folder_ + "/s1_si_param_2.gs"));
  EXPECT_FALSE(std::filesystem::exists(folder_ + "/s1_si_2.eps"));
}

// A PDF that Ghostscript cannot read as such fails; one it repairs or skips gives an empty
// background, and its warnings stay in the log.
TEST_F(CreateBackground, ABrokenPdfFailsOrLeavesItsWarningsInTheLog) {
  std::string good = folder_ + "/good.pdf";
  test::MakePdf(test::PostScriptJob({"Letterhead"}), good);
  std::string truncated = folder_ + "/truncated.pdf";
  test::PutFile(truncated, test::GetFile(good).substr(0, 400));
  settings_->Set("superimpose", truncated);
  EXPECT_EQ("none", Failure());
  EXPECT_NE(std::string::npos, Log().find("Ghostscript output:\r\n"));

  std::string text = folder_ + "/text.pdf";
  test::PutFile(text, "no PDF here\n");
  settings_->Set("superimpose", text);
  EXPECT_EQ(0u, Failure().find("1007: An error occured while running Ghostscript\r\n\r\n"));
  EXPECT_NE(std::string::npos, Log().find("Ghostscript returned exit code 1\r\n"));
  EXPECT_EQ("no PDF here\n", test::GetFile(text));
}

struct Pixel {
  int red, green, blue;
  bool operator==(const Pixel&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Pixel& pixel) {
  return out << "(" << pixel.red << "," << pixel.green << "," << pixel.blue << ")";
}

// The first page of a PDF rendered by pdftoppm at 18 dots per inch (4 points per dot).
class Rendering {
 public:
  Rendering(const std::string& pdf, const std::string& prefix) {
    test::CaptureOutput("pdftoppm", {"-r", "18", "-f", "1", "-l", "1", pdf, prefix});
    std::istringstream in(test::GetFile(prefix + "-1.ppm"));
    std::string magic;
    int maximum = 0;
    in >> magic >> width_ >> height_ >> maximum;
    in.get();
    pixels_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  // The pixel at a point in PDF coordinates, from the lower left corner.
  Pixel At(int x, int y) const {
    std::size_t index = (static_cast<std::size_t>(height_ - 1 - y / 4) * width_ + x / 4) * 3;
    if (index + 2 >= pixels_.size()) return {-1, -1, -1};
    auto channel = [&](std::size_t i) { return static_cast<unsigned char>(pixels_[i]); };
    return {channel(index), channel(index + 1), channel(index + 2)};
  }

 private:
  int width_ = 0;
  int height_ = 0;
  std::string pixels_;
};

// The background's first page is a red lower left quarter; its second page, all green, must
// not be used. The job's page paints a blue square that overlaps the red.
TEST_F(CreateBackground, PaintsThePdfsFirstPageUnderThePagesContent) {
  std::string letterhead = folder_ + "/letterhead.pdf";
  test::MakePdf(
      "%!PS\n<< /PageSize [595 842] >> setpagedevice\n"
      "1 0 0 setrgbcolor 0 0 297 421 rectfill showpage\n"
      "0 1 0 setrgbcolor 0 0 595 842 rectfill showpage\n",
      letterhead);
  settings_->Set("superimpose", letterhead + "<1");
  Create();
  std::string eps = test::GetFile(folder_ + "/s1_si_1.eps");
  EXPECT_EQ(0u, eps.find("/QuentarisBackground save def /showpage {} def\r\n%!PS-Adobe"));

  std::string job = "%!PS-Adobe-3.0\n%%Pages: 2\n%%EndComments\n%%Page: 1 1\n" + eps +
                    "0 0 1 setrgbcolor 200 200 200 200 rectfill showpage\n"
                    "%%Page: 2 2\n0 0 1 setrgbcolor 200 200 200 200 rectfill showpage\n%%EOF\n";
  std::string pdf = test::RunMainJob(*settings_, folder_, job);
  ASSERT_EQ("2", test::PdfInfo(pdf, "Pages"));
  Rendering page(pdf, folder_ + "/page");
  const Pixel red{255, 0, 0}, blue{0, 0, 255}, white{255, 255, 255};
  EXPECT_EQ(red, page.At(100, 100));
  EXPECT_EQ(blue, page.At(250, 250));
  EXPECT_EQ(blue, page.At(350, 350));
  EXPECT_EQ(white, page.At(500, 700));
  EXPECT_EQ(red, page.At(100, 400));
}

}  // namespace
}  // namespace gui
