// Reads arbitrary text as the background setting and writes the page start that draws it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/FuzzSession.h"
#include "production/PageStart.h"
#include "production/modSuperimpose.h"
#include "services/Error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  gui::fuzz::FuzzSession& session = gui::fuzz::FuzzSession::Get();
  static const std::string job = session.FilePath("job.ps");
  static const std::string pageStart = session.FilePath("pagestart.ps");
  static bool prepared = false;
  if (!prepared) {
    prepared = true;
    gui::fuzz::WriteWholeFile(job, "%!PS\n%%Page: 1 1\nshowpage\n%%Page: 2 2\nshowpage\n");
  }
  std::string spec(reinterpret_cast<const char*>(data), size);
  gui::DictionaryPtr items = gui::ParseBackgroundSpec(spec);
  for (const gui::Dictionary::Entry& entry : *items) {
    if (!gui::AsDictionary(entry.second)) std::abort();
  }
  gui::Dictionary settings;
  settings.Set("superimpose", spec);
  try {
    gui::WritePageStart(pageStart, settings, job);
  } catch (const gui::Error&) {
  }
  return 0;
}
