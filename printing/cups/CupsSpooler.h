#pragma once

#include "printing/Spooler.h"

namespace gui {

// The print spooler over the CUPS server that libcups is set to (CUPS_SERVER, client.conf).
class CupsSpooler : public Spooler {
 public:
  std::vector<std::string> PrinterNames() override;
  long ReadPrinter(const std::string& name, PrinterRecord& record) override;
  long ReadJobs(const std::string& name, std::vector<JobRecord>& jobs) override;
  std::string DefaultPrinter() override;
  long SetDefaultPrinter(const std::string& name) override;
  bool CanAdminister(const std::string& name) override;
  long ControlPrinter(const std::string& name, PrinterCommand command) override;
  long ControlJob(const std::string& name, std::uint32_t jobId, JobCommand command) override;
  long SetJobPriority(const std::string& name, std::uint32_t jobId,
                      std::uint32_t priority) override;
  std::string ErrorText(long number) override;
  std::string PropertiesPage(const std::string& name) override;
};

}  // namespace gui
