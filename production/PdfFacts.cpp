#include "production/PdfFacts.h"

#include <limits>

#include "production/PdfDocument.h"
#include "production/PdfStrings.h"
#include "production/PdfXmp.h"

namespace gui {

namespace {

constexpr std::size_t kHeaderWindow = 1024;
constexpr std::size_t kLongestXmp = 1 << 20;

std::string Trimmed(std::string text) {
  const char* blanks = " \t\r\n";
  std::size_t first = text.find_first_not_of(blanks);
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

std::string TextEntry(PdfDocument& document, const PdfValue& dictionary, const char* key) {
  PdfValue value = document.Resolve(dictionary.Get(key));
  return value.kind == PdfValue::Kind::kString ? Trimmed(PdfTextToUtf8(value.text)) : "";
}

std::int32_t PageCount(PdfDocument& document, const PdfValue& catalog) {
  PdfValue pages = document.Resolve(catalog.Get("Pages"));
  PdfValue count = document.Resolve(pages.Get("Count"));
  bool known = count.IsInteger() && count.number >= 0 &&
               count.number <= std::numeric_limits<std::int32_t>::max();
  return known ? static_cast<std::int32_t>(count.number) : -1;
}

void AddXmp(PdfDocument& document, const PdfValue& catalog, PdfFacts& facts) {
  PdfValue metadata = document.Resolve(catalog.Get("Metadata"));
  XmpFacts xmp = ReadXmp(document.StreamData(metadata, kLongestXmp));
  facts.title = Trimmed(xmp.title);
  facts.author = Trimmed(xmp.creator);
}

PdfFacts FactsOf(PdfDocument& document) {
  PdfFacts facts;
  const PdfValue& trailer = document.Trailer();
  const PdfValue* encrypt = trailer.Get("Encrypt");
  facts.encrypted = encrypt && encrypt->kind != PdfValue::Kind::kNull;
  PdfValue catalog = document.Resolve(trailer.Get("Root"));
  facts.pages = PageCount(document, catalog);
  if (facts.encrypted) return facts;  // its strings are encrypted too
  PdfValue info = document.Resolve(trailer.Get("Info"));
  facts.title = TextEntry(document, info, "Title");
  facts.author = TextEntry(document, info, "Author");
  facts.creationDate = TextEntry(document, info, "CreationDate");
  // Only a file without document information (as PDF 2.0 allows) is described by its metadata
  // alone: Ghostscript, for one, puts a placeholder "Untitled" there when it has no title.
  if (info.kind != PdfValue::Kind::kDictionary) AddXmp(document, catalog, facts);
  return facts;
}

}  // namespace

bool IsPdfJob(const std::string& path) {
  try {
    PdfFile file(path);
    return file.Read(0, kHeaderWindow).find("%PDF-") != std::string::npos;
  } catch (const std::exception&) {
    return false;
  }
}

PdfFacts ReadPdfFacts(const std::string& path) {
  try {
    PdfFile file(path);
    if (!file.IsOpen()) return {};
    PdfDocument document(file);
    return FactsOf(document);
  } catch (const std::exception&) {
    return {};
  }
}

}  // namespace gui
