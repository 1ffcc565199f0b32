#pragma once

#include <cstdint>
#include <string>

#include "startup/Dictionary.h"

namespace gui {

// Reads a whole INI file into a map of sections and writes such a map back. Failures are
// reported through the result and LastError, never raised.
class IniFile {
 public:
  IniFile() { Reset(); }

  DictionaryPtr Data() const { return data_; }
  void SetData(DictionaryPtr data) { data_ = std::move(data); }
  bool Load(const std::string& fileName);
  bool Save(const std::string& fileName);
  void Reset();
  std::int32_t LastError() const { return lastError_; }
  const std::string& LastErrorMessage() const { return lastErrorMessage_; }

 private:
  void ClearError();
  void Fail(std::int32_t number, const std::string& message);
  void ParseLine(const std::string& line, DictionaryPtr& current);

  DictionaryPtr data_;
  std::int32_t lastError_ = 0;
  std::string lastErrorMessage_;
};

}  // namespace gui
