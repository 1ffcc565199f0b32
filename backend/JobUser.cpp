#include "backend/JobUser.h"

#include <errno.h>
#include <grp.h>
#include <pwd.h>
#include <unistd.h>

#include <vector>

namespace gui::backend {

std::optional<JobUser> FindUser(const std::string& name) {
  std::vector<char> buffer(16384);
  struct passwd entry {};
  struct passwd* found = nullptr;
  while (getpwnam_r(name.c_str(), &entry, buffer.data(), buffer.size(), &found) == ERANGE &&
         buffer.size() < (1u << 20)) {
    buffer.resize(buffer.size() * 2);
  }
  if (found == nullptr) return std::nullopt;
  return JobUser{found->pw_name, found->pw_uid, found->pw_gid, found->pw_dir ? found->pw_dir : "",
                 found->pw_shell ? found->pw_shell : ""};
}

bool BecomeUser(const JobUser& user) {
  if (geteuid() != 0) return getuid() == user.uid && geteuid() == user.uid;
  if (initgroups(user.name.c_str(), user.gid) != 0) return false;
  if (setresgid(user.gid, user.gid, user.gid) != 0) return false;
  if (setresuid(user.uid, user.uid, user.uid) != 0) return false;
  uid_t real, effective, saved;
  gid_t realGroup, effectiveGroup, savedGroup;
  if (getresuid(&real, &effective, &saved) != 0 ||
      getresgid(&realGroup, &effectiveGroup, &savedGroup) != 0) {
    return false;
  }
  bool allUser = real == user.uid && effective == user.uid && saved == user.uid;
  bool allGroup = realGroup == user.gid && effectiveGroup == user.gid && savedGroup == user.gid;
  return allUser && allGroup && setuid(0) != 0;
}

}  // namespace gui::backend
