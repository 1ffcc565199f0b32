#pragma once

#include "printing/CDevMode.h"
#include "printing/CPrinterJobs.h"

namespace gui {

// One printer of the print spooler: a copy of its level-2 information, its device settings and
// its jobs. Spooler failures are kept in GetPrinterError, never raised.
class CPrinterInfo {
 public:
  const std::string& DeviceName() const { return deviceName_; }
  // Names the printer and reads everything about it.
  void SetDeviceName(const std::string& name);
  // Whether this is the user's default printer, asked of the spooler.
  bool IsDefault() const;
  // True makes it the user's default printer; false changes nothing.
  void SetIsDefault(bool makeDefault);
  bool CanAdminister() const;
  const std::string& DisplayName() const { return displayName_; }
  long GetPrinterError() const { return error_; }
  bool IsOffline() const { return (printer_.status & spool::kPrinterOffline) != 0; }
  bool IsPaused() const { return (printer_.status & spool::kPrinterPaused) != 0; }
  bool IsShared() const { return (printer_.attributes & spool::kAttributeShared) != 0; }
  bool IsToFile() const;
  bool IsLocal() const { return (printer_.attributes & spool::kAttributeLocal) != 0; }
  bool IsNetwork() const { return (printer_.attributes & spool::kAttributeNetwork) != 0; }
  std::string StatusText() const;

  std::uint32_t Attributes() const { return printer_.attributes; }
  std::uint32_t AveragePPM() const { return printer_.averagePPM; }
  const std::string& Comment() const { return printer_.comment; }
  const std::string& Datatype() const { return printer_.datatype; }
  std::uint32_t DefaultPriority() const { return printer_.defaultPriority; }
  const CDevMode& DevMode() const { return devMode_; }
  const std::string& DriverName() const { return printer_.driverName; }
  CPrinterJobs& Jobs() { return jobs_; }
  const std::string& Location() const { return printer_.location; }
  const std::string& Parameters() const { return printer_.parameters; }
  const std::string& PortName() const { return printer_.portName; }
  const std::string& PrinterName() const { return printer_.printerName; }
  const std::string& PrintProcessor() const { return printer_.printProcessor; }
  std::uint32_t Priority() const { return printer_.priority; }
  const std::string& SeparatorPageFile() const { return printer_.separatorFile; }
  const std::string& ServerName() const { return printer_.serverName; }
  const std::string& ShareName() const { return printer_.shareName; }
  std::uint32_t StartTime() const { return printer_.startTime; }
  std::uint32_t Status() const { return printer_.status; }
  std::uint32_t UntilTime() const { return printer_.untilTime; }
  std::uintptr_t DevModeHandle() const { return printer_.devModeHandle; }
  std::uintptr_t SecurityDescriptor() const { return printer_.securityDescriptor; }

  // Printer commands; true when the spooler carried them out. Everything is read again after.
  bool ControlPause() { return Control(PrinterCommand::kPause); }
  bool ControlPurge() { return Control(PrinterCommand::kPurge); }
  bool ControlResume() { return Control(PrinterCommand::kResume); }
  void Refresh();
  // Opens the place where the printer's properties are changed; false when there is none.
  bool ShowPropertiesDialog(long ownerWindow);

 private:
  bool Control(PrinterCommand command);
  void KeepError(long error);

  std::string deviceName_;
  std::string displayName_;
  PrinterRecord printer_;
  CDevMode devMode_;
  CPrinterJobs jobs_;
  long error_ = 0;
};

}  // namespace gui
