#include "services/modSystem.h"

#include <gtest/gtest.h>
#include <limits.h>
#include <pwd.h>
#include <unistd.h>

#include <set>

#include "services/modConvert.h"
#include "tests/support/ScopedVariable.h"
#include "tests/support/TempFolder.h"

namespace gui {
namespace {

TEST(NewGuid, IsARandomVersion4UuidInUpperCase) {
  std::set<std::string> seen;
  for (int i = 0; i < 100; ++i) {
    std::string guid = NewGuid();
    ASSERT_EQ(36u, guid.size());
    EXPECT_EQ(std::string::npos, guid.find_first_not_of("0123456789ABCDEF-")) << guid;
    EXPECT_EQ("----", guid.substr(8, 1) + guid[13] + guid[18] + guid[23]) << guid;
    EXPECT_EQ('4', guid[14]) << guid;
    EXPECT_NE(std::string::npos, std::string("89AB").find(guid[19])) << guid;
    seen.insert(guid);
  }
  EXPECT_EQ(100u, seen.size());
}

TEST(CurrentNames, AreTheEffectiveUserAndTheHostName) {
  const passwd* user = getpwuid(geteuid());
  ASSERT_NE(nullptr, user);
  EXPECT_EQ(user->pw_name, CurrentUserName());
  char host[HOST_NAME_MAX + 1] = {};
  ASSERT_EQ(0, gethostname(host, sizeof host - 1));
  EXPECT_EQ(host, CurrentComputerName());
}

// Values below each root key; a path names its root in full or short, in any case.
TEST(GetRegistryValue, SplitsRootKeyAndValueName) {
  test::TempFolder folder;
  test::PutFile(folder / "registry.reg", R"(Windows Registry Editor Version 5.00
[HKEY_LOCAL_MACHINE]
"atroot"="machine root"
[HKEY_LOCAL_MACHINE\SOFTWARE\Q\Settings]
@="default"
"timeout"=dword:00000005
[HKEY_CURRENT_USER\SOFTWARE\Q]
"where"="user"
[HKEY_CLASSES_ROOT\SOFTWARE\Q]
"where"="classes"
[HKEY_USERS\SOFTWARE\Q]
"where"="users"
)");
  test::ScopedVariable registry("QUENTARIS_REGISTRY", folder / "registry.reg");
  bool view64 = false;
  auto read = [&](const std::string& path) { return ToStringSafe(GetRegistryValue(path, view64)); };
  EXPECT_EQ("5", read(R"(HKEY_LOCAL_MACHINE\SOFTWARE\Q\Settings\timeout)"));
  EXPECT_EQ("default", read(R"(HKLM\SOFTWARE\Q\Settings\)"));
  EXPECT_EQ("machine root", read(R"(HKLM\atroot)"));
  EXPECT_EQ("user", read(R"(hkcu\SOFTWARE\Q\where)"));
  EXPECT_EQ("classes", read(R"(HKCR\SOFTWARE\Q\where)"));
  EXPECT_EQ("users", read(R"(HKUR\SOFTWARE\Q\where)"));
  EXPECT_EQ("users", read(R"(HKEY_USERS\SOFTWARE\Q\where)"));
  for (const char* path : {R"(HKU\SOFTWARE\Q\where)", R"(HKEY_FOO\SOFTWARE\Q\where)", "HKLM", ""})
    EXPECT_EQ(platform::RegistryValue::Kind::Null, GetRegistryValue(path, view64).kind) << path;
  // The 64-bit view is cleared before Windows XP, which this system never is.
  view64 = true;
  EXPECT_EQ("user", read(R"(HKCU\SOFTWARE\Q\where)"));
  EXPECT_FALSE(GetOsInfo().IsWinXP());
  EXPECT_FALSE(view64);
}

}  // namespace
}  // namespace gui
