#include "services/modLocalize.h"

#include "services/modEncoding.h"
#include "services/modFiles.h"
#include "services/modFolders.h"
#include "services/modPaths.h"
#include "services/modText.h"
#include "startup/Dictionary.h"

namespace gui {

namespace {

DictionaryPtr labels;

void AddLabelLine(const std::u16string& line) {
  std::size_t equals = line.find(u'=');
  if (equals == std::u16string::npos) return;
  std::string key = UnescapeLabel(Utf16ToUtf8(line.substr(0, equals)));
  labels->Set(key, UnescapeLabel(Utf16ToUtf8(line.substr(equals + 1))));
}

}  // namespace

void LoadLabels() {
  labels = NewDictionary();
  std::string path = JoinPath(ProgramFolder(), "labels.txt");
  if (!FileExists(path)) return;
  std::vector<unsigned char> bytes = ReadFile(path);
  std::u16string text = Utf16LeFromBytes(std::string(bytes.begin(), bytes.end()));
  std::size_t start = 0;
  for (;;) {
    std::size_t end = text.find(u"\r\n", start);
    AddLabelLine(
        text.substr(start, end == std::u16string::npos ? std::u16string::npos : end - start));
    if (end == std::u16string::npos) return;
    start = end + 2;
  }
}

std::string Localize(const std::string& text) {
  if (text.empty() || text[0] != '[') return text;
  std::size_t close = text.find(']', 1);
  if (close == std::string::npos) return text;
  std::string key = text.substr(1, close - 1);
  if (labels && labels->Exists(key)) {
    std::string translation = labels->Text(key);
    if (!translation.empty()) return translation;
  }
  return text.substr(close + 1);
}

std::string UnescapeLabel(const std::string& text) {
  return Unescape(text, {{'n', "\r\n"}, {'t', "\t"}});
}

}  // namespace gui
