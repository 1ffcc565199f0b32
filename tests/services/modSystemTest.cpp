#include "services/modSystem.h"

#include <gtest/gtest.h>
#include <limits.h>
#include <pwd.h>
#include <unistd.h>

#include <regex>
#include <set>

namespace gui {
namespace {

TEST(NewGuid, IsARandomVersion4UuidInUpperCase) {
  const std::regex shape("[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}");
  std::set<std::string> seen;
  for (int i = 0; i < 100; ++i) {
    std::string guid = NewGuid();
    EXPECT_TRUE(std::regex_match(guid, shape)) << guid;
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
