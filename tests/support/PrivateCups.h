#pragma once

#include <string>
#include <vector>

#include "tests/support/TempFolder.h"

namespace gui::test {

// A CUPS scheduler of the test's own: configuration, spool, logs and a Unix socket in a
// temporary folder, the system's filters, and the backends the test adds. It runs until the
// object goes away. Clients reach it through CUPS_SERVER=Socket().
class PrivateCups {
 public:
  // extraFileSettings: more cups-files.conf lines (SetEnv for the filters and backends).
  explicit PrivateCups(const std::string& extraFileSettings = {});
  ~PrivateCups();
  PrivateCups(const PrivateCups&) = delete;
  PrivateCups& operator=(const PrivateCups&) = delete;

  const std::string& Socket() const { return socket_; }
  const std::string& Root() const { return root_.Path(); }
  // Installs a backend under its scheme, root's own and 0700, so that CUPS runs it as root.
  void AddBackend(const std::string& scheme, const std::string& program) const;
  // Adds the printer's queue for an instance ("" the default one) with the packaging's own
  // script and PPD; "" when it worked, else what the script said.
  std::string AddPrinterQueue(const std::string& instance = "") const;
  // Runs a CUPS client (lpadmin, lp, lpstat, ...) against this scheduler; its exit code, with
  // its standard output in output when given.
  int Client(const std::vector<std::string>& command, std::string* output = nullptr) const;
  std::string ErrorLog() const;
  // Whether the scheduler has no unfinished job.
  bool Idle() const;

 private:
  void WriteConfiguration(const std::string& extraFileSettings) const;
  void WaitUntilReady() const;

  TempFolder root_;
  std::string socket_;
  int pid_ = -1;
};

}  // namespace gui::test
