#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/Environment.h"
#include "tests/support/ScopedVariable.h"

namespace gui::platform {
namespace {

using Paths = std::vector<std::string>;

// The variables the places come from, set for each case and restored afterwards.
class TempPathTest : public ::testing::Test {
 protected:
  std::string shared_ = "/var/tmp/quentaris-" + std::to_string(geteuid());
  test::ScopedVariable runtime_{"XDG_RUNTIME_DIR", "/run/user/7/"};
  test::ScopedVariable tmpdir_{"TMPDIR", "/var/tmp//"};
  test::ScopedVariable cache_{"XDG_CACHE_HOME", ""};
  test::ScopedVariable home_{"HOME", "/home/u"};
};

TEST_F(TempPathTest, RuntimeFolderThenTheUsersSharedFolderThenTheCache) {
  EXPECT_EQ(SystemTempPaths(), (Paths{"/run/user/7", shared_, "/home/u/.cache"}));
  test::ScopedVariable cache("XDG_CACHE_HOME", "/srv/cache/u");
  EXPECT_EQ(SystemTempPaths(), (Paths{"/run/user/7", shared_, "/srv/cache/u"}));

  // Relative values name no place; without TMPDIR the shared folder is /tmp.
  test::ScopedVariable relativeRuntime("XDG_RUNTIME_DIR", "run");
  test::ScopedVariable relativeCache("XDG_CACHE_HOME", "cache");
  test::ScopedVariable noTmpdir("TMPDIR", "");
  EXPECT_EQ(SystemTempPaths(),
            (Paths{"/tmp/quentaris-" + std::to_string(geteuid()), "/home/u/.cache"}));
  test::ScopedVariable relativeHome("HOME", "u");
  EXPECT_EQ(SystemTempPaths(), (Paths{"/tmp/quentaris-" + std::to_string(geteuid())}));
}

TEST_F(TempPathTest, NeverTheRootOfTheFileSystemOrAFolderDirectlyInIt) {
  test::ScopedVariable runtime("XDG_RUNTIME_DIR", "/");
  test::ScopedVariable tmpdir("TMPDIR", "//");
  test::ScopedVariable home("HOME", "/");
  EXPECT_EQ(SystemTempPaths(), (Paths{"/tmp/quentaris-" + std::to_string(geteuid())}));
  test::ScopedVariable cache("XDG_CACHE_HOME", "/cache");
  test::ScopedVariable runtimeInRoot("XDG_RUNTIME_DIR", "/run");
  EXPECT_EQ(SystemTempPaths(), (Paths{"/tmp/quentaris-" + std::to_string(geteuid())}));
}

}  // namespace
}  // namespace gui::platform
