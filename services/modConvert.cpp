#include "services/modConvert.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <locale>
#include <sstream>

#include "services/Error.h"
#include "services/modText.h"

namespace gui {

namespace {

// "&H1F" and "&O17" as the runtime reads them; false when the text is not such a number.
bool ParseRadix(const std::string& text, double& value) {
  if (text.size() < 3 || text[0] != '&') return false;
  int base = (text[1] == 'H' || text[1] == 'h') ? 16 : (text[1] == 'O' || text[1] == 'o') ? 8 : 0;
  if (base == 0) return false;
  std::size_t used = 0;
  unsigned long long number = 0;
  try {
    number = std::stoull(text.substr(2), &used, base);
  } catch (...) {
    return false;
  }
  if (used != text.size() - 2 || number > 0xFFFFFFFFull) return false;
  value = static_cast<double>(static_cast<std::int32_t>(static_cast<std::uint32_t>(number)));
  return true;
}

bool ParseDecimal(const std::string& text, double& value) {
  std::istringstream in(text);
  in.imbue(std::locale::classic());
  in >> value;
  return !in.fail() && in.peek() == std::char_traits<char>::eof();
}

}  // namespace

std::string ToStringSafe(const DictionaryValue& value) {
  const auto* text = std::get_if<std::string>(&value);
  return text ? *text : std::string();
}

std::string ToStringSafe(const platform::RegistryValue& value) {
  using Kind = platform::RegistryValue::Kind;
  switch (value.kind) {
    case Kind::Text:
      return value.text;
    case Kind::Number:
      return std::to_string(value.number);
    case Kind::Bytes:
      return std::string(value.bytes.begin(), value.bytes.end());
    default:
      return {};
  }
}

std::int32_t ToLongSafe(const std::string& text) {
  std::string number = TrimSpaces(text);
  double value = 0;
  if (number.empty() || !(ParseRadix(number, value) || ParseDecimal(number, value))) return 0;
  return ToLongSafe(value);
}

std::int32_t ToLongSafe(double value) {
  if (!std::isfinite(value)) return 0;
  double rounded = std::nearbyint(value);  // the default rounding mode sends halves to even
  if (rounded < std::numeric_limits<std::int32_t>::min() ||
      rounded > std::numeric_limits<std::int32_t>::max()) {
    return 0;
  }
  return static_cast<std::int32_t>(rounded);
}

std::string TrimAtNul(const std::string& text) {
  return text.substr(0, text.find('\0'));
}

std::string FormatTimestamp(const platform::DateTime& moment) {
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", moment.year, moment.month,
                moment.day, moment.hour, moment.minute, moment.second);
  return text;
}

std::string UrlEncode(const std::string& text) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string encoded;
  for (unsigned char c : text) {
    bool keep = c == ' ' || c == '-' || c == '.' || (c >= '0' && c <= '9') ||
                (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    if (keep) {
      encoded += c == ' ' ? '+' : static_cast<char>(c);
    } else {
      encoded += '%';
      encoded += kDigits[c >> 4];
      encoded += kDigits[c & 15];
    }
  }
  return encoded;
}

std::int32_t Bit(int position) {
  if (position < 1) {
    throw Error(err::kSmallRoutine, "Do not call the Bit function with position values below 1.");
  }
  if (position > 31) throw RuntimeError(err::kOverflow);
  return static_cast<std::int32_t>(1u << (position - 1));
}

}  // namespace gui
