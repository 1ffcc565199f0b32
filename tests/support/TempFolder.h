#pragma once

#include <string>

namespace gui::test {

// A fresh folder below the system's temporary folder, removed with everything in it.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& Path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// Writes bytes to a file, creating it; reads a whole file back.
void PutFile(const std::string& path, const std::string& bytes);
std::string GetFile(const std::string& path);

}  // namespace gui::test
