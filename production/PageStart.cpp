#include "production/PageStart.h"

#include <algorithm>
#include <vector>

#include "platform/OutputFile.h"
#include "production/PdfFacts.h"
#include "production/modPostScript.h"
#include "production/modSuperimpose.h"
#include "production/modWatermark.h"

namespace gui {

namespace {

// Print filters set the page device again before the first page, to the size it has and to a
// resolution that means nothing to a PDF. Each request begins the page anew and draws the
// decorations once more, and a resolution change leaves the earlier ones half covered: such
// requests are left out. Values compare by number, within a point.
constexpr const char* kPageDeviceGuard[] = {
    "/QuentarisNear {",
    "  2 copy type dup /integertype eq exch /realtype eq or",
    "  exch type dup /integertype eq exch /realtype eq or and",
    "  { sub abs 1 lt } { eq } ifelse",
    "} bind def",
    "/QuentarisSame {",
    "  dup type /arraytype eq 2 index type /arraytype eq and {",
    "    2 copy length exch length eq {",
    "      true 0 1 3 index length 1 sub {",
    "        3 index 1 index get 3 index 3 -1 roll get QuentarisNear and",
    "      } for",
    "      3 1 roll pop pop",
    "    } { pop pop false } ifelse",
    "  } { QuentarisNear } ifelse",
    "} bind def",
    "/setpagedevice {",
    "  dup length dict copy dup /HWResolution undef",
    "  true 1 index {",
    "    exch currentpagedevice exch 2 copy known",
    "    { get QuentarisSame } { pop pop pop false } ifelse and",
    "  } forall",
    "  { pop } { //setpagedevice } ifelse",
    "} bind def",
};

// How many pages the job has, for positions counted from its end; 0 when nobody can tell, and
// then no such position matches.
std::int32_t JobPageCount(const std::string& jobFile) {
  if (IsPdfJob(jobFile)) return std::max(ReadPdfFacts(jobFile).pages, 0);
  return GetPageCount(jobFile);
}

bool CountsFromEnd(const std::vector<PageSelection>& selections) {
  for (const PageSelection& selection : selections) {
    if (selection.fromEnd) return true;
  }
  return false;
}

// A test that takes the page number p and leaves true when the selection draws on that page.
std::string SelectionTest(const PageSelection& selection, std::int32_t pages) {
  std::string position = selection.fromEnd ? " " + std::to_string(pages + 1) + " exch sub" : "";
  std::vector<std::string> conditions;
  if (selection.first > 1) conditions.push_back(std::to_string(selection.first) + " ge");
  if (selection.last >= 0) conditions.push_back(std::to_string(selection.last) + " le");
  if (selection.fromEnd) conditions.push_back("0 gt");
  if (selection.odd != selection.even)
    conditions.push_back(selection.odd ? "2 mod 1 eq" : "2 mod 0 eq");
  if (conditions.empty()) return position + " pop true";
  std::string test = position + " dup " + conditions[0];
  for (std::size_t i = 1; i < conditions.size(); ++i)
    test += " 1 index " + conditions[i] + " and";
  return test + " exch pop";
}

// Leaves the form of the last item that selects the page on the stack under p, or null.
std::string BackgroundChoice(Dictionary& settings, const std::string& jobFile) {
  DictionaryPtr items = ParseBackgroundSpec(settings.Text("superimpose"));
  std::vector<PageSelection> selections;
  for (const Dictionary::Entry& entry : *items)
    selections.push_back(ReadPageSelection(AsDictionary(entry.second)->Text("place")));
  std::int32_t pages = CountsFromEnd(selections) ? JobPageCount(jobFile) : 0;
  std::string choice = "null\r\n";
  for (std::size_t item = 1; item <= selections.size(); ++item) {
    choice += "1 index" + SelectionTest(selections[item - 1], pages) + " {pop {" +
              BackgroundFormName(static_cast<int>(item)) + "}} if\r\n";
  }
  return choice + "dup null eq {pop} {gsave [ exch /SP //pdfmark exec grestore} ifelse\r\n";
}

}  // namespace

bool PageStartEnabled(Dictionary& settings) {
  return SuperimposeEnabled(settings) || WatermarkEnabled(settings);
}

// After the last page Ghostscript begins one more that it never outputs: what is drawn there is
// dropped, with a warning in its output that nothing follows from.
void WritePageStart(const std::string& file, Dictionary& settings, const std::string& jobFile) {
  std::string program = "% Under every page's content: its background, then the watermark\r\n";
  program += "/QuentarisPageStart {\r\n1 add\r\n";
  if (SuperimposeEnabled(settings)) program += BackgroundChoice(settings, jobFile);
  program += "pop\r\n";
  if (WatermarkEnabled(settings)) program += "gsave //watermark exec grestore\r\n";
  program += "} bind def\r\n<< /BeginPage {//QuentarisPageStart exec} bind >> setpagedevice\r\n";
  for (const char* line : kPageDeviceGuard)
    program.append(line).append("\r\n");
  platform::OutputFile out(file);
  out.Write(program);
  out.Close();
}

}  // namespace gui
