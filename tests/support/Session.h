#pragma once

#include <string>

#include "tests/support/TempFolder.h"

namespace gui::test {

// A fresh temporary folder for the program, an empty job context and fresh caches; the
// program's folders and the session are restored when the test ends.
class Session {
 public:
  explicit Session(const std::string& sessionId = "s1");
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // The folder the program uses for its temporary files.
  std::string TempFolderPath() const;
  const TempFolder& Root() const { return root_; }

 private:
  TempFolder root_;
  std::string savedRuntime_;
};

}  // namespace gui::test
