#include "services/modFolders.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <filesystem>

#include "tests/support/ScopedVariable.h"
#include "tests/support/Session.h"

namespace gui {
namespace {

namespace fs = std::filesystem;
using test::PutFile;
using test::Session;

class FoldersTest : public ::testing::Test {
 protected:
  // Every variable the folders read starts unset and is restored afterwards.
  FoldersTest() {
    for (const char* name : {"XDG_RUNTIME_DIR", "TMPDIR", "TEMP", "TMP", "APPDATA",
                             "XDG_CONFIG_HOME", "HOME", "QUENTARIS_REGISTRY"}) {
      saved_.emplace_back(name, "");
      unsetenv(name);
    }
  }
  std::string Make(const std::string& name, fs::perms perms = fs::perms::owner_all) {
    std::string path = session_.Root() / name;
    fs::create_directories(path);
    fs::permissions(path, perms);
    return path;
  }
  void Registry(const std::string& values) {
    PutFile(session_.Root() / "registry.reg",
            "Windows Registry Editor Version 5.00\r\n\r\n"
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\QUENTARIS\\PDF Printer\\Settings]\r\n" +
                values);
    Set("QUENTARIS_REGISTRY", session_.Root() / "registry.reg");
  }
  void Set(const char* name, const std::string& value) { setenv(name, value.c_str(), 1); }

  Session session_;
  std::deque<test::ScopedVariable> saved_;
};

TEST_F(FoldersTest, TemporaryFolderIsMadeBelowTheSystemPathAndCached) {
  std::string runtime = Make("run");
  Set("XDG_RUNTIME_DIR", runtime + "/");
  std::string expected = runtime + "/QUENTARIS/PDF Printer";
  EXPECT_EQ(GetTempFolder(), expected);
  EXPECT_TRUE(fs::is_directory(expected));
  EXPECT_EQ(fs::status(expected).permissions() & fs::perms::all, fs::perms::owner_all);
  fs::remove_all(runtime + "/QUENTARIS");
  EXPECT_EQ(GetTempFolder(), expected) << "a second call answers from the cache";
}

TEST_F(FoldersTest, SystemPathFallsBackToAPrivateFolderInTmpdir) {
  std::string tmp = Make("tmp", fs::perms::all);
  Set("TMPDIR", tmp);
  EXPECT_EQ(GetTempFolder(),
            tmp + "/quentaris-" + std::to_string(geteuid()) + "/QUENTARIS/PDF Printer");
}

TEST_F(FoldersTest, FolderOfAnotherUserOrOpenToOthersIsPassedOver) {
  std::string runtime = Make("run");
  Make("run/QUENTARIS/PDF Printer");
  fs::permissions(runtime + "/QUENTARIS", fs::perms::all);
  Set("XDG_RUNTIME_DIR", runtime);
  std::string temp = Make("temp");
  Set("TEMP", temp);
  EXPECT_EQ(GetTempFolder(), temp + "/QUENTARIS/PDF Printer");
}

TEST_F(FoldersTest, RegistryValueIsUsedAsItIsAndProgramFolderLast) {
  std::string shared = Make("tmp", fs::perms::all);
  Make("tmp/QUENTARIS", fs::perms::all);
  // The program's own folder below TMPDIR, planted open to everyone.
  Make("tmp/quentaris-" + std::to_string(geteuid()), fs::perms::all);
  Set("TMPDIR", shared);
  Set("XDG_RUNTIME_DIR", shared);
  std::string spool = session_.Root() / "spool";
  Registry("\"USERTEMP\"=\"" + spool + "/\"\r\n");
  EXPECT_EQ(GetTempFolder(), spool);

  ResetFolderCachesForTesting();
  Registry("");
  EXPECT_EQ(GetTempFolder(), session_.Root() / "program/temp");
}

TEST_F(FoldersTest, DataFolderCandidatesInOrder) {
  std::string home = Make("home");
  Set("HOME", home);
  EXPECT_EQ(GetDataFolder(), home + "/.config/QUENTARIS/PDF Printer");
  ResetFolderCachesForTesting();
  Set("APPDATA", home + "/appdata/");
  EXPECT_EQ(GetDataFolder(), home + "/appdata/QUENTARIS/PDF Printer");
}

TEST_F(FoldersTest, SpecialFoldersFollowTheUsersFolderList) {
  std::string home = Make("home");
  Set("HOME", home);
  EXPECT_EQ(GetSpecialFolder(0), home);
  Make("home/Desktop");
  EXPECT_EQ(GetSpecialFolder(0), home + "/Desktop");
  Make("home/Schreibtisch");
  Make("home/.config");
  PutFile(home + "/.config/user-dirs.dirs",
          "# written by xdg-user-dirs-update\nXDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n");
  EXPECT_EQ(GetSpecialFolder(0), home + "/Schreibtisch");
  EXPECT_EQ(GetSpecialFolder(5), home);
  EXPECT_FALSE(fs::exists(home + "/Documents")) << "special folders are never created";
}

}  // namespace
}  // namespace gui
