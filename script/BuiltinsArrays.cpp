#include "script/ArrayValue.h"
#include "script/BuiltinSupport.h"
#include "script/Convert.h"
#include "script/ScriptErrors.h"
#include "script/Utf8.h"

namespace gui::script {

namespace {

using builtins::CheckLength;
using builtins::Given;
using builtins::IsNull;
using builtins::LongOr;

const ArrayValue& ArrayArgument(const Variant& value) {
  if (!value.Is(VType::Array)) ThrowError(vberr::kTypeMismatch);
  return *value.Arr();
}

const ArrayValue& ListArgument(const Variant& value) {
  const ArrayValue& array = ArrayArgument(value);
  if (array.Dimensions() != 1) ThrowError(vberr::kSubscript);
  return array;
}

Variant Bound(const Args& a, bool upper) {
  const ArrayValue& array = ArrayArgument(a[0]);
  std::int32_t dimension = LongOr(a, 1, 1);
  if (dimension < 1 || dimension > array.Dimensions()) ThrowError(vberr::kSubscript);
  return Variant::Long(upper ? array.Upper(dimension - 1) : 0);
}

Variant MakeArray(Runtime&, const Args& a) {
  std::vector<Variant> cells(a.begin(), a.end());
  return Variant::Array(ArrayValue::FromCells(std::move(cells)));
}

Variant IsArray(Runtime&, const Args& a) {
  return Variant::Boolean(a[0].Is(VType::Array));
}
Variant LBound(Runtime&, const Args& a) {
  return Bound(a, false);
}
Variant UBound(Runtime&, const Args& a) {
  return Bound(a, true);
}

Variant Split(Runtime&, const Args& a) {
  if (IsNull(a, 0)) ThrowError(vberr::kInvalidNull);
  const std::string text = ToText(a[0]);
  const std::string delimiter = Given(a, 1) ? ToText(a[1]) : " ";
  std::int32_t limit = LongOr(a, 2, -1);
  if (limit < -1) ThrowError(vberr::kInvalidCall);
  bool textMode = builtins::TextCompare(a, 3);
  std::vector<Variant> parts;
  if (text.empty() || limit == 0) return Variant::Array(ArrayValue::FromCells(std::move(parts)));
  const std::string hay = textMode ? utf8::Lower(text) : text;
  const std::string needle = textMode ? utf8::Lower(delimiter) : delimiter;
  std::size_t pos = 0;
  while (!needle.empty() && (limit < 0 || static_cast<std::int32_t>(parts.size()) < limit - 1)) {
    std::size_t hit = hay.find(needle, pos);
    if (hit == std::string::npos) break;
    parts.push_back(Variant::String(text.substr(pos, hit - pos)));
    pos = hit + needle.size();
  }
  parts.push_back(Variant::String(text.substr(pos)));
  return Variant::Array(ArrayValue::FromCells(std::move(parts)));
}

Variant Join(Runtime&, const Args& a) {
  const ArrayValue& list = ListArgument(a[0]);
  const std::string delimiter = Given(a, 1) ? ToText(a[1]) : " ";
  std::string out;
  bool first = true;
  for (const Variant& cell : list.Cells()) {
    std::string piece = ToTextOrEmpty(cell);
    CheckLength(out.size() + piece.size() + (first ? 0 : delimiter.size()));
    if (!first) out += delimiter;
    out += piece;
    first = false;
  }
  return Variant::String(std::move(out));
}

Variant Filter(Runtime&, const Args& a) {
  const ArrayValue& list = ListArgument(a[0]);
  if (IsNull(a, 1)) ThrowError(vberr::kInvalidNull);
  const std::string value = ToText(a[1]);
  bool include = !Given(a, 2) || ToBool(a[2]);
  bool textMode = builtins::TextCompare(a, 3);
  const std::string needle = textMode ? utf8::Lower(value) : value;
  std::vector<Variant> kept;
  for (const Variant& cell : list.Cells()) {
    std::string text = ToTextOrEmpty(cell);
    bool found = (textMode ? utf8::Lower(text) : text).find(needle) != std::string::npos;
    if (found == include) kept.push_back(Variant::String(std::move(text)));
  }
  return Variant::Array(ArrayValue::FromCells(std::move(kept)));
}

constexpr Builtin kArrays[] = {
    {"array", "Array", 0, 1 << 14, MakeArray}, {"filter", "Filter", 2, 4, Filter},
    {"isarray", "IsArray", 1, 1, IsArray},     {"join", "Join", 1, 2, Join},
    {"lbound", "LBound", 1, 2, LBound},        {"split", "Split", 1, 4, Split},
    {"ubound", "UBound", 1, 2, UBound},
};

}  // namespace

std::span<const Builtin> ArrayBuiltins() {
  return kArrays;
}

}  // namespace gui::script
