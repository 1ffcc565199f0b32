#pragma once

#include <cstdint>
#include <string>
#include <unordered_set>

#include "startup/Dictionary.h"

namespace gui {

// Reads a whole INI file into a map of sections and writes such a map back. Failures are
// reported through the result and LastError, never raised.
class IniFile {
 public:
  IniFile() { Reset(); }

  DictionaryPtr Data() const { return data_; }
  void SetData(DictionaryPtr data) { data_ = std::move(data); }
  // Section names are one in any letter case; a file with a byte-order mark reads as its text.
  bool Load(const std::string& fileName);
  // Replaces the file with one the user alone may read: settings hold passwords.
  bool Save(const std::string& fileName);
  void Reset();
  // The loaded section of that name in any letter case; null when there is none.
  DictionaryPtr Section(const std::string& name) const;
  std::int32_t LastError() const { return lastError_; }
  const std::string& LastErrorMessage() const { return lastErrorMessage_; }

 private:
  void ClearError();
  void Fail(std::int32_t number, const std::string& message);
  // Section names already read are kept in lower case: they are one in any letter case.
  void ParseLine(const std::string& line, DictionaryPtr& current,
                 std::unordered_set<std::string>& sectionNames);

  DictionaryPtr data_;
  std::int32_t lastError_ = 0;
  std::string lastErrorMessage_;
};

}  // namespace gui
