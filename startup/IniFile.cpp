#include "startup/IniFile.h"

#include <unordered_set>
#include <vector>

#include "services/Error.h"
#include "services/modConvert.h"
#include "services/modEncoding.h"
#include "services/modFiles.h"
#include "services/modText.h"

namespace gui {

namespace {

// Editors mark UTF-8 and UTF-16 files at their start; the text inside is what counts.
std::string TextOf(const std::vector<unsigned char>& bytes) {
  std::string text(bytes.begin(), bytes.end());
  if (text.starts_with("\xEF\xBB\xBF")) return text.substr(3);
  if (text.starts_with("\xFF\xFE")) return Utf16ToUtf8(Utf16LeFromBytes(text.substr(2)));
  return text;
}

void AppendEntry(std::string& out, const std::string& name, const std::string& value) {
  out += "  " + name + "=" + value + "\r\n";
}

}  // namespace

void IniFile::Reset() {
  ClearError();
  data_.reset();
}

void IniFile::ClearError() {
  lastError_ = 0;
  lastErrorMessage_.clear();
}

void IniFile::Fail(std::int32_t number, const std::string& message) {
  lastError_ = number;
  lastErrorMessage_ = message;
}

bool IniFile::Load(const std::string& fileName) {
  ClearError();
  try {
    data_ = NewDictionary();
    DictionaryPtr current = data_;
    std::unordered_set<std::string> sectionNames;
    std::string text = TextOf(ReadFile(fileName));
    // CR LF ends a line; a lone CR or LF does too, so files edited elsewhere still read.
    std::size_t start = 0;
    while (start < text.size()) {
      std::size_t end = text.find_first_of("\r\n", start);
      if (end == std::string::npos) end = text.size();
      ParseLine(text.substr(start, end - start), current, sectionNames);
      start = end + ((text.compare(end, 2, "\r\n") == 0) ? 2 : 1);
    }
    return true;
  } catch (const Error& failure) {
    Fail(static_cast<std::int32_t>(failure.Number()), failure.Description());
    return false;
  }
}

DictionaryPtr IniFile::Section(const std::string& name) const {
  if (!data_) return nullptr;
  for (const auto& [key, value] : *data_) {
    DictionaryPtr section = AsDictionary(value);
    if (section && LowerCase(key) == LowerCase(name)) return section;
  }
  return nullptr;
}

void IniFile::ParseLine(const std::string& raw, DictionaryPtr& current,
                        std::unordered_set<std::string>& sectionNames) {
  std::string line = TrimSpaces(raw);
  if (line.size() < 3) return;
  if (line.front() == '[' && line.back() == ']') {
    std::string name = TrimSpaces(line.substr(1, line.size() - 2));
    if (!sectionNames.insert(LowerCase(name)).second) throw RuntimeError(err::kDuplicateKey);
    DictionaryPtr section = NewDictionary();
    data_->Add(name, section);
    current = section;
    return;
  }
  std::size_t equals = line.find('=');
  if (equals == std::string::npos) return;
  std::string name = TrimSpaces(line.substr(0, equals));
  if (!name.empty()) current->Add(name, TrimSpaces(line.substr(equals + 1)));
}

bool IniFile::Save(const std::string& fileName) {
  ClearError();
  try {
    std::string out;
    if (data_) {
      for (const auto& [name, value] : *data_) {
        DictionaryPtr section = AsDictionary(value);
        if (!section) {
          AppendEntry(out, name, ToStringSafe(value));
          continue;
        }
        out += "[" + name + "]\r\n";
        for (const auto& [entry, text] : *section)
          AppendEntry(out, entry, ToStringSafe(text));
      }
    }
    ReplaceThroughNewFile(fileName,
                          [&](const std::string& newFile) { WritePrivateTextFile(newFile, out); });
    return true;
  } catch (const Error& failure) {
    Fail(static_cast<std::int32_t>(failure.Number()), failure.Description());
    return false;
  }
}

}  // namespace gui
