#include "production/modSuperimpose.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "services/modConvert.h"
#include "tests/production/GhostscriptTesting.h"
#include "tests/support/PdfContent.h"

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

// Either way the page description becomes the named form of its item, its own comments
// fenced off from the job's.
TEST(StripShowpage, CutsTheLegacyEpsAndWrapsTheModernOneIntoAForm) {
  const std::string begin =
      "[/_objdef {QuentarisBackground2} /BBox [0 0 14400 14400] /BP pdfmark\r\n";
  const std::string start = "/QuentarisBackgroundSave save def /showpage {} def\r\n";
  const std::string document = "%%BeginDocument: background\r\n";
  const std::string end = "%%EndDocument\r\n";
  const std::string restore = "QuentarisBackgroundSave restore\r\n";
  const std::string close = "[/EP pdfmark\r\n";
  // "showpage" cut by the reader's block.
  const std::string legacy = "draw\n" + std::string(65528, 'x') + "\nshow";
  const std::tuple<std::string, GhostscriptDialect, std::string> cases[] = {
      {"draw\nshowpage\nmore showpage\n", GhostscriptDialect::Legacy, "draw\n"},
      {"draw\nShowpage\n", GhostscriptDialect::Legacy, "draw\nShowpage\n"},
      {"", GhostscriptDialect::Legacy, ""},
      {legacy + "page\n", GhostscriptDialect::Legacy, legacy.substr(0, legacy.size() - 4)},
      {"draw\nshowpage\n", GhostscriptDialect::Modern, start + document + "draw\nshowpage\n"},
      {"draw\r\nshowpage", GhostscriptDialect::Modern, start + document + "draw\r\nshowpage\r\n"}};
  TempFolder folder;
  for (const auto& [eps, dialect, inside] : cases) {
    PutFile(folder / "full.eps", eps);
    StripShowpage(folder / "full.eps", folder / "form.eps", dialect, 2);
    bool modern = dialect == GhostscriptDialect::Modern;
    std::string expected =
        modern ? begin + inside + end + restore + close : begin + document + inside + end + close;
    EXPECT_EQ(expected, GetFile(folder / "form.eps")) << eps.substr(0, 40);
  }
}

// A letterhead drawn with transparency, as office programs export a faded logo.
void MakeTransparentLetterhead(const std::string& pdf) {
  MakePdf(
      "%!PS\n/Helvetica-Bold findfont 40 scalefont setfont 72 760 moveto (ACME Letterhead) show\n"
      "0.4 .setfillconstantalpha 1 0 0 setrgbcolor 300 400 150 0 360 arc fill\nshowpage\n",
      pdf, {"-dALLOWPSTRANSPARENCY"});
}

// The number of form drawings a PDF holds, read from its uncompressed form.
int FormsIn(const std::string& pdf) {
  CaptureOutput("qpdf", {"--qdf", "--object-streams=disable", pdf, pdf + ".qdf"});
  return Occurrences(GetFile(pdf + ".qdf"), "/Subtype /Form");
}

// A background is drawn from one form however many pages show it, straight from its PDF: a
// letterhead with transparency keeps its faded red, one with an embedded font keeps its text
// in that font, not in bitmaps.
TEST_F(RealGhostscriptTest, LetterheadsAreOneFormUnderEveryPageKeepingFontsAndTransparency) {
  std::vector<std::string> pages(60, "Body text");
  // The job reads the PDF by its name, so it may hold any character.
  std::string hostile = folder_ + "/a b = %d \"q\" (\xC3\xBC) \\.gs";
  std::filesystem::create_directories(hostile);
  for (const bool transparent : {true, false}) {
    std::string letterhead = hostile + "/letterhead.pdf";
    if (transparent)
      MakeTransparentLetterhead(letterhead);
    else
      MakeEmbeddedPdf(
          "/Times-Bold findfont 30 scalefont setfont 72 40 moveto (ACME Letterhead) "
          "show showpage\n",
          letterhead);
    settings_->Set("superimpose", letterhead);
    std::string pdf = RunMainJob(*settings_, folder_, PostScriptJob(pages));
    EXPECT_EQ("", QpdfProblems(pdf));
    EXPECT_EQ(1, FormsIn(pdf)) << "one copy of the background, not one per page";
    EXPECT_TRUE(Contains(PageText(pdf, 60), "Body text"));
    EXPECT_TRUE(Contains(PageText(pdf, 60), "ACME Letterhead"));
    std::string fonts = CaptureOutput("pdffonts", {pdf});
    EXPECT_FALSE(Contains(fonts, "Type 3")) << fonts;
    if (transparent) {
      std::istringstream pixel(PixelAt(pdf, 60, 300, 792 - 400));
      int red = 0, green = 0, blue = 0;
      pixel >> red >> green >> blue;
      EXPECT_TRUE(red > 240 && green > 130 && green < 180 && blue == green) << pixel.str();
    } else {
      EXPECT_TRUE(Contains(fonts, "Times-Bold")) << fonts;
      EXPECT_FALSE(Contains(UnembeddedFonts(pdf), "Times-Bold")) << fonts;
    }
  }
}

// A missing PDF fails before any run. One that Ghostscript cannot read, whole or at all, or
// without its password, fails with Ghostscript's words, which the log keeps too.
TEST_F(RealGhostscriptTest, AMissingBrokenOrProtectedBackgroundPdfFailsSayingWhy) {
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

  const std::string failed = "1007: An error occured while running Ghostscript\r\n\r\n";
  PutFile(folder_ + "/truncated.pdf", GetFile(good).substr(0, 400));
  EXPECT_EQ(0u, create(folder_ + "/truncated.pdf").find(failed));
  EXPECT_TRUE(Contains(Log(), "Ghostscript output:\r\n"));
  PutFile(folder_ + "/text.pdf", "no PDF here\n");
  EXPECT_EQ(0u, create(folder_ + "/text.pdf").find(failed));
  EXPECT_TRUE(Contains(Log(), "Ghostscript returned exit code 1\r\n"));
  EXPECT_EQ("no PDF here\n", GetFile(folder_ + "/text.pdf"));
  std::string locked = folder_ + "/locked.pdf";
  CaptureOutput("qpdf", {"--encrypt", "user", "owner", "256", "--", good, locked});
  EXPECT_EQ(0u, create(locked).find(failed + "The PDF file '" + locked +
                                    "' is protected by a password. Ghostscript cannot read it."));
  EXPECT_FALSE(std::filesystem::exists(folder_ + "/s1_si_full_1.eps"));
}

}  // namespace
}  // namespace gui::test
