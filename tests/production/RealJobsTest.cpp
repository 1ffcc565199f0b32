#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "tests/production/GhostscriptTesting.h"
#include "tests/production/ProgramFolder.h"
#include "tests/support/HandMadePdf.h"
#include "tests/support/PdfContent.h"

namespace gui::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kWatermark = "CONFIDENTIAL";
constexpr const char* kBackdropWord = "BACKDROP";
constexpr const char* kBackdropColour = "255 0 255";
constexpr const char* kWhite = "255 255 255";
// The middle of the background's rectangle, in points from the A4 page's upper left corner;
// clear of the text of every job below and of the watermark in the page's middle.
constexpr int kBackdropX = 490;
constexpr int kBackdropY = 762;

// A three-page A4 document with document information of its own. Each page paints black over
// the middle, where the watermark is, and over a corner of the background's rectangle.
const std::string kFleetPostScript =
    "%!PS\n<< /PageSize [595 842] >> setpagedevice\n"
    "[ /Title (Fleet Maintenance Plan) /Author (Mira Stone) /DOCINFO pdfmark\n"
    "/Marks { 0 setgray 90 380 415 90 rectfill 500 60 40 40 rectfill } def\n"
    "/Times-Roman findfont 16 scalefont setfont\n"
    "72 760 moveto (Fleet maintenance for the spring) show\n"
    "72 730 moveto (Trucks are serviced in March) show Marks showpage\n"
    "/Helvetica-Bold findfont 16 scalefont setfont\n"
    "72 760 moveto (Vans follow in April) show Marks showpage\n"
    "/Courier findfont 16 scalefont setfont\n"
    "72 760 moveto (Forklifts close the season in May) show Marks showpage\n";

// Ledger lines for enscript: three A4 pages of its default layout, every line unique.
std::string LedgerText() {
  std::string text;
  for (int line = 1; line <= 150; ++line)
    text += "Ledger entry " + std::to_string(line) + ": paid invoice " + std::to_string(line * 7) +
            "\n";
  return text;
}

// A job as a Windows PostScript driver writes it: Ctrl-D first and last, CR LF line ends, DSC
// comments with title and author in Windows-1252, a prolog of procedures and a reencoded font.
const std::string kWindowsDriverJob =
    "\x04%!PS-Adobe-3.0\r\n%%Title: \223Caf\351 Cr\350me\224 \226 Menu\r\n"
    "%%Creator: PScript5.dll Version 5.2.2\r\n%%For: Ren\351e\r\n"
    "%%CreationDate: 12/7/2026 10:15:00\r\n%%BoundingBox: (atend)\r\n"
    "%%Pages: (atend)\r\n%%Orientation: Portrait\r\n%%EndComments\r\n"
    "%%BeginProlog\r\n%%BeginResource: procset Pscript_WinNT_Full 5.0 0\r\n"
    "/Pscript_WinNT_Full 40 dict def Pscript_WinNT_Full begin\r\n"
    "/bd {bind def} bind def /M {moveto} bd /S {show} bd\r\n"
    "/RE {findfont dup length dict begin {1 index /FID ne {def} {pop pop} ifelse} forall "
    "/Encoding ISOLatin1Encoding def currentdict end definefont pop} bd\r\n"
    "/F {findfont exch scalefont setfont} bd\r\nend\r\n%%EndResource\r\n%%EndProlog\r\n"
    "%%BeginSetup\r\nPscript_WinNT_Full begin\r\n/Helvetica-Latin1 /Helvetica RE\r\n"
    "%%EndSetup\r\n%%Page: 1 1\r\n%%BeginPageSetup\r\nsave\r\n%%EndPageSetup\r\n"
    "18 /Helvetica-Latin1 F 72 720 M (Caf\351 Cr\350me menu) S\r\n"
    "72 690 M (Cr\352pe with pear) S\r\nrestore showpage\r\n"
    "%%Page: 2 2\r\n%%BeginPageSetup\r\nsave\r\n%%EndPageSetup\r\n"
    "18 /Helvetica-Latin1 F 72 720 M (Desserts on page two) S\r\nrestore showpage\r\n"
    "%%Trailer\r\nend\r\n%%Pages: 2\r\n%%BoundingBox: 0 0 595 842\r\n%%EOF\r\n\x04";

