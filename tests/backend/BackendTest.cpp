#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include <gtest/gtest.h>

#include "tests/backend/TestUser.h"
#include "tests/production/GhostscriptTesting.h"

namespace gui::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kPostScript = "%!PS-Adobe-3.0\n%%Title: Report\n%%EndComments\nshowpage\n";

// Runs the backend as CUPS would for a job of the user, with a stand-in gui that writes down
// who it runs as, its arguments and its environment into the user's home.
class Backend : public ::testing::Test {
 protected:
  Backend() {
    fs::permissions(folder_.Path(), fs::perms::owner_all | fs::perms::others_exec);
    PutScript(standIn_,
              "{ id -u; id -g; id -G; for a in \"$@\"; do echo \"arg:$a\"; done; "
              "env; } > \"$HOME/record.tmp\"; mv \"$HOME/record.tmp\" "
              "\"$HOME/record\"");
    fs::permissions(standIn_,
                    fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
    PutFile(job_, kPostScript);
  }

  ProgramResult Run(const std::vector<std::string>& arguments) {
    return RunProgram(
        QUENTARIS_BACKEND, arguments,
        {"QUENTARIS_GUI=" + standIn_, "PRINTER=QUENTARIS_PDF_Printer_Invoices",
         "PRINTER_INFO=QUENTARIS PDF Printer [Invoices]", "DISPLAY=", "WAYLAND_DISPLAY="});
  }
  ProgramResult RunJob(const std::string& title, const std::string& file) {
    return Run({"42", user_.Name(), title, "1", "", file});
  }

  // What the stand-in wrote, once it has run, after a line end.
  std::string Record() const {
    std::string path = user_.Home() + "/record";
    for (int i = 0; i < 200 && !fs::exists(path); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(25));
    std::string record = "\n" + GetFile(path);
    fs::remove(path);
    return record;
  }

  static std::string Value(const std::string& record, const std::string& prefix) {
    std::size_t at = record.find("\n" + prefix);
    if (at == std::string::npos) return "<none>";
    at += prefix.size() + 1;
    return record.substr(at, record.find('\n', at) - at);
  }

  TempFolder folder_;
  TestUser user_;
  std::string standIn_ = folder_ / "gui";
  std::string job_ = folder_ / "job.ps";
};

// Without arguments it names its device.
TEST_F(Backend, NamesItsDeviceAndRefusesWhatItCannotConvertWithCupsExitCodes) {
  ProgramResult listing = RunProgram("/bin/sh", {"-c", "exec \"$0\" >&2", QUENTARIS_BACKEND}, {});
  EXPECT_EQ(listing.exitCode, 0);
  EXPECT_EQ(listing.errorOutput.rfind("direct quentaris:/ \"QUENTARIS PDF Printer\"", 0), 0u);

  ProgramResult usage = Run({"42", "user"});
  EXPECT_EQ(usage.exitCode, 1);
  EXPECT_TRUE(Contains(usage.errorOutput, "ERROR: Usage: quentaris"));

  PutFile(folder_ / "job.pdf", "%PDF-1.4\n");
  ProgramResult pdf = RunJob("t", folder_ / "job.pdf");
  EXPECT_EQ(pdf.exitCode, 5);  // cancel the job, keep the queue
  EXPECT_TRUE(Contains(pdf.errorOutput, "ERROR: The job is a PDF document, not PostScript"));
  PutFile(folder_ / "job.txt", "Hello\n");
  EXPECT_EQ(RunJob("t", folder_ / "job.txt").exitCode, 5);

  ProgramResult root = Run({"42", "root", "t", "1", "", job_});
  EXPECT_EQ(root.exitCode, 5);
  EXPECT_TRUE(Contains(root.errorOutput, "ERROR: Jobs printed by root"));
  EXPECT_EQ(Run({"42", "no-such-user-here", "t", "1", "", job_}).exitCode, 5);
  EXPECT_EQ(Run({"../42", user_.Name(), "t", "1", "", job_}).exitCode, 1);
  EXPECT_FALSE(fs::exists(user_.Home() + "/record"));
}

TEST_F(Backend, HandsTheJobToGuiAsTheUserWithItsOwnPrivateCopy) {
  std::string title = "Q3 \"final\", $(touch /tmp/quentaris-pwned) & more";
  ProgramResult result = RunJob(title, job_);
  ASSERT_EQ(result.exitCode, 0) << result.errorOutput;
  EXPECT_TRUE(Contains(result.errorOutput, "INFO: Handed the job to gui as session 42-"));
  std::string record = Record();
  EXPECT_TRUE(record.starts_with("\n" + std::to_string(user_.Uid()) + "\n")) << record;
  EXPECT_EQ(Value(record, "arg:printer="), "QUENTARIS PDF Printer [Invoices]");
  EXPECT_EQ(Value(record, "arg:doc="), title);
  EXPECT_FALSE(fs::exists("/tmp/quentaris-pwned"));
  EXPECT_EQ(Value(record, "QUENTARIS_UI="), "headless");
  EXPECT_EQ(Value(record, "HOME="), user_.Home());
  EXPECT_EQ(Value(record, "CUPS_SERVER="), "<none>");

  std::string session = Value(record, "arg:sessionid=");
  std::string path = Value(record, "arg:ps=");
  EXPECT_EQ(path, user_.JobFolder() + "/" + session + ".ps");
  struct stat status {};
  ASSERT_EQ(stat(path.c_str(), &status), 0);
  EXPECT_EQ(status.st_uid, user_.Uid());
  EXPECT_EQ(status.st_mode & 0777, 0600u);
  EXPECT_EQ(GetFile(path), "%!PS-Adobe-3.0\r\n%%Title: Report\r\n%%EndComments\r\nshowpage\r\n");
  EXPECT_EQ(fs::status(user_.JobFolder()).permissions(), fs::perms::owner_all);

  // A job with binary data keeps its line ends.
  std::string binary = std::string(kPostScript) + "image\n" + std::string("\x01\n\x9f\0AB\n", 7);
  PutFile(job_, binary);
  ASSERT_EQ(RunJob("t", job_).exitCode, 0);
  EXPECT_EQ(GetFile(Value(Record(), "arg:ps=")), binary);
}

TEST_F(Backend, SessionIdsOfJobsAreUniqueAndNoneStartsAnother) {
  std::vector<std::string> sessions;
  for (const char* id : {"7", "77", "7"}) {
    ASSERT_EQ(Run({id, user_.Name(), "t", "1", "", job_}).exitCode, 0);
    sessions.push_back(Value(Record(), "arg:sessionid="));
  }
  for (const std::string& one : sessions) {
    for (const std::string& other : sessions)
      EXPECT_TRUE(&one == &other || !other.starts_with(one)) << one << " starts " << other;
  }
}

TEST_F(Backend, NeverWritesThroughAFolderPlantedInTheUsersPlace) {
  TempFolder elsewhere;
  fs::create_symlink(elsewhere.Path(), "/tmp/quentaris-" + std::to_string(user_.Uid()));
  ProgramResult result = RunJob("t", job_);
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_TRUE(Contains(result.errorOutput, "ERROR: Unable to open the folder"));
  EXPECT_TRUE(fs::is_empty(elsewhere.Path()));
  EXPECT_FALSE(fs::exists(user_.Home() + "/record"));
}

}  // namespace
}  // namespace gui::test
