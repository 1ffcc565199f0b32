#pragma once

#include "platform/Clock.h"
#include "printing/CDevMode.h"

namespace gui {

// One job in a printer's queue.
class CPrinterJobInfo {
 public:
  explicit CPrinterJobInfo(const JobRecord& record);

  // Takes a newer reading of the same job; the largest size and page count seen stay.
  void Update(const JobRecord& record);

  bool IsPaused() const { return (job_.status & spool::kJobPaused) != 0; }
  std::uint32_t SizeMax() const { return sizeMax_; }
  std::uint32_t TotalPagesMax() const { return totalPagesMax_; }
  const std::string& Datatype() const { return job_.datatype; }
  const CDevMode& DevMode() const { return devMode_; }
  const std::string& Document() const { return job_.document; }
  const std::string& DriverName() const { return job_.driverName; }
  std::uint32_t JobId() const { return job_.jobId; }
  const std::string& MachineName() const { return job_.machineName; }
  const std::string& NotifyName() const { return job_.notifyName; }
  std::uint32_t PagesPrinted() const { return job_.pagesPrinted; }
  const std::string& Parameters() const { return job_.parameters; }
  std::uint32_t Position() const { return job_.position; }
  const std::string& PrinterName() const { return job_.printerName; }
  const std::string& PrintProcessor() const { return job_.printProcessor; }
  std::uint32_t Priority() const { return job_.priority; }
  std::uint32_t Size() const { return job_.size; }
  // The submission time in local time.
  platform::DateTime Submitted() const;
  std::uint32_t StartTime() const { return job_.startTime; }
  std::uint32_t Status() const { return job_.status; }
  std::string StatusText() const;
  std::uint32_t Time() const { return job_.time; }
  std::uint32_t TotalPages() const { return job_.totalPages; }
  std::uint32_t UntilTime() const { return job_.untilTime; }
  const std::string& UserName() const { return job_.userName; }

 private:
  JobRecord job_;
  CDevMode devMode_;
  std::uint32_t sizeMax_ = 0;
  std::uint32_t totalPagesMax_ = 0;
};

}  // namespace gui
