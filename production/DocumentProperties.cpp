#include "production/DocumentProperties.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/Files.h"
#include "production/EmbeddedDocuments.h"
#include "production/PdfFacts.h"
#include "production/PdfStrings.h"
#include "script/Utf8.h"
#include "services/modDocumentInfo.h"
#include "services/modText.h"

namespace gui {

namespace {

constexpr int kPropertyLines = 1000;
// Longer comment values are cut, so a hostile job cannot make the reader hold it all.
constexpr std::size_t kLongestPiece = 64 * 1024;

std::string FromWindows1252(const std::string& bytes) {
  std::string text;
  text.reserve(bytes.size());
  for (char c : bytes)
    script::utf8::Append(text, script::utf8::FromAnsi(static_cast<unsigned char>(c)));
  return text;
}

// A comment's bytes as UTF-8: UTF-16 after its byte-order mark, UTF-8 when they are valid UTF-8,
// else Windows-1252 (what Windows drivers write).
std::string CommentText(const std::string& bytes) {
  if (bytes.starts_with("\xFE\xFF")) return TrimSpaces(Utf16BeToUtf8(bytes.substr(2)));
  return TrimSpaces(script::utf8::IsValid(bytes) ? bytes : FromWindows1252(bytes));
}

// A comment's value; one written as a PostScript string is decoded, and what follows it ignored.
// Only a hex string with a byte-order mark is decoded: "<draft>" is more likely a title than hex.
std::string CommentValue(const std::string& written) {
  std::string value = TrimSpaces(written);
  std::size_t pos = 0;
  if (value.starts_with('(')) return CommentText(LiteralStringAt(value, pos));
  if (LowerCase(value.substr(0, 5)) == "<feff") {
    std::string bytes = HexStringAt(value, pos);
    if (pos != 0) return CommentText(bytes);
  }
  return CommentText(value);
}

void ExaminePiece(const std::string& piece, Dictionary& properties) {
  if (piece.size() < 2 || piece[0] != '%' || piece[1] != '%') return;
  static const struct {
    const char* prefix;
    const char* key;
  } kComments[] = {
      {"%%for:", "author"}, {"%%title:", "title"}, {"%%creationdate:", "creationdate"}};
  for (const auto& comment : kComments) {
    std::size_t length = std::char_traits<char>::length(comment.prefix);
    if (LowerCase(piece.substr(0, length)) == comment.prefix) {
      properties.Set(comment.key, CommentValue(piece.substr(length)));
      return;
    }
  }
}

// Takes the comments of the job's own header, which ends at "%%EndComments" or after the first
// 1000 lines: an embedded document (an EPS figure) brings comments that describe only itself.
class HeaderComments {
 public:
  // Takes the next line; only one that ended at CR counts towards the 1000.
  void Take(const std::string& line, bool endedAtCr) {
    if (endedAtCr) ++lines_;
    if (ended_ || !embedded_.IsJobLine(line)) return;
    if (line.starts_with("%%EndComments")) {
      ended_ = true;
    } else {
      ExaminePiece(line, *properties_);
    }
  }

  bool WantsMore() const { return !ended_ && lines_ < kPropertyLines; }
  DictionaryPtr Properties() const { return properties_; }

 private:
  EmbeddedDocuments embedded_;
  DictionaryPtr properties_ = NewDictionary();
  int lines_ = 0;
  bool ended_ = false;
};

DictionaryPtr PostScriptProperties(const std::string& jobFile) {
  platform::InputFile job(jobFile);
  HeaderComments header;
  std::vector<char> buffer(1 << 16);
  std::string piece;
  bool afterCr = false;
  while (header.WantsMore()) {
    std::size_t got = job.Read(buffer.data(), buffer.size());
    if (got == 0) break;
    const char* p = buffer.data();
    const char* end = p + got;
    // A piece ends at CR or LF (an LF right after a CR ends nothing more); only CR counts lines.
    while (p < end && header.WantsMore()) {
      if (afterCr && *p == '\n') ++p;
      afterCr = false;
      const char* cr = static_cast<const char*>(std::memchr(p, '\r', end - p));
      const char* stop = cr ? cr : end;
      if (const void* lf = std::memchr(p, '\n', stop - p)) stop = static_cast<const char*>(lf);
      piece.append(p, std::min<std::size_t>(stop - p, kLongestPiece - piece.size()));
      if (stop == end) break;
      afterCr = *stop == '\r';
      header.Take(piece, afterCr);
      piece.clear();
      p = stop + 1;
    }
  }
  header.Take(piece, false);
  return header.Properties();
}

DictionaryPtr PdfProperties(const std::string& jobFile) {
  PdfFacts facts = ReadPdfFacts(jobFile);
  DictionaryPtr properties = NewDictionary();
  if (!facts.author.empty()) properties->Set("author", facts.author);
  if (!facts.title.empty()) properties->Set("title", facts.title);
  if (!facts.creationDate.empty()) properties->Set("creationdate", facts.creationDate);
  return properties;
}

}  // namespace

DictionaryPtr ReadDocumentProperties(const std::string& jobFile) {
  DictionaryPtr properties =
      IsPdfJob(jobFile) ? PdfProperties(jobFile) : PostScriptProperties(jobFile);
  if (properties->Exists("title")) {
    properties->Set("title", TitleWithoutDocumentExtension(properties->Text("title")));
  }
  return properties;
}

}  // namespace gui
