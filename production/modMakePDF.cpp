#include "production/modMakePDF.h"

#include <vector>

#include "platform/Files.h"
#include "services/Error.h"

namespace gui {

namespace {

constexpr int kPropertyLines = 1000;
// Longer comment values are cut, so a hostile job cannot make the reader hold it all.
constexpr std::size_t kLongestPiece = 64 * 1024;

std::string Lower(std::string text) {
  for (char& c : text)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string TrimSpaces(const std::string& text) {
  std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

void ExaminePiece(const std::string& piece, Dictionary& properties) {
  static const struct {
    const char* prefix;
    const char* key;
  } kComments[] = {
      {"%%for:", "author"}, {"%%title:", "title"}, {"%%creationdate:", "creationdate"}};
  for (const auto& comment : kComments) {
    std::size_t length = std::char_traits<char>::length(comment.prefix);
    if (Lower(piece.substr(0, length)) == comment.prefix) {
      properties.Set(comment.key, TrimSpaces(piece.substr(length)));
      return;
    }
  }
}

}  // namespace

DictionaryPtr ReadDocumentProperties(const std::string& jobFile) {
  DictionaryPtr properties = NewDictionary();
  platform::InputFile job(jobFile);
  std::vector<char> buffer(1 << 16);
  std::string piece;
  int lines = 0;
  bool afterCr = false;
  while (lines < kPropertyLines) {
    std::size_t got = job.Read(buffer.data(), buffer.size());
    if (got == 0) break;
    for (std::size_t i = 0; i < got && lines < kPropertyLines; ++i) {
      char c = buffer[i];
      bool joinedLf = afterCr && c == '\n';
      afterCr = c == '\r';
      if (joinedLf) continue;
      if (c != '\r' && c != '\n') {
        if (piece.size() < kLongestPiece) piece += c;
        continue;
      }
      ExaminePiece(piece, *properties);
      piece.clear();
      if (c == '\r') ++lines;
    }
  }
  ExaminePiece(piece, *properties);
  return properties;
}

void MakePDF(const std::string&) {
  throw Error(err::kSmallRoutine, "PDF production is not available in this version.");
}

}  // namespace gui
