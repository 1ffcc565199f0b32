#include "script/Convert.h"

#include <cctype>
#include <charconv>
#include <cmath>

#include "script/DateTime.h"
#include "script/DecimalText.h"
#include "script/ScriptErrors.h"
#include "script/ScriptObject.h"

namespace gui::script {

namespace {

constexpr double kCurrencyLimit = 922337203685477.5807;

std::optional<double> ParseRadix(std::string_view digits, int radix, bool negative) {
  if (digits.empty()) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : digits) {
    int d = std::isxdigit(static_cast<unsigned char>(c))
                ? (std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : (c | 0x20) - 'a' + 10)
                : 99;
    if (d >= radix) return std::nullopt;
    value = value * static_cast<std::uint64_t>(radix) + static_cast<std::uint64_t>(d);
    if (value > 0xFFFFFFFFu) return std::nullopt;
  }
  double result = value <= 0xFFFF && digits.size() <= (radix == 16 ? 4u : 6u)
                      ? static_cast<std::int16_t>(value)
                      : static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
  return negative ? -result : result;
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
    text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
    text.remove_suffix(1);
  return text;
}

double NumericOf(const Variant& v) {
  switch (v.Type()) {
    case VType::Boolean:
      return v.Bool() ? -1.0 : 0.0;
    case VType::Byte:
    case VType::Integer:
    case VType::Long:
      return static_cast<double>(v.Int());
    case VType::Currency:
      return static_cast<double>(v.Int()) / 10000.0;
    case VType::Single:
    case VType::Double:
    case VType::Date:
      return v.Real();
    default:
      return 0.0;
  }
}

std::int64_t RoundedInRange(const Variant& value, double low, double high) {
  Variant holder;
  const Variant& v = Plain(value, holder);
  if (v.Is(VType::Byte) || v.Is(VType::Integer) || v.Is(VType::Long)) {
    if (static_cast<double>(v.Int()) < low || static_cast<double>(v.Int()) > high) {
      ThrowError(vberr::kOverflow);
    }
    return v.Int();
  }
  double rounded = RoundHalfEven(ToDouble(v));
  if (!(rounded >= low && rounded <= high)) ThrowError(vberr::kOverflow);
  return static_cast<std::int64_t>(rounded);
}

}  // namespace

const Variant& Plain(const Variant& value, Variant& holder) {
  if (!value.Is(VType::Object)) return value;
  if (!value.Obj()) ThrowError(vberr::kObjectNotSet);
  holder = value.Obj()->DefaultValue();
  return holder;
}

std::optional<double> ParseNumber(std::string_view text) {
  text = Trim(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text = Trim(text.substr(1));
  }
  if (text.size() > 2 && text[0] == '&' && (text[1] | 0x20) == 'h') {
    return ParseRadix(text.substr(2), 16, negative);
  }
  if (text.size() > 2 && text[0] == '&' && (text[1] | 0x20) == 'o') {
    return ParseRadix(text.substr(2), 8, negative);
  }
  if (text.size() > 64 || text.empty()) return std::nullopt;
  char buffer[72];
  std::size_t length = 0;
  bool digitSeen = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == ',' && digitSeen && i + 1 < text.size() &&
        std::isdigit(static_cast<unsigned char>(text[i + 1]))) {
      continue;
    }
    if ((c | 0x20) == 'd') c = 'e';
    if (std::isdigit(static_cast<unsigned char>(c))) digitSeen = true;
    buffer[length++] = c;
  }
  if (!digitSeen || buffer[0] == 'e' || buffer[0] == 'E') return std::nullopt;
  double value = 0;
  auto [end, ec] = std::from_chars(buffer, buffer + length, value);
  if (end != buffer + length || ec != std::errc()) return std::nullopt;
  return negative ? -value : value;
}

double ToDouble(const Variant& value) {
  switch (value.Type()) {
    case VType::Empty:
      return 0.0;
    case VType::Null:
      ThrowError(vberr::kInvalidNull);
    case VType::String: {
      std::optional<double> number = ParseNumber(value.Str());
      if (!number) ThrowError(vberr::kTypeMismatch);
      return *number;
    }
    case VType::Object: {
      Variant holder;
      return ToDouble(Plain(value, holder));
    }
    case VType::Array:
    case VType::Error:
      ThrowError(vberr::kTypeMismatch);
    default:
      return NumericOf(value);
  }
}

float ToSingle(const Variant& value) {
  double d = ToDouble(value);
  if (std::fabs(d) > 3.402823466e38) ThrowError(vberr::kOverflow);
  return static_cast<float>(d);
}

std::int32_t ToLong(const Variant& value) {
  return static_cast<std::int32_t>(RoundedInRange(value, -2147483648.0, 2147483647.0));
}

std::int16_t ToInteger(const Variant& value) {
  return static_cast<std::int16_t>(RoundedInRange(value, -32768.0, 32767.0));
}

std::uint8_t ToByte(const Variant& value) {
  return static_cast<std::uint8_t>(RoundedInRange(value, 0.0, 255.0));
}

