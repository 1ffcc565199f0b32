#include <cmath>
#include <cstring>

#include "script/BuiltinSupport.h"
#include "script/Convert.h"
#include "script/DecimalText.h"
#include "script/Operators.h"
#include "script/ScriptErrors.h"

namespace gui::script {

namespace {

using builtins::Given;
using builtins::IsNull;

double Atan(double x) {
  return std::atan(x);
}
double Cosine(double x) {
  return std::cos(x);
}
double Sine(double x) {
  return std::sin(x);
}
double Tangent(double x) {
  return std::tan(x);
}
double Exponent(double x) {
  return std::exp(x);
}
double SquareRoot(double x) {
  return std::sqrt(x);
}
double Logarithm(double x) {
  return std::log(x);
}
double Floor(double x) {
  return std::floor(x);
}
double Truncate(double x) {
  return std::trunc(x);
}

Variant Real(double value) {
  if (!std::isfinite(value)) ThrowError(vberr::kOverflow);
  return Variant::Double(value);
}

// Numbers stay in their subtype; text, Boolean and Empty become numbers first.
Variant Numeric(const Variant& value) {
  Variant holder;
  const Variant& v = Plain(value, holder);
  switch (v.Type()) {
    case VType::Empty:
      return Variant::Integer(0);
    case VType::Boolean:
      return Variant::Integer(v.Bool() ? -1 : 0);
    case VType::String:
      return Variant::Double(ToDouble(v));
    default:
      if (v.IsNumeric() || v.Is(VType::Date)) return v;
      ThrowError(vberr::kTypeMismatch);
  }
}

// Int and Fix: whole numbers of the same subtype, rounding down or toward zero.
Variant Whole(const Args& a, double (*round)(double)) {
  if (IsNull(a, 0)) return Variant::Null();
  Variant v = Numeric(a[0]);
  switch (v.Type()) {
    case VType::Single:
      return Variant::Single(static_cast<float>(round(v.Real())));
    case VType::Double:
      return Variant::Double(round(v.Real()));
    case VType::Date:
      return Variant::Date(round(v.Real()));
    case VType::Currency:
      return Variant::Currency(
          static_cast<std::int64_t>(round(static_cast<double>(v.Int()) / 1e4)) * 10000);
    default:
      return v;
  }
}

Variant Int(Runtime&, const Args& a) {
  return Whole(a, Floor);
}
Variant Fix(Runtime&, const Args& a) {
  return Whole(a, Truncate);
}

Variant Abs(Runtime&, const Args& a) {
  if (IsNull(a, 0)) return Variant::Null();
  Variant v = Numeric(a[0]);
  return ToDouble(v) < 0 ? ops::Negate(v) : v;
}

Variant Sgn(Runtime&, const Args& a) {
  if (IsNull(a, 0)) return Variant::Null();
  double d = ToDouble(Numeric(a[0]));
  return Variant::Integer(static_cast<std::int16_t>((d > 0) - (d < 0)));
}

Variant Round(Runtime&, const Args& a) {
  std::int32_t decimals = builtins::LongOr(a, 1, 0);
  if (decimals < 0 || decimals > 15) ThrowError(vberr::kInvalidCall);
  if (IsNull(a, 0)) return Variant::Null();
  Variant v = Numeric(a[0]);
  if (v.Is(VType::Byte) || v.Is(VType::Integer) || v.Is(VType::Long)) return v;
  double rounded = ToDecimal(ToDouble(v), decimals, true).Value();
  if (v.Is(VType::Single)) return Variant::Single(static_cast<float>(rounded));
  if (v.Is(VType::Currency)) return Variant::Currency(ToCurrency(Variant::Double(rounded)));
  return Real(rounded);
}

template <double (*F)(double)>
Variant Math(Runtime&, const Args& a) {
  if (IsNull(a, 0)) return Variant::Null();
  return Real(F(ToDouble(a[0])));
}

Variant Sqr(Runtime& r, const Args& a) {
  if (!IsNull(a, 0) && ToDouble(a[0]) < 0) ThrowError(vberr::kInvalidCall);
  return Math<SquareRoot>(r, a);
}

Variant Log(Runtime& r, const Args& a) {
  if (!IsNull(a, 0) && ToDouble(a[0]) <= 0) ThrowError(vberr::kInvalidCall);
  return Math<Logarithm>(r, a);
}

Variant InRadix(const Args& a, int bitsPerDigit) {
  if (IsNull(a, 0)) return Variant::Null();
  Variant v = Numeric(a[0]);
  std::uint32_t bits = static_cast<std::uint32_t>(ToLong(v));
  if (v.Is(VType::Integer)) bits &= 0xFFFF;
  const char* digits = "0123456789ABCDEF";
  std::string text;
  do {
    text.insert(text.begin(), digits[bits & ((1u << bitsPerDigit) - 1)]);
    bits >>= bitsPerDigit;
  } while (bits != 0);
  return Variant::String(std::move(text));
}

Variant Hex(Runtime&, const Args& a) {
  return InRadix(a, 4);
}
Variant Oct(Runtime&, const Args& a) {
  return InRadix(a, 3);
}

// VBScript's Rnd: a 24-bit linear congruential sequence.
Variant Rnd(Runtime& r, const Args& a) {
  double x = Given(a, 0) ? ToDouble(a[0]) : 1.0;
  if (x == 0.0) return Variant::Single(r.lastRnd);
  if (x < 0.0) {
    float f = static_cast<float>(x);
    std::uint32_t bits = 0;
    std::memcpy(&bits, &f, sizeof bits);
    r.rndSeed = (bits + (bits >> 24)) & 0xFFFFFF;
  }
  r.rndSeed = (r.rndSeed * 1140671485u + 12820163u) & 0xFFFFFF;
  r.lastRnd = static_cast<float>(r.rndSeed) / 16777216.0f;
  return Variant::Single(r.lastRnd);
}

Variant Randomize(Runtime& r, const Args& a) {
  double seed = 0;
  if (Given(a, 0)) {
    seed = ToDouble(a[0]);
  } else {
    LocalDateTime now = r.clock();
    seed = now.hour * 3600.0 + now.minute * 60.0 + now.second + now.millisecond / 1000.0;
  }
  std::uint64_t bits = 0;
  std::memcpy(&bits, &seed, sizeof bits);
  std::uint32_t mixed = static_cast<std::uint32_t>(bits >> 32) ^ static_cast<std::uint32_t>(bits);
  r.rndSeed = (r.rndSeed & 0xFF) | (((mixed >> 8) ^ mixed) & 0xFFFF00);
  return {};
}

constexpr Builtin kMath[] = {
    {"abs", "Abs", 1, 1, Abs},          {"atn", "Atn", 1, 1, Math<Atan>},
    {"cos", "Cos", 1, 1, Math<Cosine>}, {"exp", "Exp", 1, 1, Math<Exponent>},
    {"fix", "Fix", 1, 1, Fix},          {"hex", "Hex", 1, 1, Hex},
    {"int", "Int", 1, 1, Int},          {"log", "Log", 1, 1, Log},
    {"oct", "Oct", 1, 1, Oct},          {"randomize", "Randomize", 0, 1, Randomize},
    {"rnd", "Rnd", 0, 1, Rnd},          {"round", "Round", 1, 2, Round},
    {"sgn", "Sgn", 1, 1, Sgn},          {"sin", "Sin", 1, 1, Math<Sine>},
    {"sqr", "Sqr", 1, 1, Sqr},          {"tan", "Tan", 1, 1, Math<Tangent>},
};

}  // namespace

std::span<const Builtin> MathBuiltins() {
  return kMath;
}

}  // namespace gui::script
