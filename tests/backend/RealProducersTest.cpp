#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "tests/production/GhostscriptTesting.h"
#include "tests/support/PdfContent.h"
#include "tests/support/PrivateCups.h"
#include "tests/support/TestUser.h"

namespace gui::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kQueue = "QUENTARIS_PDF_Printer";
constexpr const char* kFullName = "Test Person";
constexpr const char* kRed = "255 0 0";
constexpr const char* kBlue = "0 0 255";

// A 64 x 48 PNG made by Ghostscript: red, with a blue middle half in each direction.
void MakePicture(const std::string& png) {
  CaptureOutput("/usr/bin/gs", {"-q", "-dSAFER", "-dNOPAUSE", "-dBATCH", "-sDEVICE=png16m",
                                "-g64x48", "-sOutputFile=" + png, "-c",
                                "1 0 0 setrgbcolor clippath fill 0 0 1 setrgbcolor "
                                "16 12 32 24 rectfill showpage"});
}

// A flat ODF text document: a heading, text in Latin, Greek and Japanese script, a table and the
// picture in a frame at a fixed place on the A4 page: 10 cm from the left, 18 cm from the top,
// 6 by 4.5 cm.
std::string WriterDocument(const std::string& picture) {
  return R"xml(<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"
 xmlns:draw="urn:oasis:names:tc:opendocument:xmlns:drawing:1.0"
 xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0"
 xmlns:svg="urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0"
 office:version="1.3" office:mimetype="application/vnd.oasis.opendocument.text">
 <office:styles>
  <style:default-style style:family="paragraph"><style:text-properties
   fo:font-family="'DejaVu Sans'" fo:font-size="12pt" style:font-family-asian="IPAGothic"
   style:font-size-asian="12pt"/></style:default-style>
 </office:styles>
 <office:automatic-styles>
  <style:page-layout style:name="A4"><style:page-layout-properties fo:page-width="21cm"
   fo:page-height="29.7cm" fo:margin-top="2cm" fo:margin-bottom="2cm" fo:margin-left="2cm"
   fo:margin-right="2cm"/></style:page-layout>
  <style:style style:name="Placed" style:family="graphic"><style:graphic-properties
   style:wrap="none" style:vertical-pos="from-top" style:vertical-rel="page"
   style:horizontal-pos="from-left" style:horizontal-rel="page"/></style:style>
  <style:style style:name="Heading" style:family="paragraph"><style:text-properties
   fo:font-size="20pt" fo:font-weight="bold"/></style:style>
 </office:automatic-styles>
 <office:master-styles><style:master-page style:name="Standard" style:page-layout-name="A4"/>
 </office:master-styles>
 <office:body><office:text>
  <text:h text:style-name="Heading" text:outline-level="1">Quarterly Figures</text:h>
  <text:p>Grüße, Zoë – 5 €, Ελληνικά, 日本語</text:p>
  <table:table table:name="Figures">
   <table:table-column table:number-columns-repeated="2"/>
   <table:table-row>
    <table:table-cell office:value-type="string"><text:p>Region</text:p></table:table-cell>
    <table:table-cell office:value-type="string"><text:p>Revenue</text:p></table:table-cell>
   </table:table-row>
   <table:table-row>
    <table:table-cell office:value-type="string"><text:p>Northwind</text:p></table:table-cell>
    <table:table-cell office:value-type="string"><text:p>1234</text:p></table:table-cell>
   </table:table-row>
   <table:table-row>
    <table:table-cell office:value-type="string"><text:p>Southgate</text:p></table:table-cell>
    <table:table-cell office:value-type="string"><text:p>5678</text:p></table:table-cell>
   </table:table-row>
  </table:table>
  <text:p>Closing remark.<draw:frame draw:style-name="Placed" draw:name="Picture"
   text:anchor-type="paragraph" svg:x="10cm" svg:y="18cm" svg:width="6cm" svg:height="4.5cm">
   <draw:image><office:binary-data>)xml" +
         picture + R"xml(</office:binary-data></draw:image></draw:frame></text:p>
 </office:text></office:body>
</office:document>
)xml";
}

