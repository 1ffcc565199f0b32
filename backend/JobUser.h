#pragma once

#include <sys/types.h>

#include <optional>
#include <string>

namespace gui::backend {

// The account of the user who printed.
struct JobUser {
  std::string name;
  uid_t uid = 0;
  gid_t gid = 0;
  std::string home;
  std::string shell;
};

std::optional<JobUser> FindUser(const std::string& name);

// Becomes the user for good: the user's groups, group and user id, real, effective and saved;
// false when any step fails or root could be regained. A process that is already the user and
// not root only checks that.
bool BecomeUser(const JobUser& user);

}  // namespace gui::backend
