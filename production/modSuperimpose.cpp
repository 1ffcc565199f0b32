#include "production/modSuperimpose.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "platform/Files.h"
#include "platform/OutputFile.h"
#include "services/Error.h"
#include "services/modFiles.h"

namespace gui {

namespace {

constexpr int kLargestNumber = 32767;
// The whole EPS runs inside a save of its own; "showpage" does nothing meanwhile, so the
// page it is put on goes on with its own content.
constexpr char kWrapperStart[] = "/QuentarisBackground save def /showpage {} def\r\n";
constexpr char kWrapperEnd[] = "QuentarisBackground restore\r\n";
constexpr std::size_t kCopyBlockSize = 1 << 16;

// The EPS of a background with pictures can be large, so it is streamed into its wrapper.
void WrapWholeEps(const std::string& source, const std::string& destination) {
  platform::InputFile eps(source);
  platform::OutputFile wrapped(destination);
  wrapped.Write(kWrapperStart);
  std::vector<char> block(kCopyBlockSize);
  bool endsLine = false;
  while (std::size_t got = eps.Read(block.data(), block.size())) {
    wrapped.Write({block.data(), got});
    endsLine = block[got - 1] == '\n' || block[got - 1] == '\r';
  }
  if (!endsLine) wrapped.Write("\r\n");
  wrapped.Write(kWrapperEnd);
  wrapped.Close();
}

struct PageSelection {
  bool fromEnd = false;
  bool odd = false;
  bool even = false;
  int first = 0;
  int last = 0;
};

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

DictionaryPtr NewItem(const std::string& part) {
  std::string::size_type mark = part.find('<');
  std::string place;
  if (mark != std::string::npos) {
    std::string::size_type next = part.find('<', mark + 1);
    place = part.substr(mark + 1, next == std::string::npos ? next : next - mark - 1);
  }
  DictionaryPtr item = NewDictionary();
  item->Add("filename", part.substr(0, mark));
  item->Add("place", place);
  return item;
}

// The decimal number at pos, which moves past it; -1 when no digit is there.
int ReadNumber(const std::string& text, std::string::size_type& pos) {
  if (pos >= text.size() || !IsDigit(text[pos])) return -1;
  int value = 0;
  for (; pos < text.size() && IsDigit(text[pos]); ++pos) {
    value = value * 10 + (text[pos] - '0');
    if (value > kLargestNumber) throw RuntimeError(err::kOverflow);
  }
  return value;
}

// Letters out of F, L, O and E, a first position, and "-" with an optional last position.
PageSelection ReadSelection(std::string place, int pageCount) {
  std::erase(place, ' ');
  PageSelection selection;
  std::string::size_type pos = 0;
  for (; pos < place.size(); ++pos) {
    char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(place[pos])));
    if (letter == 'L')
      selection.fromEnd = true;
    else if (letter == 'O')
      selection.odd = true;
    else if (letter == 'E')
      selection.even = true;
    else if (letter != 'F')
      break;
  }
  selection.first = std::max(ReadNumber(place, pos), 0);
  if (pos < place.size() && place[pos] == '-') {
    int last = ReadNumber(place, ++pos);
    selection.last = last < 0 ? pageCount : last;
  } else {
    selection.last = selection.first > 0 ? selection.first : pageCount;
  }
  if (selection.first == 0) selection.first = 1;
  return selection;
}

// O alone keeps odd positions, E alone even ones; both or neither keep all.
bool Keeps(const PageSelection& selection, int position) {
  if (selection.odd && !selection.even) return position % 2 == 1;
  if (selection.even && !selection.odd) return position % 2 == 0;
  return true;
}

void ApplyItem(Dictionary& pages, const PageSelection& selection, const std::string& eps,
               int pageCount) {
  for (int position = selection.first; position <= selection.last; ++position) {
    if (!Keeps(selection, position)) continue;
    int page = selection.fromEnd ? pageCount + 1 - position : position;
    pages.Set(std::to_string(page), eps);
  }
}

}  // namespace