// The real gui on jobs that real programs write, with a background page of the test's own,
// its font embedded as office programs export it.
class RealJobsTest : public ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    MakeEmbeddedPdf(
        "%!PS\n<< /PageSize [595 842] >> setpagedevice\n1 0 1 setrgbcolor "
        "420 40 140 80 rectfill 0 setgray /Helvetica-Bold findfont 14 scalefont setfont "
        "420 130 moveto (BACKDROP) show showpage\n",
        backdrop_);
  }

  // The PDF gui makes of the job with these settings; the job's bytes must come through as
  // they were, as the backend's own copy of the print data.
  std::string Convert(const std::string& job, const std::string& settings,
                      const std::string& document = "job") {
    std::string before = GetFile(job);
    std::string session = "real" + std::to_string(++runs_);
    std::string pdf = Out(session + ".pdf");
    Settings("output=" + pdf + "\r\n" + settings);
    ProgramResult result = Print(job, session, {}, document);
    EXPECT_EQ(result.exitCode, 0) << job << "\n" << result.errorOutput;
    EXPECT_TRUE(fs::exists(job) && GetFile(job) == before) << job << " was changed by the run";
    return pdf;
  }

  // Settings that draw the watermark and the background on the pages the place selects.
  std::string Decorations(const std::string& place) const {
    return std::string("watermarktext=") + kWatermark +
           "\r\nwatermarkrotation=0\r\nsuperimpose=" + backdrop_ + place + "\r\n";
  }

  // The watermark once on every page; the background's word and colour once on exactly the
  // selected.
  void ExpectDecorations(const std::string& pdf, int pages, const std::set<int>& selected) {
    ASSERT_EQ(PdfInfo(pdf, "Pages"), std::to_string(pages));
    for (int page = 1; page <= pages; ++page) {
      std::string text = PageText(pdf, page);
      bool chosen = selected.count(page) > 0;
      EXPECT_EQ(Occurrences(text, kWatermark), 1) << "page " << page << ":\n" << text;
      EXPECT_EQ(Occurrences(text, kBackdropWord), chosen ? 1 : 0) << "page " << page << ":\n"
                                                                  << text;
      EXPECT_EQ(PixelAt(pdf, page, kBackdropX, kBackdropY), chosen ? kBackdropColour : kWhite)
          << "page " << page;
    }
  }

  // Writes a job file through a shell command line that reads $1 and writes $2.
  std::string Produce(const std::string& commandLine, const std::string& input,
                      const std::string& job) {
    ProgramResult made = RunProgram("/bin/sh", {"-c", commandLine, "sh", input, job}, {});
    return made.exitCode == 0 && fs::exists(job) && fs::file_size(job) > 0 ? "" : made.errorOutput;
  }

  std::string backdrop_ = root_ / "backdrop.pdf";
  int runs_ = 0;
};

