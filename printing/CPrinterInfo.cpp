#include "printing/CPrinterInfo.h"

#include <cstdio>

#include "printing/Spooler.h"
#include "services/modShell.h"

namespace gui {

namespace {

struct StatusName {
  std::uint32_t status;
  const char* text;
};

constexpr StatusName kStatusNames[] = {{0, "Ready"},
                                       {1, "Paused"},
                                       {2, "Error"},
                                       {4, "Deleting..."},
                                       {8, "Paper Jam"},
                                       {16, "Paper Out"},
                                       {32, "Manual Feed Required"},
                                       {64, "Paper Problem"},
                                       {128, "Offline"},
                                       {256, "Downloading Job"},
                                       {512, "Busy"},
                                       {1024, "Printing"},
                                       {2048, "Output Bill Full"},
                                       {4096, "Not Available"},
                                       {8192, "Waiting"},
                                       {16384, "Processing Job"},
                                       {32768, "Initializing"},
                                       {65536, "Warming Up"},
                                       {131072, "Toner Low"},
                                       {262144, "Toner Out"},
                                       {524288, "Page too Complex"},
                                       {1048576, "User Intervention Required"},
                                       {2097152, "Out of Memory"},
                                       {4194304, "Door Open"},
                                       {8388608, "Unable to connect"},
                                       {16777216, "Power Save Mode"}};

std::string Hexadecimal(std::uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "%X", value);
  return text;
}

// A printer shared by a server (\\srv\laser) is shown as "laser on srv".
std::string DisplayNameOf(const std::string& deviceName, const PrinterRecord& printer) {
  const std::string& server = printer.serverName;
  const std::string& name = printer.printerName;
  if (!(printer.attributes & spool::kAttributeNetwork) || server.size() < 3 ||
      server.compare(0, 2, "\\\\") != 0) {
    return deviceName;
  }
  std::size_t slash = name.size() > 2 ? name.find('\\', 2) : std::string::npos;
  if (slash == std::string::npos) return deviceName;
  return name.substr(slash + 1) + " on " + server.substr(2);
}

}  // namespace

void CPrinterInfo::SetDeviceName(const std::string& name) {
  deviceName_ = name;
  Refresh();
}

bool CPrinterInfo::IsDefault() const {
  return !deviceName_.empty() && TheSpooler().DefaultPrinter() == deviceName_;
}

void CPrinterInfo::SetIsDefault(bool makeDefault) {
  if (!makeDefault) return;
  long error = TheSpooler().SetDefaultPrinter(deviceName_);
  Refresh();
  KeepError(error);
}

bool CPrinterInfo::CanAdminister() const {
  return TheSpooler().CanAdminister(deviceName_);
}

bool CPrinterInfo::IsToFile() const {
  return printer_.portName.find("FILE:") != std::string::npos;
}

std::string CPrinterInfo::StatusText() const {
  if (error_ != 0) {
    std::string text = TheSpooler().ErrorText(error_);
    return text.empty() ? "Error (" + std::to_string(error_) + ") not defined." : text;
  }
  for (const StatusName& name : kStatusNames) {
    if (name.status == printer_.status) return name.text;
  }
  return Hexadecimal(printer_.status);
}

void CPrinterInfo::Refresh() {
  printer_ = PrinterRecord();
  devMode_ = CDevMode();
  error_ = TheSpooler().ReadPrinter(deviceName_, printer_);
  if (error_ != 0) {
    printer_ = PrinterRecord();
  } else {
    devMode_ = CDevMode(printer_.devMode);
  }
  displayName_ = DisplayNameOf(deviceName_, printer_);
  if (jobs_.DeviceName() != deviceName_) {
    jobs_.SetDeviceName(deviceName_);
  } else {
    jobs_.Refresh();
  }
}

bool CPrinterInfo::ShowPropertiesDialog(long) {
  std::string page = TheSpooler().PropertiesPage(deviceName_);
  return !page.empty() && OpenDocument(page).value_or(false);
}

bool CPrinterInfo::Control(PrinterCommand command) {
  long error = TheSpooler().ControlPrinter(deviceName_, command);
  Refresh();
  KeepError(error);
  return error == 0;
}

// A failed command is reported even though the refresh after it succeeded.
void CPrinterInfo::KeepError(long error) {
  if (error != 0) error_ = error;
}

}  // namespace gui
