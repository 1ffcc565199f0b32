#include "services/modFolders.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <functional>

#include "services/Error.h"
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

// Whatever makes a level of the runtime folder not the user's alone, the shared folder is next.
TEST_F(FoldersTest, ALevelThatIsNotTheUsersAloneIsPassedOverForTheNextCandidate) {
  std::string tmp = Make("tmp", fs::perms::all | fs::perms::sticky_bit);
  Set("TMPDIR", tmp);
  std::string next = tmp + "/quentaris-" + std::to_string(geteuid()) + "/QUENTARIS/PDF Printer";
  const std::pair<const char*, std::function<void(const std::string&)>> cases[] = {
      {"it belongs to another user",
       [](const std::string& run) { chown(run.c_str(), 65534, 65534); }},
      {"others may write to it",
       [](const std::string& run) {
         fs::permissions(run, fs::perms::owner_all | fs::perms::group_write);
       }},
      {"it is a link",
       [&](const std::string& run) {
         fs::create_directory_symlink(Make("mine"), run + "/QUENTARIS");
       }},
      {"it is not a folder", [](const std::string& run) {
         fs::create_directory(run + "/QUENTARIS");
         PutFile(run + "/QUENTARIS/PDF Printer", "");
       }}};
  for (const auto& [reason, spoil] : cases) {
    std::string run = Make(std::string("run-") + reason);
    spoil(run);
    Set("XDG_RUNTIME_DIR", run);
    ResetFolderCachesForTesting();
    EXPECT_EQ(GetTempFolder(), next) << reason;
  }
  // A candidate that cannot be made is passed over too.
  Set("XDG_RUNTIME_DIR", Make("mine") + "/missing/run");
  ResetFolderCachesForTesting();
  EXPECT_EQ(GetTempFolder(), next);
}

TEST_F(FoldersTest, WithoutAUsableFolderTheErrorNamesEachFolderTriedAndWhy) {
  std::string run = Make("run");
  chown(run.c_str(), 65534, 65534);
  Set("XDG_RUNTIME_DIR", run);
  std::string tmp = Make("tmp", fs::perms::all | fs::perms::sticky_bit);
  std::string planted = Make("tmp/quentaris-" + std::to_string(geteuid()), fs::perms::all);
  Set("TMPDIR", tmp);
  Set("TEMP", session_.Root() / "missing");
  Registry("");
  Make("program/temp", fs::perms::all);
  EXPECT_EQ(GetTempFolder(), "");
  try {
    RequiredTempFolder();
    FAIL() << "no folder for temporary files must raise";
  } catch (const Error& failure) {
    EXPECT_EQ(failure.Number(), 76);
    EXPECT_EQ(failure.Description(),
              "No folder for temporary files can be used.\r\n'" + run +
                  "': it belongs to another user\r\n'" + planted +
                  "': others may write to it\r\n'" + session_.Root() / "missing/QUENTARIS" +
                  "': No such file or directory\r\n'" + session_.Root() / "program/temp" +
                  "': others may write to it");
  }
  EXPECT_FALSE(fs::exists(session_.Root() / "missing"));
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
