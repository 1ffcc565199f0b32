#include <gtest/gtest.h>

#include <filesystem>

#include "tests/production/GhostscriptTesting.h"
#include "tests/production/ProgramFolder.h"

namespace gui {
namespace {

namespace fs = std::filesystem;
using test::GetFile;
using test::PutFile;

// The standard output of a shell command.
std::string Output(const std::string& command) {
  return test::CaptureOutput("/bin/sh", {"-c", command});
}

std::string Quoted(const std::string& path) {
  return "'" + path + "'";
}

// The settings of one job in the global file of a program folder of its own, then the job.
class PipelineTest : public test::ProgramFolderTest {
 protected:
  test::ProgramResult Print(const std::string& settings, const std::string& job,
                            const std::string& session = "job1",
                            std::vector<std::string> environment = {}) {
    Settings(settings);
    return ProgramFolderTest::Print(job, session, std::move(environment));
  }
  std::string Log(const std::string& session = "job1") const {
    return ProgramFolderTest::Log(session);
  }
  std::string Info(const std::string& pdf) const { return Output("pdfinfo " + Quoted(pdf)); }
  std::string Text(const std::string& pdf) const { return test::PdfText(pdf); }

  std::string job_ = std::string(GUI_SOURCE_DIR) + "/samples/report.ps";
};

TEST_F(PipelineTest, MakesThePdfTheSettingsDescribe) {
  auto result = Print("output=" + Out("<title> by <author>.pdf") + "\r\n", job_);
  EXPECT_EQ(result.exitCode, 0) << result.errorOutput;
  std::string pdf = Out("Quarterly Report by Ann Lee.pdf");
  std::string info = Info(pdf);
  EXPECT_NE(info.find("Title:           Quarterly Report"), std::string::npos) << info;
  EXPECT_NE(info.find("Author:          Ann Lee"), std::string::npos) << info;
  EXPECT_NE(info.find("Pages:           2"), std::string::npos) << info;
  EXPECT_NE(Text(pdf).find("Quarterly Report"), std::string::npos);
  EXPECT_FALSE(fs::exists(root_ / "runtime/QUENTARIS/PDF Printer/job1_printer.log"))
      << "a run that ends well leaves nothing behind";
}

TEST_F(PipelineTest, LogsEveryStepWhenDebugging) {
  auto result = Print("output=" + Out("x.pdf") + "\r\ndebug=yes\r\n", job_);
  EXPECT_EQ(result.exitCode, 0) << result.errorOutput;
  std::string log = Log();
  std::size_t at = 0;
  for (const char* step : {": Show GUI\r\n", ": Patch\r\n", ": Header\r\n", ": Parameters\r\n",
                           ": Ghostscript\r\n", ": Finished\r\n"}) {
    at = log.find(step, at);
    EXPECT_NE(at, std::string::npos) << step << "\n" << log;
  }
  EXPECT_TRUE(fs::exists(root_ / "runtime/QUENTARIS/PDF Printer/job1_patched.ps"));
}

TEST_F(PipelineTest, WatermarkMergeAndEncryption) {
  std::string appendix = root_ / "appendix.pdf";
  Output(
      "printf '%%!PS\\n/Helvetica findfont 30 scalefont setfont 72 700 moveto (APPENDIX) show "
      "showpage\\n' | gs -q -dSAFER -dNOPAUSE -dBATCH -sDEVICE=pdfwrite -sOutputFile=" +
      Quoted(appendix) + " -");
  auto result =
      Print("output=" + Out("all.pdf") +
                "\r\nwatermarktext=CONFIDENTIAL\r\nwatermarkrotation=0\r\nmergefile=" + appendix +
                "\r\nmergeposition=Top\r\n",
            job_);
  EXPECT_EQ(result.exitCode, 0) << result.errorOutput;
  std::string text = Text(Out("all.pdf"));
  EXPECT_NE(text.find("CONFIDENTIAL"), std::string::npos) << text;
  EXPECT_LT(text.find("Quarterly Report"), text.find("APPENDIX")) << text;
  EXPECT_NE(Info(Out("all.pdf")).find("Pages:           3"), std::string::npos);

  result = Print("output=" + Out("locked.pdf") +
                     "\r\nownerpassword=owner\r\nuserpassword=user\r\npermissions=61636\r\n",
                 job_, "job2");
  EXPECT_EQ(result.exitCode, 0) << result.errorOutput;
  std::string encryption =
      Output("qpdf --show-encryption --password=user " + Quoted(Out("locked.pdf")) + " 2>&1");
  EXPECT_NE(encryption.find("R = 3"), std::string::npos) << encryption;
  EXPECT_NE(encryption.find("print low resolution: allowed"), std::string::npos) << encryption;
  EXPECT_NE(encryption.find("modify document assembly: not allowed"), std::string::npos);
}

// The colour of one pixel of a page, rendered at 10 dots per inch, as "r g b".
std::string PixelOf(const std::string& pdf, int page, int x, int y) {
  std::string ppm = Output("pdftoppm -r 10 -f " + std::to_string(page) + " -l " +
                           std::to_string(page) + " " + Quoted(pdf) + " 2>/dev/null");
  // The header is "P6\n<width> <height>\n255\n", then three bytes a pixel.
  std::size_t at = 0;
  int width = 0;
  for (int field = 0; field < 4; ++field) {
    std::size_t end = ppm.find_first_of(" \n", at);
    if (field == 1) width = std::stoi(ppm.substr(at, end - at));
    at = end + 1;
  }
  std::size_t pixel = at + 3 * (static_cast<std::size_t>(y) * width + x);
  return std::to_string(static_cast<unsigned char>(ppm[pixel])) + " " +
         std::to_string(static_cast<unsigned char>(ppm[pixel + 1])) + " " +
         std::to_string(static_cast<unsigned char>(ppm[pixel + 2]));
}

TEST_F(PipelineTest, BackgroundLandsOnExactlyTheSelectedPagesOfAConvertedPdf) {
  std::string source = root_ / "source.pdf";
  Output(
      "printf '%%!PS\n/Times-Roman findfont 24 scalefont setfont\n"
      "1 1 3 { 72 700 moveto (Page ) show 3 string cvs show showpage } for\n' | "
      "gs -q -dSAFER -dNOPAUSE -dBATCH -sDEVICE=pdfwrite -sPAPERSIZE=a4 -sOutputFile=" +
      Quoted(source) + " -");
  // The port monitor hands the program jobs with CR LF line ends.
  std::string job = root_ / "converted.ps";
  Output("pdftops -paper A4 " + Quoted(source) + " - | sed 's/$/\r/' > " + Quoted(job));
  std::string letterhead = root_ / "letterhead.pdf";
  Output(
      "printf '%%!PS\n1 0 0 setrgbcolor 0 0 144 144 rectfill showpage\n' | "
      "gs -q -dSAFER -dNOPAUSE -dBATCH -sDEVICE=pdfwrite -sPAPERSIZE=a4 -sOutputFile=" +
      Quoted(letterhead) + " -");
  auto result =
      Print("output=" + Out("letter.pdf") + "\r\nsuperimpose=" + letterhead + "<2\r\n", job);
  ASSERT_EQ(result.exitCode, 0) << result.errorOutput;
  std::string pdf = Out("letter.pdf");
  EXPECT_NE(Info(pdf).find("Pages:           3"), std::string::npos);
  EXPECT_EQ(PixelOf(pdf, 1, 5, 110), "255 255 255");
  EXPECT_EQ(PixelOf(pdf, 2, 5, 110), "255 0 0");
  EXPECT_EQ(PixelOf(pdf, 3, 5, 110), "255 255 255");
  EXPECT_NE(Text(pdf).find("Page 2"), std::string::npos);
}

TEST_F(PipelineTest, AfterPrintProgramGetsTheHostileNameAsData) {
  std::string job = root_ / "hostile.ps";
  PutFile(job,
          "%!PS-Adobe-3.0\r\n%%Title: a$(touch pwned);b\r\n%%Pages: 1\r\n%%EndComments\r\n"
          "%%Page: 1 1\r\n/Helvetica findfont 20 scalefont setfont 72 700 moveto (Hi) show "
          "showpage\r\n%%EOF\r\n");
  auto result = Print(
      "output=" + Out("<title>.pdf") +
          "\r\nafterprintprogram=cp \"%1\" copy.pdf\r\nafterprintprogramdir=" + Out("") + "\r\n",
      job);
  EXPECT_EQ(result.exitCode, 0) << result.errorOutput;
  EXPECT_TRUE(fs::exists(Out("a$(touch pwned);b.pdf")));
  for (int i = 0; i < 200 && !fs::exists(Out("copy.pdf")); ++i)
    usleep(10000);
  EXPECT_TRUE(fs::exists(Out("copy.pdf")));
  EXPECT_FALSE(fs::exists(Out("pwned")));
  EXPECT_FALSE(fs::exists(root_ / "program/pwned"));
}

TEST_F(PipelineTest, MissingGhostscriptIsReportedAndLogged) {
  auto result = Print("output=" + Out("x.pdf") + "\r\n", job_, "nogs", {"PATH=/nonexistent"});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.errorOutput.find("Error 1005: Unable to locate Ghostscript installation."),
            std::string::npos)
      << result.errorOutput;
  EXPECT_NE(Log("nogs").find("Error handler. Error 1005"), std::string::npos);
  EXPECT_FALSE(fs::exists(Out("x.pdf")));
}

TEST_F(PipelineTest, JobsThatAreNotPostScriptEndInGhostscriptsError) {
  std::string empty = root_ / "empty.ps";
  PutFile(empty, "");
  std::string garbage = root_ / "garbage.ps";
  PutFile(garbage, std::string("\x89PNG\r\n\x1a\n binary garbage (unbalanced", 30));
  for (const std::string& job : {empty, garbage}) {
    std::string pdf = Out(fs::path(job).stem().string() + ".pdf");
    auto result = Print("output=" + pdf + "\r\n", job, "bad");
    if (result.exitCode == 0) {
      EXPECT_NE(Info(pdf).find("Pages:"), std::string::npos) << job;
    } else {
      EXPECT_NE(result.errorOutput.find("Error 1007"), std::string::npos) << result.errorOutput;
      EXPECT_FALSE(fs::exists(pdf));
    }
  }
}

TEST_F(PipelineTest, EmptyOutputEndsTheJobQuietly) {
  auto result = Print("output=\r\n", job_, "none", {});
  EXPECT_EQ(result.exitCode, 0) << result.errorOutput;
}

}  // namespace
}  // namespace gui
