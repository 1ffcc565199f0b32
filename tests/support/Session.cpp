#include "tests/support/Session.h"

#include <sys/stat.h>

#include <cstdlib>

#include "services/modFolders.h"
#include "startup/JobContext.h"
#include "startup/modLog.h"

namespace gui::test {

Session::Session(const std::string& sessionId) {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  savedRuntime_ = runtime ? runtime : "";
  mkdir((root_ / "runtime").c_str(), 0700);
  mkdir((root_ / "program").c_str(), 0700);
  setenv("XDG_RUNTIME_DIR", (root_ / "runtime").c_str(), 1);
  SetProgramFolderForTesting(root_ / "program");
  ResetFolderCachesForTesting();
  ResetLogForTesting();
  Job() = JobContext{};
  Job().sessionId = sessionId;
}

Session::~Session() {
  if (savedRuntime_.empty()) {
    unsetenv("XDG_RUNTIME_DIR");
  } else {
    setenv("XDG_RUNTIME_DIR", savedRuntime_.c_str(), 1);
  }
  SetProgramFolderForTesting("");
  ResetFolderCachesForTesting();
  ResetLogForTesting();
  Job() = JobContext{};
}

std::string Session::TempFolderPath() const {
  return root_ / "runtime/QUENTARIS/PDF Printer";
}

}  // namespace gui::test
