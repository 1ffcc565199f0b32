#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace gui::platform {

// A file written from start to end through a large buffer; an existing file is replaced.
// Failures raise Error with the runtime's number.
class OutputFile {
 public:
  explicit OutputFile(const std::string& path);  // raises when it cannot be created
  // Closes without flushing: a file abandoned by an error is not completed.
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  void Write(std::string_view bytes);
  // Appends the whole of another file, copied inside the system where it can be; the number of
  // bytes appended. Raises when the file cannot be read.
  std::uint64_t Append(const std::string& path);
  // Writes what is buffered and closes; a failure here is a failed write too.
  void Close();

 private:
  void Flush();
  void WriteThrough(const char* data, std::size_t size);

  std::string path_;
  int fd_ = -1;
  std::vector<char> buffer_;
  std::size_t used_ = 0;
};

}  // namespace gui::platform
