// Expands macros in arbitrary text, with a script file in the macros folder for "<vbs:...>".
// The input's first line becomes the document's name and title, the rest the text to expand.
#include <sys/stat.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/FuzzSession.h"
#include "platform/Clock.h"
#include "services/Error.h"
#include "services/modMacros.h"
#include "startup/JobContext.h"

namespace {

constexpr const char* kMacroFile =
    "' Helpers for the fuzzer's macros\r\n"
    "REM -- MACRO REGION BEGINS\r\n"
    "Function Twice(text)\r\n"
    "  Twice = text & text\r\n"
    "End Function\r\n"
    "Function Initials(text)\r\n"
    "  Dim word, result\r\n"
    "  For Each word In Split(text, \" \")\r\n"
    "    If Len(word) > 0 Then result = result & UCase(Left(word, 1))\r\n"
    "  Next\r\n"
    "  Initials = result\r\n"
    "End Function\r\n"
    "Const Greeting = \"Hello\"\r\n";

// Once per process: the script file, and the clock fixed so that runs repeat.
void Prepare() {
  static bool done = false;
  if (done) return;
  done = true;
  std::string macros = gui::fuzz::FuzzSession::Get().ProgramFolder() + "/macros";
  if (mkdir(macros.c_str(), 0700) != 0) std::abort();
  gui::fuzz::WriteWholeFile(macros + "/fuzz.vbs", kMacroFile);
  gui::platform::FixLocalNowForTesting({2007, 3, 3, 7, 5, 9});
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Prepare();
  std::string input(reinterpret_cast<const char*>(data), size);
  std::size_t lineEnd = input.find('\n');
  std::string first = input.substr(0, lineEnd);
  std::string text = lineEnd == std::string::npos ? input : input.substr(lineEnd + 1);
  gui::Job().documentName = first;
  gui::Job().documentInfo = gui::NewDictionary();
  gui::Job().documentInfo->Set("title", first);
  gui::Job().documentInfo->Set("author", std::string("Ann <Lee>"));
  for (bool safe : {false, true}) {
    try {
      gui::ExpandMacros(text, safe);
    } catch (const gui::Error&) {
    }
  }
  return 0;
}
