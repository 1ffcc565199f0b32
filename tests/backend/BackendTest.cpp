#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <future>

#include <gtest/gtest.h>

#include "tests/production/GhostscriptTesting.h"
#include "tests/support/Eventually.h"
#include "tests/support/TestUser.h"

namespace gui::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kPostScript = "%!PS-Adobe-3.0\n%%Title: Report\n%%EndComments\nshowpage\n";

// Whether the process is there and has not ended (a zombie has ended).
bool Running(pid_t pid) {
  std::string stat = GetFile("/proc/" + std::to_string(pid) + "/stat");
  std::size_t name = stat.rfind(')');
  return name != std::string::npos && name + 2 < stat.size() && stat[name + 2] != 'Z' &&
         stat[name + 2] != 'X';
}

pid_t NumberIn(const std::string& path) {
  return Eventually([&] { return fs::exists(path); }) ? std::stoi(GetFile(path)) : -1;
}

// Runs the backend as CUPS would for a job of the user, with a stand-in gui that writes down
// who it runs as, its arguments and its environment into the user's home.
class Backend : public ::testing::Test {
 protected:
  Backend() {
    fs::permissions(folder_.Path(), fs::perms::owner_all | fs::perms::others_exec);
    UseGui(
        "{ id -u; id -g; id -G; echo \"umask:$(umask)\"; for a in \"$@\"; do echo \"arg:$a\"; "
        "done; env; } > \"$HOME/record.tmp\"; mv \"$HOME/record.tmp\" \"$HOME/record\"");
    PutFile(job_, kPostScript);
  }

