#include "script/DecimalText.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace gui::script {

namespace {

// Adds one unit in the last place of a digit string; true when it grows by a digit.
bool Increment(std::string& digits) {
  for (std::size_t i = digits.size(); i-- > 0;) {
    if (digits[i] != '9') {
      ++digits[i];
      return false;
    }
    digits[i] = '0';
  }
  digits.insert(digits.begin(), '1');
  return true;
}

bool RoundsUp(const std::string& digits, std::size_t keep, bool halfEven) {
  if (keep >= digits.size() || digits[keep] < '5') return false;
  if (digits[keep] > '5' || !halfEven) return true;
  if (digits.find_first_not_of('0', keep + 1) != std::string::npos) return true;
  return keep > 0 && (digits[keep - 1] - '0') % 2 == 1;
}

}  // namespace

bool DecimalText::IsZero() const {
  return integer.find_first_not_of('0') == std::string::npos &&
         fraction.find_first_not_of('0') == std::string::npos;
}

double DecimalText::Value() const {
  std::string text = integer + "." + fraction + "0";
  double value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return negative ? -value : value;
}

DecimalText ToDecimal(double value, int decimals, bool halfEven) {
  DecimalText result;
  result.negative = std::signbit(value) && value != 0.0;
  char buffer[64];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                 std::chars_format::scientific, 14);
  std::string mantissa(buffer, ec == std::errc() ? end : buffer);
  std::size_t e = mantissa.find('e');
  int exponent = e == std::string::npos ? 0 : std::atoi(mantissa.c_str() + e + 1);
  std::string digits =
      mantissa.substr(0, 1) + mantissa.substr(2, e == std::string::npos ? 0 : e - 2);
  // The value is 0.<digits> times ten to the power `point`.
  int point = exponent + 1;
  int keep = point + decimals;
  if (keep < 0) {
    digits = "0";
    point = 1;
  } else {
    bool up = RoundsUp(digits, static_cast<std::size_t>(keep), halfEven);
    digits.resize(static_cast<std::size_t>(keep) < digits.size() ? keep : digits.size());
    if (up && Increment(digits)) ++point;
    if (digits.empty()) {
      digits = "0";
      point = 1;
    }
  }
  if (point <= 0) {
    digits.insert(0, static_cast<std::size_t>(-point + 1), '0');
    point = 1;
  }
  if (static_cast<int>(digits.size()) < point + decimals) digits.resize(point + decimals, '0');
  result.integer = digits.substr(0, point);
  result.fraction = digits.substr(point, decimals);
  std::size_t nonZero = result.integer.find_first_not_of('0');
  result.integer = nonZero == std::string::npos ? "0" : result.integer.substr(nonZero);
  return result;
}

}  // namespace gui::script
