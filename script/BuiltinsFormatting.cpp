#include "script/BuiltinSupport.h"
#include "script/Convert.h"
#include "script/DateTime.h"
#include "script/DecimalText.h"
#include "script/ScriptErrors.h"

namespace gui::script {

namespace {

using builtins::IsNull;
using builtins::LongOr;

// The English (United States) defaults of Windows' number and currency formats.
struct NumberStyle {
  int decimals = 2;
  bool leadingZero = true;
  bool parentheses = false;
  bool grouping = true;
  std::string prefix;
  std::string suffix;
};

// A tristate argument: -1 true, 0 false, -2 (or left out) the default.
bool Tristate(const Args& a, std::size_t i, bool fallback) {
  std::int32_t value = LongOr(a, i, -2);
  if (value != -1 && value != 0 && value != -2) ThrowError(vberr::kInvalidCall);
  return value == -2 ? fallback : value == -1;
}

NumberStyle StyleFrom(const Args& a, NumberStyle style) {
  std::int32_t decimals = LongOr(a, 1, -1);
  if (decimals < -1 || decimals > 255) ThrowError(vberr::kInvalidCall);
  if (decimals >= 0) style.decimals = decimals;
  style.leadingZero = Tristate(a, 2, style.leadingZero);
  style.parentheses = Tristate(a, 3, style.parentheses);
  style.grouping = Tristate(a, 4, style.grouping);
  return style;
}

std::string Grouped(const std::string& digits) {
  std::string out;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  return out;
}

std::string Format(double value, const NumberStyle& style) {
  DecimalText number = ToDecimal(value, style.decimals, false);
  std::string body = style.grouping ? Grouped(number.integer) : number.integer;
  if (body == "0" && !style.leadingZero && style.decimals > 0) body.clear();
  if (style.decimals > 0) body += "." + number.fraction;
  body = style.prefix + body + style.suffix;
  if (!number.negative || number.IsZero()) return body;
  return style.parentheses ? "(" + body + ")" : "-" + body;
}

Variant FormatWith(const Args& a, NumberStyle style, double scale) {
  if (IsNull(a, 0)) return Variant::Null();
  NumberStyle chosen = StyleFrom(a, std::move(style));
  return Variant::String(Format(ToDouble(a[0]) * scale, chosen));
}

Variant FormatNumber(Runtime&, const Args& a) {
  return FormatWith(a, NumberStyle{}, 1.0);
}

Variant FormatCurrency(Runtime&, const Args& a) {
  NumberStyle style;
  style.prefix = "$";
  style.parentheses = true;
  return FormatWith(a, style, 1.0);
}

Variant FormatPercent(Runtime&, const Args& a) {
  NumberStyle style;
  style.suffix = "%";
  return FormatWith(a, style, 100.0);
}

Variant FormatDateTime(Runtime& r, const Args& a) {
  std::int32_t format = LongOr(a, 1, 0);
  if (format < 0 || format > 4) ThrowError(vberr::kInvalidCall);
  if (IsNull(a, 0)) return Variant::Null();
  double serial = ToDate(a[0], builtins::CurrentYear(r));
  switch (format) {
    case 1:
      return Variant::String(datetime::LongDate(serial));
    case 2:
      return Variant::String(datetime::ShortDate(serial));
    case 3:
      return Variant::String(datetime::LongTime(serial));
    case 4:
      return Variant::String(datetime::ShortTime(serial));
    default:
      return Variant::String(datetime::GeneralDate(serial));
  }
}

constexpr Builtin kFormats[] = {
    {"formatcurrency", "FormatCurrency", 1, 5, FormatCurrency},
    {"formatdatetime", "FormatDateTime", 1, 2, FormatDateTime},
    {"formatnumber", "FormatNumber", 1, 5, FormatNumber},
    {"formatpercent", "FormatPercent", 1, 5, FormatPercent},
};

}  // namespace

std::span<const Builtin> FormatBuiltins() {
  return kFormats;
}

}  // namespace gui::script
