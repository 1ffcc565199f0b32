#include "script/Operators.h"

#include <cmath>

#include "script/Convert.h"
#include "script/DateTime.h"
#include "script/Limits.h"
#include "script/ScriptErrors.h"
#include "script/Utf8.h"

namespace gui::script::ops {

namespace {

enum Rank { kByte, kInteger, kLong, kSingle, kDouble, kCurrency, kDate };

struct Num {
  Rank rank;
  std::int64_t i = 0;
  double d = 0.0;
};

Num ToNum(const Variant& value) {
  Variant holder;
  const Variant& v = Plain(value, holder);
  switch (v.Type()) {
    case VType::Empty:
      return {kInteger};
    case VType::Boolean:
      return {kInteger, v.Bool() ? -1 : 0};
    case VType::Byte:
      return {kByte, v.Int()};
    case VType::Integer:
      return {kInteger, v.Int()};
    case VType::Long:
      return {kLong, v.Int()};
    case VType::Currency:
      return {kCurrency, v.Int()};
    case VType::Single:
      return {kSingle, 0, v.Real()};
    case VType::Double:
      return {kDouble, 0, v.Real()};
    case VType::Date:
      return {kDate, 0, v.Real()};
    default:
      return {kDouble, 0, ToDouble(v)};
  }
}

double AsDouble(const Num& n) {
  if (n.rank <= kLong) return static_cast<double>(n.i);
  if (n.rank == kCurrency) return static_cast<double>(n.i) / 10000.0;
  return n.d;
}

std::int64_t AsCurrency(const Num& n) {
  if (n.rank == kCurrency) return n.i;
  if (n.rank <= kLong) return n.i * 10000;
  return ToCurrency(Variant::Double(n.d));
}

Variant Widen(std::int64_t value, Rank rank) {
  if (rank == kByte && value >= 0 && value <= 255) {
    return Variant::Byte(static_cast<std::uint8_t>(value));
  }
  if (rank <= kInteger && value >= -32768 && value <= 32767) {
    return Variant::Integer(static_cast<std::int16_t>(value));
  }
  if (value >= -2147483648LL && value <= 2147483647LL) {
    return Variant::Long(static_cast<std::int32_t>(value));
  }
  return Variant::Double(static_cast<double>(value));
}

double Checked(double value) {
  if (!std::isfinite(value)) ThrowError(vberr::kOverflow);
  return value;
}

double Apply(Arith op, double a, double b) {
  switch (op) {
    case Arith::Add:
      return a + b;
    case Arith::Subtract:
      return a - b;
    default:
      return a * b;
  }
}

Variant CurrencyArithmetic(Arith op, std::int64_t a, std::int64_t b) {
  std::int64_t result = 0;
  bool overflow = false;
  if (op == Arith::Add) overflow = __builtin_add_overflow(a, b, &result);
  if (op == Arith::Subtract) overflow = __builtin_sub_overflow(a, b, &result);
  if (op == Arith::Multiply) {
    __int128 product = static_cast<__int128>(a) * b;
    __int128 quotient = product / 10000;
    __int128 remainder = product % 10000;
    if (remainder * 2 >= 10000) ++quotient;
    if (remainder * 2 <= -10000) --quotient;
    overflow = quotient > INT64_MAX || quotient < INT64_MIN;
    result = static_cast<std::int64_t>(quotient);
  }
  if (overflow) ThrowError(vberr::kOverflow);
  return Variant::Currency(result);
}

Variant DateArithmetic(Arith op, const Num& a, const Num& b) {
  double result = Checked(Apply(op, AsDouble(a), AsDouble(b)));
  if (op == Arith::Multiply || (op == Arith::Subtract && a.rank == kDate && b.rank == kDate)) {
    return Variant::Double(result);
  }
  if (!datetime::InRange(result)) ThrowError(vberr::kOverflow);
  return Variant::Date(result);
}

Rank Combine(Rank a, Rank b) {
  if ((a == kLong && b == kSingle) || (a == kSingle && b == kLong)) return kDouble;
  return a > b ? a : b;
}

Rank IntegerRank(const Variant& v) {
  if (v.Is(VType::Byte)) return kByte;
  if (v.Is(VType::Integer) || v.Is(VType::Boolean) || v.Is(VType::Empty)) return kInteger;
  return kLong;
}

bool IsText(const Variant& v) {
  return v.Is(VType::String);
}

std::optional<int> CompareNumbers(const Variant& a, const Variant& b) {
  Num x = ToNum(a);
  Num y = ToNum(b);
  if (x.rank <= kLong && y.rank <= kLong) return (x.i > y.i) - (x.i < y.i);
  if (x.rank == kCurrency && y.rank == kCurrency) return (x.i > y.i) - (x.i < y.i);
  double dx = AsDouble(x);
  double dy = AsDouble(y);
  return (dx > dy) - (dx < dy);
}

// A number against text that is not a literal: the number is the lesser.
std::optional<int> CompareMixed(const Variant& a, const Variant& b, bool textCompare, bool aLiteral,
                                bool bLiteral) {
  bool textLeft = IsText(a);
  const Variant& text = textLeft ? a : b;
  const Variant& other = textLeft ? b : a;
  bool textIsLiteral = textLeft ? aLiteral : bLiteral;
  bool otherIsLiteral = textLeft ? bLiteral : aLiteral;
  int sign = textLeft ? 1 : -1;
  if (other.Is(VType::Empty)) return sign * CompareText(text.Str(), "", textCompare);
  if (textIsLiteral) {
    if (std::optional<double> number = ParseNumber(text.Str())) {
      return sign * *CompareNumbers(Variant::Double(*number), other);
    }
  }
  if (otherIsLiteral) return sign * CompareText(text.Str(), ToText(other), textCompare);
  return sign;
}

Variant LogicalBoolean(Logic op, const Variant& a, const Variant& b) {
  bool aNull = a.Is(VType::Null);
  bool bNull = b.Is(VType::Null);
  bool x = !aNull && a.Bool();
  bool y = !bNull && b.Bool();
  switch (op) {
    case Logic::And:
      if ((!aNull && !x) || (!bNull && !y)) return Variant::Boolean(false);
      return aNull || bNull ? Variant::Null() : Variant::Boolean(true);
    case Logic::Or:
      if ((!aNull && x) || (!bNull && y)) return Variant::Boolean(true);
      return aNull || bNull ? Variant::Null() : Variant::Boolean(false);
    case Logic::Imp:
      if ((!aNull && !x) || (!bNull && y)) return Variant::Boolean(true);
      return aNull || bNull ? Variant::Null() : Variant::Boolean(false);
    default:
      if (aNull || bNull) return Variant::Null();
      return Variant::Boolean(op == Logic::Xor ? x != y : x == y);
  }
}

std::int64_t Bitwise(Logic op, std::int64_t x, std::int64_t y) {
  switch (op) {
    case Logic::And:
      return x & y;
    case Logic::Or:
      return x | y;
    case Logic::Xor:
      return x ^ y;
    case Logic::Eqv:
      return ~(x ^ y);
    default:
      return ~x | y;
  }
}

Variant Narrow(std::int64_t bits, Rank rank) {
  if (rank == kByte) return Variant::Byte(static_cast<std::uint8_t>(bits & 0xFF));
  if (rank == kInteger) return Variant::Integer(static_cast<std::int16_t>(bits));
  return Variant::Long(static_cast<std::int32_t>(bits));
}

// Null against a number: And keeps a zero, Or and Imp keep all bits set; else Null.
Variant LogicalWithNull(Logic op, const Variant& a, const Variant& b, Rank rank) {
  bool aNull = a.Is(VType::Null);
  std::int64_t other = ToLong(aNull ? b : a);
  if (op == Logic::And && other == 0) return Narrow(0, rank);
  if (op == Logic::Or && other == -1) return Narrow(-1, rank);
  if (op == Logic::Imp && ((aNull && other == -1) || (!aNull && other == 0))) {
    return Narrow(-1, rank);
  }
  return Variant::Null();
}

}  // namespace

Variant Arithmetic(Arith op, const Variant& left, const Variant& right) {
  if (left.Is(VType::Null) || right.Is(VType::Null)) return Variant::Null();
  if (op == Arith::Add) {
    Variant lh, rh;
    const Variant& a = Plain(left, lh);
    const Variant& b = Plain(right, rh);
    if (IsText(a) && (IsText(b) || b.Is(VType::Empty))) return Concatenate(a, b);
    if (a.Is(VType::Empty) && IsText(b)) return b;
  }
  Num a = ToNum(left);
  Num b = ToNum(right);
  if (a.rank == kDate || b.rank == kDate) return DateArithmetic(op, a, b);
  Rank rank = Combine(a.rank, b.rank);
  switch (rank) {
    case kByte:
    case kInteger:
    case kLong:
      return Widen(op == Arith::Add        ? a.i + b.i
                   : op == Arith::Subtract ? a.i - b.i
                                           : a.i * b.i,
                   rank);
    case kSingle: {
      float result = static_cast<float>(Apply(op, AsDouble(a), AsDouble(b)));
      return Variant::Single(static_cast<float>(Checked(result)));
    }
    case kCurrency:
      return CurrencyArithmetic(op, AsCurrency(a), AsCurrency(b));
    default:
      return Variant::Double(Checked(Apply(op, AsDouble(a), AsDouble(b))));
  }
}

Variant Divide(const Variant& left, const Variant& right) {
  if (left.Is(VType::Null) || right.Is(VType::Null)) return Variant::Null();
  double a = AsDouble(ToNum(left));
  double b = AsDouble(ToNum(right));
  if (b == 0.0) ThrowError(a == 0.0 ? vberr::kOverflow : vberr::kDivisionByZero);
  return Variant::Double(Checked(a / b));
}

Variant IntegerDivide(const Variant& left, const Variant& right) {
  if (left.Is(VType::Null) || right.Is(VType::Null)) return Variant::Null();
  std::int64_t a = ToLong(left);
  std::int64_t b = ToLong(right);
  if (b == 0) ThrowError(vberr::kDivisionByZero);
  return Widen(a / b, Combine(IntegerRank(left), IntegerRank(right)));
}

Variant Modulo(const Variant& left, const Variant& right) {
  if (left.Is(VType::Null) || right.Is(VType::Null)) return Variant::Null();
  std::int64_t a = ToLong(left);
  std::int64_t b = ToLong(right);
  if (b == 0) ThrowError(vberr::kDivisionByZero);
  return Widen(a % b, Combine(IntegerRank(left), IntegerRank(right)));
}

Variant Power(const Variant& left, const Variant& right) {
  if (left.Is(VType::Null) || right.Is(VType::Null)) return Variant::Null();
  double a = AsDouble(ToNum(left));
  double b = AsDouble(ToNum(right));
  if (a == 0.0 && b < 0.0) ThrowError(vberr::kDivisionByZero);
  double result = std::pow(a, b);
  if (std::isnan(result)) ThrowError(vberr::kInvalidCall);
  return Variant::Double(Checked(result));
}

Variant Negate(const Variant& operand) {
  if (operand.Is(VType::Null)) return Variant::Null();
  Num n = ToNum(operand);
  switch (n.rank) {
    case kByte:
    case kInteger:
      return Widen(-n.i, kInteger);
    case kLong:
      return Widen(-n.i, kLong);
    case kSingle:
      return Variant::Single(static_cast<float>(-n.d));
    case kCurrency:
      if (n.i == INT64_MIN) ThrowError(vberr::kOverflow);
      return Variant::Currency(-n.i);
    case kDate:
      return Variant::Date(-n.d);
    default:
      return Variant::Double(-n.d);
  }
}

Variant Concatenate(const Variant& left, const Variant& right) {
  if (left.Is(VType::Null) && right.Is(VType::Null)) return Variant::Null();
  std::string a = ToTextOrEmpty(left);
  const std::string b = ToTextOrEmpty(right);
  if (a.size() + b.size() > limits::kMaxStringBytes) ThrowError(vberr::kOutOfMemory);
  a += b;
  return Variant::String(std::move(a));
}

int CompareText(const std::string& left, const std::string& right, bool textCompare) {
  int result = textCompare ? utf8::Lower(left).compare(utf8::Lower(right)) : left.compare(right);
  return (result > 0) - (result < 0);
}

std::optional<int> Compare(const Variant& left, const Variant& right, bool textCompare,
                           bool leftLiteral, bool rightLiteral) {
  if (left.Is(VType::Null) || right.Is(VType::Null)) return std::nullopt;
  Variant lh, rh;
  const Variant& a = Plain(left, lh);
  const Variant& b = Plain(right, rh);
  if (a.Is(VType::Null) || b.Is(VType::Null)) return std::nullopt;
  if (a.Is(VType::Array) || b.Is(VType::Array)) ThrowError(vberr::kTypeMismatch);
  if (IsText(a) && IsText(b)) return CompareText(a.Str(), b.Str(), textCompare);
  if (!IsText(a) && !IsText(b)) return CompareNumbers(a, b);
  return CompareMixed(a, b, textCompare, leftLiteral, rightLiteral);
}

Variant Logical(Logic op, const Variant& left, const Variant& right) {
  Variant lh, rh;
  const Variant& a = Plain(left, lh);
  const Variant& b = Plain(right, rh);
  bool aBool = a.Is(VType::Boolean) || a.Is(VType::Null);
  bool bBool = b.Is(VType::Boolean) || b.Is(VType::Null);
  if (aBool && bBool) return LogicalBoolean(op, a, b);
  Rank rank = Combine(IntegerRank(a), IntegerRank(b));
  if (a.Is(VType::Null) || b.Is(VType::Null)) return LogicalWithNull(op, a, b, rank);
  return Narrow(Bitwise(op, ToLong(a), ToLong(b)), rank);
}

Variant Not(const Variant& operand) {
  Variant holder;
  const Variant& v = Plain(operand, holder);
  if (v.Is(VType::Null)) return Variant::Null();
  if (v.Is(VType::Boolean)) return Variant::Boolean(!v.Bool());
  return Narrow(~static_cast<std::int64_t>(ToLong(v)), IntegerRank(v));
}

bool SameObject(const Variant& left, const Variant& right) {
  if (!left.Is(VType::Object) || !right.Is(VType::Object)) ThrowError(vberr::kObjectRequired);
  return left.Obj() == right.Obj();
}

}  // namespace gui::script::ops
