#pragma once

#include <chrono>
#include <cstddef>

// Bounds that keep a hostile or broken macro from taking the print job down with it.
namespace gui::script::limits {

// Longest single string a script may build.
constexpr std::size_t kMaxStringBytes = std::size_t{8} << 20;
// Large strings and array cells alive at once, over every engine of a thread.
constexpr std::size_t kMaxLiveBytes = std::size_t{128} << 20;
// Strings up to this size are left out of the live count: their number is bounded by the cells.
constexpr std::size_t kUncountedStringBytes = 64;
// Nested procedure calls before "Out of stack space".
constexpr int kMaxCallDepth = 1000;
// Machine stack one evaluation may use before "Out of stack space".
constexpr std::size_t kMaxStackBytes = std::size_t{2} << 20;
// Nesting of blocks and parentheses, and height of an expression tree, the parser accepts.
constexpr int kMaxNesting = 200;
constexpr int kMaxExpressionHeight = 1000;
// VBScript's own limit on the length of a name.
constexpr std::size_t kMaxIdentifier = 255;
constexpr std::chrono::milliseconds kDefaultTimeBudget{10000};

}  // namespace gui::script::limits