TEST_F(RealJobsTest, GroffAndEnscriptPostScriptGetWatermarkAndBackgroundOnTheSelectedPages) {
  PutFile(root_ / "memo.ms",
          ".TL\nHarbour Survey Memo\n.AU\nAda Quill\n.PP\nThe northern quay needs new bollards.\n"
          ".bp\n.PP\nThe dredging budget is on this page.\n"
          ".bp\n.PP\nWinter storms close the memo.\n");
  PutFile(root_ / "ledger.txt", LedgerText());
  std::string groff =
      Produce("exec groff -Tps -ms \"$1\" >\"$2\"", root_ / "memo.ms", root_ / "memo.ps");
  if (!groff.empty())
    GTEST_SKIP() << "groff with -ms and its PostScript device is missing: " << groff;
  std::string enscript =
      Produce("exec enscript -q -M A4 -o \"$2\" \"$1\"", root_ / "ledger.txt", root_ / "ledger.ps");
  if (!enscript.empty()) GTEST_SKIP() << "enscript is missing: " << enscript;
  // Both write Unix line ends, unlike the Windows jobs.
  for (const char* job : {"memo.ps", "ledger.ps"})
    ASSERT_FALSE(Contains(GetFile(root_ / job), "\r")) << job;
  // The print queue's own filter sets the page size again, and a resolution, before page one.
  ASSERT_EQ(Produce("PPD=" GUI_SOURCE_DIR "/packaging/quentaris-pdf-printer.ppd exec "
                    "/usr/lib/cups/filter/pstops 1 user memo 1 '' \"$1\" >\"$2\"",
                    root_ / "memo.ps", root_ / "queued.ps"),
            "");
  ASSERT_TRUE(Contains(GetFile(root_ / "queued.ps"), "<</HWResolution[600 600]>>setpagedevice"));
  ExpectDecorations(Convert(root_ / "queued.ps", Decorations(""), "memo"), 3, {1, 2, 3});

  std::string memo = Convert(root_ / "memo.ps", Decorations("<1"), "memo");
  ExpectDecorations(memo, 3, {1});
  EXPECT_TRUE(Contains(PageText(memo, 1), "Harbour Survey Memo")) << PageText(memo, 1);
  EXPECT_TRUE(Contains(PageText(memo, 1), "northern quay needs new bollards"));
  EXPECT_TRUE(Contains(PageText(memo, 2), "dredging budget is on this page"));
  EXPECT_TRUE(Contains(PageText(memo, 3), "Winter storms close the memo"));

  std::string ledger = Convert(root_ / "ledger.ps", Decorations("<E"), "ledger.txt");
  ExpectDecorations(ledger, 3, {2});
  // enscript's own %%Title; a document title wins over the document name.
  EXPECT_EQ(PdfInfo(ledger, "Title"), "Enscript Output");
  std::string text = PdfText(ledger);
  std::istringstream lines(LedgerText());
  for (std::string line; std::getline(lines, line);)
    EXPECT_TRUE(Contains(text, line)) << line;
}

// The same comments written as PostScript strings or in UTF-8 are decoded in
// DocumentPropertiesTest.
TEST_F(RealJobsTest, WindowsDriverJobWithCrLfAndCtrlDHasItsTitleAuthorAndTextDecoded) {
  PutFile(root_ / "windows.ps", kWindowsDriverJob);
  std::string pdf = Convert(root_ / "windows.ps", "", "Microsoft Word - Menu.docx");
  EXPECT_EQ(TitleAuthorPages(pdf), "“Café Crème” – Menu|Renée|2");
  EXPECT_TRUE(Contains(PageText(pdf, 1), "Café Crème menu")) << PageText(pdf, 1);
  EXPECT_TRUE(Contains(PageText(pdf, 1), "Crêpe with pear")) << PageText(pdf, 1);
  EXPECT_TRUE(Contains(PageText(pdf, 2), "Desserts on page two")) << PageText(pdf, 2);
}