// The virtual printer in a scheduler of the tests' own, one for all tests of the program,
// printed to by an ordinary user with a full name, with the real backend and gui behind it.
class RealProducers : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    user_ = std::make_unique<TestUser>("", kFullName);
    cups_ = std::make_unique<PrivateCups>(std::string("SetEnv QUENTARIS_GUI ") + GUI_BINARY);
    cups_->AddBackend("quentaris", QUENTARIS_BACKEND);
    EXPECT_EQ(cups_->AddPrinterQueue(), "");
  }
  static void TearDownTestSuite() {
    cups_.reset();
    user_.reset();
  }

  // Each test's PDFs in a folder of their own, named as the pattern says.
  void UseOutput(const std::string& pattern) {
    out_ = user_->Folder(user_->Home() + "/" +
                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
    user_->Settings("", {"output=" + out_ + "/" + pattern});
  }

  // Runs a program as the test user in the user's home, a client of the private scheduler; its
  // exit code, with its standard output and error in output when given.
  static int AsUser(std::vector<std::string> command, std::string* output = nullptr) {
    command.insert(command.begin(), {"runuser", "-u", user_->Name(), "--", "sh", "-c",
                                     "cd && exec \"$@\" </dev/null", "sh"});
    return cups_->Client(command, output);
  }

  // Once the named PDFs came, or after a minute: "" when they did and no run of gui failed, else
  // what went wrong, with what the output folder holds and the scheduler's errors.
  std::string WaitForPdfs(const std::vector<std::string>& names) {
    std::vector<std::string> pdfs;
    for (const std::string& name : names)
      pdfs.push_back(Pdf(name));
    std::string problems = TestUser::PdfsOnceDone(pdfs, user_->JobFolder(), 60);
    if (problems.empty()) return "";
    for (const std::string& name : FileNames(out_))
      problems += "Made: " + name + "\n";
    std::istringstream log(cups_->ErrorLog());
    for (std::string line; std::getline(log, line);) {
      if (line.rfind("E [", 0) == 0) problems += line + "\n";
    }
    return problems;
  }

  std::string Pdf(const std::string& name) const { return out_ + "/" + name + ".pdf"; }

  static inline std::unique_ptr<TestUser> user_;
  static inline std::unique_ptr<PrivateCups> cups_;
  std::string out_;
};

// LibreOffice prints a PDF of its own and names the job after the file, "doc.fodt"; its own PDF
// export of the same document is what the printed PDF must read like.
TEST_F(RealProducers, LibreOfficeWriterDocumentPrintsAsItExports) {
  if (!fs::exists("/usr/bin/soffice")) GTEST_SKIP() << "LibreOffice (soffice) is not installed";
  UseOutput("<title>.pdf");
  std::string home = user_->Home();
  MakePicture(home + "/picture.png");
  user_->Put(home + "/doc.fodt",
             WriterDocument(CaptureOutput("base64", {"-w0", home + "/picture.png"})));
  user_->Folder(home + "/export");
  // A profile of its own, made on the first start; both runs share it, one after the other.
  std::string profile = "-env:UserInstallation=file://" + home + "/libreoffice";
  std::string said;
  auto office = [&](std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), {"soffice", "--headless", "--norestore", profile});
    return AsUser(arguments, &said);
  };
  ASSERT_EQ(office({"--pt", kQueue, "doc.fodt"}), 0) << said;
  ASSERT_EQ(office({"--convert-to", "pdf", "--outdir", "export", "doc.fodt"}), 0) << said;
  std::string exported = home + "/export/doc.pdf";
  ASSERT_TRUE(fs::exists(exported)) << said;

  EXPECT_EQ(WaitForPdfs({"doc"}), "");
  std::vector<std::string> made = FileNames(out_);
  ASSERT_EQ(made.size(), 1u) << "LibreOffice's -nogui build has no CUPS and prints nothing";
  // The content is checked whatever the PDF came to be called.
  std::string pdf = out_ + "/" + made[0];
  EXPECT_EQ(TitleAuthorPages(pdf), std::string("doc|") + kFullName + "|1");
  EXPECT_EQ(UnembeddedFonts(pdf), "");
  EXPECT_EQ(QpdfProblems(pdf), "");
  EXPECT_TRUE(user_->OwnsAlone(pdf));

  std::string text = PdfText(pdf);
  EXPECT_EQ(Words(text), Words(PdfText(exported))) << text;
  for (const char* piece : {"Quarterly Figures", "Grüße, Zoë – 5 €, Ελληνικά, 日本語", "Region",
                            "Revenue", "Northwind", "1234", "Southgate", "5678"})
    EXPECT_TRUE(Contains(text, piece)) << piece << " in\n" << text;

  // The frame's blue middle and red edge, where the export has them too.
  EXPECT_TRUE(HasImage(pdf, 64, 48)) << CaptureOutput("pdfimages", {"-list", pdf});
  for (const auto& [x, y, colour] : {std::tuple{368, 574, kBlue}, std::tuple{300, 530, kRed}}) {
    EXPECT_EQ(PixelAt(exported, 1, x, y), colour) << x << "," << y << " in the export";
    EXPECT_EQ(PixelAt(pdf, 1, x, y), colour) << x << "," << y;
  }
}

