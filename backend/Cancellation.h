#pragma once

#include <sys/types.h>

#include <string>

namespace gui::backend {

// The scheduler cancels a job with SIGTERM. The handler removes the job file registered here
// and ends the process group of a gui being waited for; with neither it ends the backend at
// once, as if it had no handler.
void CatchCancellation();

// The file the handler removes; "" forgets it.
void RemoveOnCancel(const std::string& path);
// The process group the handler ends; 0 forgets it.
void EndOnCancel(pid_t group);
bool Cancelled();
// Ends the backend as a cancelled job ends: by SIGTERM.
[[noreturn]] void EndCancelled();

// Holds a cancellation back while it lives, so that a gui is started and registered as one.
class CancellationHeld {
 public:
  CancellationHeld();
  ~CancellationHeld();
  CancellationHeld(const CancellationHeld&) = delete;
  CancellationHeld& operator=(const CancellationHeld&) = delete;
};

}  // namespace gui::backend
