#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string>

namespace gui::backend {

// Of a long standard error only the start is kept: headless, the first message box is
// answered with the choice that stops, so it is the one that tells why the run failed.
constexpr std::size_t kKeptErrorBytes = 4096;

// How a headless gui's run ended.
struct GuiEnd {
  int status = 0;      // as waitpid reports it
  std::string errors;  // the last kKeptErrorBytes of what it wrote to its standard error
  bool cut = false;    // whether more came before them
};

// Waits for gui to end, reading the pipe of its standard error meanwhile. Once the job is
// cancelled, gui's process group gets a few seconds after SIGTERM before it is killed. A
// process gui left behind holding the pipe is not waited for.
GuiEnd WaitForGui(pid_t gui, int errors);

}  // namespace gui::backend
