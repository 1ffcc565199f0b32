#include "production/modSuperimpose.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/Files.h"
#include "platform/OutputFile.h"
#include "production/PdfPageForm.h"
#include "services/Error.h"
#include "services/modFiles.h"

namespace gui {

namespace {

constexpr int kLargestNumber = 32767;
constexpr std::size_t kCopyBlockSize = 1 << 16;
// Large enough for any page: the form is drawn where the page description puts it.
constexpr char kFormBox[] = " /BBox [0 0 14400 14400] /BP pdfmark\r\n";
// The embedded page's own comments must not be taken for the job's.
constexpr char kDocumentStart[] = "%%BeginDocument: background\r\n";
constexpr char kDocumentEnd[] = "%%EndDocument\r\n";
// Modern: the whole EPS runs inside a save of its own; "showpage" does nothing meanwhile.
constexpr char kWrapperStart[] = "/QuentarisBackgroundSave save def /showpage {} def\r\n";
constexpr char kWrapperEnd[] = "QuentarisBackgroundSave restore\r\n";

// Copies the page description, or its first "limit" bytes, into the form file.
void CopyDescription(const std::string& source, platform::OutputFile& form, std::size_t limit) {
  platform::InputFile eps(source);
  std::vector<char> block(kCopyBlockSize);
  bool endsLine = true;
  while (std::size_t got = eps.Read(block.data(), std::min(block.size(), limit))) {
    form.Write({block.data(), got});
    endsLine = block[got - 1] == '\n' || block[got - 1] == '\r';
    limit -= got;
  }
  if (!endsLine) form.Write("\r\n");
}

// The offset of the first "showpage" in the file, or the file's size; read in blocks.
std::size_t FirstShowpage(const std::string& source) {
  static constexpr std::string_view kShowpage = "showpage";
  platform::InputFile eps(source);
  std::string window;
  std::vector<char> block(kCopyBlockSize);
  std::size_t offset = 0;
  while (std::size_t got = eps.Read(block.data(), block.size())) {
    window.append(block.data(), got);
    std::size_t found = window.find(kShowpage);
    if (found != std::string::npos) return offset + found;
    std::size_t keep = std::min(window.size(), kShowpage.size() - 1);
    offset += window.size() - keep;
    window.erase(0, window.size() - keep);
  }
  return offset + window.size();
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// The PDF of a background item; raises 1011 when there is no such file.
std::string ExistingBackground(const Dictionary::Entry& item) {
  std::string pdfFile = AsDictionary(item.second)->Text("filename");
  if (!FileExists(pdfFile))
    throw Error(err::kBackgroundMissing, "Background PDF '" + pdfFile + "' does not exist.");
  return pdfFile;
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

}  // namespace

PageSelection ReadPageSelection(std::string place) {
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
    selection.last = ReadNumber(place, ++pos);
  } else {
    selection.last = selection.first > 0 ? selection.first : -1;
  }
  if (selection.first == 0) selection.first = 1;
  return selection;
}

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
    std::string pdfFile = ExistingBackground(entry);
    ++number;
    std::string paramFile = BackgroundFileName(paramPattern, number);
    std::string fullEpsFile = BackgroundFileName(fullEpsPattern, number);
    WriteEpsParams(settings, paramFile, pdfFile, fullEpsFile);
    RunGhostscript(settings, paramFile, fullEpsFile, {pdfFile});
    StripShowpage(fullEpsFile, BackgroundFileName(epsPattern, number), dialect, number);
  }
}

std::vector<std::string> WriteBackgroundForms(Dictionary& settings,
                                              const std::string& formPattern) {
  std::vector<std::string> pdfFiles;
  DictionaryPtr items = ParseBackgroundSpec(settings.Text("superimpose"));
  for (const Dictionary::Entry& entry : *items) {
    pdfFiles.push_back(ExistingBackground(entry));
    WritePdfPageForm(pdfFiles.back(), BackgroundFileName(formPattern, pdfFiles.size()),
                     pdfFiles.size());
  }
  return pdfFiles;
}

// eps2write needs the page limits for a multi-page PDF; epswrite took the first page itself.
// eps2write keeps vectors and fonts at its own resolution; at epswrite's any transparency
// would take minutes.
void WriteEpsParams(Dictionary& settings, const std::string& paramFile, const std::string& pdfFile,
                    const std::string& epsFile) {
  GhostscriptParameters parameters(FoundGhostscriptDialect(settings));
  if (parameters.IsModern()) {
    parameters.Add("-sDEVICE#eps2write");
    parameters.Add("-dFirstPage#1");
    parameters.Add("-dLastPage#1");
  } else {
    parameters.Add("-sDEVICE#epswrite");
    parameters.Add("-r14400");
  }
  parameters.AddOutputFile(epsFile);
  parameters.AddInputFile(pdfFile);
  parameters.Write(paramFile);
}

std::string BackgroundFormName(int item) {
  return "QuentarisBackground" + std::to_string(item);
}

// eps2write's own prolog contains "showpage", so the modern EPS cannot be cut: it is kept whole
// with "showpage" disabled. Either way the page description becomes a named form, stored once
// in the PDF and drawn on each page that selects it.
void StripShowpage(const std::string& source, const std::string& destination,
                   GhostscriptDialect dialect, int item) {
  bool modern = dialect == GhostscriptDialect::Modern;
  std::size_t length = modern ? SIZE_MAX : FirstShowpage(source);
  platform::OutputFile form(destination);
  form.Write("[/_objdef {" + BackgroundFormName(item) + "}" + kFormBox);
  if (modern) form.Write(kWrapperStart);
  form.Write(kDocumentStart);
  CopyDescription(source, form, length);
  form.Write(kDocumentEnd);
  if (modern) form.Write(kWrapperEnd);
  form.Write("[/EP pdfmark\r\n");
  form.Close();
}

}  // namespace gui
