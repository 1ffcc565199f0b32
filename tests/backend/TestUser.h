#pragma once

#include <sys/types.h>

#include <string>

#include "tests/support/TempFolder.h"

namespace gui::test {

// An ordinary account for print jobs (the backend never starts gui as root), with a home in a
// fresh folder; removed again with its temporary folder when the object goes.
class TestUser {
 public:
  TestUser();
  ~TestUser();
  TestUser(const TestUser&) = delete;
  TestUser& operator=(const TestUser&) = delete;

  // One account per test process, so that test processes running at once do not meet.
  const std::string& Name() const { return name_; }
  uid_t Uid() const { return uid_; }
  gid_t Gid() const { return gid_; }
  const std::string& Home() const { return home_; }
  // The folder gui and the backend use for the user's jobs when no desktop session runs.
  std::string JobFolder() const;
  // Writes a file as the user's own.
  void Put(const std::string& path, const std::string& bytes) const;

 private:
  TempFolder root_;
  std::string name_;
  std::string home_;
  uid_t uid_ = 0;
  gid_t gid_ = 0;
};

}  // namespace gui::test
