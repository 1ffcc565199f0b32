#include "tests/support/RunProgram.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>

namespace gui::test {

namespace {

void ApplyEnvironment(const std::vector<std::string>& environment) {
  for (const std::string& entry : environment) {
    std::size_t equals = entry.find('=');
    std::string name = entry.substr(0, equals);
    if (equals + 1 == entry.size()) {
      unsetenv(name.c_str());
    } else {
      setenv(name.c_str(), entry.substr(equals + 1).c_str(), 1);
    }
  }
}

}  // namespace

ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                         const std::vector<std::string>& environment) {
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) throw std::runtime_error("pipe failed");
  pid_t child = fork();
  if (child == 0) {
    dup2(pipeEnds[1], 2);
    close(pipeEnds[0]);
    close(pipeEnds[1]);
    int devNull = open("/dev/null", O_RDONLY);
    dup2(devNull, 0);
    ApplyEnvironment(environment);
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& argument : arguments)
      argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  close(pipeEnds[1]);
  ProgramResult result;
  char buffer[4096];
  ssize_t got;
  while ((got = read(pipeEnds[0], buffer, sizeof buffer)) > 0)
    result.errorOutput.append(buffer, got);
  close(pipeEnds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return result;
}

ProgramResult RunGui(const std::vector<std::string>& arguments,
                     const std::vector<std::string>& environment) {
  return RunProgram(GUI_BINARY, arguments, environment);
}

}  // namespace gui::test
