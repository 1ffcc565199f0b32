#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "script/ArrayValue.h"
#include "script/Convert.h"
#include "script/Limits.h"
#include "script/ScriptErrors.h"

namespace gui::script {
namespace {

long ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const ScriptException& e) {
    return e.number;
  }
  return 0;
}

TEST(Variant, CopiesKeepTheirOwnValues) {
  Variant text = Variant::String(std::string(100, 'a'));
  Variant copy = text;
  Variant moved = std::move(text);
  EXPECT_EQ(copy.Str(), moved.Str());
  EXPECT_TRUE(text.Is(VType::Empty));
  copy = Variant::Long(5);
  EXPECT_EQ(moved.Str().size(), 100u);
  copy = copy;
  EXPECT_EQ(copy.Int(), 5);
}

// The longest string and half the live memory are allowed, one byte more is not.
TEST(Variant, LiveMemoryIsCountedToItsLimitsAndGivenBack) {
  const auto cells = static_cast<std::int32_t>((limits::kMaxLiveBytes / 2 + 1) / sizeof(Variant));
  {
    Variant longest = Variant::String(std::string(limits::kMaxStringBytes, 'x'));
    EXPECT_EQ(ErrorOf([] { Variant::String(std::string(limits::kMaxStringBytes + 1, 'x')); }),
              vberr::kOutOfMemory);
    ArrayValue first({cells}, false);
    EXPECT_EQ(ErrorOf([&] { ArrayValue({cells}, false); }), vberr::kOutOfMemory);
  }
  EXPECT_EQ(ArrayValue({cells}, false).Cells().size(), cells + 1u);
}

TEST(Variant, TextReadsAsANumberOnlyWhenItIsOne) {
  EXPECT_EQ(ParseNumber(" -1,234.5e1 "), -12345.0);
  EXPECT_EQ(ParseNumber("&HFF"), 255.0);
  EXPECT_EQ(ParseNumber("&hFFFF"), -1.0);
  EXPECT_EQ(ParseNumber("+.5"), 0.5);
  for (const char* text : {"1.2.3", "inf", "1e", ",1", "&H", ""})
    EXPECT_FALSE(ParseNumber(text)) << text;
}

TEST(Variant, ConversionsRoundHalfToEvenAndCheckRanges) {
  EXPECT_EQ(ToLong(Variant::Double(2.5)), 2);
  EXPECT_EQ(ToLong(Variant::Double(-3.5)), -4);
  EXPECT_EQ(ToInteger(Variant::String("32767.4")), 32767);
  EXPECT_EQ(ErrorOf([] { ToInteger(Variant::String("32767.5")); }), vberr::kOverflow);
  EXPECT_EQ(ErrorOf([] { ToByte(Variant::Integer(256)); }), vberr::kOverflow);
  EXPECT_EQ(ErrorOf([] { ToLong(Variant::Double(std::nan(""))); }), vberr::kOverflow);
  EXPECT_EQ(ErrorOf([] { ToDouble(Variant::Null()); }), vberr::kInvalidNull);
  EXPECT_EQ(ErrorOf([] { ToBool(Variant::String("yes")); }), vberr::kTypeMismatch);
  EXPECT_EQ(ToCurrency(Variant::Double(0.00005)), 0);
  EXPECT_EQ(ToCurrency(Variant::Double(0.00015)), 2);
}

}  // namespace
}  // namespace gui::script
