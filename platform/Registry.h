#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace gui::platform {

enum class RegistryRoot { ClassesRoot, CurrentUser, LocalMachine, Users };

struct RegistryValue {
  enum class Kind { Null, Text, Number, Bytes };
  Kind kind = Kind::Null;
  std::string text;
  std::int32_t number = 0;
  std::vector<unsigned char> bytes;
};

// Reads one value of the machine's registry (read only). A missing or unreadable key or value,
// and a value of any type but text, number and bytes, give Kind::Null. Never throws.
RegistryValue ReadRegistryValue(RegistryRoot root, const std::string& keyPath,
                                const std::string& valueName, bool view64);
// True when the key, or a key below it, is in the registry. Never throws.
bool RegistryKeyExists(RegistryRoot root, const std::string& keyPath, bool view64);

}  // namespace gui::platform
