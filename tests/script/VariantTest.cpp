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

TEST(Variant, ArraysAreCopiedOnWrite) {
  Variant a = Variant::Array(std::make_shared<ArrayValue>(std::vector<std::int32_t>{2}, false));
  Variant b = a;
  b.MutableArr().Cells()[0] = Variant::Integer(7);
  EXPECT_TRUE(a.Arr()->Cells()[0].Is(VType::Empty));
  EXPECT_EQ(b.Arr()->Cells()[0].Int(), 7);
  ArrayValue& own = b.MutableArr();
  EXPECT_EQ(&own, b.Arr().get());
}

TEST(Variant, ArrayCellsAreAddressedFirstSubscriptFastest) {
  ArrayValue grid({1, 2}, true);
  grid.At({1, 0}) = Variant::Integer(1);
  grid.At({0, 1}) = Variant::Integer(2);
  EXPECT_EQ(grid.Cells()[1].Int(), 1);
  EXPECT_EQ(grid.Cells()[2].Int(), 2);
  EXPECT_EQ(ErrorOf([&] { grid.At({2, 0}); }), vberr::kSubscript);
  EXPECT_EQ(ErrorOf([&] { grid.At({0}); }), vberr::kSubscript);
  grid.Resize({1, 3}, true);
  EXPECT_EQ(grid.At({0, 1}).Int(), 2);
  EXPECT_EQ(ErrorOf([&] { grid.Resize({2, 3}, true); }), vberr::kSubscript);
}

TEST(Variant, LiveMemoryIsCountedAndGivenBack) {
  std::size_t half = limits::kMaxLiveBytes / 2 + 1;
  {
    std::vector<Variant> cells;
    cells.push_back(Variant::String(std::string(limits::kMaxStringBytes, 'x')));
    EXPECT_EQ(ErrorOf([&] { Variant::String(std::string(limits::kMaxStringBytes + 1, 'x')); }),
              vberr::kOutOfMemory);
    EXPECT_EQ(
        ErrorOf([&] { ArrayValue({static_cast<std::int32_t>(half / sizeof(Variant))}, false); }),
        0);
    ArrayValue first({static_cast<std::int32_t>(half / sizeof(Variant))}, false);
    EXPECT_EQ(
        ErrorOf([&] { ArrayValue({static_cast<std::int32_t>(half / sizeof(Variant))}, false); }),
        vberr::kOutOfMemory);
  }
  ArrayValue again({static_cast<std::int32_t>(half / sizeof(Variant))}, false);
  EXPECT_EQ(again.Cells().size(), half / sizeof(Variant) + 1);
}

struct NumberCase {
  Variant value;
  const char* text;
};

TEST(Variant, NumbersWriteAsCStrDoes) {
  const NumberCase cases[] = {
      {Variant::Double(0.1), "0.1"},
      {Variant::Double(-0.0), "0"},
      {Variant::Double(1e15), "1E+15"},
      {Variant::Double(123456789012345.0), "123456789012345"},
      {Variant::Double(1.0 / 3.0), "0.333333333333333"},
      {Variant::Double(2.5e-5), "2.5E-05"},
      {Variant::Single(1.0f / 3.0f), "0.3333333"},
      {Variant::Currency(-12345), "-1.2345"},
      {Variant::Currency(20000), "2"},
      {Variant::Date(39144.5), "3/3/2007 12:00:00 PM"},
      {Variant::Boolean(false), "False"},
      {Variant::Byte(255), "255"},
  };
  for (const NumberCase& c : cases)
    EXPECT_EQ(ToText(c.value), c.text);
}

TEST(Variant, TextReadsAsANumberOnlyWhenItIsOne) {
  EXPECT_EQ(ParseNumber(" -1,234.5e1 "), -12345.0);
  EXPECT_EQ(ParseNumber("&HFF"), 255.0);
  EXPECT_EQ(ParseNumber("&hFFFF"), -1.0);
  EXPECT_EQ(ParseNumber("+.5"), 0.5);
  EXPECT_FALSE(ParseNumber("1.2.3"));
  EXPECT_FALSE(ParseNumber("inf"));
  EXPECT_FALSE(ParseNumber("1e"));
  EXPECT_FALSE(ParseNumber(",1"));
  EXPECT_FALSE(ParseNumber("&H"));
  EXPECT_FALSE(ParseNumber(""));
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
