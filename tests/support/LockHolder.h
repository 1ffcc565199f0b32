#pragma once

#include <string>

namespace gui::test {

enum class LockKind { Flock, Fcntl };

// Another process that holds an exclusive lock on the file: for a while, after which it leaves
// the marker file (when one is named) and ends, or, without a time, until Release.
class LockHolder {
 public:
  LockHolder(const std::string& path, LockKind kind, int holdMilliseconds = -1,
             const std::string& marker = {});
  ~LockHolder() { Release(); }
  LockHolder(const LockHolder&) = delete;
  LockHolder& operator=(const LockHolder&) = delete;
  // Lets go of an untimed lock and waits until the process has ended.
  void Release();

 private:
  int pid_ = -1;
  int release_[2] = {-1, -1};
};

}  // namespace gui::test
