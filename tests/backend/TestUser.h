#pragma once

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "tests/support/TempFolder.h"

namespace gui::test {

// An ordinary account for print jobs (the backend never starts gui as root), with a home in a
// fresh folder; removed again with its temporary folder when the object goes.
class TestUser {
 public:
  // One account per test process and suffix, so that test processes running at once do not
  // meet.
  explicit TestUser(const std::string& suffix = "")
      : name_("quentaris" + std::to_string(getpid()) + suffix), home_(root_ / "home") {
    namespace fs = std::filesystem;
    fs::permissions(root_.Path(), fs::perms::owner_all | fs::perms::others_exec);
    std::string command = "id " + name_ + " >/dev/null 2>&1 && usermod -d " + home_ + " " + name_ +
                          " || useradd -M -s /bin/sh -d " + home_ + " " + name_;
    if (std::system(command.c_str()) != 0) throw std::runtime_error("cannot create the test user");
    const passwd* entry = getpwnam(name_.c_str());
    if (entry == nullptr) throw std::runtime_error("the test user has no entry");
    uid_ = entry->pw_uid;
    gid_ = entry->pw_gid;
    fs::create_directories(home_ + "/.config/QUENTARIS/PDF Printer");
    for (const auto& made : fs::recursive_directory_iterator(home_))
      chown(made.path().c_str(), uid_, gid_);
    chown(home_.c_str(), uid_, gid_);
  }
  ~TestUser() {
    std::error_code ignored;
    std::filesystem::remove_all(SharedTempFolder(), ignored);
    std::system(("userdel " + name_ + " >/dev/null 2>&1").c_str());
  }

  const std::string& Name() const { return name_; }
  uid_t Uid() const { return uid_; }
  gid_t Gid() const { return gid_; }
  const std::string& Home() const { return home_; }
  // The user's own folder in /tmp, and the folder gui and the backend use for the user's jobs
  // when no desktop session runs and nobody else holds that name.
  std::string SharedTempFolder() const { return "/tmp/quentaris-" + std::to_string(uid_); }
  std::string JobFolder() const { return SharedTempFolder() + "/QUENTARIS/PDF Printer"; }
  // Where the jobs go instead when someone else holds it.
  std::string CacheJobFolder() const { return home_ + "/.cache/QUENTARIS/PDF Printer"; }
  // Writes a file as the user's own.
  void Put(const std::string& path, const std::string& bytes) const {
    PutFile(path, bytes);
    if (chown(path.c_str(), uid_, gid_) != 0) throw std::runtime_error("cannot chown " + path);
  }

 private:
  TempFolder root_;
  std::string name_;
  std::string home_;
  uid_t uid_ = 0;
  gid_t gid_ = 0;
};

}  // namespace gui::test
