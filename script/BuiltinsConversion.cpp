#include "script/BuiltinSupport.h"
#include "script/Convert.h"
#include "script/DateTime.h"
#include "script/ScriptErrors.h"

namespace gui::script {

namespace {

using builtins::CurrentYear;

Variant CBool(Runtime&, const Args& a) {
  return Variant::Boolean(ToBool(a[0]));
}
Variant CByte(Runtime&, const Args& a) {
  return Variant::Byte(ToByte(a[0]));
}
Variant CCur(Runtime&, const Args& a) {
  return Variant::Currency(ToCurrency(a[0]));
}
Variant CDbl(Runtime&, const Args& a) {
  return Variant::Double(ToDouble(a[0]));
}
Variant CInt(Runtime&, const Args& a) {
  return Variant::Integer(ToInteger(a[0]));
}
Variant CLng(Runtime&, const Args& a) {
  return Variant::Long(ToLong(a[0]));
}
Variant CSng(Runtime&, const Args& a) {
  return Variant::Single(ToSingle(a[0]));
}
Variant CStr(Runtime&, const Args& a) {
  return Variant::String(ToText(a[0]));
}

Variant CDate(Runtime& r, const Args& a) {
  return Variant::Date(ToDate(a[0], CurrentYear(r)));
}

Variant IsDate(Runtime& r, const Args& a) {
  if (a[0].Is(VType::Date)) return Variant::Boolean(true);
  if (!a[0].Is(VType::String)) return Variant::Boolean(false);
  return Variant::Boolean(datetime::Parse(a[0].Str(), CurrentYear(r)).has_value());
}

Variant IsEmpty(Runtime&, const Args& a) {
  return Variant::Boolean(a[0].Is(VType::Empty));
}
Variant IsNull(Runtime&, const Args& a) {
  return Variant::Boolean(a[0].Is(VType::Null));
}
Variant IsNumeric(Runtime&, const Args& a) {
  return Variant::Boolean(IsNumericValue(a[0]));
}
Variant IsObject(Runtime&, const Args& a) {
  return Variant::Boolean(a[0].Is(VType::Object));
}
Variant TypeNameOf(Runtime&, const Args& a) {
  return Variant::String(TypeName(a[0]));
}

Variant VarType(Runtime&, const Args& a) {
  return Variant::Integer(static_cast<std::int16_t>(a[0].Type()));
}

constexpr Builtin kConversions[] = {
    {"cbool", "CBool", 1, 1, CBool},
    {"cbyte", "CByte", 1, 1, CByte},
    {"ccur", "CCur", 1, 1, CCur},
    {"cdate", "CDate", 1, 1, CDate},
    {"cdbl", "CDbl", 1, 1, CDbl},
    {"cint", "CInt", 1, 1, CInt},
    {"clng", "CLng", 1, 1, CLng},
    {"csng", "CSng", 1, 1, CSng},
    {"cstr", "CStr", 1, 1, CStr},
    {"isdate", "IsDate", 1, 1, IsDate},
    {"isempty", "IsEmpty", 1, 1, IsEmpty},
    {"isnull", "IsNull", 1, 1, IsNull},
    {"isnumeric", "IsNumeric", 1, 1, IsNumeric},
    {"isobject", "IsObject", 1, 1, IsObject},
    {"typename", "TypeName", 1, 1, TypeNameOf},
    {"vartype", "VarType", 1, 1, VarType},
};

}  // namespace

std::span<const Builtin> ConversionBuiltins() {
  return kConversions;
}

}  // namespace gui::script
