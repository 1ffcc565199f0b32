#include "services/modFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "services/Error.h"
#include "tests/support/TempFolder.h"

namespace gui {
namespace {

namespace fs = std::filesystem;
using test::GetFile;
using test::PutFile;
using test::TempFolder;

long NumberOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const Error& failure) {
    return failure.Number();
  }
  return 0;
}

TEST(Files, ReadAndWriteWholeFiles) {
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
}

TEST(Files, FailuresCarryTheRuntimesNumbers) {
  TempFolder folder;
  EXPECT_EQ(NumberOf([] { ReadFile(""); }), 1000);
  EXPECT_EQ(NumberOf([&] { ReadFile(folder / "missing"); }), 53);
  EXPECT_EQ(NumberOf([&] { ReadTextFile(folder / "missing"); }), 53);
  EXPECT_EQ(NumberOf([&] { ReadTextFile(folder.Path()); }), 53);
  EXPECT_EQ(NumberOf([&] { WriteTextFile(folder / "no/x.txt", "a"); }), 76);
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

TEST(Files, MkDirRecurseCreatesEveryMissingParentPrivately) {
  TempFolder folder;
  MkDirRecurse(folder / "a/b/c/");
  EXPECT_TRUE(fs::is_directory(folder / "a/b/c"));
  EXPECT_EQ(fs::status(folder / "a/b").permissions() & fs::perms::all, fs::perms::owner_all);
  MkDirRecurse(folder / "a/b/c");
}

TEST(Files, MkDirRecurseNamesTargetAndCurrentOnFailure) {
  TempFolder folder;
  PutFile(folder / "file", "x");
  try {
    MkDirRecurse(folder / "file/sub");
    FAIL();
  } catch (const Error& failure) {
    EXPECT_EQ(failure.Description(),
              "Error creating folder in function MkDirRecurse. Target=" + folder / "file/sub" +
                  ", Current=" + folder / "file/" + ". File already exists");
  }
}

}  // namespace
}  // namespace gui
