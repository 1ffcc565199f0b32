#include "tests/backend/TestUser.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace gui::test {

namespace fs = std::filesystem;

TestUser::TestUser() : name_("quentaris" + std::to_string(getpid())), home_(root_ / "home") {
  fs::permissions(root_.Path(), fs::perms::owner_all | fs::perms::others_exec);
  std::string command = "id " + name_ + " >/dev/null 2>&1 && usermod -d " + home_ + " " + name_ +
                        " || useradd -M -s /bin/sh -d " + home_ + " " + name_;
  if (std::system(command.c_str()) != 0) throw std::runtime_error("cannot create the test user");
  const passwd* entry = getpwnam(name_.c_str());
  if (entry == nullptr) throw std::runtime_error("the test user has no entry");
  uid_ = entry->pw_uid;
  gid_ = entry->pw_gid;
  fs::create_directories(home_ + "/.config/QUENTARIS/PDF Printer");
  for (const auto& entry : fs::recursive_directory_iterator(home_))
    chown(entry.path().c_str(), uid_, gid_);
  chown(home_.c_str(), uid_, gid_);
}

TestUser::~TestUser() {
  std::error_code ignored;
  fs::remove_all("/tmp/quentaris-" + std::to_string(uid_), ignored);
  std::system(("userdel " + name_ + " >/dev/null 2>&1").c_str());
}

std::string TestUser::JobFolder() const {
  return "/tmp/quentaris-" + std::to_string(uid_) + "/QUENTARIS/PDF Printer";
}

void TestUser::Put(const std::string& path, const std::string& bytes) const {
  PutFile(path, bytes);
  if (chown(path.c_str(), uid_, gid_) != 0) throw std::runtime_error("cannot chown " + path);
}

}  // namespace gui::test
