#include "production/PdfFacts.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "production/PdfStrings.h"
#include "tests/production/GhostscriptTesting.h"
#include "tests/support/HandMadePdf.h"

namespace gui::test {
namespace {

using namespace std::string_literals;

// "N G R" of the last "/Key N G R" in a PDF's bytes (its newest trailer's entry).
std::string LastReference(const std::string& pdf, const std::string& key) {
  std::size_t at = pdf.rfind("/" + key + " ");
  if (at == std::string::npos) return "";
  at += key.size() + 2;
  return pdf.substr(at, pdf.find('R', at) + 1 - at);
}

std::string LastStartXref(const std::string& pdf) {
  std::size_t at = pdf.rfind("startxref") + 9;
  while (pdf[at] == '\r' || pdf[at] == '\n')
    ++at;
  return pdf.substr(at, pdf.find_first_of("\r\n", at) - at);
}

// An incremental update: object `number` anew, and a section whose trailer points back to the
// section at `prev`, the newest one before it unless given.
std::string Updated(const std::string& pdf, int number, const std::string& object,
                    std::string prev = "") {
  if (prev.empty()) prev = LastStartXref(pdf);
  std::string update = pdf + std::to_string(number) + " 0 obj\n" + object + "\nendobj\n";
  std::string start = std::to_string(update.size());
  return update + "xref\n0 1\n0000000000 65535 f \n" + std::to_string(number) + " 1\n" +
         Entry(pdf.size()) + "trailer\n<< /Size 99 /Root " + LastReference(pdf, "Root") +
         " /Info " + LastReference(pdf, "Info") + " /Prev " + prev + " >>\nstartxref\n" + start +
         "\n%%EOF\n";
}

// A one-page PDF with this metadata stream, and document information when given.
std::string XmpPdf(const std::string& metadata, const std::string& info = "") {
  std::vector<std::string> objects = {"<< /Type /Catalog /Pages 2 0 R /Metadata 4 0 R >>",
                                      "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
                                      "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] >>",
                                      metadata};
  if (!info.empty()) objects.push_back(info);
  return HandMadePdf(objects, info.empty() ? "/Root 1 0 R" : "/Root 1 0 R /Info 5 0 R");
}

// A page tree of this count, an information object and one more object when given.
std::string Counted(const std::string& count, const std::string& info,
                    const std::string& more = "") {
  std::vector<std::string> objects = {"<< /Pages 2 0 R >>", "<< /Count " + count + " >>", info};
  if (!more.empty()) objects.push_back(more);
  return HandMadePdf(objects, "/Root 1 0 R /Info 3 0 R");
}

const std::string kXmp =
    "<?xpacket begin='' id='W5M0MpCehiHzreSzNTczkc9d'?><x:xmpmeta xmlns:x='adobe:ns:meta/'>"
    "<rdf:RDF xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#'><rdf:Description "
    "rdf:about='' xmlns:dc='http://purl.org/dc/elements/1.1/'><dc:title><rdf:Alt>"
    "<rdf:li xml:lang=\"de\">Bericht</rdf:li><rdf:li xml:lang=\"x-default\">Tom &amp; Jerry "
    "&#x2013; &lt;Q3&gt; &quot;&apos;&#246;</rdf:li></rdf:Alt></dc:title><dc:creator><rdf:Seq>"
    "<rdf:li>Bj&#246;rk</rdf:li><rdf:li>Other</rdf:li></rdf:Seq></dc:creator></rdf:Description>"
    "</rdf:RDF></x:xmpmeta><?xpacket end='w'?>";
const std::string kXmpTitle = "Tom & Jerry \u2013 <Q3> \"'\u00f6";

// "title|author|pages" of what the reader finds.
std::string Described(const PdfFacts& facts) {
  return facts.title + "|" + facts.author + "|" + std::to_string(facts.pages);
}

class PdfFactsTest : public ::testing::Test {
 protected:
  // qpdf's rewrite of a PDF; it exits with 3 after warnings about a damaged input.
  std::string Qpdf(const std::string& from, const std::string& name,
                   std::vector<std::string> options) {
    options.insert(options.end(), {from, folder_ / name});
    int code = RunProgram("/usr/bin/qpdf", options, {}).exitCode;
    EXPECT_TRUE(code == 0 || code == 3) << code;
    return folder_ / name;
  }
  // A PDF of blank pages that Ghostscript makes, its information given by a DOCINFO pdfmark,
  // with a classic table; and qpdf's rewrite of it with object and cross-reference streams,
  // where the information dictionary lies compressed inside an object stream.
  std::vector<std::string> PlainAndPacked(const std::string& docinfo, int pages) {
    std::string job = "%!PS\n[" + docinfo + " /DOCINFO pdfmark\n";
    for (int page = 0; page < pages; ++page)
      job += "showpage\n";
    MakePdf(job, folder_ / "plain.pdf");
    std::string packed = Qpdf(folder_ / "plain.pdf", "packed.pdf", {"--object-streams=generate"});
    EXPECT_TRUE(Contains(GetFile(packed), "/ObjStm") && !Contains(GetFile(packed), "trailer"));
    return {folder_ / "plain.pdf", packed};
  }
  PdfFacts Facts(const std::string& bytes) {
    PutFile(folder_ / "facts.pdf", bytes);
    return ReadPdfFacts(folder_ / "facts.pdf");
  }

