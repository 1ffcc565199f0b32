#include <unistd.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "tests/backend/Eventually.h"
#include "tests/backend/TestUser.h"
#include "tests/production/GhostscriptTesting.h"
#include "tests/support/PrivateCups.h"

namespace gui::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kQueue = "QUENTARIS_PDF_Printer";

// The queue as installed, in a scheduler of the test's own, with a stand-in gui that keeps a
// copy of each job file it is handed as "<title>.<extension of the job file>".
class Queue : public ::testing::Test {
 protected:
  Queue() : cups_("SetEnv QUENTARIS_GUI " + standIn_) {
    fs::permissions(folder_.Path(), fs::perms::owner_all | fs::perms::others_exec);
    PutScript(standIn_,
              "for a; do case \"$a\" in ps=*) f=${a#ps=};; doc=*) d=${a#doc=};; esac; done\n"
              "cp \"$f\" \"$HOME/got/$d.${f##*.}\"");
    fs::permissions(standIn_,
                    fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
    cups_.AddBackend("quentaris", QUENTARIS_BACKEND);
    std::string output;
    EXPECT_EQ(cups_.Client({"env", std::string("QUENTARIS_PPD=") + QUENTARIS_PPD, "sh",
                            GUI_SOURCE_DIR "/packaging/quentaris-queue.sh", "add"},
                           &output),
              0)
        << output;
    fs::create_directory(got_);
    chown(got_.c_str(), user_.Uid(), user_.Gid());
  }

  void Print(const std::string& title, const std::string& file,
             const std::vector<std::string>& options = {}) {
    std::vector<std::string> command = {"lp", "-U", user_.Name(), "-d", kQueue, "-t", title};
    command.insert(command.end(), options.begin(), options.end());
    command.push_back(file);
    std::string output;
    EXPECT_EQ(cups_.Client(command, &output), 0) << output;
  }

  // The job files gui was handed, once the scheduler has no unfinished job.
  std::vector<std::string> Received() {
    Eventually([this] {
      std::string jobs;
      cups_.Client({"lpstat", "-o"}, &jobs);
      return jobs.empty();
    });
    return FileNames(got_);
  }

  TempFolder folder_;
  std::string standIn_ = folder_ / "gui";
  TestUser user_;
  PrivateCups cups_;
  std::string got_ = user_.Home() + "/got";
};

TEST_F(Queue, PdfTextAndImagesArriveAsPdfWithPageRangesAppliedAndPostScriptAsPostScript) {
  std::string pdf = folder_ / "three.pdf";
  MakePdf(PostScriptJob({"one", "two", "three"}), pdf);
  PutFile(folder_ / "note.txt",
          "Gr\xC3\xBC\xC3\x9F"
          "e aus K\xC3\xB6ln\n");
  std::string png = folder_ / "red.png";
  ASSERT_EQ(RunProgram("/usr/bin/gs",
                       {"-q", "-dNOPAUSE", "-dBATCH", "-dSAFER", "-sDEVICE=png16m", "-g32x32",
                        "-sOutputFile=" + png, "-c", "1 0 0 setrgbcolor clippath fill showpage"},
                       {})
                .exitCode,
            0);
  Print("pdf", pdf);
  Print("second", pdf, {"-o", "page-ranges=2"});
  Print("text", folder_ / "note.txt");
  Print("image", png);
  Print("report", GUI_SOURCE_DIR "/samples/report.ps");
  ASSERT_EQ(Received(), (std::vector<std::string>{"image.pdf", "pdf.pdf", "report.ps", "second.pdf",
                                                  "text.pdf"}))
      << cups_.ErrorLog();
  for (const char* name : {"image.pdf", "pdf.pdf", "second.pdf", "text.pdf"})
    EXPECT_TRUE(GetFile(got_ + "/" + name).starts_with("%PDF-")) << name;
  EXPECT_TRUE(GetFile(got_ + "/report.ps").starts_with("%!PS-Adobe-3.0"));
  EXPECT_TRUE(Contains(GetFile(got_ + "/report.ps"), "Quarterly Report"));
  EXPECT_EQ(PdfInfo(got_ + "/pdf.pdf", "Pages"), "3");
  EXPECT_EQ(PdfInfo(got_ + "/second.pdf", "Pages"), "1");
  EXPECT_TRUE(Contains(PdfText(got_ + "/second.pdf"), "two"));
  EXPECT_EQ(PdfInfo(got_ + "/text.pdf", "Pages"), "1");
  std::string log = cups_.ErrorLog();
  EXPECT_TRUE(Contains(log, "pdftopdf (application/pdf to application/vnd.cups-pdf"));
  EXPECT_TRUE(Contains(log, "pstops (application/postscript to application/vnd.cups-postscript"));
  EXPECT_FALSE(Contains(log, "gstopdf"));
}

}  // namespace
}  // namespace gui::test
