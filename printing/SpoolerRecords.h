#pragma once

#include <cstdint>
#include <string>

namespace gui {

// A printer's or job's device settings, field for field as the Windows DEVMODE holds them.
struct DevModeRecord {
  std::string deviceName;
  std::string formName;
  std::int16_t specVersion = 0;
  std::int16_t driverVersion = 0;
  std::int32_t fields = 0;
  std::int16_t orientation = 0;
  std::int16_t paperSize = 0;
  std::int16_t paperLength = 0;  // tenths of a millimetre
  std::int16_t paperWidth = 0;
  std::int16_t scale = 0;
  std::int16_t copies = 0;
  std::int16_t defaultSource = 0;
  std::int16_t printQuality = 0;
  std::int16_t color = 0;
  std::int16_t duplex = 0;
  std::int16_t yResolution = 0;
  std::int16_t ttOption = 0;
  std::int16_t collate = 0;
  std::int16_t logPixels = 0;
  std::int32_t bitsPerPel = 0;
  std::int32_t pelsWidth = 0;
  std::int32_t pelsHeight = 0;
  std::int32_t displayFrequency = 0;
  std::int32_t nup = 0;
};

// A printer's information at level 2: eleven texts, two handles and eight numbers.
struct PrinterRecord {
  std::string serverName;
  std::string printerName;
  std::string shareName;
  std::string portName;
  std::string driverName;
  std::string comment;
  std::string location;
  std::string separatorFile;
  std::string printProcessor;
  std::string datatype;
  std::string parameters;
  std::uintptr_t devModeHandle = 0;
  std::uintptr_t securityDescriptor = 0;
  std::uint32_t attributes = 0;
  std::uint32_t priority = 0;
  std::uint32_t defaultPriority = 0;
  std::uint32_t startTime = 0;  // minutes after midnight
  std::uint32_t untilTime = 0;
  std::uint32_t status = 0;
  std::uint32_t jobs = 0;
  std::uint32_t averagePPM = 0;
  DevModeRecord devMode;
};

// One job's information at level 2.
struct JobRecord {
  std::uint32_t jobId = 0;
  std::string printerName;
  std::string machineName;
  std::string userName;
  std::string document;
  std::string notifyName;
  std::string datatype;
  std::string printProcessor;
  std::string parameters;
  std::string driverName;
  std::string statusText;
  DevModeRecord devMode;
  std::uint32_t status = 0;
  std::uint32_t priority = 0;
  std::uint32_t position = 0;
  std::uint32_t startTime = 0;
  std::uint32_t untilTime = 0;
  std::uint32_t totalPages = 0;
  std::uint32_t size = 0;      // bytes
  std::int64_t submitted = 0;  // seconds since the epoch
  std::uint32_t time = 0;      // milliseconds the job has been printing
  std::uint32_t pagesPrinted = 0;
};

// Status and attribute bits of the spooler's structures.
namespace spool {
constexpr std::uint32_t kPrinterPaused = 1;
constexpr std::uint32_t kPrinterError = 2;
constexpr std::uint32_t kPrinterPaperJam = 8;
constexpr std::uint32_t kPrinterPaperOut = 16;
constexpr std::uint32_t kPrinterOffline = 128;
constexpr std::uint32_t kPrinterPrinting = 1024;
constexpr std::uint32_t kPrinterOutOfMemory = 2097152;
constexpr std::uint32_t kPrinterTonerLow = 131072;
constexpr std::uint32_t kPrinterNoToner = 262144;
constexpr std::uint32_t kPrinterDoorOpen = 4194304;
constexpr std::uint32_t kPrinterUnreachable = 8388608;

constexpr std::uint32_t kAttributeQueued = 1;
constexpr std::uint32_t kAttributeDefault = 4;
constexpr std::uint32_t kAttributeShared = 8;
constexpr std::uint32_t kAttributeNetwork = 16;
constexpr std::uint32_t kAttributeLocal = 64;

constexpr std::uint32_t kJobPaused = 1;
constexpr std::uint32_t kJobError = 2;
constexpr std::uint32_t kJobDeleting = 4;
constexpr std::uint32_t kJobSpooling = 8;
constexpr std::uint32_t kJobPrinting = 16;
constexpr std::uint32_t kJobOffline = 32;
constexpr std::uint32_t kJobPaperOut = 64;
constexpr std::uint32_t kJobPrinted = 128;
constexpr std::uint32_t kJobDeleted = 256;
constexpr std::uint32_t kJobBlocked = 512;
constexpr std::uint32_t kJobUserIntervention = 1024;
constexpr std::uint32_t kJobRestart = 2048;
}  // namespace spool

}  // namespace gui
