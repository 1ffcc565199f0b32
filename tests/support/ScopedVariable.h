#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace gui::test {

// Sets an environment variable for the life of the object, then restores what was there.
class ScopedVariable {
 public:
  ScopedVariable(const std::string& name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name.c_str())) old_ = old;
    setenv(name.c_str(), value.c_str(), 1);
  }
  ~ScopedVariable() {
    if (old_)
      setenv(name_.c_str(), old_->c_str(), 1);
    else
      unsetenv(name_.c_str());
  }
  ScopedVariable(const ScopedVariable&) = delete;
  ScopedVariable& operator=(const ScopedVariable&) = delete;

 private:
  std::string name_;
  std::optional<std::string> old_;
};

}  // namespace gui::test
