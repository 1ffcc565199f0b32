#pragma once

#include <string>

#include "platform/Registry.h"
#include "printing/COpSysInfo.h"

namespace gui {

// Reads "ROOT\key\...\value" from the registry ("ROOT\key\" reads the key's default value).
// Asking for the 64-bit view on a system older than Windows XP clears the flag. A missing key
// or value, an unknown root or a type other than text, number and bytes give a null value.
// Never throws.
platform::RegistryValue GetRegistryValue(const std::string& path, bool& view64);
// True when "ROOT\key\..." or a key below it exists. Never throws.
bool RegistryKeyExists(const std::string& path, bool view64);

// The shared operating-system information of the run.
const COpSysInfo& GetOsInfo();

// The names are looked up once; an empty answer is looked up again on the next call.
std::string CurrentUserName();
std::string CurrentComputerName();

std::string SystemErrorText(int code);

// A new random GUID as upper-case text in 8-4-4-4-12 groups, without braces; raises error 1000
// when the system's random source fails.
std::string NewGuid();

}  // namespace gui