std::int64_t ToCurrency(const Variant& value) {
  if (value.Is(VType::Currency)) return value.Int();
  double d = ToDouble(value);
  if (!(std::fabs(d) <= kCurrencyLimit)) ThrowError(vberr::kOverflow);
  // Rounded in decimal, so that 0.00015 is the 1.5 ten-thousandths it was written as.
  DecimalText decimal = ToDecimal(d, 4, true);
  std::int64_t scaled = std::stoll(decimal.integer + decimal.fraction);
  return decimal.negative ? -scaled : scaled;
}

bool ToBool(const Variant& value) {
  switch (value.Type()) {
    case VType::Boolean:
      return value.Bool();
    case VType::String: {
      std::string_view text = Trim(value.Str());
      if (text.size() == 4 && (text[0] | 0x20) == 't' && (text[1] | 0x20) == 'r' &&
          (text[2] | 0x20) == 'u' && (text[3] | 0x20) == 'e') {
        return true;
      }
      if (text.size() == 5 && (text[0] | 0x20) == 'f' && (text[1] | 0x20) == 'a' &&
          (text[2] | 0x20) == 'l' && (text[3] | 0x20) == 's' && (text[4] | 0x20) == 'e') {
        return false;
      }
      return ToDouble(value) != 0.0;
    }
    default:
      return ToDouble(value) != 0.0;
  }
}

double ToDate(const Variant& value, int currentYear) {
  if (value.Is(VType::Date)) return value.Real();
  if (value.Is(VType::String)) {
    std::optional<double> serial = datetime::Parse(value.Str(), currentYear);
    if (!serial) ThrowError(vberr::kTypeMismatch);
    return *serial;
  }
  double serial = ToDouble(value);
  if (!datetime::InRange(serial)) ThrowError(vberr::kOverflow);
  return serial;
}

std::string ToText(const Variant& value) {
  switch (value.Type()) {
    case VType::Empty:
      return {};
    case VType::Null:
      ThrowError(vberr::kInvalidNull);
    case VType::Boolean:
      return value.Bool() ? "True" : "False";
    case VType::Byte:
    case VType::Integer:
    case VType::Long:
      return std::to_string(value.Int());
    case VType::Single:
      return NumberText(value.Real(), 7);
    case VType::Double:
      return NumberText(value.Real(), 15);
    case VType::Currency:
      return CurrencyText(value.Int());
    case VType::Date:
      return datetime::GeneralDate(value.Real());
    case VType::String:
      return value.Str();
    case VType::Object: {
      Variant holder;
      return ToText(Plain(value, holder));
    }
    default:
      ThrowError(vberr::kTypeMismatch);
  }
}

std::string ToTextOrEmpty(const Variant& value) {
  if (value.Is(VType::Null) || value.Is(VType::Error)) return {};
  return ToText(value);
}

std::string NumberText(double value, int digits) {
  if (value == 0.0) return "0";
  char buffer[64];
  auto [end, ec] =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, digits);
  std::string text(buffer, ec == std::errc() ? end : buffer);
  for (char& c : text) {
    if (c == 'e') c = 'E';
  }
  return text;
}

std::string CurrencyText(std::int64_t scaled) {
  bool negative = scaled < 0;
  std::uint64_t magnitude =
      negative ? 0 - static_cast<std::uint64_t>(scaled) : static_cast<std::uint64_t>(scaled);
  std::string text = std::to_string(magnitude / 10000);
  std::string fraction = std::to_string(magnitude % 10000 + 10000).substr(1);
  while (!fraction.empty() && fraction.back() == '0')
    fraction.pop_back();
  if (!fraction.empty()) text += "." + fraction;
  return negative ? "-" + text : text;
}

double RoundHalfEven(double value) {
  double floor = std::floor(value);
  double diff = value - floor;
  if (diff > 0.5) return floor + 1.0;
  if (diff < 0.5) return floor;
  return std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1.0;
}

Variant FitInteger(double value) {
  if (value >= -32768.0 && value <= 32767.0)
    return Variant::Integer(static_cast<std::int16_t>(value));
  if (value >= -2147483648.0 && value <= 2147483647.0) {
    return Variant::Long(static_cast<std::int32_t>(value));
  }
  return Variant::Double(value);
}

bool IsNumericValue(const Variant& value) {
  switch (value.Type()) {
    case VType::Empty:
    case VType::Boolean:
    case VType::Date:
      return true;
    case VType::String:
      return ParseNumber(value.Str()).has_value();
    default:
      return value.IsNumeric();
  }
}

std::string TypeName(const Variant& value) {
  switch (value.Type()) {
    case VType::Empty:
      return "Empty";
    case VType::Null:
      return "Null";
    case VType::Integer:
      return "Integer";
    case VType::Long:
      return "Long";
    case VType::Single:
      return "Single";
    case VType::Double:
      return "Double";
    case VType::Currency:
      return "Currency";
    case VType::Date:
      return "Date";
    case VType::String:
      return "String";
    case VType::Object:
      return value.Obj() ? value.Obj()->TypeName() : "Nothing";
    case VType::Error:
      return "Error";
    case VType::Boolean:
      return "Boolean";
    case VType::Byte:
      return "Byte";
    case VType::Array:
      return "Variant()";
  }
  return "Unknown";
}

}  // namespace gui::script
