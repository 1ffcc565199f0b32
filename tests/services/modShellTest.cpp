#include "services/modShell.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <filesystem>

#include "platform/Clock.h"
#include "services/Error.h"
#include "tests/support/ScopedVariable.h"
#include "tests/support/StandIn.h"
#include "tests/support/TempFolder.h"

namespace gui {
namespace {

struct Outcome {
  int pid = 0;
  bool timedOut = false;
  int exitCode = -1;
};

Outcome RunTimed(const std::string& commandLine, int timeoutSeconds, const std::string& folder) {
  Outcome outcome;
  outcome.pid =
      RunCommand(commandLine, outcome.timedOut, outcome.exitCode, 0, timeoutSeconds, folder);
  return outcome;
}

// The state letter of /proc/<pid>/stat ("Z" for a zombie); "" once the process is gone.
std::string ProcessState(int pid) {
  std::string stat = test::GetFile("/proc/" + std::to_string(pid) + "/stat");
  std::string::size_type name = stat.rfind(')');
  return name == std::string::npos || name + 2 >= stat.size() ? "" : stat.substr(name + 2, 1);
}

bool BecomesZombie(int pid) {
  for (int i = 0; i < 200 && ProcessState(pid) != "Z"; ++i)
    platform::SleepMilliseconds(25);
  return ProcessState(pid) == "Z";
}

// Ends a child the test left running and checks that a later start reaps it.
void KillAndExpectReaped(int pid) {
  ASSERT_EQ(0, kill(pid, SIGKILL));
  ASSERT_TRUE(BecomesZombie(pid));
  RunTimed("true", 5, "");
  EXPECT_EQ("", ProcessState(pid));
}

TEST(RunCommand, ReportsTheExitCodeOfAChildThatEndsInTime) {
  Outcome run = RunTimed("/bin/sh -c \"exit 3\"", 10, "");
  EXPECT_GT(run.pid, 0);
  EXPECT_FALSE(run.timedOut);
  EXPECT_EQ(3, run.exitCode);
  EXPECT_EQ("", ProcessState(run.pid));
  EXPECT_EQ(128 + SIGKILL, RunTimed("/bin/sh -c \"kill -KILL \\$\\$\"", 10, "").exitCode);
}

TEST(RunCommand, LeavesAChildRunningAfterItsTimeOutAndReapsItLater) {
  for (int timeout : {1, 0}) {
    Outcome run = RunTimed("sleep 30", timeout, "");
    EXPECT_TRUE(run.timedOut);
    EXPECT_EQ(0, run.exitCode);
    std::string state = ProcessState(run.pid);
    EXPECT_NE("", state);
    EXPECT_NE("Z", state);
    KillAndExpectReaped(run.pid);
  }
}

TEST(RunCommand, RaisesError1000NamingTheCommandThatCannotStart) {
  test::TempFolder folder;
  const std::string commands[] = {"/nonexistent/quentaris-program arg",
                                  "quentaris-no-such-program \"a b\"", "", "   ",
                                  "/bin/sh -c \"unterminated"};
  for (const std::string& command : commands) {
    try {
      RunTimed(command, 5, folder.Path());
      ADD_FAILURE() << "no error for [" << command << "]";
    } catch (const Error& error) {
      EXPECT_EQ(err::kSmallRoutine, error.Number());
      EXPECT_EQ("Error launching the command [" + command + "]", error.Description());
    }
  }
  EXPECT_THROW(RunTimed("true", 5, folder / "missing"), Error);
}

TEST(RunCommand, SplitsTheCommandLineAsAShellDoesWithoutExpanding) {
  test::TempFolder folder;
  test::PutScript(folder / "words.sh",
                  "for word in \"$@\"; do printf '[%s]\\n' \"$word\"; done > words.txt");
  std::string line =
      "\"" + (folder / "words.sh") +
      R"(" "a b" c\ d "q\"q" "\$HOME" "\`x\`" "b\\s" "keep\n" it's pre"mid dle"post a\"b "")";
  Outcome run = RunTimed(line, 10, folder.Path());
  EXPECT_EQ(0, run.exitCode);
  EXPECT_EQ(
      "[a b]\n[c d]\n[q\"q]\n[$HOME]\n[`x`]\n[b\\s]\n[keep\\n]\n[it's]\n[premid dlepost]\n"
      "[a\"b]\n[]\n",
      test::GetFile(folder / "words.txt"));
}

// The child runs in the working folder, inherits the environment and reads nothing.
TEST(RunCommand, RunsAShellCommandBuiltLikeCmdSlashCInTheWorkingFolder) {
  test::TempFolder root;
  std::string folder = root / "with blank";
  std::filesystem::create_directory(folder);
  test::ScopedVariable mark("QUENTARIS_TEST_MARK", "marked");
  Outcome run = RunTimed(
      R"(/bin/sh -c "\"printf\" \"%s|\" \"a b\" c > \"out file.txt\" 2>&1; pwd -P > where.txt; )"
      R"(cat > in.txt; printf %s \"\$QUENTARIS_TEST_MARK\" > env.txt")",
      10, folder);
  EXPECT_FALSE(run.timedOut);
  EXPECT_EQ(0, run.exitCode);
  EXPECT_EQ("a b|c|", test::GetFile(folder + "/out file.txt"));
  EXPECT_EQ(std::filesystem::canonical(folder).string() + "\n",
            test::GetFile(folder + "/where.txt"));
  EXPECT_EQ("", test::GetFile(folder + "/in.txt"));
  EXPECT_EQ("marked", test::GetFile(folder + "/env.txt"));
}

// Nobody is asked to open an empty path; otherwise the opener's exit code decides.
TEST(OpenDocument, IsTrueWhenTheShellOpensThePath) {
  test::StandInPath path;
  path.Put("xdg-open", "printf called > \"" + (path / "called") + "\"");
  EXPECT_EQ(std::nullopt, OpenDocument(""));
  EXPECT_FALSE(std::filesystem::exists(path / "called"));
  path.Put("xdg-open", "exit 0");
  EXPECT_EQ(std::optional<bool>(true), OpenDocument("/tmp/some file.pdf"));
  path.Put("xdg-open", "exit 3");
  EXPECT_EQ(std::optional<bool>(false), OpenDocument("/tmp/some file.pdf"));
}

}  // namespace
}  // namespace gui
