#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "production/modPostScript.h"
#include "production/modWatermark.h"
#include "startup/JobContext.h"
#include "tests/production/GhostscriptTesting.h"
#include "tests/support/PdfContent.h"

namespace gui::test {
namespace {

std::string Header(Dictionary& settings) {
  TempFolder folder;
  EXPECT_TRUE(WritePostScriptHeader(folder / "h.ps", settings));
  return GetFile(folder / "h.ps");
}

// The watermark program follows the fonts, its macros expanded as written: file-name cleaning
// would turn the document name into a_b_c.
TEST(HeaderTest, EveryDocumentEntryThumbnailsZoomLatin1CodesAndTheWatermark) {
  Session session;
  Job().documentName = "a/b:c";
  EXPECT_EQ(
      Header(*SettingsWith({"usethumbs=YES", "zoom=150", "creationdate=D:20240102030405",
                            "moddate=D:20240203040506", "creator=Writer (x) [y] {z} \\ back",
                            "title=Café – Ärger (draft", "subject=日本 subject ©",
                            "keywords=one, two; € ™", "author=Jürgen Weiß", "watermarktext="})),
      Golden("header_full.ps"));
  EXPECT_EQ(Header(*SettingsWith(
                {"usethumbs=no", "zoom=75.5", "title=Report",
                 "author=", "watermarktext=CONFIDENTIAL\r\nDoc <docname> (v2) \\ é\rx",
                 "watermarksize=8", "watermarktransparency=50.5", "watermarkrotation=-C2C"})),
            Golden("header_watermark.ps"));
}

TEST(HeaderTest, ZoomIsTheFitViewUnlessTheTextStartsWithANumberOtherThanZero) {
  const std::pair<const char*, std::string> cases[] = {
      {"0", ""},       {"", ""},          {"abc", ""},          {"75", "0.75"},     {"100", "1"},
      {"-50", "-0.5"}, {"12.5", "0.125"}, {"0.001", "0.00001"}, {" 33 pct", "0.33"}};
  for (const auto& [zoom, factor] : cases) {
    std::string view = factor.empty() ? "[/Fit]" : "[/XYZ null null " + factor + "]";
    std::string header = Header(*SettingsWith({"zoom=" + std::string(zoom)}));
    EXPECT_TRUE(Contains(header, "\r\n  /Page 1 /View " + view + "\r\n")) << zoom;
  }
}

TEST(HeaderTest, TextIsEscapedAsWindows1252WithOctalCodesAndQuestionMarksForTheRest) {
  EXPECT_EQ(EscapePSText("a\\b(c)[d]{e}"), "a\\\\b\\(c\\)\\[d\\]\\{e\\}");
  EXPECT_EQ(EscapePSText("é"), "\\351");
  EXPECT_EQ(EscapePSText("€‚ÿ\u00A0"), "\\200\\202\\377\\240");
  EXPECT_EQ(EscapePSText("日本語 🙂"), "??? ?");
  // A byte that is no UTF-8 is taken as Windows-1252 already; one undefined there is "?".
  EXPECT_EQ(EscapePSText("caf\xE9 \x81 \xC0\xAF"), "caf\\351 ? \\300\\257");
  EXPECT_EQ(EscapePSText(""), "");
  // Watermark lines are literals of Windows-1252 bytes, split only at CR LF.
  EXPECT_EQ(PSTextLines("One\r\nTwo"), "(One)\r\n(Two)");
  EXPECT_EQ(PSTextLines("a(b\\c"), "(a\\(b\\\\c)");
  EXPECT_EQ(PSTextLines("cr\rlf\n"), "(cr\rlf\n)");
  EXPECT_EQ(PSTextLines("é€日"), "(\xE9\x80?)");
  EXPECT_EQ(PSTextLines(""), "()");
}

TEST(HeaderTest, AFileThatCannotBeWrittenAnswersFalse) {
  EXPECT_FALSE(WritePostScriptHeader(TempFolder() / "missing/h.ps", *SettingsWith()));
}

DictionaryPtr With(const std::string& name, const std::string& value) {
  return SettingsWith({name + "=" + value});
}

TEST(WatermarkTest, SizeIsAWholeNumberClampedToHundredElseTheDefault) {
  const std::pair<const char*, int> cases[] = {{"12", 12}, {" 12 ", 12}, {"250", 100}, {"-5", 0},
                                               {"0", 0},   {"6.5", 6},   {"abc", 6},   {"", 6},
                                               {"+7", 6},  {"&H10", 6}};
  for (const auto& [text, size] : cases)
    EXPECT_EQ(WatermarkSize(*With("watermarksize", text)), size) << text;
}

TEST(WatermarkTest, EnabledNeedsTextAndASizeAboveZero) {
  EXPECT_FALSE(WatermarkEnabled(*SettingsWith({"watermarktext=", "watermarksize=6"})));
  EXPECT_TRUE(WatermarkEnabled(*SettingsWith({"watermarktext=Draft", "watermarksize=6"})));
  EXPECT_FALSE(WatermarkEnabled(*SettingsWith({"watermarktext=Draft", "watermarksize=0"})));
  // A size that is no number is the default 6.
  EXPECT_TRUE(WatermarkEnabled(*SettingsWith({"watermarktext=Draft", "watermarksize=x"})));
}

// A fraction is rounded to a whole percentage, halves to even, to stay a number.
TEST(WatermarkTest, GrayIsThePercentageAsAFractionWithTwoDecimals) {
  const std::pair<const char*, const char*> cases[] = {
      {"85", "0.85"},   {"100", "1.00"},  {"7", "0.07"},    {"0", "0.00"},    {"101", "0.00"},
      {"-5", "0.00"},   {"", "0.85"},     {"  ", "0.85"},   {"abc", "0.00"},  {"40%", "0.40"},
      {"50.5", "0.50"}, {"51.5", "0.52"}, {"99.7", "1.00"}, {"100.2", "0.00"}};
  for (const auto& [text, gray] : cases)
    EXPECT_EQ(WatermarkGray(*With("watermarktransparency", text)), gray) << text;
}

TEST(WatermarkTest, RotationIsTheDiagonalOrAWholeAngleWithinOneTurn) {
  for (const char* diagonal : {"c2c", " C2C ", ""})
    EXPECT_EQ(WatermarkRotation(*With("watermarkrotation", diagonal)), "corner2corner") << diagonal;
  EXPECT_EQ(WatermarkRotation(*With("watermarkrotation", "-c2c")), "corner2corner -1 mul");
  const std::pair<const char*, const char*> cases[] = {
      {"90", "90"},   {"-30", "-30"}, {"405", "45"}, {"-405", "-45"}, {"720", "0"},
      {"44.5", "44"}, {"45.5", "46"}, {"abc", "0"},  {"1e3", "1"},    {"99999999999999", "279"}};
  for (const auto& [text, rotation] : cases)
    EXPECT_EQ(WatermarkRotation(*With("watermarkrotation", text)), rotation) << text;
}

TEST(WatermarkTest, ProgramWithAFixedAngle) {
  EXPECT_EQ(WatermarkProgram(*SettingsWith({"watermarktext=Draft", "watermarkrotation=405"})),
            Golden("watermark_angle.ps"));
}

// Header and patched job through Ghostscript, as the main run takes them. A sideways text
// with fewer characters than the watermark casts still turns the page: the watermark's count
// alone would decide the direction.
TEST_F(RealGhostscriptTest,
       TheDocumentInformationAndWatermarkReachThePdfAndThePageTurnsAsItsTextSays) {
  const std::string sparse = "72 720 moveto (Hello world) show\r\n";
  const std::string sideways =
      "gsave 300 72 translate 90 rotate 0 0 moveto (Up the page) show grestore\r\n";
  const std::tuple<std::string, const char*, const char*, const char*> cases[] = {
      {sparse, "CONFIDENTIAL\r\nEntwurf für Jürgen", "0", "0"},
      {sparse, "", "c2c", "0"},
      {sparse, "CONFIDENTIAL", "c2c", "0"},
      {sparse, "CONFIDENTIAL", "90", "0"},
      {sideways, "", "c2c", "90"},
      {sideways, "CONFIDENTIAL", "-c2c", "90"},
      {sideways, "CONFIDENTIAL", "45", "90"}};
  for (const auto& [body, watermark, rotation, pageRotation] : cases) {
    SCOPED_TRACE(body + " with " + watermark + " at " + rotation);
    DictionaryPtr settings = SettingsWith(
        {"title=Quarterly (Report) é", "author=Jürgen Weiß", "creator=MyCreator",
         "watermarktext=" + std::string(watermark), "watermarkrotation=" + std::string(rotation)});
    PutFile(folder_ + "/job.ps",
            "%!PS-Adobe-3.0\r\n%%Title: job title\r\n%%For: job author\r\n%%Creator: Writer\r\n"
            "%%Pages: 1\r\n%%EndComments\r\n%%BeginSetup\r\n"
            "<< /PageSize [612 792] >> setpagedevice\r\n%%EndSetup\r\n%%Page: 1 1\r\n"
            "/Helvetica findfont 12 scalefont setfont\r\n" +
                body + "showpage\r\n%%EOF\r\n");
    EXPECT_TRUE(WritePostScriptHeader(folder_ + "/header.ps", *settings));
    std::string pdf = RunMainJob(*settings, folder_, GetFile(folder_ + "/job.ps"),
                                 GetFile(folder_ + "/header.ps"));
    EXPECT_EQ(PdfInfo(pdf, "Page rot"), pageRotation);
    EXPECT_EQ(PdfInfo(pdf, "Page size"), "612 x 792 pts (letter)");
    EXPECT_EQ(PdfInfo(pdf, "Title"), "Quarterly (Report) é");
    EXPECT_EQ(PdfInfo(pdf, "Author"), "Jürgen Weiß");
    EXPECT_EQ(PdfInfo(pdf, "Creator"), "MyCreator");
    // A level watermark reads back in one piece.
    std::string text = PdfText(pdf);
    EXPECT_TRUE(
        std::string(rotation) != "0" ||
        (Contains(text, "Hello world") && Contains(text, "CONFIDENTIAL\nEntwurf für Jürgen")))
        << text;
  }
}

// The watermark's fonts carry the whole of Windows-1252, 0x80-0x9F too, and stay embedded; an
// apostrophe, hyphen and grave print as typed, not as ISO Latin-1's quote and minus; a
// character outside it prints as "?". A job's font re-encoded with the system's ISO Latin-1 keeps
// its accents there.
TEST_F(RealGhostscriptTest, TheWatermarkPrintsEveryWindows1252Character) {
  const std::string job =
      "%!PS\n/Helvetica findfont dup length dict begin {1 index /FID ne {def} {pop pop} ifelse} "
      "forall /Encoding ISOLatin1Encoding def currentdict end /JobFont exch definefont\n"
      "24 scalefont setfont 72 700 moveto (\\221\\222\\351) show showpage\n";
  const std::string lines[] = {"100 € – “Don’t” ‘q’ … • ™ † ‡ ‰ —", "ŒœŸŠšŽžƒ‹›ˆ˜‚„",
                               "Größe café ÿ © Don't 2-3 `x`"};
  DictionaryPtr settings =
      SettingsWith({"watermarktext=" + lines[0] + "\r\n" + lines[1] + "\r\n" + lines[2] + " 日",
                    "watermarksize=2", "watermarkrotation=0"});
  EXPECT_TRUE(WritePostScriptHeader(folder_ + "/header.ps", *settings));
  std::string pdf = RunMainJob(*settings, folder_, job, GetFile(folder_ + "/header.ps"));
  EXPECT_EQ(Words(PdfText(pdf)),
            Words("`´é\n" + lines[0] + "\n" + lines[1] + "\n" + lines[2] + " ?"));
  EXPECT_EQ(UnembeddedFonts(pdf), "");
}

}  // namespace
}  // namespace gui::test
