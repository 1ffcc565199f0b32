#include "printing/cups/CupsSpooler.h"

#include <cstring>

#include "printing/cups/CupsRecords.h"
#include "printing/cups/IppMessage.h"

namespace gui {

namespace {

using cups::IppPtr;

// The destinations of the user (lpoptions included), freed with the object.
class Destinations {
 public:
  Destinations() : count_(cupsGetDests2(CUPS_HTTP_DEFAULT, &dests_)) {}
  ~Destinations() { cupsFreeDests(count_, dests_); }
  Destinations(const Destinations&) = delete;
  Destinations& operator=(const Destinations&) = delete;

  cups_dest_t* begin() const { return dests_; }
  cups_dest_t* end() const { return dests_ + count_; }
  // Writes the default flags back to the user's lpoptions; 0 or the error.
  long Save() const {
    return cupsSetDests2(CUPS_HTTP_DEFAULT, count_, dests_) == 0 ? 0 : FailureNumber();
  }
  static long FailureNumber() {
    return cupsLastError() > IPP_STATUS_OK_CONFLICTING ? cupsLastError()
                                                       : IPP_STATUS_ERROR_INTERNAL;
  }

 private:
  cups_dest_t* dests_ = nullptr;
  int count_;
};

// The server's host name when the server is another machine, "" for this one.
std::string RemoteServer() {
  std::string server = cupsServer();
  if (server.empty() || server[0] == '/' || server == "localhost" || server.rfind("127.", 0) == 0 ||
      server == "::1") {
    return {};
  }
  return server.substr(0, server.find(':'));
}

long SendPrinterOperation(ipp_op_t operation, const std::string& name) {
  long error = 0;
  cups::Send(cups::NewRequest(operation, "printer-uri", cups::PrinterUri(name)), "/admin/", error);
  return error;
}

// Nothing asks for a password: the question is whether the current credentials suffice.
const char* NoPassword(const char*, http_t*, const char*, const char*, void*) {
  return nullptr;
}

}  // namespace

// CUPS's own instances (NAME/INSTANCE in lpoptions) are option sets of one queue, not printers.
std::vector<std::string> CupsSpooler::PrinterNames() {
  std::vector<std::string> names;
  for (const cups_dest_t& dest : Destinations()) {
    if (dest.instance == nullptr) names.emplace_back(dest.name);
  }
  return names;
}

long CupsSpooler::ReadPrinter(const std::string& name, PrinterRecord& record) {
  IppPtr request =
      cups::NewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES, "printer-uri", cups::PrinterUri(name));
  cups::RequestAttributes(request.get(), cups::PrinterAttributeNames());
  long error = 0;
  IppPtr response = cups::Send(std::move(request), "/", error);
  if (error != 0) return error;
  std::vector<cups::IppGroup> printers = cups::GroupsOf(response.get(), IPP_TAG_PRINTER);
  if (printers.empty()) return IPP_STATUS_ERROR_NOT_FOUND;
  record =
      cups::PrinterRecordFrom(printers.front(), name, RemoteServer(), DefaultPrinter() == name);
  return 0;
}

long CupsSpooler::ReadJobs(const std::string& name, std::vector<JobRecord>& jobs) {
  IppPtr request = cups::NewRequest(IPP_OP_GET_JOBS, "printer-uri", cups::PrinterUri(name));
  ippAddString(request.get(), IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "which-jobs", nullptr,
               "not-completed");
  cups::RequestAttributes(request.get(), cups::JobAttributeNames());
  long error = 0;
  IppPtr response = cups::Send(std::move(request), "/", error);
  jobs.clear();
  if (error != 0) return error;
  std::uint32_t position = 0;
  for (const cups::IppGroup& job : cups::GroupsOf(response.get(), IPP_TAG_JOB))
    jobs.push_back(cups::JobRecordFrom(job, name, ++position));
  return 0;
}

std::string CupsSpooler::DefaultPrinter() {
  for (const cups_dest_t& dest : Destinations()) {
    if (dest.is_default) return dest.name;
  }
  return {};
}

long CupsSpooler::SetDefaultPrinter(const std::string& name) {
  Destinations dests;
  bool found = false;
  for (cups_dest_t& dest : dests) {
    dest.is_default = name == dest.name && dest.instance == nullptr;
    found = found || dest.is_default;
  }
  return found ? dests.Save() : static_cast<long>(IPP_STATUS_ERROR_NOT_FOUND);
}

// Modifying a printer without naming a change needs the administrator's rights and changes
// nothing.
bool CupsSpooler::CanAdminister(const std::string& name) {
  cupsSetPasswordCB2(NoPassword, nullptr);
  bool allowed = SendPrinterOperation(IPP_OP_CUPS_ADD_MODIFY_PRINTER, name) == 0;
  cupsSetPasswordCB2(nullptr, nullptr);
  return allowed;
}

long CupsSpooler::ControlPrinter(const std::string& name, PrinterCommand command) {
  switch (command) {
    case PrinterCommand::kPause:
      return SendPrinterOperation(IPP_OP_PAUSE_PRINTER, name);
    case PrinterCommand::kResume:
      return SendPrinterOperation(IPP_OP_RESUME_PRINTER, name);
    case PrinterCommand::kPurge:
      return SendPrinterOperation(IPP_OP_PURGE_JOBS, name);
  }
  return IPP_STATUS_ERROR_OPERATION_NOT_SUPPORTED;
}

long CupsSpooler::ControlJob(const std::string&, std::uint32_t jobId, JobCommand command) {
  ipp_op_t operation = IPP_OP_CANCEL_JOB;
  if (command == JobCommand::kPause) operation = IPP_OP_HOLD_JOB;
  if (command == JobCommand::kResume) operation = IPP_OP_RELEASE_JOB;
  if (command == JobCommand::kRestart) operation = IPP_OP_RESTART_JOB;
  long error = 0;
  cups::Send(cups::NewRequest(operation, "job-uri", cups::JobUri(jobId)), "/jobs/", error);
  return error;
}

long CupsSpooler::SetJobPriority(const std::string&, std::uint32_t jobId, std::uint32_t priority) {
  IppPtr request = cups::NewRequest(IPP_OP_SET_JOB_ATTRIBUTES, "job-uri", cups::JobUri(jobId));
  ippAddInteger(request.get(), IPP_TAG_JOB, IPP_TAG_INTEGER, "job-priority",
                static_cast<int>(priority));
  long error = 0;
  cups::Send(std::move(request), "/jobs/", error);
  return error;
}

// CUPS names its status codes ("client-error-not-found"); an unknown one it only writes in hex.
std::string CupsSpooler::ErrorText(long number) {
  std::string text = ippErrorString(static_cast<ipp_status_t>(number));
  return text.rfind("0x", 0) == 0 ? std::string() : text;
}

std::string CupsSpooler::PropertiesPage(const std::string& name) {
  std::string host = RemoteServer();
  char uri[HTTP_MAX_URI];
  httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "http", nullptr,
                   host.empty() ? "localhost" : host.c_str(), ippPort(), "/printers/%s",
                   name.c_str());
  return uri;
}

}  // namespace gui
