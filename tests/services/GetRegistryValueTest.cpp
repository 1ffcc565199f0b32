#include <gtest/gtest.h>

#include "services/modConvert.h"
#include "services/modSystem.h"
#include "tests/support/ScopedVariable.h"
#include "tests/support/TempFolder.h"

namespace gui {
namespace {

class GetRegistryValueTest : public testing::Test {
 protected:
  GetRegistryValueTest() : variable_("QUENTARIS_REGISTRY", folder_ / "registry.reg") {
    test::PutFile(folder_ / "registry.reg", R"(Windows Registry Editor Version 5.00
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
  }

  static std::string Read(const std::string& path) {
    bool view64 = false;
    return ToStringSafe(GetRegistryValue(path, view64));
  }

 private:
  test::TempFolder folder_;
  test::ScopedVariable variable_;
};

TEST_F(GetRegistryValueTest, SplitsRootKeyAndValueName) {
  EXPECT_EQ("5", Read(R"(HKEY_LOCAL_MACHINE\SOFTWARE\Q\Settings\timeout)"));
  EXPECT_EQ("default", Read(R"(HKLM\SOFTWARE\Q\Settings\)"));
  EXPECT_EQ("machine root", Read(R"(HKLM\atroot)"));
  EXPECT_EQ("user", Read(R"(hkcu\SOFTWARE\Q\where)"));
  EXPECT_EQ("classes", Read(R"(HKCR\SOFTWARE\Q\where)"));
  EXPECT_EQ("users", Read(R"(HKUR\SOFTWARE\Q\where)"));
  EXPECT_EQ("users", Read(R"(HKEY_USERS\SOFTWARE\Q\where)"));
}

TEST_F(GetRegistryValueTest, GivesNullForAnyOtherRoot) {
  bool view64 = false;
  for (const char* path : {R"(HKU\SOFTWARE\Q\where)", R"(HKEY_FOO\SOFTWARE\Q\where)", "HKLM", ""})
    EXPECT_EQ(platform::RegistryValue::Kind::Null, GetRegistryValue(path, view64).kind) << path;
}

TEST_F(GetRegistryValueTest, ClearsThe64BitFlagBeforeWindowsXP) {
  bool view64 = true;
  EXPECT_EQ("user", ToStringSafe(GetRegistryValue(R"(HKCU\SOFTWARE\Q\where)", view64)));
  EXPECT_FALSE(GetOsInfo().IsWinXP());
  EXPECT_FALSE(view64);
}

}  // namespace
}  // namespace gui
