#pragma once

#include <optional>

#include "script/Variant.h"

// VBScript's operators on variants. Integer subtypes that overflow widen (Byte to Integer to Long
// to Double) as VBScript's variant arithmetic does; Null propagates.
namespace gui::script::ops {

enum class Arith { Add, Subtract, Multiply };

Variant Arithmetic(Arith op, const Variant& left, const Variant& right);
Variant Divide(const Variant& left, const Variant& right);
Variant IntegerDivide(const Variant& left, const Variant& right);
Variant Modulo(const Variant& left, const Variant& right);
Variant Power(const Variant& left, const Variant& right);
Variant Negate(const Variant& operand);
Variant Concatenate(const Variant& left, const Variant& right);

// -1, 0 or 1; nullopt when either side is Null. A literal compared with a value of the other
// kind (number against text) is converted to that kind first, as VBScript does; otherwise a
// number is less than any text.
std::optional<int> Compare(const Variant& left, const Variant& right, bool textCompare,
                           bool leftLiteral = false, bool rightLiteral = false);
// Text comparison as StrComp does it, binary or without regard to case.
int CompareText(const std::string& left, const std::string& right, bool textCompare);

enum class Logic { And, Or, Xor, Eqv, Imp };

Variant Logical(Logic op, const Variant& left, const Variant& right);
Variant Not(const Variant& operand);
// The Is operator: both sides must be objects.
bool SameObject(const Variant& left, const Variant& right);

}  // namespace gui::script::ops