// A PDF as office programs write one: an embedded TrueType font in which a glyph stands for
// two characters (the "fi" ligature), and the euro, each mapped to its text by the font's
// Unicode table.
std::string LigaturePdf() {
  const std::string unicode =
      "/CIDInit /ProcSet findresource begin 12 dict begin begincmap /CMapName /L def "
      "1 begincodespacerange <00> <FF> endcodespacerange 2 beginbfchar <01> <00660069> "
      "<80> <20AC> endbfchar endcmap CMapName currentdict /CMap defineresource pop end end";
  std::string font = GetFile("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
  return HandMadePdf(
      {"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
       "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Contents 4 0 R "
       "/Resources << /Font << /F1 5 0 R >> >> >>",
       Stream("", "BT /F1 24 Tf 72 700 Td (The \\001gures cost 5 \\200) Tj ET"),
       "<< /Type /Font /Subtype /TrueType /BaseFont /DejaVuSans /FontDescriptor 7 0 R "
       "/ToUnicode 6 0 R >>",
       Stream("", unicode),
       "<< /Type /FontDescriptor /FontName /DejaVuSans /Flags 4 /FontBBox [-1021 -463 1793 1232] "
       "/ItalicAngle 0 /Ascent 928 /Descent -236 /CapHeight 729 /StemV 80 /FontFile2 8 0 R >>",
       Stream("/Length1 " + std::to_string(font.size()), font)},
      "/Root 1 0 R");
}

// The job's text reads the same in the PDF, also after a merge has read that PDF once more.
// Widths are the font's own, so only the letters are compared.
TEST_F(RealJobsTest, LigaturesAndSymbolsOfAPdfJobSurvivePrintingAndMerging) {
  auto letters = [](const std::string& text) {
    std::string joined;
    for (const std::string& word : Words(text))
      joined += word;
    return joined;
  };
  PutFile(root_ / "office.pdf", LigaturePdf());
  ASSERT_EQ(letters(PdfText(root_ / "office.pdf")), "Thefigurescost5€");
  std::string appendix = root_ / "appendix.pdf";
  MakePdf(PostScriptJob({"Appendix"}), appendix);
  for (const std::string& settings :
       {std::string(), "mergefile=" + appendix + "\r\nmergeposition=top\r\n"}) {
    std::string pdf = Convert(root_ / "office.pdf", settings, "office.pdf");
    EXPECT_EQ(letters(PageText(pdf, 1)), "Thefigurescost5€") << settings;
  }
}

TEST_F(RealJobsTest, PdfJobKeepsItsFontsTextAndInformationUnderWatermarkAndBackground) {
  std::string job = root_ / "fleet.pdf";
  MakeEmbeddedPdf(kFleetPostScript, job);
  ASSERT_EQ(UnembeddedFonts(job), "");
  std::string pdf = Convert(job, Decorations("<L1"), "fleet.pdf");
  ExpectDecorations(pdf, 3, {3});
  EXPECT_EQ(TitleAuthorPages(pdf), "Fleet Maintenance Plan|Mira Stone|3");
  EXPECT_EQ(UnembeddedFonts(pdf), "");
  EXPECT_EQ(QpdfProblems(pdf), "");
  for (int page = 1; page <= 3; ++page) {
    EXPECT_EQ(SortedWords(PageText(pdf, page), {kWatermark, kBackdropWord}),
              SortedWords(PageText(job, page)))
        << "page " << page;
    // Watermark and background lie under the page's own black: inside the background's
    // rectangle, and a row through the middle.
    EXPECT_EQ(PixelAt(pdf, page, 520, 762), "0 0 0") << "page " << page;
    for (int x = 100; x <= 500; x += 25)
      EXPECT_EQ(PixelAt(pdf, page, x, 421), "0 0 0") << "page " << page << " at " << x;
  }
}

// ps2write's PostScript carries a PDF that its procedures read by byte position: one byte added
// or changed anywhere in the job, a CR LF for an LF, and its pages are lost. Its source keeps the
// standard fonts unembedded: subset fonts come back from ps2write's PostScript without their
// Unicode, through Ghostscript alone too.
TEST_F(RealJobsTest, Ps2writeJobReadsItsOwnDataAndComesOutWithItsText) {
  std::string source = root_ / "fleet.pdf";
  MakePdf(kFleetPostScript, source);
  std::string job = root_ / "fleet.ps";
  std::string made = Produce(
      "exec /usr/bin/gs -q -dSAFER -dNOPAUSE -dBATCH -sDEVICE=ps2write -sOutputFile=\"$2\" \"$1\"",
      source, job);
  ASSERT_EQ(made, "");
  std::string pdf = Convert(job, "", "fleet.pdf");
  ASSERT_EQ(PdfInfo(pdf, "Pages"), "3");
  for (int page = 1; page <= 3; ++page)
    EXPECT_EQ(SortedWords(PageText(pdf, page)), SortedWords(PageText(source, page)))
        << "page " << page;
  EXPECT_EQ(UnembeddedFonts(pdf), "");
}

}  // namespace
}  // namespace gui::test
