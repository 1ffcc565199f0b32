#include "platform/Process.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

#include "platform/Clock.h"
#include "platform/Environment.h"
#include "platform/posix/Descriptor.h"

extern char** environ;

namespace gui::platform {

namespace {

// The exit code of a child that something else reaped before we could read its status.
constexpr int kUnknownExitCode = -1;
// The sleep between checks when the system offers no process descriptor to wait on.
constexpr int kFallbackSliceMs = 10;
// How long a child asked to end may take before it is forced to.
constexpr int kTerminationGraceMs = 2000;

std::vector<pid_t>& AbandonedChildren() {
  static std::vector<pid_t> children;
  return children;
}

// Reads a command line as a POSIX shell does, without expansions: blanks separate words,
// double quotes group, a backslash escapes any character outside quotes and only ", $, `
// and \ inside them, and a backslash before a line break joins the lines.
class WordSplitter {
 public:
  explicit WordSplitter(const std::string& line) : line_(line) {}

  // False when a double quote is left open.
  bool Split(std::vector<std::string>& words) {
    for (pos_ = 0; pos_ < line_.size(); ++pos_)
      Take(line_[pos_], words);
    if (inWord_) words.push_back(word_);
    return !quoted_;
  }

 private:
  void Take(char c, std::vector<std::string>& words) {
    if (c == '\\' && Escape()) return;
    if (c == '"') {
      quoted_ = !quoted_;
      inWord_ = true;
    } else if (!quoted_ && (c == ' ' || c == '\t' || c == '\n')) {
      if (inWord_) words.push_back(word_);
      word_.clear();
      inWord_ = false;
    } else {
      word_ += c;
      inWord_ = true;
    }
  }

  // Handles the backslash at pos_; false when it stands for itself.
  bool Escape() {
    if (pos_ + 1 >= line_.size()) return false;
    char next = line_[pos_ + 1];
    if (next == '\n') {
      ++pos_;
      return true;
    }
    if (quoted_ && next != '"' && next != '$' && next != '`' && next != '\\') return false;
    word_ += next;
    inWord_ = true;
    ++pos_;
    return true;
  }

  const std::string& line_;
  std::string::size_type pos_ = 0;
  std::string word_;
  bool inWord_ = false;
  bool quoted_ = false;
};

std::string Absolute(const std::string& path) {
  return path.front() == '/' ? path : CurrentFolder() + "/" + path;
}

bool IsExecutableFile(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(path.c_str(), X_OK) == 0;
}

// The program's absolute path, so that it does not depend on the child's working folder;
// "" when the PATH holds no such program.
std::string ResolveProgram(const std::string& name) {
  if (name.empty()) return {};
  if (name.find('/') != std::string::npos) return Absolute(name);
  std::string path = GetVariable("PATH").value_or("/bin:/usr/bin");
  std::string::size_type start = 0;
  for (;;) {
    std::string::size_type end = path.find(':', start);
    std::string folder = path.substr(start, end - start);
    std::string candidate = (folder.empty() ? std::string(".") : folder) + "/" + name;
    if (IsExecutableFile(candidate)) return Absolute(candidate);
    if (end == std::string::npos) return {};
    start = end + 1;
  }
}

// A new file for a child's output; a link planted under its name is not followed.
int OpenOutput(const std::string& path) {
  return open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
}

int ExitCodeOf(int status) {
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return kUnknownExitCode;
}

int OpenPidFd(pid_t pid) {
#ifdef SYS_pidfd_open
  return static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
#else
  (void)pid;
  return -1;
#endif
}

// The attributes and file actions of one spawn, released on every path.
class SpawnSettings {
 public:
  SpawnSettings() {
    posix_spawn_file_actions_init(&actions_);
    posix_spawnattr_init(&attributes_);
  }
  ~SpawnSettings() {
    posix_spawn_file_actions_destroy(&actions_);
    posix_spawnattr_destroy(&attributes_);
  }
  SpawnSettings(const SpawnSettings&) = delete;
  SpawnSettings& operator=(const SpawnSettings&) = delete;

  // Returns 0 or the error code of the first step that failed.
  int Prepare(const std::string& workingFolder, bool detached, int outputFd) {
    sigset_t noSignals, defaults;
    sigemptyset(&noSignals);
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    short flags = POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
    if (detached) flags |= POSIX_SPAWN_SETSID;
    if (outputFd >= 0) flags |= POSIX_SPAWN_SETPGROUP;
    int rc = posix_spawnattr_setflags(&attributes_, flags);
    if (rc == 0) rc = posix_spawnattr_setsigmask(&attributes_, &noSignals);
    if (rc == 0) rc = posix_spawnattr_setsigdefault(&attributes_, &defaults);
    if (rc == 0) rc = OpenNull(STDIN_FILENO, O_RDONLY);
    if (rc == 0 && detached) rc = OpenNull(STDOUT_FILENO, O_WRONLY);
    if (rc == 0 && detached) rc = OpenNull(STDERR_FILENO, O_WRONLY);
    if (rc == 0 && outputFd >= 0) rc = posix_spawn_file_actions_adddup2(&actions_, outputFd, 1);
    if (rc == 0 && outputFd >= 0) rc = posix_spawn_file_actions_adddup2(&actions_, outputFd, 2);
    if (rc == 0 && !workingFolder.empty())
      rc = posix_spawn_file_actions_addchdir_np(&actions_, workingFolder.c_str());
    return rc;
  }

