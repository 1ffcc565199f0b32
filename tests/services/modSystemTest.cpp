#include "services/modSystem.h"

#include <gtest/gtest.h>
#include <limits.h>
#include <pwd.h>
#include <unistd.h>

#include <set>

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

}  // namespace
}  // namespace gui
