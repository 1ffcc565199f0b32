#pragma once

#include <vector>

#include "printing/CPrinterJobInfo.h"
#include "printing/Spooler.h"

namespace gui {

// The unfinished jobs of one printer, in queue order.
class CPrinterJobs {
 public:
  const std::string& DeviceName() const { return deviceName_; }
  // Names the printer and reads its jobs.
  void SetDeviceName(const std::string& name);
  std::size_t Count() const { return jobs_.size(); }
  // The job at a position counted from 1; error 9 outside the list.
  const CPrinterJobInfo& Item(std::size_t index) const;
  long GetPrinterError() const { return error_; }
  std::vector<CPrinterJobInfo>::const_iterator begin() const { return jobs_.begin(); }
  std::vector<CPrinterJobInfo>::const_iterator end() const { return jobs_.end(); }

  // Job commands for one job, named by its id; true when the spooler carried them out. The list
  // is read again afterwards.
  bool ControlCancel(std::uint32_t jobId) { return Control(jobId, JobCommand::kCancel); }
  bool ControlRestart(std::uint32_t jobId) { return Control(jobId, JobCommand::kRestart); }
  bool ControlResume(std::uint32_t jobId) { return Control(jobId, JobCommand::kResume); }
  bool ControlPause(std::uint32_t jobId) { return Control(jobId, JobCommand::kPause); }
  // Moves a job one place towards the end or the front of the queue.
  bool PositionMoveDown(std::uint32_t jobId) { return Move(jobId, +1); }
  bool PositionMoveUp(std::uint32_t jobId) { return Move(jobId, -1); }

  void Refresh();

 private:
  bool Control(std::uint32_t jobId, JobCommand command);
  bool Move(std::uint32_t jobId, int step);
  bool Finish(long error);

  std::string deviceName_;
  std::vector<CPrinterJobInfo> jobs_;
  long error_ = 0;
};

}  // namespace gui
