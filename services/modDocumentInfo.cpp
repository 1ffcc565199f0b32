#include "services/modDocumentInfo.h"

#include <string_view>

#include "platform/Identity.h"
#include "services/modSystem.h"
#include "services/modText.h"
#include "startup/JobContext.h"

namespace gui {

namespace {

constexpr std::string_view kDocumentExtensions[] = {
    "bmp",   "csv",   "doc",     "docm", "docx", "dot",  "dotx", "eps",  "epub", "fodg", "fodp",
    "fods",  "fodt",  "gif",     "heic", "htm",  "html", "jpeg", "jpg",  "key",  "log",  "md",
    "mht",   "mhtml", "numbers", "odf",  "odg",  "odm",  "odp",  "ods",  "odt",  "ott",  "oxps",
    "pages", "pdf",   "png",     "pps",  "ppsx", "ppt",  "pptm", "pptx", "prn",  "ps",   "rtf",
    "svg",   "tex",   "text",    "tif",  "tiff", "tsv",  "txt",  "vsd",  "vsdx", "webp", "wpd",
    "wps",   "xhtml", "xls",     "xlsb", "xlsm", "xlsx", "xml",  "xps"};
// A job read from standard input is named so by CUPS.
constexpr std::string_view kStandardInputName = "(stdin)";
constexpr std::string_view kUntitled = "Untitled";

bool IsDocumentExtension(const std::string& extension) {
  std::string lower = LowerCase(extension);
  for (std::string_view known : kDocumentExtensions) {
    if (lower == known) return true;
  }
  return false;
}

// Characters no file name holds, and the " - " of captions such as "Microsoft Word - a.docx".
bool IsBareFileName(const std::string& title) {
  return title.find_first_of("/\\:*?\"<>|") == std::string::npos &&
         title.find(" - ") == std::string::npos;
}

}  // namespace

std::string TitleWithoutDocumentExtension(const std::string& title) {
  std::size_t dot = title.rfind('.');
  if (dot == std::string::npos || dot == 0 || !IsBareFileName(title)) return title;
  std::string stem = TrimSpaces(title.substr(0, dot));
  if (stem.empty() || !IsDocumentExtension(title.substr(dot + 1))) return title;
  return stem;
}

std::string TitleOrFallback(const std::string& title) {
  if (!title.empty()) return title;
  std::string name = TrimSpaces(Job().documentName);
  if (name == kStandardInputName) name.clear();
  name = TitleWithoutDocumentExtension(name);
  return name.empty() ? std::string(kUntitled) : name;
}

// Filters that know only the login name (CUPS's texttopdf) write it as the author.
std::string AuthorOrFallback(const std::string& author) {
  if (!author.empty() && author != CurrentUserName()) return author;
  std::string fullName = TrimSpaces(platform::UserFullName());
  return fullName.empty() ? CurrentUserName() : fullName;
}

}  // namespace gui
