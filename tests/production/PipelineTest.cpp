#include <signal.h>
#include <sys/mount.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <future>
#include <random>
#include <set>
#include <tuple>

#include "services/modText.h"
#include "tests/production/GhostscriptTesting.h"
#include "tests/production/ProgramFolder.h"
#include "tests/support/Eventually.h"

namespace gui::test {
namespace {

namespace fs = std::filesystem;

// The real gui in a program folder of its own, each job with the settings of its global file.
class PipelineTest : public ProgramFolderTest {
 protected:
  // A one-page job showing the text, with about this many bytes of comment lines in its header.
  std::string Job(const std::string& name, const std::string& text, std::size_t padding = 0) {
    std::string job = PostScriptJob({text});
    std::string line = "% " + std::string(77, '-') + "\n";
    std::string pad;
    for (std::size_t i = 0; i < padding / line.size(); ++i)
      pad += line;
    PutFile(root_ / name, job.insert(job.find("%%EndComments"), pad));
    return root_ / name;
  }

  void PrintAllAtOnce(const std::vector<std::string>& sessions);

  std::string report_ = GUI_SOURCE_DIR "/samples/report.ps";
};

// The permissions themselves are read in the encryption tests of the main run.
TEST_F(PipelineTest, WatermarkMergeAndEncryptionAndEveryStepLoggedWhenDebugging) {
  std::string appendix = root_ / "appendix.pdf";
  MakePdf(PostScriptJob({"APPENDIX"}), appendix);
  Settings("output=" + Out("all.pdf") + "\r\ndebug=yes\r\nwatermarktext=CONFIDENTIAL\r\n" +
           "watermarkrotation=0\r\nmergefile=" + appendix + "\r\nmergeposition=Top\r\n");
  ProgramResult result = Print(report_, "job1");
  EXPECT_EQ(result.exitCode, 0) << result.errorOutput;
  std::string text = PdfText(Out("all.pdf"));
  EXPECT_TRUE(Contains(text, "CONFIDENTIAL")) << text;
  EXPECT_LT(text.find("Quarterly Report"), text.find("APPENDIX")) << text;
  EXPECT_EQ(PdfInfo(Out("all.pdf"), "Pages"), "3");
  std::string log = Log("job1");
  std::size_t at = 0;
  for (const char* step : {": Show GUI\r\n", ": Page start\r\n", ": Header\r\n", ": Parameters\r\n",
                           ": Ghostscript\r\n", ": Finished\r\n"}) {
    at = log.find(step, at);
    EXPECT_NE(at, std::string::npos) << step << "\n" << log;
  }
  EXPECT_TRUE(fs::exists(Temp("job1_trailer.ps")));

  Settings("output=" + Out("locked.pdf") +
           "\r\nownerpassword=owner\r\nuserpassword=user\r\npermissions=61636\r\n");
  result = Print(report_, "job2");
  EXPECT_EQ(result.exitCode, 0) << result.errorOutput;
  std::string encryption =
      CaptureOutput("qpdf", {"--show-encryption", "--password=user", Out("locked.pdf")});
  EXPECT_TRUE(Contains(encryption, "R = 3\nP = 61636\n")) << encryption;
}

// The background's first page is a red lower left quarter; its second page, all green, must
// not be used. Each page of the job paints a blue square that overlaps the red. Points count
// from the top of the A4 page.
TEST_F(PipelineTest, BackgroundLandsUnderExactlyTheSelectedPagesOfAConvertedPdf) {
  const std::string a4 = "%!PS\n<< /PageSize [595 842] >> setpagedevice\n";
  MakePdf(a4 + "/Times-Roman findfont 24 scalefont setfont 1 1 3 { 72 700 moveto (Page ) show "
               "3 string cvs show 0 0 1 setrgbcolor 200 200 200 200 rectfill showpage } for\n",
          root_ / "source.pdf");
  MakePdf(a4 + "1 0 0 setrgbcolor 0 0 297 421 rectfill showpage\n"
               "0 1 0 setrgbcolor 0 0 595 842 rectfill showpage\n",
          root_ / "letterhead.pdf");
  // The port monitor hands the program jobs with CR LF line ends.
  std::string job = root_ / "converted.ps";
  CaptureOutput("pdftops", {"-paper", "A4", root_ / "source.pdf", job});
  PutFile(job, ReplaceAll(GetFile(job), "\n", "\r\n"));
  Settings("output=" + Out("letter.pdf") + "\r\nsuperimpose=" + root_ / "letterhead.pdf<2\r\n");
  ProgramResult result = Print(job, "job1");
  ASSERT_EQ(result.exitCode, 0) << result.errorOutput;
  std::string pdf = Out("letter.pdf");
  EXPECT_EQ(PdfInfo(pdf, "Pages"), "3");
  EXPECT_TRUE(Contains(PdfText(pdf), "Page 2"));
  EXPECT_EQ(PixelAt(pdf, 1, 100, 742), "255 255 255");
  EXPECT_EQ(PixelAt(pdf, 3, 100, 742), "255 255 255");
  EXPECT_EQ(PixelAt(pdf, 2, 100, 742), "255 0 0");
  EXPECT_EQ(PixelAt(pdf, 2, 100, 442), "255 0 0");
  EXPECT_EQ(PixelAt(pdf, 2, 250, 592), "0 0 255");
  EXPECT_EQ(PixelAt(pdf, 2, 500, 142), "255 255 255");
}

// Each job file lies in the temporary folder as the backend writes it, and all jobs run at once:
// each gives its PDF, and only what is kept between jobs stays.
void PipelineTest::PrintAllAtOnce(const std::vector<std::string>& sessions) {
  Settings("output=" + Out("<basedocname>.pdf") + "\r\n");
  fs::create_directories(Temp());
  std::vector<std::future<ProgramResult>> runs;
  for (const std::string& session : sessions) {
    PutFile(Temp(session + ".ps"), PostScriptJob({"Job " + session}));
    runs.push_back(std::async(std::launch::async, [this, session] {
      return Print(Temp(session + ".ps"), session, {}, "job" + session + ".ps");
    }));
  }
  for (std::size_t i = 0; i < sessions.size(); ++i) {
    ProgramResult result = runs[i].get();
    EXPECT_EQ(result.exitCode, 0) << sessions[i] << ": " << result.errorOutput;
    EXPECT_TRUE(Contains(PdfText(Out("job" + sessions[i] + ".pdf")), "Job " + sessions[i]))
        << sessions[i];
  }
  EXPECT_EQ(FileNames(Temp()), std::vector<std::string>{"ghostscript.version"});
}

// 1 begins 10 to 19, 2 begins 20.
TEST_F(PipelineTest, TwentyJobsAtOnceWithIdsThatBeginWithOneAnotherEachGetTheirPdf) {
  std::vector<std::string> sessions;
  for (int i = 1; i <= 20; ++i)
    sessions.push_back(std::to_string(i));
  PrintAllAtOnce(sessions);
}

TEST_F(PipelineTest, TwentyJobsAtOnceWithRandomIdsEachGetTheirPdf) {
  std::random_device source;
  std::uniform_int_distribution<int> number(1, 150);
  std::set<std::string> sessions;
  while (sessions.size() < 20)
    sessions.insert(std::to_string(number(source)));
  PrintAllAtOnce({sessions.begin(), sessions.end()});
}

// Job 1 waits in Ghostscript, as one waits in its dialog, while runs without a session id and
// sessions whose ids begin with 1 start and end.
TEST_F(PipelineTest, AJobStillRunningKeepsItsFilesWhileOtherRunsEnd) {
  TempFolder bin;
  PutStandInGhostscript(bin / "gs", "10.00.0",
                        "touch '" + bin / "waiting" + "'\nwhile [ ! -e '" + bin / "go" +
                            "' ]; do /bin/sleep 0.1; done\nexec /usr/bin/gs \"$@\"");
  Settings("output=" + Out("<basedocname>.pdf") + "\r\n");
  fs::create_directories(Temp());
  PutFile(Temp("1.ps"), PostScriptJob({"Job 1"}));
  auto waiting = std::async(std::launch::async, [&] {
    return Print(Temp("1.ps"), "1", {"PATH=" + bin.Path() + ":/usr/bin:/bin"}, "job1.ps");
  });
  ASSERT_TRUE(Eventually([&] { return fs::exists(bin / "waiting"); }));
  std::vector<std::string> kept = FileNames(Temp());

  std::vector<std::future<ProgramResult>> others;
  for (std::string session : {"10", "1-2", "1_2"}) {
    PutFile(Temp(session + ".ps"), PostScriptJob({"Job"}));
    others.push_back(std::async(std::launch::async, [this, session] {
      return Print(Temp(session + ".ps"), session, {}, session + ".ps");
    }));
  }
  others.push_back(std::async(std::launch::async, [this] { return Run({"msg=Printed"}); }));
  for (auto& run : others)
    EXPECT_EQ(run.get().exitCode, 0);
  // Without a display the Options dialog fails, and its log stays.
  EXPECT_EQ(Run({}).exitCode, 1);
  kept.push_back("_printer.log");
  std::sort(kept.begin(), kept.end());
  EXPECT_EQ(FileNames(Temp()), kept);
  EXPECT_TRUE(Contains(GetFile(Temp("1.ps")), "Job 1"));

  PutFile(bin / "go", "");
  ProgramResult result = waiting.get();
  EXPECT_EQ(result.exitCode, 0) << result.errorOutput;
  EXPECT_TRUE(Contains(PdfText(Out("job1.pdf")), "Job 1"));
}

// With debugging every file of the job stays, backgrounds and merging included; the next run of
// that session removes them all, and runs of other sessions none.
TEST_F(PipelineTest, EveryFileAJobLeavesGoesWithItsSessionOnly) {
  MakePdf(PostScriptJob({"APPENDIX"}), root_ / "appendix.pdf");
  MakePdf("%!PS\n1 0 0 setrgbcolor 0 0 100 100 rectfill showpage\n", root_ / "letterhead.pdf");
  Settings("output=" + Out("all.pdf") + "\r\ndebug=yes\r\nwatermarktext=DRAFT\r\nmergefile=" +
           root_ / "appendix.pdf" + "\r\nsuperimpose=" + root_ / "letterhead.pdf\r\n");
  fs::create_directories(Temp());
  fs::copy_file(report_, Temp("7.ps"));
  ProgramResult result = Print(Temp("7.ps"), "7");
  ASSERT_EQ(result.exitCode, 0) << result.errorOutput;
  std::vector<std::string> left = FileNames(Temp());
  for (const char* name : {"7.ps", "7_pagestart.ps", "7_si_1.ps", "7_me_param.gs", "7_merge.pdf"})
    EXPECT_TRUE(std::count(left.begin(), left.end(), name)) << name;

  for (std::vector<std::string> other : {std::vector<std::string>{"msg=Done"},
                                         {"msg=Done", "sessionid=70"},
                                         {"msg=Done", "sessionid=7-1"}}) {
    EXPECT_EQ(Run(other).exitCode, 0);
  }
  EXPECT_EQ(FileNames(Temp()), left);
  EXPECT_EQ(Run({"msg=Done", "sessionid=7"}).exitCode, 0);
  EXPECT_EQ(FileNames(Temp()), std::vector<std::string>{"ghostscript.version"});
}

TEST_F(PipelineTest, GhostscriptMissingKilledOrPastItsTimeOutEndsInAnErrorWithTheLogKept) {
  TempFolder bin;
  // No body: no Ghostscript anywhere on the PATH.
  const std::tuple<const char*, const char*, std::string> cases[] = {
      {nullptr, "300", "Error 1005: Unable to locate Ghostscript installation."},
      {"kill -9 $$", "300", "Error 1007"},
      {"echo $$ > pid; exec /bin/sleep 4 >/dev/null 2>&1", "1", "Error 1008"}};
  std::string job = Job("job.ps", "Page");
  for (const auto& [body, timeout, error] : cases) {
    if (body) PutStandInGhostscript(bin / "gs", "10.00.0", "cd '" + bin.Path() + "'\n" + body);
    Settings("output=" + Out("x.pdf") + "\r\nghostscripttimeout=" + timeout + "\r\n");
    ProgramResult result =
        Print(job, "gsfail", {"PATH=" + (body ? bin.Path() + ":/usr/bin:/bin" : "/nonexistent")});
    EXPECT_EQ(result.exitCode, 1) << error;
    EXPECT_TRUE(Contains(result.errorOutput, error)) << result.errorOutput;
    EXPECT_TRUE(Contains(Log("gsfail"), "Error handler. " + error.substr(0, 10))) << Log("gsfail");
    EXPECT_FALSE(fs::exists(Out("x.pdf")));
  }
  if (int pid = std::atoi(GetFile(bin / "pid").c_str()); pid > 0) kill(pid, SIGKILL);
}

TEST_F(PipelineTest, FullTemporaryDiskIsReportedAndTheDestinationStaysAsItWas) {
  SmallDisk disk(root_ / "runtime", "size=256k,mode=0700");
  if (!disk.Mounted()) GTEST_SKIP() << "cannot mount a small tmpfs here (needs CAP_SYS_ADMIN)";
  PutFile(Out("x.pdf"), "%PDF-old");
  Settings("output=" + Out("x.pdf") + "\r\n");
  std::vector<std::string> pages(2000, "A page of its own");  // a PDF larger than the disk
  PutFile(root_ / "big.ps", PostScriptJob(pages));
  ProgramResult result = Print(root_ / "big.ps", "full");
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_TRUE(Contains(result.errorOutput, "Error 1007")) << result.errorOutput;
  EXPECT_TRUE(Contains(result.errorOutput, "Disk full: the file '" + Temp("full_printer.pdf") +
                                               "' that Ghostscript wrote is incomplete."))
      << result.errorOutput;
  EXPECT_TRUE(Contains(Log("full"), "Error handler. Error 1007")) << Log("full");
  EXPECT_FALSE(fs::exists(Temp("full_printer.pdf")));
  EXPECT_EQ(GetFile(Out("x.pdf")), "%PDF-old");
  EXPECT_EQ(FileNames(Out("")), std::vector<std::string>{"x.pdf"});
}

// The merged PDF is the printed document's: its title and author rather than the merge
// file's, the view the settings ask for, and the encryption the main run left to the merge.
// A merge file that needs a password ends the job naming it; a missing one merges nothing
// but still encrypts.
TEST_F(PipelineTest, MergeKeepsTheDocumentsInformationViewAndEncryption) {
  std::string appendix = root_ / "appendix.pdf";
  MakePdf("[ /Title (Appendix title) /Author (Appendix author) /DOCINFO pdfmark\n" +
              PostScriptJob({"APPENDIX"}),
          appendix);
  std::string job = PostScriptJob({"Printed page"});
  PutFile(root_ / "job.ps",
          job.insert(job.find("%%Pages"), "%%Title: Printed title\n%%For: Printed author\n"));
  const std::string secured =
      "ownerpassword=owner\r\nuserpassword=us er\r\nzoom=150\r\n"
      "usethumbs=yes\r\nmergeposition=top\r\nmergefile=";
  Settings("output=" + Out("merged.pdf") + "\r\n" + secured + appendix + "\r\n");
  ProgramResult result = Print(root_ / "job.ps", "merge");
  ASSERT_EQ(result.exitCode, 0) << result.errorOutput;
  std::string pdf = Out("merged.pdf");
  std::string info = CaptureOutput("pdfinfo", {"-upw", "us er", pdf});
  EXPECT_TRUE(Contains(info, "Title:           Printed title\n")) << info;
  EXPECT_TRUE(Contains(info, "Author:          Printed author\n")) << info;
  EXPECT_TRUE(Contains(info, "Pages:           2\n")) << info;
  EXPECT_TRUE(Contains(CaptureOutput("qpdf", {"--show-encryption", "--password=us er", pdf}),
                       "User password = us er\n"));
  CaptureOutput("qpdf", {"--password=owner", "--decrypt", "--qdf", "--object-streams=disable", pdf,
                         root_ / "plain.qdf"});
  std::string plain = GetFile(root_ / "plain.qdf");
  EXPECT_TRUE(Contains(plain, "/PageMode /UseThumbs\n"));
  EXPECT_TRUE(Contains(plain, "/XYZ\n    null\n    null\n    1.5\n"));

  std::string locked = root_ / "locked appendix.pdf";
  CaptureOutput("qpdf", {"--encrypt", "user", "owner", "256", "--", appendix, locked});
  Settings("output=" + Out("locked.pdf") + "\r\nmergefile=" + locked + "\r\n");
  result = Print(root_ / "job.ps", "lockedmerge");
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_TRUE(
      Contains(result.errorOutput, "The PDF file '" + locked + "' is protected by a password."))
      << result.errorOutput;
  EXPECT_FALSE(fs::exists(Out("locked.pdf")));

  Settings("output=" + Out("alone.pdf") + "\r\n" + secured + root_ / "gone.pdf" + "\r\n");
  ASSERT_EQ(Print(root_ / "job.ps", "gone").exitCode, 0);
  EXPECT_TRUE(Contains(CaptureOutput("pdfinfo", {"-upw", "us er", Out("alone.pdf")}),
                       "Pages:           1\n"));
  EXPECT_TRUE(
      Contains(CaptureOutput("qpdf", {"--show-encryption", "--password=us er", Out("alone.pdf")}),
               "User password = us er\n"));
}

// Nobody can be asked headless: an existing PDF stays and the new one takes the next free name,
// unless the settings say that replacing needs no question. The job comes through unchanged.
TEST_F(PipelineTest, ExistingPdfIsKeptWhenNobodyCanConfirmTheOverwrite) {
  const std::string job =
      "%!PS\r\n%%Page: 1 1\n/Helvetica findfont 20 scalefont setfont 72 700 "
      "moveto (New text) show showpage\r%%EOF\n";
  PutFile(root_ / "job.ps", job);
  PutFile(Out("Report.pdf"), "%PDF-first");
  PutFile(Out("Report (2).pdf"), "%PDF-second");
  Settings("output=" + Out("Report.pdf") + "\r\n");
  ASSERT_EQ(Print(root_ / "job.ps", "keep").exitCode, 0);
  EXPECT_EQ(GetFile(Out("Report.pdf")), "%PDF-first");
  EXPECT_EQ(GetFile(Out("Report (2).pdf")), "%PDF-second");
  EXPECT_TRUE(Contains(PdfText(Out("Report (3).pdf")), "New text"));
  Settings("output=" + Out("Report.pdf") + "\r\nconfirmoverwrite=no\r\n");
  ASSERT_EQ(Print(root_ / "job.ps", "replace").exitCode, 0);
  EXPECT_TRUE(Contains(PdfText(Out("Report.pdf")), "New text"));
  EXPECT_FALSE(fs::exists(Out("Report (4).pdf")));
  EXPECT_EQ(GetFile(root_ / "job.ps"), job);
}

// No lock is suspected, so the user is asked at once, and the old PDF stays as it was.
TEST_F(PipelineTest, FullOrReadOnlyDestinationFolderIsAskedAboutAtOnce) {
  const std::tuple<bool, const char*, std::vector<std::string>> cases[] = {
      {false, "Error 61: Disk full", {"filler", "x.pdf"}},
      {true, "Error copying PDF to destination (", {"x.pdf"}}};
  for (const auto& [readOnly, logged, names] : cases) {
    SmallDisk disk(root_ / "out", "size=128k");
    if (!disk.Mounted()) GTEST_SKIP() << "cannot mount a small tmpfs here (needs CAP_SYS_ADMIN)";
    PutFile(Out("x.pdf"), "%PDF-old");
    if (readOnly)
      ASSERT_EQ(mount("tmpfs", Out("").c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, "size=128k"), 0);
    else
      FillDisk(Out("filler"));
    Settings("output=" + Out("x.pdf") + "\r\ndebug=yes\r\n");
    std::string session = readOnly ? "readonly" : "fullpdf";
    ProgramResult result = Print(Job("job.ps", "Page"), session);
    EXPECT_EQ(result.exitCode, 1) << "no PDF was delivered";
    EXPECT_EQ(
        Occurrences(result.errorOutput, "Error copying PDF to destination.\r\n\r\nThe file '" +
                                            Out("x (2).pdf") + "' could not be written."),
        1)
        << result.errorOutput;
    std::string log = Log(session);
    EXPECT_EQ(Occurrences(log, "Possible file lock"), 0) << log;
    EXPECT_EQ(Occurrences(log, logged), 1) << log;
    EXPECT_EQ(GetFile(Out("x.pdf")), "%PDF-old");
    EXPECT_EQ(FileNames(Out("")), names);
  }
}

// Headless, nobody can agree to replace a read-only file, and a folder under a file cannot be
// made: the job fails, and its log and its PDF stay in the temporary folder, the PDF named
// where the person reads it. A folder that is only missing is made.
TEST_F(PipelineTest, UndeliveredPdfIsKeptWithTheLogAndNamed) {
  const fs::perms readOnly = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
  PutFile(Out("x.pdf"), "%PDF-old");
  fs::permissions(Out("x.pdf"), readOnly);
  PutFile(root_ / "plain.txt", "a file, not a folder");
  const std::tuple<std::string, std::string, std::string> cases[] = {
      {"readonly", Out("x.pdf"), "The file is read-only.\r\n\r\n" + Out("x.pdf")},
      {"nofolder", root_ / "plain.txt/sub/x.pdf",
       "The folder '" + root_ / "plain.txt/sub' does not exist."}};
  std::string job = Job("job.ps", "Kept page");
  for (const auto& [session, output, said] : cases) {
    Settings("output=" + output + "\r\nconfirmoverwrite=no\r\n");
    ProgramResult result = Print(job, session);
    EXPECT_EQ(result.exitCode, 1);
    std::string kept = Temp(session + "_printer.pdf");
    EXPECT_TRUE(Contains(result.errorOutput, said)) << result.errorOutput;
    EXPECT_TRUE(Contains(result.errorOutput, "It is kept as '" + kept + "'."))
        << result.errorOutput;
    EXPECT_FALSE(Contains(result.errorOutput, "Please close")) << result.errorOutput;
    EXPECT_TRUE(Contains(Log(session), "it is kept as '" + kept + "'"));
    EXPECT_TRUE(Contains(PdfText(kept), "Kept page"));
  }
  EXPECT_EQ(GetFile(Out("x.pdf")), "%PDF-old");
  EXPECT_EQ(fs::status(Out("x.pdf")).permissions(), readOnly);
  EXPECT_EQ(FileNames(Out("")), std::vector<std::string>{"x.pdf"});

  Settings("output=" + root_ / "new folder/y.pdf\r\n");
  ASSERT_EQ(Print(job, "newfolder").exitCode, 0);
  EXPECT_TRUE(Contains(PdfText(root_ / "new folder/y.pdf"), "Kept page"));
}

// Headless, a Save As question that nobody answers leaves the job without a file name: that is
// no choice to go without the PDF, so the job fails and says why.
TEST_F(PipelineTest, AJobLeftWithoutAFileNameFailsSayingWhy) {
  Settings("output=" + Out("x.pdf") + "\r\nshowsaveas=always\r\n");
  ProgramResult result = Print(Job("job.ps", "Page"), "noname");
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_TRUE(Contains(result.errorOutput,
                       "No PDF document was made for 'report.odt': the settings name no output "
                       "file, and there is nobody to ask for one."))
      << result.errorOutput;
  EXPECT_TRUE(Contains(Log("noname"), "No output specified"));
  EXPECT_TRUE(FileNames(Out("")).empty());
}

// A title too long for a file name is cut by whole characters before ".pdf", and so is the
// next free name beside it.
TEST_F(PipelineTest, LongTitlesGiveNamesThatFitAndEndInPdf) {
  std::string japanese;
  for (int i = 0; i < 120; ++i)
    japanese += "\xE6\x97\xA5";  // 日
  Settings("output=" + Out("<title>.pdf") + "\r\ndebug=yes\r\n");
  const std::size_t longest = pathconf(Out("").c_str(), _PC_NAME_MAX);
  for (const std::string& title : {std::string(300, 'a'), japanese}) {
    std::string job = PostScriptJob({"Page"});
    PutFile(root_ / "long.ps", job.insert(job.find("%%Pages"), "%%Title: " + title + "\n"));
    for (const char* run : {"first", "second"}) {
      std::string session = run + std::to_string(title.size());
      ASSERT_EQ(Print(root_ / "long.ps", session).exitCode, 0);
      EXPECT_TRUE(Contains(Log(session), "is too long; the PDF goes to '")) << Log(session);
    }
    std::vector<std::string> names = FileNames(Out(""));
    ASSERT_EQ(names.size(), 2u);
    for (const auto& [name, ending] :
         {std::pair{names[0], std::string(" (2).pdf")}, std::pair{names[1], std::string(".pdf")}}) {
      std::string stem = name.substr(0, name.size() - ending.size());
      EXPECT_TRUE(name.ends_with(ending)) << name;
      EXPECT_LE(name.size(), longest);
      EXPECT_GT(name.size(), longest - 3) << "no more than one character too many is cut";
      EXPECT_EQ(title.compare(0, stem.size(), stem), 0) << name;
      EXPECT_NE(static_cast<unsigned char>(title[stem.size()]) & 0xC0, 0x80)
          << "cut inside a character: " << name;
      EXPECT_EQ(PdfInfo(Out(name), "Pages"), "1");
      fs::remove(Out(name));
    }
  }
}

// The title reaches the PostScript header, the file name and the after-print program, the
// document name the progress text; none may leave its string in any of these languages.
TEST_F(PipelineTest, HostileTitleAndDocumentNameStayText) {
  const std::string title = "a) (b $(touch pwned) ;touch pwned2; `touch pwned3` \\ 'q' \"r\"";
  std::string job = PostScriptJob({"Page"});
  PutFile(root_ / "job.ps", job.insert(job.find("%%Pages"), "%%Title: " + title + "\n"));
  Settings("output=" + Out("<title>.pdf") + "\r\nafterprintprogram=cp \"%1\" copy.pdf\r\n" +
           "afterprintprogramdir=" + root_.Path() + "\r\n");
  ProgramResult result =
      Print(root_ / "job.ps", "hostile", {}, "$(touch pwned4);`touch pwned5`.odt");
  ASSERT_EQ(result.exitCode, 0) << result.errorOutput;
  std::vector<fs::path> made(fs::directory_iterator(Out("")), fs::directory_iterator());
  ASSERT_EQ(made.size(), 1u);
  EXPECT_EQ(PdfInfo(made[0], "Title"), title);
  std::string pdf = GetFile(made[0]);
  for (int i = 0; i < 200 && GetFile(root_ / "copy.pdf") != pdf; ++i)
    usleep(10000);
  EXPECT_EQ(GetFile(root_ / "copy.pdf"), pdf);
  for (const std::string& folder : {root_.Path(), Out(""), root_ / "program", Temp(),
                                    fs::current_path().string(), std::string("/usr/bin")}) {
    for (const char* name : {"pwned", "pwned2", "pwned3", "pwned4", "pwned5"})
      EXPECT_FALSE(fs::exists(folder + "/" + name)) << folder << "/" << name;
  }
}

// A link planted in the temporary folder under each name the job writes there in turn.
TEST_F(PipelineTest, PlantedLinksAreNeverWrittenThrough) {
  fs::create_directories(Temp());
  fs::permissions(root_ / "runtime/QUENTARIS", fs::perms::owner_all);
  fs::permissions(Temp(), fs::perms::owner_all);
  std::string target = root_ / "target";
  Settings("output=" + Out("x.pdf") + "\r\n");
  for (const char* suffix :
       {"_trailer.ps", "_header.ps", "_params.gs", "_params.out", "_printer.pdf", "_printer.log"}) {
    PutFile(target, "untouched");
    fs::create_symlink(target, Temp(std::string("planted") + suffix));
    ProgramResult result = Print(report_, "planted");
    EXPECT_EQ(GetFile(target), "untouched") << suffix << "\n" << result.errorOutput;
    fs::remove(Temp(std::string("planted") + suffix));
  }
}

}  // namespace
}  // namespace gui::test
