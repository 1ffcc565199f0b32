#include "printing/cups/CupsRecords.h"

#include <ctime>

#include "printing/modCupsAttributes.h"

namespace gui::cups {

namespace {

constexpr int kRemotePrinterType = 0x0002;  // CUPS_PRINTER_REMOTE

const std::vector<const char*> kJobOptions = {"copies",
                                              "media",
                                              "sides",
                                              "print-color-mode",
                                              "orientation-requested",
                                              "printer-resolution",
                                              "number-up",
                                              "multiple-document-handling"};

std::uint32_t Unsigned(int value) {
  return value < 0 ? 0 : static_cast<std::uint32_t>(value);
}

std::vector<const char*> WithDefaults(std::vector<const char*> names) {
  static std::vector<std::string> defaults;
  if (defaults.empty()) {
    for (const char* option : kJobOptions)
      defaults.push_back(std::string(option) + "-default");
  }
  for (const std::string& name : defaults)
    names.push_back(name.c_str());
  return names;
}

std::string FirstSheet(const std::vector<std::string>& sheets) {
  return sheets.empty() || sheets[0] == "none" ? std::string() : sheets[0];
}

}  // namespace

const std::vector<const char*>& PrinterAttributeNames() {
  static const std::vector<const char*> names =
      WithDefaults({"printer-name", "printer-info", "printer-location", "printer-make-and-model",
                    "device-uri", "printer-state", "printer-state-reasons", "printer-type",
                    "printer-is-shared", "queued-job-count", "job-priority-default",
                    "pages-per-minute", "job-sheets-default", "document-format-default"});
  return names;
}

const std::vector<const char*>& JobAttributeNames() {
  static const std::vector<const char*> names = [] {
    std::vector<const char*> all = {"job-id",
                                    "job-name",
                                    "job-originating-user-name",
                                    "job-originating-host-name",
                                    "document-format",
                                    "job-state",
                                    "job-state-reasons",
                                    "job-printer-state-message",
                                    "job-priority",
                                    "job-k-octets",
                                    "job-impressions",
                                    "job-impressions-completed",
                                    "time-at-creation",
                                    "time-at-processing",
                                    "time-at-completed"};
    all.insert(all.end(), kJobOptions.begin(), kJobOptions.end());
    return all;
  }();
  return names;
}

PrinterRecord PrinterRecordFrom(const IppGroup& printer, const std::string& name,
                                const std::string& remoteServer, bool isDefault) {
  PrinterRecord record;
  bool remote = !remoteServer.empty() || (printer.Integer("printer-type") & kRemotePrinterType);
  bool shared = printer.Boolean("printer-is-shared");
  record.serverName = remoteServer.empty() ? std::string() : "\\\\" + remoteServer;
  record.printerName = remoteServer.empty() ? name : record.serverName + "\\" + name;
  record.shareName = shared ? name : std::string();
  record.portName = PortFromDeviceUri(printer.Text("device-uri"));
  record.driverName = printer.Text("printer-make-and-model");
  record.comment = printer.Text("printer-info");
  record.location = printer.Text("printer-location");
  record.separatorFile = FirstSheet(printer.Texts("job-sheets-default"));
  record.datatype = printer.Text("document-format-default");
  record.attributes = PrinterAttributesFromCups(remote, shared, isDefault);
  record.priority = Unsigned(printer.Integer("job-priority-default"));
  record.defaultPriority = record.priority;
  record.status = PrinterStatusFromCups(printer.Integer("printer-state"),
                                        printer.Texts("printer-state-reasons"));
  record.jobs = Unsigned(printer.Integer("queued-job-count"));
  record.averagePPM = Unsigned(printer.Integer("pages-per-minute"));
  record.devMode = DevModeFromOptions(printer.Options(kJobOptions, "-default"), name);
  return record;
}

JobRecord JobRecordFrom(const IppGroup& job, const std::string& printerName,
                        std::uint32_t position) {
  JobRecord record;
  record.jobId = Unsigned(job.Integer("job-id"));
  record.printerName = printerName;
  record.machineName = job.Text("job-originating-host-name");
  record.userName = job.Text("job-originating-user-name");
  record.notifyName = record.userName;
  record.document = job.Text("job-name");
  record.datatype = job.Text("document-format");
  record.statusText = job.Text("job-printer-state-message");
  record.devMode = DevModeFromOptions(job.Options(kJobOptions, ""), printerName);
  record.status = JobStatusFromCups(job.Integer("job-state"), job.Texts("job-state-reasons"));
  record.priority = Unsigned(job.Integer("job-priority"));
  record.position = position;
  record.totalPages = Unsigned(job.Integer("job-impressions"));
  record.pagesPrinted = Unsigned(job.Integer("job-impressions-completed"));
  record.size = Unsigned(job.Integer("job-k-octets")) * 1024;
  record.submitted = job.Integer("time-at-creation");
  int started = job.Integer("time-at-processing");
  int ended = job.Integer("time-at-completed");
  if (started > 0) {
    std::int64_t until = ended > 0 ? ended : static_cast<std::int64_t>(std::time(nullptr));
    record.time = static_cast<std::uint32_t>((until - started) * 1000);
  }
  return record;
}

}  // namespace gui::cups
