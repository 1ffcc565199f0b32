#pragma once

#include <string>

namespace gui::fuzz {

// The folders one fuzzing process works in, made on first use under /dev/shm (or /tmp) and
// removed at exit: the program folder (labels, macros), the runtime folder that holds the
// program's temporary folder, and a home folder. The program is pointed at them as the tests'
// sessions do.
class FuzzSession {
 public:
  static FuzzSession& Get();

  const std::string& Root() const { return root_; }
  const std::string& ProgramFolder() const { return program_; }
  // A file of this process's own, for an input the code under test reads from disk.
  std::string FilePath(const std::string& name) const { return root_ + "/" + name; }

 private:
  FuzzSession();

  std::string root_;
  std::string program_;
};

// Writes the bytes as the whole file; aborts when that fails, since no input could be tested.
void WriteWholeFile(const std::string& path, const std::string& bytes);

}  // namespace gui::fuzz
