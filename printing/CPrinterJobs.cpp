#include "printing/CPrinterJobs.h"

#include <algorithm>

#include "printing/Spooler.h"
#include "services/Error.h"

namespace gui {

namespace {

constexpr std::uint32_t kLowestPriority = 1;
constexpr std::uint32_t kHighestPriority = 100;
// The spooler's answer for a job that is not in the queue.
constexpr long kInvalidParameter = 87;

}  // namespace

void CPrinterJobs::SetDeviceName(const std::string& name) {
  deviceName_ = name;
  Refresh();
}

const CPrinterJobInfo& CPrinterJobs::Item(std::size_t index) const {
  if (index < 1 || index > jobs_.size()) throw RuntimeError(err::kSubscriptOutOfRange);
  return jobs_[index - 1];
}

// Objects of jobs still queued are kept, so that their largest size and page count stay.
void CPrinterJobs::Refresh() {
  std::vector<JobRecord> records;
  error_ = TheSpooler().ReadJobs(deviceName_, records);
  std::vector<CPrinterJobInfo> fresh;
  for (const JobRecord& record : records) {
    auto old = std::find_if(jobs_.begin(), jobs_.end(), [&](const CPrinterJobInfo& job) {
      return job.JobId() == record.jobId;
    });
    if (old == jobs_.end()) {
      fresh.emplace_back(record);
    } else {
      old->Update(record);
      fresh.push_back(*old);
    }
  }
  jobs_ = std::move(fresh);
}

bool CPrinterJobs::Control(std::uint32_t jobId, JobCommand command) {
  return Finish(TheSpooler().ControlJob(deviceName_, jobId, command));
}

// The queue is ordered by priority, so a job passes its neighbour by taking a priority one step
// beyond the neighbour's.
bool CPrinterJobs::Move(std::uint32_t jobId, int step) {
  auto job = std::find_if(jobs_.begin(), jobs_.end(),
                          [&](const CPrinterJobInfo& each) { return each.JobId() == jobId; });
  if (job == jobs_.end()) return Finish(kInvalidParameter);
  std::ptrdiff_t neighbour = (job - jobs_.begin()) + step;
  if (neighbour < 0 || neighbour >= static_cast<std::ptrdiff_t>(jobs_.size())) return Finish(0);
  std::uint32_t priority = jobs_[neighbour].Priority();
  priority = step < 0 ? std::min(priority + 1, kHighestPriority)
                      : std::max(priority, kLowestPriority + 1) - 1;
  return Finish(TheSpooler().SetJobPriority(deviceName_, jobId, priority));
}

bool CPrinterJobs::Finish(long error) {
  Refresh();
  if (error != 0) error_ = error;
  return error == 0;
}

}  // namespace gui
