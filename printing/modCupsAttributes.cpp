#include "printing/modCupsAttributes.h"

#include <algorithm>
#include <cstdlib>

#include "services/modText.h"

namespace gui {

namespace {

constexpr int kPrinterProcessing = 4;
constexpr int kPrinterStopped = 5;

constexpr int kJobHeld = 4;
constexpr int kJobProcessing = 5;
constexpr int kJobStopped = 6;
constexpr int kJobCanceled = 7;
constexpr int kJobAborted = 8;
constexpr int kJobCompleted = 9;

// DEVMODE field bits.
constexpr std::int32_t kFieldOrientation = 0x1;
constexpr std::int32_t kFieldPaperSize = 0x2;
constexpr std::int32_t kFieldNup = 0x40;
constexpr std::int32_t kFieldCopies = 0x100;
constexpr std::int32_t kFieldPrintQuality = 0x400;
constexpr std::int32_t kFieldColor = 0x800;
constexpr std::int32_t kFieldDuplex = 0x1000;
constexpr std::int32_t kFieldYResolution = 0x2000;
constexpr std::int32_t kFieldCollate = 0x8000;
constexpr std::int32_t kFieldFormName = 0x10000;
constexpr std::int16_t kSpecVersion = 0x0401;

struct ReasonBit {
  const char* reason;
  std::uint32_t bit;
};

constexpr ReasonBit kPrinterReasons[] = {{"paused", spool::kPrinterPaused},
                                         {"offline", spool::kPrinterOffline},
                                         {"shutdown", spool::kPrinterOffline},
                                         {"media-jam", spool::kPrinterPaperJam},
                                         {"media-empty", spool::kPrinterPaperOut},
                                         {"media-needed", spool::kPrinterPaperOut},
                                         {"toner-low", spool::kPrinterTonerLow},
                                         {"marker-supply-low", spool::kPrinterTonerLow},
                                         {"toner-empty", spool::kPrinterNoToner},
                                         {"marker-supply-empty", spool::kPrinterNoToner},
                                         {"door-open", spool::kPrinterDoorOpen},
                                         {"cover-open", spool::kPrinterDoorOpen},
                                         {"spool-area-full", spool::kPrinterOutOfMemory},
                                         {"timed-out", spool::kPrinterUnreachable},
                                         {"cups-missing-filter", spool::kPrinterError},
                                         {"cups-insecure-filter", spool::kPrinterError},
                                         {"other", spool::kPrinterError}};

constexpr ReasonBit kJobReasons[] = {{"job-incoming", spool::kJobSpooling},
                                     {"job-data-insufficient", spool::kJobSpooling},
                                     {"processing-to-stop-point", spool::kJobDeleting},
                                     {"printer-stopped", spool::kJobBlocked},
                                     {"printer-stopped-partly", spool::kJobBlocked},
                                     {"job-restartable", spool::kJobRestart}};

// "toner-low-warning" and "toner-low-report" are forms of "toner-low".
std::string WithoutSeverity(const std::string& reason) {
  for (const char* suffix : {"-error", "-warning", "-report"}) {
    std::string tail(suffix);
    if (reason.size() > tail.size() &&
        reason.compare(reason.size() - tail.size(), tail.size(), tail) == 0) {
      return reason.substr(0, reason.size() - tail.size());
    }
  }
  return reason;
}

template <std::size_t N>
std::uint32_t BitsOf(const std::vector<std::string>& reasons, const ReasonBit (&table)[N]) {
  std::uint32_t bits = 0;
  for (const std::string& reason : reasons) {
    std::string plain = WithoutSeverity(reason);
    for (const ReasonBit& entry : table) {
      if (plain == entry.reason) bits |= entry.bit;
    }
  }
  return bits;
}

std::string Option(const std::map<std::string, std::string>& options, const char* name) {
  auto found = options.find(name);
  return found == options.end() ? std::string() : found->second;
}

std::int16_t Short(const std::string& text) {
  return static_cast<std::int16_t>(std::clamp(std::atol(text.c_str()), -32768L, 32767L));
}

struct Form {
  const char* name;
  std::int16_t paperSize;
};

// DEVMODE paper sizes of the common CUPS and PPD media names.
constexpr Form kForms[] = {{"letter", 1},
                           {"na_letter_8.5x11in", 1},
                           {"tabloid", 3},
                           {"legal", 5},
                           {"na_legal_8.5x14in", 5},
                           {"executive", 7},
                           {"a3", 8},
                           {"iso_a3_297x420mm", 8},
                           {"a4", 9},
                           {"iso_a4_210x297mm", 9},
                           {"a5", 11},
                           {"iso_a5_148x210mm", 11}};

void ReadMedia(const std::string& media, DevModeRecord& devMode) {
  if (media.empty()) return;
  devMode.formName = media;
  devMode.fields |= kFieldFormName;
  std::string lower = LowerCase(media);
  for (const Form& form : kForms) {
    if (lower == form.name) {
      devMode.paperSize = form.paperSize;
      devMode.fields |= kFieldPaperSize;
    }
  }
}

// "600dpi" or "600x300dpi".
void ReadResolution(const std::string& resolution, DevModeRecord& devMode) {
  if (resolution.empty()) return;
  std::size_t cross = resolution.find('x');
  devMode.printQuality = Short(resolution);
  devMode.yResolution =
      cross == std::string::npos ? devMode.printQuality : Short(resolution.substr(cross + 1));
  devMode.fields |= kFieldPrintQuality | kFieldYResolution;
}

void ReadChoices(const std::map<std::string, std::string>& options, DevModeRecord& devMode) {
  // Given as the enum's number (lpoptions) or its keyword (the server's defaults).
  std::string orientation = Option(options, "orientation-requested");
  if (orientation == "3" || orientation == "portrait") {
    devMode.orientation = 1;
    devMode.fields |= kFieldOrientation;
  } else if (orientation == "4" || orientation == "5" || orientation == "6" ||
             orientation.find("landscape") != std::string::npos ||
             orientation == "reverse-portrait") {
    devMode.orientation = 2;
    devMode.fields |= kFieldOrientation;
  }
  std::string sides = Option(options, "sides");
  if (!sides.empty()) {
    devMode.duplex = sides == "two-sided-long-edge" ? 2 : sides == "two-sided-short-edge" ? 3 : 1;
    devMode.fields |= kFieldDuplex;
  }
  std::string color = Option(options, "print-color-mode");
  if (!color.empty()) {
    devMode.color = color == "monochrome" || color == "bi-level" ? 1 : 2;
    devMode.fields |= kFieldColor;
  }
  std::string collate = Option(options, "multiple-document-handling");
  if (!collate.empty()) {
    devMode.collate = collate == "separate-documents-uncollated-copies" ? 0 : 1;
    devMode.fields |= kFieldCollate;
  }
}

}  // namespace

std::string PortFromDeviceUri(const std::string& deviceUri) {
  std::size_t colon = deviceUri.find(':');
  if (colon == std::string::npos || colon == 0) return {};
  std::string port = UpperCase(deviceUri.substr(0, colon));
  return port == "FILE" ? "FILE:" : port;
}

std::uint32_t PrinterStatusFromCups(int state, const std::vector<std::string>& reasons) {
  std::uint32_t status = BitsOf(reasons, kPrinterReasons);
  if (state == kPrinterProcessing) status |= spool::kPrinterPrinting;
  if (state == kPrinterStopped) status |= spool::kPrinterPaused;
  return status;
}

std::uint32_t JobStatusFromCups(int state, const std::vector<std::string>& reasons) {
  std::uint32_t status = BitsOf(reasons, kJobReasons);
  switch (state) {
    case kJobHeld:
      return status | spool::kJobPaused;
    case kJobProcessing:
      return status | spool::kJobPrinting;
    case kJobStopped:
    case kJobAborted:
      return status | spool::kJobError;
    case kJobCanceled:
      return status | spool::kJobDeleted;
    case kJobCompleted:
      return status | spool::kJobPrinted;
    default:
      return status;
  }
}

std::uint32_t PrinterAttributesFromCups(bool remote, bool shared, bool isDefault) {
  std::uint32_t attributes = spool::kAttributeQueued;
  attributes |= remote ? spool::kAttributeNetwork : spool::kAttributeLocal;
  if (shared) attributes |= spool::kAttributeShared;
  if (isDefault) attributes |= spool::kAttributeDefault;
  return attributes;
}

DevModeRecord DevModeFromOptions(const std::map<std::string, std::string>& options,
                                 const std::string& deviceName) {
  DevModeRecord devMode;
  devMode.deviceName = deviceName;
  devMode.specVersion = kSpecVersion;
  std::string copies = Option(options, "copies");
  devMode.copies = copies.empty() ? 1 : Short(copies);
  devMode.fields |= kFieldCopies;
  std::string media = Option(options, "media");
  ReadMedia(media.empty() ? Option(options, "PageSize") : media, devMode);
  std::string resolution = Option(options, "printer-resolution");
  ReadResolution(resolution.empty() ? Option(options, "Resolution") : resolution, devMode);
  ReadChoices(options, devMode);
  std::string numberUp = Option(options, "number-up");
  if (!numberUp.empty()) {
    devMode.nup = Short(numberUp);
    devMode.fields |= kFieldNup;
  }
  return devMode;
}

}  // namespace gui
