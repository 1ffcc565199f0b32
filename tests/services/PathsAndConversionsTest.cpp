#include <gtest/gtest.h>

#include "services/Error.h"
#include "services/modConvert.h"
#include "services/modPaths.h"

namespace gui {
namespace {

TEST(Paths, SplitAndJoinOnTheSeparator) {
  EXPECT_EQ(GetFolderPart("/a/b/c.pdf"), "/a/b/");
  EXPECT_EQ(GetFolderPart("c.pdf"), "");
  EXPECT_EQ(StripTrailingBackslashes("/a///"), "/a");
  EXPECT_EQ(StripTrailingBackslashes("/a"), "/a");
  EXPECT_EQ(JoinPath("/a", "b"), "/a/b");
  EXPECT_EQ(JoinPath("/a/", "b"), "/a/b");
  EXPECT_EQ(NormalizeSeparators("a\\b/c"), "a\\b/c");
}

TEST(Paths, ShareRootsAndDrives) {
  EXPECT_TRUE(IsUncShareRoot("//srv/share"));
  EXPECT_TRUE(IsUncShareRoot("//srv/share/"));
  EXPECT_FALSE(IsUncShareRoot("//srv"));
  EXPECT_FALSE(IsUncShareRoot("//srv/share/dir"));
  EXPECT_FALSE(IsUncShareRoot("/srv/share"));
  EXPECT_TRUE(IsLogicalDrive("/"));
  EXPECT_FALSE(IsLogicalDrive("/home"));
  EXPECT_FALSE(IsLogicalDrive(""));
}

TEST(Paths, MakeValidFileNameReplacesTheNineAndTrailingDots) {
  EXPECT_EQ(MakeValidFileName("a:b?."), "a_b_");
  EXPECT_EQ(MakeValidFileName("\\/:*?\"<>|"), "_________");
  EXPECT_EQ(MakeValidFileName("Q1: results..."), "Q1_ results");
  EXPECT_EQ(MakeValidFileName("..."), "");
  EXPECT_EQ(MakeValidFileName("Grüße.pdf"), "Grüße.pdf");
}

TEST(Conversions, ToLongSafeRoundsHalvesToEvenAndNeverFails) {
  struct Case {
    const char* text;
    std::int32_t value;
  } cases[] = {{"12", 12},
               {" 7 ", 7},
               {"2.5", 2},
               {"3.5", 4},
               {"-2.5", -2},
               {"1e3", 1000},
               {"&H1F", 31},
               {"&o17", 15},
               {"", 0},
               {"abc", 0},
               {"12abc", 0},
               {"99999999999", 0},
               {"&HFFFFFFFF", -1},
               {"2147483647", 2147483647},
               {"nan", 0}};
  for (const Case& c : cases)
    EXPECT_EQ(ToLongSafe(std::string(c.text)), c.value) << c.text;
}

TEST(Conversions, ToStringSafeOfMapsAndRegistryValues) {
  EXPECT_EQ(ToStringSafe(DictionaryValue(std::string("t"))), "t");
  EXPECT_EQ(ToStringSafe(DictionaryValue(NewDictionary())), "");
  platform::RegistryValue number;
  number.kind = platform::RegistryValue::Kind::Number;
  number.number = 5;
  EXPECT_EQ(ToStringSafe(number), "5");
  EXPECT_EQ(ToStringSafe(platform::RegistryValue{}), "");
}

TEST(Conversions, TimestampsTextsAndBits) {
  EXPECT_EQ(FormatTimestamp({2007, 3, 5, 7, 8, 9}), "2007-03-05 07:08:09");
  EXPECT_EQ(TrimAtNul(std::string("ab\0cd", 5)), "ab");
  EXPECT_EQ(TrimAtNul("abc"), "abc");
  EXPECT_EQ(UrlEncode("Scripting.Dictionary"), "Scripting.Dictionary");
  EXPECT_EQ(UrlEncode("a/b x"), "a%2Fb+x");
  EXPECT_EQ(UrlEncode("ü"), "%C3%BC");
  EXPECT_EQ(Bit(1), 1);
  EXPECT_EQ(Bit(31), 1073741824);
  try {
    Bit(0);
    FAIL();
  } catch (const Error& failure) {
    EXPECT_EQ(failure.Number(), 1000);
    EXPECT_EQ(failure.Description(), "Do not call the Bit function with position values below 1.");
  }
  try {
    Bit(32);
    FAIL();
  } catch (const Error& failure) {
    EXPECT_EQ(failure.Number(), 6);
  }
}

}  // namespace
}  // namespace gui
