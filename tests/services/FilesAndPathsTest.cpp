#include "services/modFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/Files.h"
#include "services/Error.h"
#include "services/modConvert.h"
#include "services/modPaths.h"
#include "tests/support/Raised.h"
#include "tests/support/TempFolder.h"

namespace gui {
namespace {

namespace fs = std::filesystem;
using test::GetFile;
using test::PutFile;
using test::TempFolder;

using test::Raised;

TEST(Files, ReadAndWriteWholeFilesOrFailWithTheRuntimesNumbers) {
  TempFolder folder;
  PutFile(folder / "empty", "");
  EXPECT_TRUE(ReadFile(folder / "empty").empty());
  PutFile(folder / "long", std::string(100, 'x'));
  WriteFile(folder / "long", std::vector<unsigned char>(10, 'y'));
  EXPECT_EQ(GetFile(folder / "long"), std::string(10, 'y'));
  WriteTextFile(folder / "long", "");
  EXPECT_EQ(fs::file_size(folder / "long"), 0u);
  WriteTextFile(folder / "text", "a\r\nb");
  EXPECT_EQ(ReadTextFile(folder / "text"), "a\r\nb");
  EXPECT_EQ(Raised([] { ReadFile(""); }).Number(), 1000);
  EXPECT_EQ(Raised([&] { ReadFile(folder / "missing"); }).Number(), 53);
  EXPECT_EQ(Raised([&] { ReadTextFile(folder / "missing"); }).Number(), 53);
  EXPECT_EQ(Raised([&] { ReadTextFile(folder.Path()); }).Number(), 53);
  EXPECT_EQ(Raised([&] { WriteTextFile(folder / "no/x.txt", "a"); }).Number(), 76);
}

TEST(Files, ExistenceTestsTellFilesFromFoldersAndMatchWildcards) {
  TempFolder folder;
  PutFile(folder / "report.pdf", "x");
  fs::create_directory(folder / "sub");
  EXPECT_TRUE(FileExists(folder / "report.pdf"));
  EXPECT_FALSE(FileExists(folder / "sub"));
  EXPECT_FALSE(FileExists(""));
  EXPECT_TRUE(FileExists(folder / "*.pdf"));
  EXPECT_TRUE(FileExists(folder / "rep?rt.*"));
  EXPECT_FALSE(FileExists(folder / "*.doc"));
  EXPECT_TRUE(FolderExists(folder / "sub"));
  EXPECT_TRUE(FolderExists(folder / "sub///"));
  EXPECT_TRUE(FolderExists("/"));
  EXPECT_FALSE(FolderExists(folder / "report.pdf"));
  EXPECT_FALSE(FolderExists(""));
}

// A name as long as the file system allows is replaced like any other, and a failed write leaves
// the older file and nothing beside it.
TEST(Files, ReplaceThroughNewFileTakesTheLongestNamesAndLeavesNothingOnFailure) {
  TempFolder folder;
  std::string longest = folder / (std::string(251, 'x') + ".pdf");
  PutFile(longest, "old");
  ReplaceThroughNewFile(longest, [](const std::string& file) { WriteTextFile(file, "new"); });
  EXPECT_EQ(GetFile(longest), "new");
  std::string written;
  Error failure = Raised([&] {
    ReplaceThroughNewFile(longest, [&](const std::string& file) {
      written = file;
      WriteTextFile(file, "half");
      throw Error(61, "Disk full");
    });
  });
  EXPECT_EQ(failure.Number(), 61);
  EXPECT_EQ(GetFolderPart(written), folder.Path() + "/");
  EXPECT_EQ(GetFile(longest), "new");
  std::vector<fs::path> left(fs::directory_iterator(folder.Path()), fs::directory_iterator());
  EXPECT_EQ(left, std::vector<fs::path>{longest});
}

TEST(Files, RenameToFreeNameNeverReplacesAFile) {
  TempFolder folder;
  PutFile(folder / "a", "first");
  PutFile(folder / "taken", "other");
  EXPECT_EQ(Raised([&] { platform::RenameToFreeName(folder / "a", folder / "taken"); }).Number(),
            58);
  EXPECT_EQ(GetFile(folder / "a") + GetFile(folder / "taken"), "firstother");
  platform::RenameToFreeName(folder / "a", folder / "free");
  EXPECT_EQ(GetFile(folder / "free"), "first");
  EXPECT_FALSE(fs::exists(folder / "a"));
  EXPECT_EQ(Raised([&] { platform::RenameToFreeName(folder / "a", folder / "b"); }).Number(), 53);
}

TEST(Files, MkDirRecurseCreatesEveryMissingParentPrivatelyOrNamesWhereItFailed) {
  TempFolder folder;
  MkDirRecurse(folder / "a/b/c/");
  EXPECT_TRUE(fs::is_directory(folder / "a/b/c"));
  EXPECT_EQ(fs::status(folder / "a/b").permissions() & fs::perms::all, fs::perms::owner_all);
  MkDirRecurse(folder / "a/b/c");
  PutFile(folder / "file", "x");
  EXPECT_EQ(Raised([&] { MkDirRecurse(folder / "file/sub"); }).Description(),
            "Error creating folder in function MkDirRecurse. Target=" + folder / "file/sub" +
                ", Current=" + folder / "file/" + ". File already exists");
}

TEST(Paths, SplitJoinAndKnowShareRootsAndDrives) {
  EXPECT_EQ(GetFolderPart("/a/b/c.pdf"), "/a/b/");
  EXPECT_EQ(GetFolderPart("c.pdf"), "");
  EXPECT_EQ(StripTrailingBackslashes("/a///"), "/a");
  EXPECT_EQ(StripTrailingBackslashes("/a"), "/a");
  EXPECT_EQ(JoinPath("/a", "b"), "/a/b");
  EXPECT_EQ(JoinPath("/a/", "b"), "/a/b");
  EXPECT_EQ(NormalizeSeparators("a\\b/c"), "a\\b/c");
  EXPECT_TRUE(IsUncShareRoot("//srv/share"));
  EXPECT_TRUE(IsUncShareRoot("//srv/share/"));
  for (const char* path : {"//srv", "//srv/share/dir", "/srv/share"})
    EXPECT_FALSE(IsUncShareRoot(path)) << path;
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
  } cases[] = {
      {"12", 12},    {" 7 ", 7},   {"2.5", 2},   {"3.5", 4},         {"-2.5", -2},
      {"1e3", 1000}, {"&H1F", 31}, {"&o17", 15}, {"&HFFFFFFFF", -1}, {"2147483647", 2147483647}};
  for (const Case& c : cases)
    EXPECT_EQ(ToLongSafe(std::string(c.text)), c.value) << c.text;
  for (const char* text : {"", "abc", "12abc", "99999999999", "nan"})
    EXPECT_EQ(ToLongSafe(std::string(text)), 0) << text;
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
  Error below = Raised([] { Bit(0); });
  EXPECT_EQ(below.Number(), 1000);
  EXPECT_EQ(below.Description(), "Do not call the Bit function with position values below 1.");
  EXPECT_EQ(Raised([] { Bit(32); }).Number(), 6);
}

}  // namespace
}  // namespace gui