// lp hands CUPS a PDF, a text file and a picture; CUPS makes PDF of each (texttopdf, imagetopdf)
// and names the jobs after the files. The PDFs are named after the files, so that each is found
// whatever its title.
TEST_F(RealProducers, LpOfAPdfATextFileAndAPictureGivesOnePdfEach) {
  UseOutput("<basedocname>.pdf");
  std::string home = user_->Home();
  MakeEmbeddedPdf(
      PostScriptJob({"Minutes one: the budget is approved", "Minutes two: the roof is repaired",
                     "Minutes three: the meeting closes"}),
      home + "/minutes.pdf");
  fs::copy_file(home + "/minutes.pdf", home + "/excerpt.pdf");
  user_->Put(home + "/notes.txt", "Grüße aus Köln – 5 € für Zoë\nΕλληνικά: καλημέρα\n");
  MakePicture(home + "/picture.png");
  for (std::vector<std::string> print : {std::vector<std::string>{"minutes.pdf"},
                                         {"notes.txt"},
                                         {"picture.png"},
                                         {"-o", "page-ranges=2", "excerpt.pdf"}}) {
    print.insert(print.begin(), {"lp", "-d", kQueue});
    std::string said;
    EXPECT_EQ(AsUser(print, &said), 0) << said;
  }
  ASSERT_EQ(WaitForPdfs({"minutes", "notes", "picture", "excerpt"}), "");

  const std::tuple<const char*, const char*> made[] = {
      {"minutes", "3"}, {"notes", "1"}, {"picture", "1"}, {"excerpt", "1"}};
  for (const auto& [title, pages] : made) {
    std::string pdf = Pdf(title);
    EXPECT_EQ(TitleAuthorPages(pdf), std::string(title) + "|" + kFullName + "|" + pages);
    EXPECT_EQ(UnembeddedFonts(pdf), "") << title;
    EXPECT_EQ(QpdfProblems(pdf), "") << title;
    EXPECT_TRUE(user_->OwnsAlone(pdf)) << title;
  }

  std::string minutes = Pdf("minutes");
  EXPECT_TRUE(Contains(PageText(minutes, 1), "Minutes one: the budget is approved"));
  EXPECT_TRUE(Contains(PageText(minutes, 2), "Minutes two: the roof is repaired"));
  EXPECT_TRUE(Contains(PageText(minutes, 3), "Minutes three: the meeting closes"));
  std::string excerpt = PdfText(Pdf("excerpt"));
  EXPECT_TRUE(Contains(excerpt, "Minutes two: the roof is repaired")) << excerpt;
  EXPECT_FALSE(Contains(excerpt, "Minutes one") || Contains(excerpt, "Minutes three")) << excerpt;

  // texttopdf's glyphs carry no Unicode mapping, so no reader gets the text back out of its PDF
  // or of ours: the page must look as texttopdf's own PDF of the file looks.
  std::string reference = home + "/notes-reference.pdf";
  ProgramResult texttopdf = RunProgram(
      "/bin/sh",
      {"-c",
       "exec /usr/lib/cups/filter/texttopdf 1 \"$1\" notes.txt 1 'page-left=54 page-right=54 "
       "page-top=54 page-bottom=54' \"$2\" >\"$3\"",
       "sh", user_->Name(), home + "/notes.txt", reference},
      {std::string("PPD=") + QUENTARIS_PPD, "CHARSET=utf-8"});
  ASSERT_EQ(texttopdf.exitCode, 0) << texttopdf.errorOutput;
  auto gray = [](const std::string& pdf) {
    CaptureOutput("pdftoppm", {"-r", "36", "-gray", "-singlefile", pdf, pdf});
    return GetFile(pdf + ".pgm");
  };
  std::string expected = gray(reference);
  ASSERT_GT(std::count_if(expected.begin() + 20, expected.end(),
                          [](char c) { return static_cast<unsigned char>(c) < 128; }),
            50)
      << "texttopdf drew the text";
  EXPECT_TRUE(gray(Pdf("notes")) == expected) << "notes.pdf does not look like texttopdf's PDF";

  // imagetopdf turns the landscape picture to fill the portrait page inside the queue's margins:
  // blue middle, red edge, white margin.
  std::string picture = Pdf("picture");
  EXPECT_EQ(PixelAt(picture, 1, 297, 421), kBlue);
  EXPECT_EQ(PixelAt(picture, 1, 64, 421), kRed);
  EXPECT_EQ(PixelAt(picture, 1, 20, 421), "255 255 255");
  EXPECT_EQ(PixelAt(picture, 1, 297, 120), kRed);
  EXPECT_TRUE(HasImage(picture, 64, 48)) << CaptureOutput("pdfimages", {"-list", picture});
}

}  // namespace
}  // namespace gui::test