  void UseGui(const std::string& body) {
    PutScript(standIn_, body);
    fs::permissions(standIn_,
                    fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
  }

  // The arguments CUPS gives a backend for a job: its id, user, title, copies, options, file.
  std::vector<std::string> Job(const std::string& file, const std::string& title = "t",
                               const std::string& user = "", const std::string& id = "42") {
    return {id, user.empty() ? user_.Name() : user, title, "1", "", file};
  }
  ProgramResult Run(const std::vector<std::string>& arguments,
                    const std::string& program = QUENTARIS_BACKEND) {
    return RunProgram(
        program, arguments,
        {"QUENTARIS_GUI=" + standIn_, "PRINTER=QUENTARIS_PDF_Printer_Invoices",
         "PRINTER_INFO=QUENTARIS PDF Printer [Invoices]", "DISPLAY=", "WAYLAND_DISPLAY="});
  }
  // The same in the background, its process id written to the file pid for Cancel.
  std::future<ProgramResult> Start(const std::string& file) {
    std::vector<std::string> shell = Job(file);
    shell.insert(shell.begin(),
                 {"-c", "echo $$ > \"$0\"; exec \"$@\"", folder_ / "pid", QUENTARIS_BACKEND});
    return std::async(std::launch::async, [this, shell] { return Run(shell, "/bin/sh"); });
  }
  void Cancel() const { kill(NumberIn(folder_ / "pid"), SIGTERM); }

  // What the stand-in wrote, after a line end.
  std::string Record() const {
    std::string path = user_.Home() + "/record";
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
  ProgramResult listing = Run({"-c", "exec \"$0\" >&2", QUENTARIS_BACKEND}, "/bin/sh");
  EXPECT_EQ(listing.exitCode, 0);
  EXPECT_EQ(listing.errorOutput.rfind("direct quentaris:/ \"QUENTARIS PDF Printer\"", 0), 0u);

  ProgramResult usage = Run({"42", "user"});
  EXPECT_EQ(usage.exitCode, 1);
  EXPECT_TRUE(Contains(usage.errorOutput, "ERROR: Usage: quentaris"));

  PutFile(folder_ / "job.txt", "Hello\n");
  ProgramResult text = Run(Job(folder_ / "job.txt"));
  EXPECT_EQ(text.exitCode, 5);  // cancel the job, keep the queue
  EXPECT_TRUE(Contains(text.errorOutput, "ERROR: The job is neither PostScript nor PDF"));
  PutFile(folder_ / "empty", "");
  EXPECT_TRUE(Contains(Run(Job(folder_ / "empty")).errorOutput, "ERROR: The job is empty."));

  ProgramResult root = Run(Job(job_, "t", "root"));
  EXPECT_EQ(root.exitCode, 5);
  EXPECT_TRUE(Contains(root.errorOutput, "ERROR: Jobs printed by root"));
  EXPECT_EQ(Run(Job(job_, "t", "no-such-user-here")).exitCode, 5);
  EXPECT_EQ(Run(Job(job_, "t", "", "../42")).exitCode, 1);
  EXPECT_FALSE(fs::exists(user_.Home() + "/record"));
}

TEST_F(Backend, HandsTheJobToGuiAsTheUserWithItsOwnPrivateCopy) {
  std::string title = "Q3 \"final\", $(touch /tmp/quentaris-pwned) & more";
  ProgramResult result = Run(Job(job_, title));
  ASSERT_EQ(result.exitCode, 0) << result.errorOutput;
  EXPECT_TRUE(Contains(result.errorOutput, "INFO: gui finished session 42-"));
  std::string record = Record();
  EXPECT_TRUE(record.starts_with("\n" + std::to_string(user_.Uid()) + "\n")) << record;
  EXPECT_EQ(Value(record, "umask:"), "0077");
  EXPECT_EQ(Value(record, "arg:printer="), "QUENTARIS PDF Printer [Invoices]");
  EXPECT_EQ(Value(record, "arg:doc="), title);
  EXPECT_FALSE(fs::exists("/tmp/quentaris-pwned"));
  EXPECT_EQ(Value(record, "QUENTARIS_UI="), "headless");
  EXPECT_EQ(Value(record, "HOME="), user_.Home());
  EXPECT_EQ(Value(record, "CUPS_SERVER="), "<none>");
  // Its name and its bytes are checked for every kind of job below.
  EXPECT_TRUE(user_.OwnsAlone(Value(record, "arg:ps=")));
  EXPECT_EQ(fs::status(user_.JobFolder()).permissions(), fs::perms::owner_all);
}

// Larger than what is read to tell the kind, and than one buffer of the copy.
std::string EveryByte(int times) {
  std::string bytes;
  for (int time = 0; time < times; ++time) {
    for (int byte = 0; byte < 256; ++byte)
      bytes += static_cast<char>(byte);
  }
  return bytes;
}

TEST_F(Backend, PassesEveryJobOnByteForByteNamedByWhatItIs) {
  struct Case {
    const char* name;
    std::string bytes;
    const char* extension;
  };
  for (const Case& job : {
           Case{"LF", kPostScript, ".ps"},
           Case{"CR LF", "%!PS-Adobe-3.0\r\n%%Title: Report\r\nshowpage\r\n", ".ps"},
           Case{"lone CR", "%!PS-Adobe-3.0\r%%Title: Report\rshowpage\r", ".ps"},
           Case{"binary", kPostScript + std::string("image\n") + EveryByte(400), ".ps"},
           Case{"Ctrl-D", "\x04%!PS-Adobe-3.0\nshowpage\n\x04", ".ps"},
           Case{"DOS EPS", "\xC5\xD0\xD3\xC6" + EveryByte(2), ".ps"},
           Case{"PDF", "%PDF-1.7\n%\xE2\xE3\xCF\xD3\r\n" + EveryByte(400) + "\n%%EOF\n", ".pdf"},
       }) {
    PutFile(job_, job.bytes);
    ProgramResult result = Run(Job(job_));
    ASSERT_EQ(result.exitCode, 0) << job.name << result.errorOutput;
    std::string record = Record();
    std::string path = Value(record, "arg:ps=");
    EXPECT_EQ(path, user_.JobFolder() + "/" + Value(record, "arg:sessionid=") + job.extension)
        << job.name;
    EXPECT_TRUE(GetFile(path) == job.bytes) << job.name;
  }
}

TEST_F(Backend, SessionIdsOfJobsAreUniqueAndNoneStartsAnother) {
  std::vector<std::string> sessions;
  for (const char* id : {"7", "77", "7"}) {
    ASSERT_EQ(Run(Job(job_, "t", "", id)).exitCode, 0);
    sessions.push_back(Value(Record(), "arg:sessionid="));
  }
  for (const std::string& one : sessions) {
    for (const std::string& other : sessions)
      EXPECT_TRUE(&one == &other || !other.starts_with(one)) << one << " starts " << other;
  }
}

// The scheduler shows the last message as the job's state: gui's error box, as one line.
TEST_F(Backend, AHeadlessGuisFailureFailsTheJobWithItsMessage) {
  struct Case {
    const char* gui;
    int exitCode;
    const char* message;
  };
  for (const Case& run : {
           Case{"printf 'QUENTARIS PDF Printer: An error occured.\\r\\n\\r\\nError 76: Path not "
                "found\\r\\n\\r\\nMake PDF\\n' >&2; exit 1",
                1,
                "\nERROR: QUENTARIS PDF Printer: An error occured. Error 76: Path not found "
                "Make PDF\n"},
           Case{"exit 3", 1, "\nERROR: gui made no PDF and ended with exit code 3 without"},
           Case{"echo 'Half way' >&2; kill -KILL $$", 1,
                "\nERROR: Half way\nERROR: gui was ended by signal 9"},
           Case{"echo 'Options dialog is disabled.' >&2", 0,
                "\nINFO: Options dialog is disabled.\n"},
       }) {
    UseGui(run.gui);
    ProgramResult result = Run(Job(job_));
    EXPECT_EQ(result.exitCode, run.exitCode) << run.gui;
    EXPECT_TRUE(Contains("\n" + result.errorOutput, run.message)) << result.errorOutput;
  }
}

TEST_F(Backend, OfAFloodOnGuisStandardErrorOnlyTheStartIsPassedOn) {
  UseGui("echo 'The first words' >&2; head -c 5000000 /dev/zero | tr '\\0' x >&2; exit 1");
  ProgramResult result = Run(Job(job_));
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_LT(result.errorOutput.size(), 1100u);
  EXPECT_TRUE(result.errorOutput.starts_with("ERROR: The first words xxx")) << result.errorOutput;
  EXPECT_TRUE(result.errorOutput.ends_with("xxx ...\n")) << result.errorOutput;
}

TEST_F(Backend, DoesNotWaitForWhatGuiLeftRunning) {
  UseGui("sleep 300 & echo $! > \"$HOME/leftover\"");
  ASSERT_EQ(Run(Job(job_)).exitCode, 0);
  pid_t leftover = NumberIn(user_.Home() + "/leftover");
  EXPECT_TRUE(Running(leftover));
  kill(leftover, SIGKILL);
}

TEST_F(Backend, CancellingWhileGuiRunsEndsItsProcessesAndLeavesNoFile) {
  UseGui(
      "sleep 300 & echo $! > \"$HOME/child\"; echo $$ > \"$HOME/gui.tmp\"; "
      "mv \"$HOME/gui.tmp\" \"$HOME/gui\"; wait");
  std::future<ProgramResult> backend = Start(job_);
  pid_t gui = NumberIn(user_.Home() + "/gui");
  pid_t child = NumberIn(user_.Home() + "/child");
  ASSERT_GT(gui, 0);
  ASSERT_EQ(FileNames(user_.JobFolder()).size(), 1u);
  Cancel();
  EXPECT_TRUE(Eventually([&] { return !Running(gui) && !Running(child); }));
  kill(gui, SIGKILL);  // so that a backend that failed to end them stops waiting
  kill(child, SIGKILL);
  EXPECT_EQ(backend.get().exitCode, 128 + SIGTERM);
  EXPECT_EQ(FileNames(user_.JobFolder()), std::vector<std::string>{});
}

TEST_F(Backend, CancellingWhileTheJobIsReceivedLeavesNoFile) {
  std::string fifo = folder_ / "job.fifo";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  std::future<ProgramResult> backend = Start(fifo);
  int writer = -1;
  Eventually([&] { return (writer = open(fifo.c_str(), O_WRONLY | O_NONBLOCK)) >= 0; });
  ASSERT_GE(writer, 0);
  std::string start = kPostScript + std::string(20000, '%');
  ASSERT_EQ(write(writer, start.data(), start.size()), static_cast<ssize_t>(start.size()));
  EXPECT_TRUE(Eventually(
      [&] { return fs::exists(user_.JobFolder()) && FileNames(user_.JobFolder()).size() == 1; }));
  Cancel();
  EXPECT_EQ(backend.get().exitCode, 128 + SIGTERM);
  close(writer);
  EXPECT_EQ(FileNames(user_.JobFolder()), std::vector<std::string>{});
  EXPECT_FALSE(fs::exists(user_.Home() + "/record"));
}

}  // namespace
}  // namespace gui::test
