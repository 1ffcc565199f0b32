#include "production/PdfFacts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "production/PdfStrings.h"
#include "tests/support/RunProgram.h"
#include "tests/support/TempFolder.h"

namespace gui::test {
namespace {

using namespace std::string_literals;

// A program found on the PATH; its exit code.
int RunTool(const std::vector<std::string>& command,
            const std::vector<std::string>& environment = {}) {
  return RunProgram("/usr/bin/env", command, environment).exitCode;
}

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

std::string Entry(std::size_t offset) {
  std::string digits = std::to_string(offset);
  return std::string(10 - digits.size(), '0') + digits + " 00000 n \n";
}

// A PDF with these objects, numbered from 1, behind a classic cross-reference table.
std::string HandMadePdf(const std::vector<std::string>& objects, const std::string& trailer) {
  std::string pdf = "%PDF-1.7\n%\xE2\xE3\xCF\xD3\n";
  std::string table = "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
  for (std::size_t i = 0; i < objects.size(); ++i) {
    table += Entry(pdf.size());
    pdf += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
  }
  std::string start = std::to_string(pdf.size());
  return pdf + table + "trailer\n<< /Size " + std::to_string(objects.size() + 1) + " " + trailer +
         " >>\nstartxref\n" + start + "\n%%EOF\n";
}

// An incremental update: object `number` anew, and a section whose trailer points back.
std::string Updated(const std::string& pdf, int number, const std::string& object) {
  std::string update = pdf + std::to_string(number) + " 0 obj\n" + object + "\nendobj\n";
  std::string start = std::to_string(update.size());
  return update + "xref\n0 1\n0000000000 65535 f \n" + std::to_string(number) + " 1\n" +
         Entry(pdf.size()) + "trailer\n<< /Size 99 /Root " + LastReference(pdf, "Root") +
         " /Info " + LastReference(pdf, "Info") + " /Prev " + LastStartXref(pdf) +
         " >>\nstartxref\n" + start + "\n%%EOF\n";
}

std::string Stream(const std::string& dictionary, const std::string& data) {
  return "<< " + dictionary + " /Length " + std::to_string(data.size()) + " >>\nstream\n" + data +
         "\nendstream";
}

const std::string kCatalog = "<< /Type /Catalog /Pages 2 0 R /Metadata 4 0 R >>";
const std::string kPages = "<< /Type /Pages /Kids [3 0 R] /Count 1 >>";
const std::string kPage = "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] >>";
const std::string kXmp =
    "<?xpacket begin='' id='W5M0MpCehiHzreSzNTczkc9d'?><x:xmpmeta xmlns:x='adobe:ns:meta/'>"
    "<rdf:RDF xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#'><rdf:Description "
    "rdf:about='' xmlns:dc='http://purl.org/dc/elements/1.1/'><dc:title><rdf:Alt>"
    "<rdf:li xml:lang=\"de\">Bericht</rdf:li><rdf:li xml:lang=\"x-default\">Tom &amp; Jerry "
    "&#x2013; &lt;Q3&gt; &quot;&apos;&#246;</rdf:li></rdf:Alt></dc:title><dc:creator><rdf:Seq>"
    "<rdf:li>Bj&#246;rk</rdf:li><rdf:li>Other</rdf:li></rdf:Seq></dc:creator></rdf:Description>"
    "</rdf:RDF></x:xmpmeta><?xpacket end='w'?>";
const std::string kXmpTitle = "Tom & Jerry \u2013 <Q3> \"'\u00f6";

class PdfFactsTest : public ::testing::Test {
 protected:
  // A PDF of blank pages that Ghostscript makes, its information given by a DOCINFO pdfmark.
  std::string Ghostscript(const std::string& name, const std::string& docinfo, int pages = 1) {
    std::string job = "%!PS\n[" + docinfo + " /DOCINFO pdfmark\n";
    for (int page = 0; page < pages; ++page)
      job += "showpage\n";
    PutFile(folder_ / (name + ".ps"), job);
    EXPECT_EQ(RunTool({"gs", "-q", "-dNOPAUSE", "-dBATCH", "-sDEVICE=pdfwrite",
                       "-sOutputFile=" + folder_ / name, folder_ / (name + ".ps")}),
              0);
    return folder_ / name;
  }
  // qpdf's rewrite of a PDF; it exits with 3 after warnings about a damaged input.
  std::string Qpdf(const std::string& from, const std::string& name,
                   std::vector<std::string> options) {
    std::vector<std::string> command = {"qpdf", from, folder_ / name};
    command.insert(command.begin() + 1, options.begin(), options.end());
    int code = RunTool(command);
    EXPECT_TRUE(code == 0 || code == 3) << code;
    return folder_ / name;
  }
  PdfFacts Facts(const std::string& name, const std::string& bytes) {
    PutFile(folder_ / name, bytes);
    return ReadPdfFacts(folder_ / name);
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

// Classic tables from Ghostscript; object and cross-reference streams from qpdf, where the
// information dictionary lies compressed inside an object stream.
TEST_F(PdfFactsTest, GhostscriptAndQpdfDocumentsGiveTheirInformationAndPageCount) {
  struct Case {
    std::string docinfo;
    int pages;
    std::string title;
    std::string author;
  } cases[] = {
      {"/Title (Quarterly \\(draft\\) report) /Author (Ann Lee)", 3, "Quarterly (draft) report",
       "Ann Lee"},
      {"/Title <FEFF00DC006E00690063006F0064006500A020AC00204E2D6587> "
       "/Author <FEFF004A00FC0072006700650020D83DDE00>",
       1, "\u00dcnicode\u00a0\u20ac \u4e2d\u6587", "J\u00fcrge \U0001F600"},
      {"/Title (\\200 \\204 \\205 \\215\\216 \\222 \\240 caf\\351) /Author (\\030\\237x)", 2,
       "\u2022 \u2014 \u2013 \u201c\u201d \u2122 \u20ac caf\u00e9", "\u02d8\ufffdx"},
  };
  for (const Case& c : cases) {
    std::string plain = Ghostscript("plain.pdf", c.docinfo, c.pages);
    std::string packed = Qpdf(plain, "packed.pdf", {"--object-streams=generate"});
    ASSERT_NE(GetFile(packed).find("/ObjStm"), std::string::npos);
    ASSERT_EQ(GetFile(packed).find("trailer"), std::string::npos);
    for (const std::string& pdf : {plain, packed}) {
      PdfFacts facts = ReadPdfFacts(pdf);
      EXPECT_EQ(facts.title, c.title) << pdf << " " << c.docinfo;
      EXPECT_EQ(facts.author, c.author) << pdf;
      EXPECT_EQ(facts.pages, c.pages) << pdf;
      EXPECT_EQ(facts.creationDate.substr(0, 4), "D:20") << pdf;
      EXPECT_FALSE(facts.encrypted);
    }
  }
}

TEST_F(PdfFactsTest, EncryptedDocumentsGiveNoTextButTheirPageCount) {
  std::string plain = Ghostscript("plain.pdf", "/Title (Secret) /Author (Spy)", 2);
  for (const char* bits : {"40", "128", "256"}) {
    PdfFacts facts = ReadPdfFacts(
        Qpdf(plain, "locked.pdf", {"--allow-weak-crypto", "--encrypt", "u", "o", bits, "--"}));
    EXPECT_TRUE(facts.encrypted) << bits;
    EXPECT_EQ(facts.title + facts.author + facts.creationDate, "") << bits;
    EXPECT_EQ(facts.pages, 2) << bits;
  }
  PdfFacts packed = ReadPdfFacts(
      Qpdf(plain, "packed.pdf", {"--object-streams=generate", "--encrypt", "u", "o", "256", "--"}));
  EXPECT_TRUE(packed.encrypted);
  EXPECT_EQ(packed.title + packed.author, "");
}

// Each update replaces the information object; the newest section wins, over a classic table
// and over a cross-reference stream.
TEST_F(PdfFactsTest, IncrementalUpdatesGiveTheNewestInformation) {
  std::string plain = Ghostscript("plain.pdf", "/Title (First) /Author (Ann)", 2);
  std::string packed = Qpdf(plain, "packed.pdf", {"--object-streams=generate"});
  for (const std::string& base : {GetFile(plain), GetFile(packed)}) {
    int info = std::stoi(LastReference(base, "Info"));
    std::string once = Updated(base, info, "<< /Title (Second) /Author (Bea) >>");
    std::string twice = Updated(once, info, "<< /Title <FEFF0054006800690072006400> >>");
    PdfFacts first = Facts("once.pdf", once);
    EXPECT_EQ(first.title + "|" + first.author, "Second|Bea");
    EXPECT_EQ(first.pages, 2);
    PdfFacts second = Facts("twice.pdf", twice);
    EXPECT_EQ(second.title, "Third");
    EXPECT_EQ(second.author, "") << "the newest information names no author";
    EXPECT_EQ(second.pages, 2);
  }
}

TEST_F(PdfFactsTest, MetadataDescribesAFileWithoutDocumentInformation) {
  std::string metadata = Stream("/Type /Metadata /Subtype /XML", kXmp);
  PdfFacts none =
      Facts("none.pdf", HandMadePdf({kCatalog, kPages, kPage, metadata}, "/Root 1 0 R"));
  EXPECT_EQ(none.title, kXmpTitle);
  EXPECT_EQ(none.author, "Bj\u00f6rk");
  EXPECT_EQ(none.pages, 1);
  PdfFacts some = Facts("some.pdf", HandMadePdf({kCatalog, kPages, kPage, metadata,
                                                 "<< /Author (Info Author) /Title () >>"},
                                                "/Root 1 0 R /Info 5 0 R"));
  EXPECT_EQ(some.title + "|" + some.author, "|Info Author");
  // qpdf leaves a stream typed as metadata uncompressed; untyped, it compresses it.
  std::string untyped = Stream("/Kind /Untyped", kXmp);
  PutFile(folder_ / "loose.pdf", HandMadePdf({kCatalog, kPages, kPage, untyped}, "/Root 1 0 R"));
  std::string packed = Qpdf(folder_ / "loose.pdf", "packed.pdf",
                            {"--compress-streams=y", "--object-streams=generate"});
  ASSERT_EQ(GetFile(packed).find("x-default"), std::string::npos) << "compressed";
  EXPECT_EQ(ReadPdfFacts(packed).title, kXmpTitle);
  // A title without the list that XMP asks for, and a creator list without items.
  std::string plain = "<x:xmpmeta><dc:title>Plain</dc:title><dc:creator><rdf:Seq/></dc:creator>";
  PdfFacts bare =
      Facts("bare.pdf", HandMadePdf({kCatalog, kPages, kPage, Stream("", plain)}, "/Root 1 0 R"));
  EXPECT_EQ(bare.title + "|" + bare.author, "Plain|");
}

// A startxref that misses its section, none at all, or every offset moved by bytes put in
// front: the objects are found by a scan of the file.
TEST_F(PdfFactsTest, DamagedCrossReferencesAreRepairedByAScan) {
  std::string plain = GetFile(Ghostscript("plain.pdf", "/Title (Found) /Author (Me)", 2));
  std::string packed =
      GetFile(Qpdf(folder_ / "plain.pdf", "packed.pdf", {"--object-streams=generate"}));
  for (const std::string& base : {plain, packed}) {
    std::size_t start = base.rfind("startxref");
    std::string damaged[] = {
        base.substr(0, start) + "startxref\n17\n%%EOF\n",
        base.substr(0, start),
        base.substr(0, 9) + "% a comment that moves every object\n" + base.substr(9),
    };
    for (const std::string& pdf : damaged) {
      PdfFacts facts = Facts("damaged.pdf", pdf);
      EXPECT_EQ(facts.title + "|" + facts.author, "Found|Me") << pdf.substr(pdf.size() - 40);
      EXPECT_EQ(facts.pages, 2);
    }
  }
}

// Cut anywhere, a file gives what it still holds whole, never a part of a text.
TEST_F(PdfFactsTest, TruncatedFilesGiveWholeTextsOrNone) {
  std::string plain = GetFile(Ghostscript("plain.pdf", "/Title (Whole title) /Author (A)", 2));
  std::string packed =
      GetFile(Qpdf(folder_ / "plain.pdf", "packed.pdf", {"--object-streams=generate"}));
  for (const std::string& base : {plain, packed}) {
    for (std::size_t size = 0; size < base.size(); size += 1 + base.size() / 97) {
      PdfFacts facts = Facts("cut.pdf", base.substr(0, size));
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
    std::string title;
    int pages;
  } cases[] = {
      {"a count that names itself",
       HandMadePdf({"<< /Pages 2 0 R >>", "<< /Count 3 0 R >>", "3 0 R", info},
                   "/Root 1 0 R /Info 4 0 R"),
       "T", -1},
      {"a negative and an oversized count",
       HandMadePdf({"<< /Pages 2 0 R >>", "<< /Count -4 >>", info}, "/Root 1 0 R /Info 3 0 R"), "T",
       -1},
      {"a count beyond 32 bits",
       HandMadePdf({"<< /Pages 2 0 R >>", "<< /Count 4294967297 >>", info},
                   "/Root 1 0 R /Info 3 0 R"),
       "T", -1},
      {"nesting deeper than the reader follows",
       HandMadePdf({"<< /Pages 2 0 R >>", "<< /Count 5 >>", deep}, "/Root 1 0 R /Info 3 0 R"), "",
       5},
      {"an information entry that is no dictionary",
       HandMadePdf({"<< /Pages 2 0 R >>", "<< /Count 1 >>", "(text)"}, "/Root 1 0 R /Info 3 0 R"),
       "", 1},
      {"metadata with a length far beyond the file",
       HandMadePdf({"<< /Pages 2 0 R /Metadata 3 0 R >>", "<< /Count 1 >>",
                    "<< /Length 99999999999 >>\nstream\n" + kXmp + "\nendstream"},
                   "/Root 1 0 R"),
       kXmpTitle, 1},
  };
  for (const Case& c : cases) {
    PdfFacts facts = Facts("hostile.pdf", c.pdf);
    EXPECT_EQ(facts.title, c.title) << c.what;
    EXPECT_EQ(facts.pages, c.pages) << c.what;
  }
  // The newest section's /Prev names the update before it, whose /Prev names the newest again.
  std::string pdf =
      HandMadePdf({"<< /Pages 2 0 R >>", "<< /Count 2 >>", info}, "/Root 1 0 R /Info 3 0 R");
  std::size_t object = pdf.size();
  pdf += "3 0 obj\n<< /Title (Looped) >>\nendobj\n";
  std::string update = std::to_string(pdf.size());
  std::string section = "xref\n0 1\n0000000000 65535 f \n3 1\n" + Entry(object) +
                        "trailer\n<< /Root 1 0 R /Info 3 0 R /Prev ";
  std::string end = " >>\nstartxref\n" + update + "\n%%EOF\n";
  std::size_t newest = pdf.size() + section.size() + 10 + end.size();
  pdf += section + Entry(newest).substr(0, 10) + end + "xref\n0 1\n0000000000 65535 f \n" +
         "trailer\n<< /Root 1 0 R /Info 3 0 R /Prev " + update + " >>\nstartxref\n" +
         std::to_string(newest) + "\n%%EOF\n";
  PdfFacts facts = Facts("looped.pdf", pdf);
  EXPECT_EQ(facts.title, "Looped");
  EXPECT_EQ(facts.pages, 2);
}

TEST_F(PdfFactsTest, LibreOfficeDocumentsGiveTheirProperties) {
  if (RunTool({"sh", "-c", "command -v soffice >/dev/null"}) != 0)
    GTEST_SKIP() << "LibreOffice is not installed";
  PutFile(
      folder_ / "budget.fodt",
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<office:document "
      "xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
      "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" "
      "xmlns:dc=\"http://purl.org/dc/elements/1.1/\" "
      "xmlns:meta=\"urn:oasis:names:tc:opendocument:xmlns:meta:1.0\" office:version=\"1.2\" "
      "office:mimetype=\"application/vnd.oasis.opendocument.text\"><office:meta>"
      "<dc:title>Budget 2024 \u2013 \u00dcber</dc:title><meta:initial-creator>Zo\u00eb "
      "Adams</meta:initial-creator></office:meta><office:body><office:text><text:p>Hello</text:p>"
      "</office:text></office:body></office:document>\n");
  ASSERT_EQ(RunTool({"soffice", "--headless", "--convert-to", "pdf", "--outdir", folder_.Path(),
                     folder_ / "budget.fodt"},
                    {"HOME=" + folder_ / "home"}),
            0);
  PdfFacts facts = ReadPdfFacts(folder_ / "budget.pdf");
  EXPECT_EQ(facts.title, "Budget 2024 \u2013 \u00dcber");
  EXPECT_EQ(facts.author, "Zo\u00eb Adams");
  EXPECT_EQ(facts.pages, 1);
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
      {"\xFE\xFF\x00\x1B"
       "de\x00\x1B\x00\x42"s,
       "B"},  // a language mark
      {"\xEF\xBB\xBF\xC3\xBC", "\u00fc"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(PdfTextToUtf8(c.bytes), c.text);
}

}  // namespace
}  // namespace gui::test
