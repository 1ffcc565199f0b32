#include "printing/CPrinterJobInfo.h"

#include <algorithm>
#include <ctime>
#include <utility>

namespace gui {

namespace {

struct StatusWord {
  std::uint32_t bit;
  const char* text;
};

// These replace what was found before them: the last one present names the state.
constexpr StatusWord kReplacing[] = {{spool::kJobPaused, "Paused"},
                                     {spool::kJobError, "Error"},
                                     {spool::kJobUserIntervention, "User Intervention Required"}};
constexpr StatusWord kAppended[] = {
    {spool::kJobOffline, "Offline"},      {spool::kJobPaperOut, "Paper Out"},
    {spool::kJobDeleting, "Deleting..."}, {spool::kJobSpooling, "Spooling..."},
    {spool::kJobPrinting, "Printing..."}, {spool::kJobRestart, "Restarting..."},
    {spool::kJobPrinted, "Printed"},      {spool::kJobDeleted, "Deleted"},
    {spool::kJobBlocked, "Cannot Print"}};

}  // namespace

CPrinterJobInfo::CPrinterJobInfo(const JobRecord& record) {
  Update(record);
}

void CPrinterJobInfo::Update(const JobRecord& record) {
  job_ = record;
  devMode_ = CDevMode(record.devMode);
  sizeMax_ = std::max(sizeMax_, record.size);
  totalPagesMax_ = std::max(totalPagesMax_, record.totalPages);
}

platform::DateTime CPrinterJobInfo::Submitted() const {
  std::time_t seconds = static_cast<std::time_t>(job_.submitted);
  // The program has one thread, so the shared result of localtime is safe to read.
  const std::tm* local = std::localtime(&seconds);
  if (local == nullptr) return {};
  return {local->tm_year + 1900, local->tm_mon + 1, local->tm_mday,
          local->tm_hour,        local->tm_min,     local->tm_sec};
}

std::string CPrinterJobInfo::StatusText() const {
  if (!job_.statusText.empty()) return job_.statusText;
  std::string text;
  for (const StatusWord& word : kReplacing) {
    if (job_.status & word.bit) text = word.text;
  }
  for (const StatusWord& word : kAppended) {
    if (!(job_.status & word.bit)) continue;
    text += text.empty() ? word.text : std::string(" - ") + word.text;
  }
  return text;
}

}  // namespace gui
