#include "printing/Spooler.h"

#include "services/ProgramLibrary.h"

namespace gui {

namespace {

// A system without a print spooler: no printers, and every printer is unknown.
class NoSpooler : public Spooler {
 public:
  static constexpr long kInvalidPrinterName = 1801;

  std::vector<std::string> PrinterNames() override { return {}; }
  long ReadPrinter(const std::string&, PrinterRecord&) override { return kInvalidPrinterName; }
  long ReadJobs(const std::string&, std::vector<JobRecord>&) override {
    return kInvalidPrinterName;
  }
  std::string DefaultPrinter() override { return {}; }
  long SetDefaultPrinter(const std::string&) override { return kInvalidPrinterName; }
  bool CanAdminister(const std::string&) override { return false; }
  long ControlPrinter(const std::string&, PrinterCommand) override { return kInvalidPrinterName; }
  long ControlJob(const std::string&, std::uint32_t, JobCommand) override {
    return kInvalidPrinterName;
  }
  long SetJobPriority(const std::string&, std::uint32_t, std::uint32_t) override {
    return kInvalidPrinterName;
  }
  std::string ErrorText(long number) override {
    return number == kInvalidPrinterName ? "The printer name is invalid." : "";
  }
  std::string PropertiesPage(const std::string&) override { return {}; }
};

std::unique_ptr<Spooler>& Current() {
  static std::unique_ptr<Spooler> spooler = std::make_unique<NoSpooler>();
  return spooler;
}

bool& LoadPending() {
  static bool pending = false;
  return pending;
}

}  // namespace

Spooler& TheSpooler() {
  if (LoadPending()) {
    LoadPending() = false;
    if (auto loaded = MakeFromProgramLibrary<Spooler>("guicups", "MakeCupsSpooler"))
      Current() = std::move(loaded);
  }
  return *Current();
}

void InstallSpooler(std::unique_ptr<Spooler> spooler) {
  LoadPending() = false;
  Current() = std::move(spooler);
}

void LoadSystemSpoolerOnFirstUse() {
  LoadPending() = true;
}

}  // namespace gui
