#include "backend/GuiLauncher.h"

#include <errno.h>
#include <fcntl.h>
#include <linux/close_range.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>

namespace gui::backend {

namespace {

std::vector<char*> Pointers(const std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (const std::string& text : texts)
    pointers.push_back(const_cast<char*>(text.c_str()));
  pointers.push_back(nullptr);
  return pointers;
}

void PointStreams(int errors) {
  int null = open("/dev/null", O_RDWR);
  if (null < 0) return;
  dup2(null, 0);
  dup2(null, 1);
  dup2(errors >= 0 ? errors : null, 2);
}

[[noreturn]] void BecomeGui(const std::string& program, std::vector<char*>& argv,
                            std::vector<char*>& envp, int errors, int report) {
  setsid();
  // The job file and the PDFs made from it are the user's alone.
  umask(077);
  // The backend's cancellation handling is not gui's, and gui starts with no signal held back.
  signal(SIGTERM, SIG_DFL);
  sigset_t none;
  sigemptyset(&none);
  sigprocmask(SIG_SETMASK, &none, nullptr);
  PointStreams(errors);
  close_range(3, ~0U, CLOSE_RANGE_CLOEXEC);
  execve(program.c_str(), argv.data(), envp.data());
  int failure = errno;
  ssize_t ignored = write(report, &failure, sizeof failure);
  (void)ignored;
  _exit(127);
}

}  // namespace

pid_t StartGui(const std::string& program, const std::vector<std::string>& arguments,
               const std::vector<std::string>& environment, int errors, std::string& error) {
  std::vector<std::string> words = {program};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv = Pointers(words);
  std::vector<char*> envp = Pointers(environment);
  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0) {
    error = std::string("Unable to start gui: ") + std::strerror(errno);
    return -1;
  }
  pid_t child = fork();
  if (child == 0) BecomeGui(program, argv, envp, errors, report[1]);
  close(report[1]);
  int failure = 0;
  ssize_t got = child < 0 ? 0 : read(report[0], &failure, sizeof failure);
  if (child < 0) failure = errno;
  close(report[0]);
  if (child < 0 || got == static_cast<ssize_t>(sizeof failure)) {
    if (child > 0) waitpid(child, nullptr, 0);
    error = "Unable to start '" + program + "': " + std::strerror(failure);
    return -1;
  }
  return child;
}

}  // namespace gui::backend
