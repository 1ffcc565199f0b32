// Counts the pages of an arbitrary job and checks the count against a plain reading of its lines.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/FuzzSession.h"
#include "production/modPostScript.h"
#include "services/Error.h"

namespace {

// Lines end at CR, LF or CR LF; page comments of embedded documents do not count.
std::int32_t ReferencePageCount(const std::string& job) {
  std::int32_t pages = 0;
  int depth = 0;
  for (std::size_t start = 0; start <= job.size();) {
    if (job.compare(start, 15, "%%BeginDocument") == 0)
      ++depth;
    else if (job.compare(start, 13, "%%EndDocument") == 0 && depth > 0)
      --depth;
    else if (depth == 0 && job.compare(start, 7, "%%Page:") == 0)
      ++pages;
    std::size_t end = job.find_first_of("\r\n", start);
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return pages;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  gui::fuzz::FuzzSession& session = gui::fuzz::FuzzSession::Get();
  static const std::string job = session.FilePath("job.ps");
  std::string input(reinterpret_cast<const char*>(data), size);
  gui::fuzz::WriteWholeFile(job, input);
  if (gui::GetPageCount(job) != ReferencePageCount(input)) std::abort();
  return 0;
}
