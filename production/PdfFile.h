#pragma once

#include <cstdint>
#include <fstream>
#include <string>

namespace gui {

// A PDF read at any offset, a few bytes at a time; reads never throw.
class PdfFile {
 public:
  explicit PdfFile(const std::string& path);

  bool IsOpen() const { return open_; }
  std::uint64_t Size() const { return size_; }
  // Up to size bytes from offset; fewer at the end of the file, none when it cannot be read.
  std::size_t Read(std::uint64_t offset, char* buffer, std::size_t size);
  std::string Read(std::uint64_t offset, std::size_t size);

 private:
  std::ifstream in_;
  bool open_ = false;
  std::uint64_t size_ = 0;
};

}  // namespace gui
