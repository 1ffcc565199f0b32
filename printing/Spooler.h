#pragma once

#include <memory>
#include <string>
#include <vector>

#include "printing/SpoolerRecords.h"

namespace gui {

enum class PrinterCommand { kPause, kResume, kPurge };
enum class JobCommand { kPause, kResume, kRestart, kCancel };

// The print spooler as the printer classes need it. Every call answers; failures come back as
// the spooler's error number (0 for success), never as an exception.
class Spooler {
 public:
  virtual ~Spooler() = default;

  // The printers the system offers, in its order.
  virtual std::vector<std::string> PrinterNames() = 0;
  virtual long ReadPrinter(const std::string& name, PrinterRecord& record) = 0;
  // The printer's unfinished jobs in queue order.
  virtual long ReadJobs(const std::string& name, std::vector<JobRecord>& jobs) = 0;
  // The user's default printer, "" when there is none.
  virtual std::string DefaultPrinter() = 0;
  virtual long SetDefaultPrinter(const std::string& name) = 0;
  virtual bool CanAdminister(const std::string& name) = 0;
  virtual long ControlPrinter(const std::string& name, PrinterCommand command) = 0;
  virtual long ControlJob(const std::string& name, std::uint32_t jobId, JobCommand command) = 0;
  virtual long SetJobPriority(const std::string& name, std::uint32_t jobId,
                              std::uint32_t priority) = 0;
  // The spooler's text for one of its error numbers, "" when it has none.
  virtual std::string ErrorText(long number) = 0;
  // Where the printer's properties can be changed (a web page or a program), "" for nowhere.
  virtual std::string PropertiesPage(const std::string& name) = 0;
};

// The spooler of this run: none (no printers) until the entry point installs the system's.
Spooler& TheSpooler();
void InstallSpooler(std::unique_ptr<Spooler> spooler);
// Has the system's spooler loaded from its library when a printer is first asked about; most
// runs never ask. Without that library there are no printers.
void LoadSystemSpoolerOnFirstUse();

}  // namespace gui
