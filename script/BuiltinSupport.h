#pragma once

#include <cstdint>
#include <string>

#include "script/Builtins.h"

// Argument helpers shared by the built-in function tables.
namespace gui::script::builtins {

inline bool Given(const Args& args, std::size_t i) {
  return i < args.size() && !args[i].Is(VType::Error);
}

inline bool IsNull(const Args& args, std::size_t i) {
  return i < args.size() && args[i].Is(VType::Null);
}

std::int32_t LongOr(const Args& args, std::size_t i, std::int32_t fallback);
// vbBinaryCompare (0) or vbTextCompare (1); true for text. Anything else is invalid.
bool TextCompare(const Args& args, std::size_t i);
int CurrentYear(Runtime& runtime);
// Raises "Out of memory" when a result of `bytes` would pass the string limit.
void CheckLength(std::size_t bytes);

}  // namespace gui::script::builtins
