#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "script/Runtime.h"
#include "script/Variant.h"

namespace gui::script {

using Args = std::vector<Variant>;
using BuiltinFunction = Variant (*)(Runtime& runtime, const Args& args);

// A function of the VBScript library; arguments left out arrive as Variant::Missing.
struct Builtin {
  std::string_view key;  // lower case
  std::string_view name;
  int minArgs;
  int maxArgs;
  BuiltinFunction function;
};

const Builtin* FindBuiltin(std::string_view key);
// vbCrLf, vbTextCompare and the other named constants, by lower-case name.
const Variant* FindConstant(std::string_view key);

// The library, one table per topic.
std::span<const Builtin> StringBuiltins();
std::span<const Builtin> ArrayBuiltins();
std::span<const Builtin> MathBuiltins();
std::span<const Builtin> ConversionBuiltins();
std::span<const Builtin> DateBuiltins();
std::span<const Builtin> FormatBuiltins();
std::span<const Builtin> ObjectBuiltins();

}  // namespace gui::script
