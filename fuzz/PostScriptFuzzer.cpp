// Patches an arbitrary job with a title, an author, a watermark and three backgrounds, and checks
// the page count against a plain reading of the job's lines.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/FuzzSession.h"
#include "production/modPostScript.h"
#include "services/Error.h"

namespace {

// Lines end at CR or CR LF; a lone LF stays inside its line.
std::int32_t ReferencePageCount(const std::string& job) {
  std::int32_t pages = 0;
  for (std::size_t start = 0; start < job.size();) {
    if (job.compare(start, 7, "%%Page:") == 0) ++pages;
    std::size_t cr = job.find('\r', start);
    if (cr == std::string::npos) break;
    start = cr + 1;
    if (start < job.size() && job[start] == '\n') ++start;
  }
  return pages;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  gui::fuzz::FuzzSession& session = gui::fuzz::FuzzSession::Get();
  static const std::string job = session.FilePath("job.ps");
  static const std::string patched = session.FilePath("patched.ps");
  static const std::string epsPattern = session.FilePath("bg_#.eps");
  static bool prepared = false;
  if (!prepared) {
    prepared = true;
    gui::fuzz::WriteWholeFile(session.FilePath("bg_1.eps"), "% one\r\n0.9 setgray\r\n");
    gui::fuzz::WriteWholeFile(session.FilePath("bg_2.eps"), "% two\n");
    gui::fuzz::WriteWholeFile(session.FilePath("bg_3.eps"), "");
  }
  std::string input(reinterpret_cast<const char*>(data), size);
  gui::fuzz::WriteWholeFile(job, input);
  if (gui::GetPageCount(job) != ReferencePageCount(input)) std::abort();
  gui::Dictionary settings;
  settings.Set("title", std::string("T\xc3\xa9 (x)"));
  settings.Set("author", std::string("A"));
  settings.Set("watermarktext", std::string("Draft"));
  settings.Set("watermarksize", std::string("48"));
  settings.Set("superimpose", std::string("one.pdf<1>two.pdf<LE>three.pdf<O2-"));
  try {
    gui::PatchPostScriptFile(settings, epsPattern, patched, job);
  } catch (const gui::Error&) {
  }
  return 0;
}
