#include "platform/Ghostscript.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/Clock.h"
#include "platform/Environment.h"

extern char** environ;

namespace gui::platform {

namespace {

// A Ghostscript that has not answered by then never will.
constexpr double kVersionPatienceSeconds = 10;
// A version is a short line; more than this is not worth keeping.
constexpr std::size_t kLongestAnswer = 256;
constexpr int kWaitSliceMs = 10;

bool IsExecutableFile(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(path.c_str(), X_OK) == 0;
}

// An empty entry of the PATH is the current folder, as is the start of a relative one.
std::string AbsoluteFolder(const std::string& entry) {
  if (entry.empty()) return CurrentFolder();
  return entry.front() == '/' ? entry : CurrentFolder() + "/" + entry;
}

// The first line, without its line break and trailing blanks.
std::string FirstLine(const std::string& text) {
  std::string line = text.substr(0, text.find_first_of("\r\n"));
  std::string::size_type end = line.find_last_not_of(" \t");
  return end == std::string::npos ? std::string() : line.substr(0, end + 1);
}

// Reads what the child writes until it closes its end or the time is up.
std::string ReadAnswer(int descriptor, double deadline) {
  std::string answer;
  char buffer[256];
  for (;;) {
    int left = static_cast<int>((deadline - MonotonicSeconds()) * 1000);
    if (left <= 0) break;
    pollfd watch{descriptor, POLLIN, 0};
    int ready = poll(&watch, 1, left);
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) break;
    ssize_t got = read(descriptor, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    if (answer.size() < kLongestAnswer) answer.append(buffer, static_cast<std::size_t>(got));
  }
  return answer;
}

// Starts the program with its standard output on the pipe's writing end; -1 when it fails.
pid_t SpawnAsking(const std::string& program, int writingEnd) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, writingEnd, STDOUT_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t noSignals, defaults;
  sigemptyset(&noSignals);
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGPIPE);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  posix_spawnattr_setsigmask(&attributes, &noSignals);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  char* arguments[] = {const_cast<char*>(program.c_str()), const_cast<char*>("--version"), nullptr};
  pid_t pid = -1;
  int rc = posix_spawn(&pid, program.c_str(), &actions, &attributes, arguments, environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  return rc == 0 ? pid : -1;
}

// True when the child ends with exit code 0 in time; one still running then has not answered
// and is ended, as nothing else waits for it.
bool EndsWell(pid_t pid, double deadline) {
  int status = 0;
  pid_t result = 0;
  while ((result = waitpid(pid, &status, WNOHANG)) == 0 && MonotonicSeconds() < deadline)
    SleepMilliseconds(kWaitSliceMs);
  if (result == 0) {
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    return false;
  }
  return result == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

std::string FindGhostscriptOnPath() {
  std::string path = GetVariable("PATH").value_or("/bin:/usr/bin");
  std::string::size_type start = 0;
  for (;;) {
    std::string::size_type end = path.find(':', start);
    std::string candidate =
        AbsoluteFolder(path.substr(start, end == std::string::npos ? end : end - start)) + "/" +
        kGhostscriptProgram;
    if (IsExecutableFile(candidate)) return candidate;
    if (end == std::string::npos) return {};
    start = end + 1;
  }
}

std::string AskGhostscriptVersion(const std::string& program) {
  int ends[2];
  if (program.empty() || pipe2(ends, O_CLOEXEC) != 0) return {};
  double deadline = MonotonicSeconds() + kVersionPatienceSeconds;
  pid_t pid = SpawnAsking(program, ends[1]);
  close(ends[1]);
  std::string answer = pid > 0 ? ReadAnswer(ends[0], deadline) : std::string();
  close(ends[0]);
  if (pid <= 0 || !EndsWell(pid, deadline)) return {};
  return FirstLine(answer);
}

}  // namespace gui::platform
