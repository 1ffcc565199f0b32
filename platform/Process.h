#pragma once

#include <string>
#include <vector>

namespace gui::platform {

// One child process, started from a command line and watched until it ends. A child that is
// still running when the object goes away is left running and reaped later, unless it was
// ended with Terminate.
class ChildProcess {
 public:
  ChildProcess() = default;
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  ~ChildProcess();

  // Splits the command line into words as a POSIX shell does inside and outside double quotes
  // (no expansions), and starts the first word, searched on the PATH, in the working folder
  // ("" keeps the program's own). Standard input reads nothing; the environment is inherited.
  // False when the program cannot be started; errno-style code in StartError().
  bool Start(const std::string& commandLine, const std::string& workingFolder);
  // Starts the first word, searched on the PATH, with the other words as its arguments, in a
  // session of its own with every standard stream on /dev/null.
  bool StartDetached(const std::vector<std::string>& words);
  // Starts the first word, searched on the PATH, with the other words as its arguments and no
  // command interpreter in between; standard output and error go to a new file readable by the
  // user alone, and the child leads a process group of its own, so Terminate reaches whatever
  // it started.
  bool StartCaptured(const std::vector<std::string>& words, const std::string& workingFolder,
                     const std::string& outputFile);
  // Ends the child and its process group: asked first, forced if it does not end at once.
  void Terminate();
  // Waits at most the given time; true once the child has ended.
  bool WaitFor(int milliseconds);
  bool IsRunning();
  // The child's exit status; a child ended by a signal gives 128 + the signal's number, as a
  // shell reports it.
  int ExitCode() const { return exitCode_; }
  int Id() const { return pid_; }
  int StartError() const { return startError_; }

 private:
  enum class Streams { Inherited, Discarded, Captured };
  bool Spawn(const std::vector<std::string>& words, const std::string& workingFolder,
             Streams streams, const std::string& outputFile = {});
  bool Reap();

  int pid_ = -1;
  int pidFd_ = -1;
  int exitCode_ = 0;
  int startError_ = 0;
  bool ended_ = false;
  bool ownGroup_ = false;
};

// Reaps children left running by earlier ChildProcess objects that have ended since. Every
// start calls it, so an abandoned child stays a zombie at most until the next start.
void ReapAbandonedChildren();

}  // namespace gui::platform
