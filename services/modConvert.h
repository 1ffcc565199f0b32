#pragma once

#include <cstdint>
#include <string>

#include "platform/Clock.h"
#include "platform/Registry.h"
#include "startup/Dictionary.h"

namespace gui {

// Safe conversions: a value without text or number gives "" or 0, never an error.
std::string ToStringSafe(const DictionaryValue& value);
std::string ToStringSafe(const platform::RegistryValue& value);
// Numeric text rounded to the nearest whole number, halves to even; 0 when it is no number or
// does not fit in 32 bits.
std::int32_t ToLongSafe(const std::string& text);
std::int32_t ToLongSafe(double value);

std::string TrimAtNul(const std::string& text);
// yyyy-mm-dd hh:nn:ss, every field zero-padded.
std::string FormatTimestamp(const platform::DateTime& moment);
// Form-style percent encoding: letters, digits, "-", "." stay, a space becomes "+".
std::string UrlEncode(const std::string& text);
// 2 to the power (position - 1); a position below 1 raises 1000, above 31 overflows.
std::int32_t Bit(int position);

}  // namespace gui
