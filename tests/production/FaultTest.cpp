#include <signal.h>
#include <sys/mount.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <future>

#include "tests/production/GhostscriptTesting.h"
#include "tests/production/ProgramFolder.h"

namespace gui {
namespace {

namespace fs = std::filesystem;
using test::GetFile;
using test::PutFile;

int Count(const std::string& text, const std::string& piece) {
  int count = 0;
  for (std::size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1))
    ++count;
  return count;
}

std::vector<std::string> Names(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder))
    names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

class FaultTest : public test::ProgramFolderTest {
 protected:
  std::string Job(const std::string& name, const std::string& text, std::size_t padding = 0) {
    std::string job = test::PostScriptJob({text});
    std::string line = "% " + std::string(77, '-') + "\n";
    std::string pad;
    for (std::size_t i = 0; i < padding / line.size(); ++i)
      pad += line;
    PutFile(root_ / name, job.insert(job.find("%%EndComments"), pad));
    return root_ / name;
  }
};

// Session ids of one length never prefix each other, as the clean-up after a job requires.
TEST_F(FaultTest, TwentyJobsAtOnceEachGetTheirOwnPdfAndLeaveNothingBehind) {
  Settings("output=" + Out("<basedocname>.pdf") + "\r\n");
  std::vector<std::future<test::ProgramResult>> runs;
  for (int i = 1; i <= 20; ++i) {
    std::string name = (i < 10 ? "job0" : "job") + std::to_string(i);
    std::string job = Job(name + ".ps", "Job " + name);
    runs.push_back(std::async(std::launch::async, [this, job, name] {
      return Print(job, "s" + name, {}, name + ".ps");
    }));
  }
  for (int i = 1; i <= 20; ++i) {
    std::string name = (i < 10 ? "job0" : "job") + std::to_string(i);
    test::ProgramResult result = runs[i - 1].get();
    EXPECT_EQ(result.exitCode, 0) << name << ": " << result.errorOutput;
    EXPECT_EQ(test::PdfInfo(Out(name + ".pdf"), "Pages"), "1") << name;
    EXPECT_NE(test::PdfText(Out(name + ".pdf")).find("Job " + name), std::string::npos) << name;
  }
  // Only what is kept between jobs stays: Ghostscript's version.
  EXPECT_EQ(Names(Temp()), std::vector<std::string>{"ghostscript.version"});
}

TEST_F(FaultTest, GhostscriptKilledOrPastItsTimeOutEndsInAnErrorWithTheLogKept) {
  test::TempFolder bin;
  std::string pidFile = bin / "pid";
  const struct {
    const char* body;
    const char* timeout;
    const char* error;
  } cases[] = {
      {"kill -9 $$", "300", "Error 1007"},
      {"echo $$ > pid; exec /bin/sleep 4 >/dev/null 2>&1", "1", "Error 1008"},
  };
  std::string job = Job("job.ps", "Page");
  for (const auto& c : cases) {
    test::PutStandInGhostscript(bin / "gs", "10.00.0",
                                std::string("cd '") + bin.Path() + "'\n" + c.body);
    Settings("output=" + Out("x.pdf") + "\r\nghostscripttimeout=" + c.timeout + "\r\n");
    test::ProgramResult result = Print(job, "gsfail", {"PATH=" + bin.Path() + ":/usr/bin:/bin"});
    EXPECT_EQ(result.exitCode, 1) << c.error;
    EXPECT_NE(result.errorOutput.find(c.error), std::string::npos) << result.errorOutput;
    EXPECT_NE(Log("gsfail").find(std::string("Error handler. ") + c.error), std::string::npos)
        << Log("gsfail");
    EXPECT_FALSE(fs::exists(Out("x.pdf")));
  }
  if (int pid = std::atoi(GetFile(pidFile).c_str()); pid > 0) kill(pid, SIGKILL);
}

TEST_F(FaultTest, FullDiskWhilePatchingIsReportedAndTheDestinationStaysAsItWas) {
  test::SmallDisk disk(root_ / "runtime", "size=256k,mode=0700");
  if (!disk.Mounted()) GTEST_SKIP() << "cannot mount a small tmpfs here (needs CAP_SYS_ADMIN)";
  PutFile(Out("x.pdf"), "%PDF-old");
  Settings("output=" + Out("x.pdf") + "\r\n");
  test::ProgramResult result = Print(Job("big.ps", "Big", 1 << 20), "full");
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.errorOutput.find("Disk full"), std::string::npos) << result.errorOutput;
  EXPECT_EQ(GetFile(Out("x.pdf")), "%PDF-old");
  EXPECT_EQ(Names(Out("")), std::vector<std::string>{"x.pdf"});
  EXPECT_FALSE(fs::exists(Temp("full_patched.ps")));
}

TEST_F(FaultTest, FullDiskWhileWritingThePdfIsAskedAboutAtOnceAndKeepsTheOldPdf) {
  test::SmallDisk disk(root_ / "out", "size=128k");
  if (!disk.Mounted()) GTEST_SKIP() << "cannot mount a small tmpfs here (needs CAP_SYS_ADMIN)";
  PutFile(Out("x.pdf"), "%PDF-old");
  test::FillDisk(Out("filler"));
  Settings("output=" + Out("x.pdf") + "\r\ndebug=yes\r\n");
  test::ProgramResult result = Print(Job("job.ps", "Page"), "fullpdf");
  EXPECT_EQ(Count(result.errorOutput, "Error copying PDF document to destination file."), 1)
      << result.errorOutput;
  std::string log = Log("fullpdf");
  EXPECT_EQ(Count(log, "Possible file lock"), 0) << log;
  EXPECT_EQ(Count(log, "Error 61: Disk full"), 1) << log;
  EXPECT_EQ(GetFile(Out("x.pdf")), "%PDF-old");
  EXPECT_EQ(Names(Out("")), (std::vector<std::string>{"filler", "x.pdf"}));
}

TEST_F(FaultTest, ReadOnlyDestinationFolderIsAskedAboutAtOnce) {
  test::SmallDisk disk(root_ / "out", "size=128k");
  if (!disk.Mounted()) GTEST_SKIP() << "cannot mount a small tmpfs here (needs CAP_SYS_ADMIN)";
  PutFile(Out("x.pdf"), "%PDF-old");
  ASSERT_EQ(mount("tmpfs", Out("").c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, "size=128k"), 0);
  Settings("output=" + Out("x.pdf") + "\r\ndebug=yes\r\n");
  test::ProgramResult result = Print(Job("job.ps", "Page"), "readonly");
  EXPECT_EQ(Count(result.errorOutput, "Error copying PDF document to destination file."), 1)
      << result.errorOutput;
  std::string log = Log("readonly");
  EXPECT_EQ(Count(log, "Possible file lock"), 0) << log;
  EXPECT_EQ(Count(log, "Error copying PDF to destination ("), 1) << log;
  EXPECT_EQ(GetFile(Out("x.pdf")), "%PDF-old");
  EXPECT_EQ(Names(Out("")), std::vector<std::string>{"x.pdf"});
}

}  // namespace
}  // namespace gui
