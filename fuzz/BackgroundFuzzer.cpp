// Reads arbitrary text as the background setting and selects the background of every page. The
// first two bytes give the page count, the rest is the setting.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "production/modSuperimpose.h"
#include "services/Error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  // Up to 1015 pages, a few negative counts among them; more only makes each input slower.
  auto pageCount = static_cast<std::int16_t>((data[0] | data[1] << 8) % 1024 - 8);
  std::string spec(reinterpret_cast<const char*>(data) + 2, size - 2);
  gui::DictionaryPtr items = gui::ParseBackgroundSpec(spec);
  for (const gui::Dictionary::Entry& entry : *items) {
    if (!gui::AsDictionary(entry.second)) std::abort();
  }
  gui::Dictionary settings;
  settings.Set("superimpose", spec);
  try {
    gui::DictionaryPtr pages = gui::BuildBackgroundPages(settings, "/tmp/bg_#.eps", pageCount);
    // Every page of the job has its entry, background or not.
    for (int page = 1; page <= pageCount; ++page) {
      if (!pages->Exists(std::to_string(page))) std::abort();
    }
  } catch (const gui::Error&) {
  }
  return 0;
}
