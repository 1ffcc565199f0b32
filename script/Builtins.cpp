#include "script/Builtins.h"

#include <string>
#include <unordered_map>

#include "script/BuiltinSupport.h"
#include "script/Convert.h"
#include "script/Limits.h"
#include "script/ScriptErrors.h"

namespace gui::script {

namespace {

std::unordered_map<std::string_view, const Builtin*> BuildTable() {
  std::unordered_map<std::string_view, const Builtin*> table;
  for (auto topic : {StringBuiltins(), ArrayBuiltins(), MathBuiltins(), ConversionBuiltins(),
                     DateBuiltins(), FormatBuiltins(), ObjectBuiltins()}) {
    for (const Builtin& builtin : topic)
      table.emplace(builtin.key, &builtin);
  }
  return table;
}

std::unordered_map<std::string_view, Variant> BuildConstants() {
  std::unordered_map<std::string_view, Variant> constants = {
      {"vbcrlf", Variant::String("\r\n")},
      {"vbnewline", Variant::String("\r\n")},
      {"vbcr", Variant::String("\r")},
      {"vblf", Variant::String("\n")},
      {"vbtab", Variant::String("\t")},
      {"vbnullstring", Variant::String("")},
      {"vbnullchar", Variant::String(std::string(1, '\0'))},
      {"vbformfeed", Variant::String("\f")},
      {"vbverticaltab", Variant::String("\v")},
      {"vbtrue", Variant::Integer(-1)},
      {"vbfalse", Variant::Integer(0)},
      {"vbusedefault", Variant::Integer(-2)},
      {"vbobjecterror", Variant::Long(-2147221504)},
  };
  const std::pair<const char*, std::int16_t> small[] = {
      {"vbbinarycompare", 0}, {"vbtextcompare", 1},   {"vbusesystemdayofweek", 0},
      {"vbsunday", 1},        {"vbmonday", 2},        {"vbtuesday", 3},
      {"vbwednesday", 4},     {"vbthursday", 5},      {"vbfriday", 6},
      {"vbsaturday", 7},      {"vbusesystem", 0},     {"vbfirstjan1", 1},
      {"vbfirstfourdays", 2}, {"vbfirstfullweek", 3}, {"vbgeneraldate", 0},
      {"vblongdate", 1},      {"vbshortdate", 2},     {"vblongtime", 3},
      {"vbshorttime", 4},     {"vbempty", 0},         {"vbnull", 1},
      {"vbinteger", 2},       {"vblong", 3},          {"vbsingle", 4},
      {"vbdouble", 5},        {"vbcurrency", 6},      {"vbdate", 7},
      {"vbstring", 8},        {"vbobject", 9},        {"vberror", 10},
      {"vbboolean", 11},      {"vbvariant", 12},      {"vbdataobject", 13},
      {"vbdecimal", 14},      {"vbbyte", 17},         {"vbarray", 8192},
  };
  for (const auto& [name, value] : small)
    constants.emplace(name, Variant::Integer(value));
  return constants;
}

}  // namespace

const Builtin* FindBuiltin(std::string_view key) {
  static const auto table = BuildTable();
  auto found = table.find(key);
  return found == table.end() ? nullptr : found->second;
}

const Variant* FindConstant(std::string_view key) {
  static const auto constants = BuildConstants();
  auto found = constants.find(key);
  return found == constants.end() ? nullptr : &found->second;
}

namespace builtins {

std::int32_t LongOr(const Args& args, std::size_t i, std::int32_t fallback) {
  return Given(args, i) ? ToLong(args[i]) : fallback;
}

bool TextCompare(const Args& args, std::size_t i) {
  std::int32_t mode = LongOr(args, i, 0);
  if (mode != 0 && mode != 1) ThrowError(vberr::kInvalidCall);
  return mode == 1;
}

int CurrentYear(Runtime& runtime) {
  return runtime.clock().year;
}

void CheckLength(std::size_t bytes) {
  if (bytes > limits::kMaxStringBytes) ThrowError(vberr::kOutOfMemory);
}

}  // namespace builtins

}  // namespace gui::script