  TempFolder folder_;
};

TEST_F(PdfFactsTest, APdfIsKnownByItsContentWithinTheFirstKilobyte) {
  struct Case {
    std::string bytes;
    bool pdf;
  } cases[] = {
      {"%PDF-1.7\n", true},
      {std::string(1019, 'x') + "%PDF-", true},  // a mail header or the like before it
      {std::string(1020, 'x') + "%PDF-", false},
      {"%!PS-Adobe-3.0\n%%Title: (a %PDF file)\n", false},
      {"%PDF1.4", false},
      {"", false},
  };
  for (const Case& c : cases) {
    PutFile(folder_ / "job.ps", c.bytes);
    EXPECT_EQ(IsPdfJob(folder_ / "job.ps"), c.pdf) << c.bytes.substr(0, 20);
  }
  EXPECT_FALSE(IsPdfJob(folder_ / "missing.pdf"));
  EXPECT_FALSE(IsPdfJob(folder_.Path()));
  EXPECT_EQ(ReadPdfFacts(folder_ / "missing.pdf").pages, -1);
}

TEST_F(PdfFactsTest, GhostscriptAndQpdfDocumentsGiveTheirInformationAndPageCount) {
  struct Case {
    std::string docinfo;
    int pages;
    std::string described;
  } cases[] = {
      {"/Title (Quarterly \\(draft\\) report) /Author (Ann Lee)", 3,
       "Quarterly (draft) report|Ann Lee|3"},
      {"/Title <FEFF00DC006E00690063006F0064006500A020AC00204E2D6587> "
       "/Author <FEFF004A00FC0072006700650020D83DDE00>",
       1, "\u00dcnicode\u00a0\u20ac \u4e2d\u6587|J\u00fcrge \U0001F600|1"},
  };
  for (const Case& c : cases) {
    for (const std::string& pdf : PlainAndPacked(c.docinfo, c.pages)) {
      PdfFacts facts = ReadPdfFacts(pdf);
      EXPECT_EQ(Described(facts), c.described) << pdf;
      EXPECT_EQ(facts.creationDate.substr(0, 4), "D:20") << pdf;
      EXPECT_FALSE(facts.encrypted);
    }
  }
}

TEST_F(PdfFactsTest, EncryptedDocumentsGiveNoTextButTheirPageCount) {
  std::string plain = PlainAndPacked("/Title (Secret) /Author (Spy)", 2)[0];
  for (const char* bits : {"40", "128", "256"}) {
    PdfFacts facts = ReadPdfFacts(
        Qpdf(plain, "locked.pdf", {"--allow-weak-crypto", "--encrypt", "u", "o", bits, "--"}));
    EXPECT_TRUE(facts.encrypted) << bits;
    EXPECT_EQ(Described(facts) + facts.creationDate, "||2") << bits;
  }
  PdfFacts packed = ReadPdfFacts(
      Qpdf(plain, "locked.pdf", {"--object-streams=generate", "--encrypt", "u", "o", "256", "--"}));
  EXPECT_TRUE(packed.encrypted);
  EXPECT_EQ(packed.title + packed.author, "");
}

// Each update replaces the information object; the newest section wins, over a classic table
// and over a cross-reference stream.
TEST_F(PdfFactsTest, IncrementalUpdatesGiveTheNewestInformation) {
  for (const std::string& file : PlainAndPacked("/Title (First) /Author (Ann)", 2)) {
    std::string base = GetFile(file);
    int info = std::stoi(LastReference(base, "Info"));
    std::string once = Updated(base, info, "<< /Title (Second) /Author (Bea) >>");
    EXPECT_EQ(Described(Facts(once)), "Second|Bea|2");
    // The newest information names no author.
    std::string twice = Updated(once, info, "<< /Title <FEFF0054006800690072006400> >>");
    EXPECT_EQ(Described(Facts(twice)), "Third||2");
  }
}

TEST_F(PdfFactsTest, MetadataDescribesAFileWithoutDocumentInformation) {
  std::string metadata = Stream("/Type /Metadata /Subtype /XML", kXmp);
  EXPECT_EQ(Described(Facts(XmpPdf(metadata))), kXmpTitle + "|Bj\u00f6rk|1");
  std::string info = "<< /Author (Info Author) /Title () >>";
  EXPECT_EQ(Described(Facts(XmpPdf(metadata, info))), "|Info Author|1");
  // qpdf leaves a stream typed as metadata uncompressed; untyped, it compresses it.
  PutFile(folder_ / "loose.pdf", XmpPdf(Stream("/Kind /Untyped", kXmp)));
  std::string packed = Qpdf(folder_ / "loose.pdf", "packed.pdf",
                            {"--compress-streams=y", "--object-streams=generate"});
  ASSERT_FALSE(Contains(GetFile(packed), "x-default")) << "compressed";
  EXPECT_EQ(ReadPdfFacts(packed).title, kXmpTitle);
  // A title without the list that XMP asks for, and a creator list without items.
  std::string plain = "<x:xmpmeta><dc:title>Plain</dc:title><dc:creator><rdf:Seq/></dc:creator>";
  EXPECT_EQ(Described(Facts(XmpPdf(Stream("", plain)))), "Plain||1");
}

// A startxref that misses its section, none at all, or every offset moved by bytes put in
// front: the objects are found by a scan of the file. Cut anywhere, a file gives what it still
// holds whole, never a part of a text.
TEST_F(PdfFactsTest, DamagedFilesAreRepairedByAScanAndCutOnesGiveWholeTextsOrNone) {
  for (const std::string& file : PlainAndPacked("/Title (Whole title) /Author (Me)", 2)) {
    std::string base = GetFile(file);
    std::size_t start = base.rfind("startxref");
    for (const std::string& pdf :
         {base.substr(0, start) + "startxref\n17\n%%EOF\n", base.substr(0, start),
          base.substr(0, 9) + "% a comment that moves every object\n" + base.substr(9)})
      EXPECT_EQ(Described(Facts(pdf)), "Whole title|Me|2") << pdf.substr(pdf.size() - 40);
    for (std::size_t size = 0; size < base.size(); size += 1 + base.size() / 97) {
      PdfFacts facts = Facts(base.substr(0, size));
      EXPECT_TRUE(facts.title.empty() || facts.title == "Whole title") << size;
      EXPECT_TRUE(facts.pages == -1 || facts.pages == 2) << size;
    }
  }
}

// Loops, cycles, depth and sizes that a hostile file could use to hang the reader or exhaust
// its memory.
TEST_F(PdfFactsTest, HostileStructuresEndInBoundedWork) {
  const std::string info = "<< /Title (T) >>";
  std::string deep = "<< /Title (Deep) /Author " + std::string(100000, '[') + " >>";
  struct Case {
    const char* what;
    std::string pdf;
    std::string described;
  } cases[] = {
      {"a count that names itself", Counted("4 0 R", info, "4 0 R"), "T||-1"},
      {"a negative count", Counted("-4", info), "T||-1"},
      {"a count beyond 32 bits", Counted("4294967297", info), "T||-1"},
      {"nesting deeper than the reader follows", Counted("5", deep), "||5"},
      {"an information entry that is no dictionary", Counted("1", "(text)"), "||1"},
      {"metadata with a length far beyond the file",
       XmpPdf("<< /Length 99999999999 >>\nstream\n" + kXmp + "\nendstream"),
       kXmpTitle + "|Bj\u00f6rk|1"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Described(Facts(c.pdf)), c.described) << c.what;
  // The newest section's /Prev names the update before it, whose /Prev names the newest again.
  std::string update = Updated(Counted("2", info), 3, "<< /Title (Looped) >>", "PREV000000");
  std::string newest = Updated(update, 3, "<< /Title (Looped) >>");
  newest.replace(newest.find("PREV000000"), 10, Entry(std::stoul(LastStartXref(newest))), 0, 10);
  EXPECT_EQ(Described(Facts(newest)), "Looped||2");
}

TEST_F(PdfFactsTest, LibreOfficeDocumentsGiveTheirProperties) {
  if (!std::filesystem::exists("/usr/bin/soffice")) GTEST_SKIP() << "LibreOffice is missing";
  PutFile(folder_ / "budget.fodt", R"(<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:dc="http://purl.org/dc/elements/1.1/"
 xmlns:meta="urn:oasis:names:tc:opendocument:xmlns:meta:1.0" office:version="1.2"
 office:mimetype="application/vnd.oasis.opendocument.text"><office:meta>
 <dc:title>Budget 2024 – Über</dc:title><meta:initial-creator>Zoë Adams</meta:initial-creator>
 </office:meta><office:body><office:text><text:p>Hello</text:p></office:text></office:body>
</office:document>
)");
  ProgramResult made = RunProgram(
      "/usr/bin/soffice",
      {"--headless", "--convert-to", "pdf", "--outdir", folder_.Path(), folder_ / "budget.fodt"},
      {"HOME=" + folder_ / "home"});
  ASSERT_EQ(made.exitCode, 0) << made.errorOutput;
  EXPECT_EQ(Described(ReadPdfFacts(folder_ / "budget.pdf")), "Budget 2024 – Über|Zoë Adams|1");
}

TEST(PdfStringsTest, LiteralAndHexStringsDecode) {
  struct Case {
    std::string written;
    std::string bytes;
    std::size_t end;  // where the reading stops
  } cases[] = {
      {"(a \\(b\\) c) rest", "a (b) c", 11},
      {"(outer (inner) end)", "outer (inner) end", 19},
      {"(\\n\\r\\t\\b\\f\\\\\\q)", "\n\r\t\b\f\\q", 16},
      {"(\\303\\274 \\60a \\1234 \\7)", "\xC3\xBC 0a S4 \x07", 24},
      {"(one\\\ntwo\\\r\nthree)", "onetwothree", 18},
      {"(line\r\nend\rnext)", "line\nend\nnext", 16},
      {"(unclosed (", "unclosed (", 11},
  };
  for (const Case& c : cases) {
    std::size_t pos = 0;
    EXPECT_EQ(LiteralStringAt(c.written, pos), c.bytes) << c.written;
    EXPECT_EQ(pos, c.end) << c.written;
  }
  std::size_t pos = 0;
  EXPECT_EQ(HexStringAt("<48 65\n6C6c6F7>x", pos), "Hellop");
  EXPECT_EQ(pos, 15u);
  pos = 0;
  EXPECT_EQ(HexStringAt("<draft>", pos), "");
  EXPECT_EQ(pos, 0u);
}

TEST(PdfStringsTest, TextStringsBecomeUtf8) {
  struct Case {
    std::string bytes;
    std::string text;
  } cases[] = {
      {"caf\xE9 \x80\x81\x82\x83\x84\x85\x8D\x8E\x92\x93\xA0\x9F",
       "caf\u00e9 \u2022\u2020\u2021\u2026\u2014\u2013\u201c\u201d\u2122\ufb01\u20ac\ufffd"},
      {"\x18\x19\x1A\x1B\x1C\x1D\x1E\x1F", "\u02d8\u02c7\u02c6\u02d9\u02dd\u02db\u02da\u02dc"},
      {"\xFE\xFF\x00\x41\xD8\x3D\xDE\x00\x00"s, "A\U0001F600"},  // the odd last byte dropped
      {"\376\377\000\033de\000\033\000B"s, "B"},                 // a language mark
      {"\xEF\xBB\xBF\xC3\xBC", "\u00fc"},
      // UTF-8 without its mark, as print filters write titles
      {"Note \xE2\x80\x93 \xE2\x80\x9Clp\xE2\x80\x9D \xE2\x82\xAC", "Note – “lp” €"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(PdfTextToUtf8(c.bytes), c.text);
}

}  // namespace
}  // namespace gui::test
