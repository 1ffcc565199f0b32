#include "production/DocumentProperties.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/Files.h"
#include "services/modText.h"

namespace gui {

namespace {

constexpr int kPropertyLines = 1000;
// Longer comment values are cut, so a hostile job cannot make the reader hold it all.
constexpr std::size_t kLongestPiece = 64 * 1024;

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
    const char* p = buffer.data();
    const char* end = p + got;
    // A piece ends at CR or LF (an LF right after a CR ends nothing more); only CR counts lines.
    while (p < end && lines < kPropertyLines) {
      if (afterCr && *p == '\n') ++p;
      afterCr = false;
      const char* cr = static_cast<const char*>(std::memchr(p, '\r', end - p));
      const char* stop = cr ? cr : end;
      if (const void* lf = std::memchr(p, '\n', stop - p)) stop = static_cast<const char*>(lf);
      piece.append(p, std::min<std::size_t>(stop - p, kLongestPiece - piece.size()));
      if (stop == end) break;
      ExaminePiece(piece, *properties);
      piece.clear();
      afterCr = *stop == '\r';
      if (afterCr) ++lines;
      p = stop + 1;
    }
  }
  ExaminePiece(piece, *properties);
  return properties;
}

}  // namespace gui
