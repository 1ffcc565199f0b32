#include <gtest/gtest.h>

#include <string>

#include "production/modPostScript.h"
#include "tests/production/GhostscriptTesting.h"
#include "tests/support/TempFolder.h"

namespace gui::test {
namespace {

const std::string kSparse = "72 720 moveto (Hello world) show\r\n";
// Fewer characters than the watermark casts: its count alone would decide the direction.
const std::string kSideways =
    "gsave 300 72 translate 90 rotate 0 0 moveto (Up the page) show grestore\r\n";

// Runs header and patched job through Ghostscript as the parameter file does.
class PostScriptPdfTest : public ::testing::Test {
 protected:
  std::string MakePdf(const std::string& body) {
    PutFile(folder_ / "job.ps",
            "%!PS-Adobe-3.0\r\n%%Title: job title\r\n%%For: job author\r\n%%Pages: 1\r\n"
            "%%EndComments\r\n%%BeginSetup\r\n<< /PageSize [612 792] >> setpagedevice\r\n"
            "%%EndSetup\r\n%%Page: 1 1\r\n/Helvetica findfont 12 scalefont setfont\r\n" +
                body + "showpage\r\n%%EOF\r\n");
    PatchPostScriptFile(*settings_, "", folder_ / "patched.ps", folder_ / "job.ps");
    EXPECT_TRUE(WritePostScriptHeader(folder_ / "header.ps", *settings_));
    std::string pdf = folder_ / "out.pdf";
    CaptureOutput("gs", {"-q", "-dSAFER", "-dNOPAUSE", "-dBATCH", "-sDEVICE=pdfwrite",
                         "-sOutputFile=" + pdf, folder_ / "header.ps", folder_ / "patched.ps"});
    return pdf;
  }

  void SetWatermark(const char* text, const char* rotation) {
    settings_->Set("watermarktext", std::string(text));
    settings_->Set("watermarkrotation", std::string(rotation));
  }

  TempFolder folder_;
  DictionaryPtr settings_ = NewDictionary();
};

TEST_F(PostScriptPdfTest, DocumentInformationAndWatermarkReachThePdf) {
  settings_->Set("title", std::string("Quarterly (Report) é"));
  settings_->Set("author", std::string("Jürgen Weiß"));
  SetWatermark("CONFIDENTIAL\r\nEntwurf für Jürgen", "0");  // level text reads back in one piece
  std::string pdf = MakePdf(kSparse);
  EXPECT_EQ(PdfInfo(pdf, "Title"), "Quarterly (Report) é");
  EXPECT_EQ(PdfInfo(pdf, "Author"), "Jürgen Weiß");
  EXPECT_NE(PdfText(pdf).find("Hello world"), std::string::npos) << PdfText(pdf);
  EXPECT_NE(PdfText(pdf).find("CONFIDENTIAL\nEntwurf für Jürgen"), std::string::npos)
      << PdfText(pdf);
}

TEST_F(PostScriptPdfTest, TheWatermarkLeavesThePageTurnedAsItsOwnTextSays) {
  const struct {
    const std::string& body;
    const char* watermark;
    const char* rotation;
    const char* pageRotation;
  } cases[] = {{kSparse, "", "c2c", "0"},
               {kSparse, "CONFIDENTIAL", "c2c", "0"},
               {kSparse, "CONFIDENTIAL", "90", "0"},
               {kSideways, "", "c2c", "90"},
               {kSideways, "CONFIDENTIAL", "-c2c", "90"},
               {kSideways, "CONFIDENTIAL", "45", "90"}};
  for (const auto& item : cases) {
    SetWatermark(item.watermark, item.rotation);
    std::string pdf = MakePdf(item.body);
    EXPECT_EQ(PdfInfo(pdf, "Page rot"), item.pageRotation)
        << item.body << " with " << item.watermark << " at " << item.rotation;
    EXPECT_EQ(PdfInfo(pdf, "Page size"), "612 x 792 pts (letter)");
  }
}

}  // namespace
}  // namespace gui::test
