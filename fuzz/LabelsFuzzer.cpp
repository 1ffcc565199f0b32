// Reads arbitrary bytes as the labels file, then looks up "[key]default" texts: the input as a
// text, and every key the file may have defined.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/FuzzSession.h"
#include "services/modLocalize.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  gui::fuzz::FuzzSession& session = gui::fuzz::FuzzSession::Get();
  static const std::string labels = session.ProgramFolder() + "/labels.txt";
  std::string input(reinterpret_cast<const char*>(data), size);
  gui::fuzz::WriteWholeFile(labels, input);
  gui::LoadLabels();
  gui::Localize(input);
  gui::Localize("[" + input + "]default");
  gui::UnescapeLabel(input);
  // The keys as UTF-8 text, for the common case of ASCII keys in UTF-16LE.
  std::string ascii;
  for (std::size_t i = 0; i < size; i += 2)
    ascii += static_cast<char>(data[i]);
  for (std::size_t start = 0; start < ascii.size();) {
    std::size_t end = ascii.find('=', start);
    if (end == std::string::npos) break;
    std::size_t lineStart = ascii.rfind('\n', end);
    lineStart = lineStart == std::string::npos || lineStart < start ? start : lineStart + 1;
    gui::Localize("[" + ascii.substr(lineStart, end - lineStart) + "]x");
    start = end + 1;
  }
  return 0;
}