bool SuperimposeEnabled(Dictionary& settings) {
  return !settings.Text("superimpose").empty();
}

DictionaryPtr ParseBackgroundSpec(const std::string& spec) {
  DictionaryPtr items = NewDictionary();
  std::string::size_type start = 0;
  while (start <= spec.size()) {
    std::string::size_type end = spec.find('>', start);
    if (end == std::string::npos) end = spec.size();
    if (end > start)
      items->Add(std::to_string(items->Count()), NewItem(spec.substr(start, end - start)));
    start = end + 1;
  }
  return items;
}

// Only the last "#" is the number's place: a folder name may hold one too.
std::string BackgroundFileName(const std::string& pattern, int item) {
  std::string::size_type mark = pattern.rfind('#');
  if (mark == std::string::npos) return pattern;
  return pattern.substr(0, mark) + std::to_string(item) + pattern.substr(mark + 1);
}

void CreateBackgroundEps(Dictionary& settings, const std::string& epsPattern,
                         const std::string& fullEpsPattern, const std::string& paramPattern) {
  DictionaryPtr items = ParseBackgroundSpec(settings.Text("superimpose"));
  GhostscriptDialect dialect = FoundGhostscriptDialect(settings);
  int number = 0;
  for (const Dictionary::Entry& entry : *items) {
    ++number;
    std::string pdfFile = AsDictionary(entry.second)->Text("filename");
    if (!FileExists(pdfFile))
      throw Error(err::kBackgroundMissing, "Background PDF '" + pdfFile + "' does not exist.");
    std::string paramFile = BackgroundFileName(paramPattern, number);
    std::string fullEpsFile = BackgroundFileName(fullEpsPattern, number);
    WriteEpsParams(settings, paramFile, pdfFile, fullEpsFile);
    RunGhostscript(settings, paramFile);
    StripShowpage(fullEpsFile, BackgroundFileName(epsPattern, number), dialect);
  }
}

DictionaryPtr BuildBackgroundPages(Dictionary& settings, const std::string& epsPattern,
                                   std::int16_t pageCount) {
  DictionaryPtr pages = NewDictionary();
  for (int page = 1; page <= pageCount; ++page)
    pages->Add(std::to_string(page), std::string());
  DictionaryPtr items = ParseBackgroundSpec(settings.Text("superimpose"));
  int number = 0;
  for (const Dictionary::Entry& entry : *items) {
    ++number;
    PageSelection selection = ReadSelection(AsDictionary(entry.second)->Text("place"), pageCount);
    ApplyItem(*pages, selection, BackgroundFileName(epsPattern, number), pageCount);
  }
  return pages;
}

// eps2write needs the page limits for a multi-page PDF; epswrite took the first page itself.
void WriteEpsParams(Dictionary& settings, const std::string& paramFile, const std::string& pdfFile,
                    const std::string& epsFile) {
  GhostscriptParameters parameters(FoundGhostscriptDialect(settings));
  if (parameters.IsModern()) {
    parameters.Add("-sDEVICE#eps2write");
    parameters.Add("-dFirstPage#1");
    parameters.Add("-dLastPage#1");
  } else {
    parameters.Add("-sDEVICE#epswrite");
  }
  parameters.Add("-r14400");
  parameters.AddOutputFile(epsFile);
  parameters.AddInputFile(pdfFile);
  parameters.Write(paramFile);
}

// eps2write's own prolog contains "showpage", so the modern EPS cannot be cut.
void StripShowpage(const std::string& source, const std::string& destination,
                   GhostscriptDialect dialect) {
  if (dialect == GhostscriptDialect::Modern) return WrapWholeEps(source, destination);
  std::string text = ReadTextFile(source);
  WriteTextFile(destination, text.substr(0, text.find("showpage")));
}

}  // namespace gui
