// Reads arbitrary bytes as an INI file, writes what was read and checks that reading the written
// file gives the same sections and entries back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/FuzzSession.h"
#include "startup/IniFile.h"

namespace {

// A one-letter name without a value is written as "x=", a line too short to be read again; a
// missing entry reads as empty, so nothing is lost.
bool Kept(const gui::Dictionary::Entry& entry) {
  gui::DictionaryPtr section = gui::AsDictionary(entry.second);
  return section || entry.first.size() + std::get<std::string>(entry.second).size() >= 2;
}

bool SameMaps(const gui::Dictionary& a, const gui::Dictionary& b) {
  auto other = b.begin();
  for (const gui::Dictionary::Entry& entry : a) {
    if (!Kept(entry)) continue;
    if (other == b.end() || entry.first != other->first ||
        entry.second.index() != other->second.index())
      return false;
    gui::DictionaryPtr section = gui::AsDictionary(entry.second);
    if (section ? !SameMaps(*section, *gui::AsDictionary(other->second))
                : std::get<std::string>(entry.second) != std::get<std::string>(other->second))
      return false;
    ++other;
  }
  return other == b.end();
}

// "[ ]" reads as a section without a name, which is written as "[]", a line too short to read:
// its entries would move to the section before it.
bool HasEmptySectionName(const gui::Dictionary& data) {
  for (const gui::Dictionary::Entry& entry : data) {
    if (entry.first.empty() && gui::AsDictionary(entry.second)) return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  gui::fuzz::FuzzSession& session = gui::fuzz::FuzzSession::Get();
  static const std::string input = session.FilePath("input.ini");
  static const std::string written = session.FilePath("written.ini");
  gui::fuzz::WriteWholeFile(input, std::string(reinterpret_cast<const char*>(data), size));
  gui::IniFile ini;
  if (!ini.Load(input)) return 0;
  if (!ini.Save(written)) std::abort();
  if (HasEmptySectionName(*ini.Data())) return 0;
  gui::IniFile again;
  if (!again.Load(written) || !SameMaps(*ini.Data(), *again.Data())) std::abort();
  return 0;
}
