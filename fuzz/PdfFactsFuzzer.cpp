// Reads arbitrary bytes as a PDF job: the facts come back without a crash, a hang or a leak, an
// encrypted document gives no text, and the page count is a count or unknown.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/FuzzSession.h"
#include "production/PdfFacts.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  gui::fuzz::FuzzSession& session = gui::fuzz::FuzzSession::Get();
  static const std::string job = session.FilePath("job.pdf");
  gui::fuzz::WriteWholeFile(job, std::string(reinterpret_cast<const char*>(data), size));
  gui::PdfFacts facts = gui::ReadPdfFacts(job);
  if (facts.pages < -1) std::abort();
  if (facts.encrypted && !(facts.title + facts.author + facts.creationDate).empty()) std::abort();
  gui::IsPdfJob(job);
  return 0;
}