  const posix_spawn_file_actions_t* Actions() const { return &actions_; }
  const posix_spawnattr_t* Attributes() const { return &attributes_; }

 private:
  int OpenNull(int descriptor, int mode) {
    return posix_spawn_file_actions_addopen(&actions_, descriptor, "/dev/null", mode, 0);
  }

  posix_spawn_file_actions_t actions_;
  posix_spawnattr_t attributes_;
};

}  // namespace

ChildProcess::~ChildProcess() {
  if (pid_ > 0 && !Reap()) AbandonedChildren().push_back(pid_);
  if (pidFd_ >= 0) close(pidFd_);
}

bool ChildProcess::Start(const std::string& commandLine, const std::string& workingFolder) {
  std::vector<std::string> words;
  if (!WordSplitter(commandLine).Split(words) || words.empty()) {
    startError_ = EINVAL;
    return false;
  }
  return Spawn(words, workingFolder, Streams::Inherited);
}

bool ChildProcess::StartDetached(const std::vector<std::string>& words) {
  if (words.empty()) {
    startError_ = EINVAL;
    return false;
  }
  return Spawn(words, {}, Streams::Discarded);
}

bool ChildProcess::StartCaptured(const std::vector<std::string>& words,
                                 const std::string& workingFolder, const std::string& outputFile) {
  if (words.empty()) {
    startError_ = EINVAL;
    return false;
  }
  return Spawn(words, workingFolder, Streams::Captured, outputFile);
}

void ChildProcess::Terminate() {
  if (!IsRunning()) return;
  pid_t target = ownGroup_ ? -pid_ : pid_;
  kill(target, SIGTERM);
  if (WaitFor(kTerminationGraceMs)) return;
  kill(target, SIGKILL);
  WaitFor(kTerminationGraceMs);
}

bool ChildProcess::Spawn(const std::vector<std::string>& words, const std::string& workingFolder,
                         Streams streams, const std::string& outputFile) {
  ReapAbandonedChildren();
  if (pid_ > 0) {
    startError_ = EBUSY;
    return false;
  }
  std::string program = ResolveProgram(words.front());
  if (program.empty()) {
    startError_ = ENOENT;
    return false;
  }
  Descriptor output(streams == Streams::Captured ? OpenOutput(outputFile) : -1);
  if (streams == Streams::Captured && output.Get() < 0) {
    startError_ = errno;
    return false;
  }
  SpawnSettings settings;
  startError_ = settings.Prepare(workingFolder, streams == Streams::Discarded, output.Get());
  if (startError_ != 0) return false;
  std::vector<char*> arguments;
  for (const std::string& word : words)
    arguments.push_back(const_cast<char*>(word.c_str()));
  arguments.push_back(nullptr);
  pid_t pid = -1;
  startError_ = posix_spawn(&pid, program.c_str(), settings.Actions(), settings.Attributes(),
                            arguments.data(), environ);
  if (startError_ != 0) return false;
  pid_ = pid;
  pidFd_ = OpenPidFd(pid);
  ownGroup_ = streams == Streams::Captured;
  return true;
}

bool ChildProcess::Reap() {
  if (ended_) return true;
  int status = 0;
  pid_t result = waitpid(pid_, &status, WNOHANG);
  if (result == 0 || (result < 0 && errno == EINTR)) return false;
  ended_ = true;
  exitCode_ = result < 0 ? kUnknownExitCode : ExitCodeOf(status);
  return true;
}

bool ChildProcess::WaitFor(int milliseconds) {
  if (pid_ <= 0 || Reap()) return true;
  if (pidFd_ >= 0) {
    struct pollfd watch {
      pidFd_, POLLIN, 0
    };
    poll(&watch, 1, std::max(milliseconds, 0));
    return Reap();
  }
  double deadline = MonotonicSeconds() + milliseconds / 1000.0;
  while (MonotonicSeconds() < deadline) {
    SleepMilliseconds(kFallbackSliceMs);
    if (Reap()) return true;
  }
  return Reap();
}

bool ChildProcess::IsRunning() {
  return pid_ > 0 && !Reap();
}

void ReapAbandonedChildren() {
  std::erase_if(AbandonedChildren(), [](pid_t pid) {
    int status = 0;
    return waitpid(pid, &status, WNOHANG) != 0;
  });
}

}  // namespace gui::platform
