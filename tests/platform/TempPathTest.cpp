#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "platform/Environment.h"
#include "tests/support/ScopedVariable.h"
#include "tests/support/TempFolder.h"

namespace gui::platform {
namespace {

namespace fs = std::filesystem;

// The folders the temporary path may come from, all in a folder of the test's own.
class TempPathTest : public ::testing::Test {
 protected:
  std::string Folder(const std::string& name, fs::perms perms = fs::perms::owner_all) {
    std::string path = folder_ / name;
    fs::create_directory(path);
    fs::permissions(path, perms);
    return path;
  }

  test::TempFolder folder_;
  std::string tmp_ = Folder("tmp", fs::perms::all | fs::perms::sticky_bit);
  std::string shared_ = tmp_ + "/quentaris-" + std::to_string(geteuid());
  std::string home_ = Folder("home");
  test::ScopedVariable runtime_{"XDG_RUNTIME_DIR", ""};
  test::ScopedVariable tmpdir_{"TMPDIR", tmp_ + "/"};
  test::ScopedVariable cache_{"XDG_CACHE_HOME", ""};
  test::ScopedVariable home_variable_{"HOME", home_};
};

TEST_F(TempPathTest, TheRuntimeFolderOnlyWhenItIsTheUsersAlone) {
  std::string runtime = Folder("run");
  test::ScopedVariable set("XDG_RUNTIME_DIR", runtime);
  EXPECT_EQ(SystemTempPath(), runtime);
  fs::permissions(runtime, fs::perms::all);
  EXPECT_EQ(SystemTempPath(), shared_);
  EXPECT_EQ(fs::status(shared_).permissions(), fs::perms::owner_all) << "made private at once";
  EXPECT_EQ(SystemTempPath(), shared_) << "and found again";
}

TEST_F(TempPathTest, ASharedFolderPlantedBySomeoneElseSendsTheUserHome) {
  std::string elsewhere = Folder("elsewhere", fs::perms::all);
  fs::create_directory_symlink(elsewhere, shared_);
  EXPECT_EQ(SystemTempPath(), home_ + "/.cache");
  fs::remove(shared_);

  Folder("tmp/quentaris-" + std::to_string(geteuid()));
  ASSERT_EQ(chown(shared_.c_str(), 65534, 65534), 0);
  EXPECT_EQ(SystemTempPath(), home_ + "/.cache");
  test::ScopedVariable cache("XDG_CACHE_HOME", folder_ / "cache");
  EXPECT_EQ(SystemTempPath(), folder_ / "cache");

  ASSERT_EQ(chown(shared_.c_str(), geteuid(), getegid()), 0);
  fs::permissions(shared_, fs::perms::owner_all | fs::perms::group_write);
  test::ScopedVariable noHome("HOME", "");
  test::ScopedVariable relativeCache("XDG_CACHE_HOME", "cache");
  EXPECT_EQ(SystemTempPath(), "") << "no home: no folder rather than one at the root";
}

}  // namespace
}  // namespace gui::platform
