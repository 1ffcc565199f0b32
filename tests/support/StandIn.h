#pragma once

#include <filesystem>
#include <string>

#include "tests/support/ScopedVariable.h"
#include "tests/support/TempFolder.h"

namespace gui::test {

// Writes a shell script and makes it executable.
inline void PutScript(const std::string& path, const std::string& body) {
  PutFile(path, "#!/bin/sh\n" + body + "\n");
  std::filesystem::permissions(path, std::filesystem::perms::owner_all);
}

// A PATH that holds nothing but a folder of stand-in programs; their scripts name every other
// program by its full path.
class StandInPath {
 public:
  StandInPath() : path_("PATH", folder_.Path()) {}

  void Put(const std::string& name, const std::string& body) { PutScript(folder_ / name, body); }
  std::string operator/(const std::string& name) const { return folder_ / name; }

 private:
  TempFolder folder_;
  ScopedVariable path_;
};

}  // namespace gui::test
