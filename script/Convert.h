#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "script/Variant.h"

// VBScript's coercions between subtypes, with its errors: "Type mismatch" for text that is no
// number, "Overflow" outside a subtype's range, "Invalid use of Null" where Null cannot go.
namespace gui::script {

// `value` itself, or the default property of the object it holds (kept in `holder`).
const Variant& Plain(const Variant& value, Variant& holder);

// A number written as VBScript reads it: blanks around it, sign, thousands separators, decimals,
// exponent, "&H" and "&O" prefixes. Never uses the user's locale.
std::optional<double> ParseNumber(std::string_view text);

double ToDouble(const Variant& value);
float ToSingle(const Variant& value);
// Integer conversions round half to even.
std::int32_t ToLong(const Variant& value);
std::int16_t ToInteger(const Variant& value);
std::uint8_t ToByte(const Variant& value);
// The value times 10,000.
std::int64_t ToCurrency(const Variant& value);
bool ToBool(const Variant& value);
// A date serial; text is read as a date, a date without a year in `currentYear`.
double ToDate(const Variant& value, int currentYear);
// CStr.
std::string ToText(const Variant& value);
// CStr, with Null (and an argument left out) giving "".
std::string ToTextOrEmpty(const Variant& value);

// A number as CStr writes it, with `digits` significant digits (15 for Double, 7 for Single).
std::string NumberText(double value, int digits);
std::string CurrencyText(std::int64_t scaled);
double RoundHalfEven(double value);
// The value of a number as a variant of the smallest subtype among Integer, Long and Double.
Variant FitInteger(double value);

bool IsNumericValue(const Variant& value);
std::string TypeName(const Variant& value);

}  // namespace gui::script
