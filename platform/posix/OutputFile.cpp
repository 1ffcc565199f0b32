#include "platform/OutputFile.h"

#include <errno.h>
#include <fcntl.h>
#include <string.h>
#include <unistd.h>

#include "platform/SystemErrors.h"
#include "platform/posix/Descriptor.h"

namespace gui::platform {

namespace {

constexpr std::size_t kBufferSize = 1 << 20;
// A piece this large gains nothing from a copy into the buffer.
constexpr std::size_t kDirectSize = 1 << 16;

}  // namespace

// The job's files and the PDFs made from them are their owner's alone, whatever the umask.
OutputFile::OutputFile(const std::string& path) : path_(path), buffer_(kBufferSize) {
  fd_ = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd_ < 0) throw ErrorFromSystem(errno, path);
}

OutputFile::~OutputFile() {
  if (fd_ >= 0) close(fd_);
}

void OutputFile::Write(std::string_view bytes) {
  if (bytes.empty()) return;
  if (bytes.size() >= kDirectSize || bytes.size() > buffer_.size() - used_) {
    Flush();
    if (bytes.size() >= kDirectSize) return WriteThrough(bytes.data(), bytes.size());
  }
  memcpy(buffer_.data() + used_, bytes.data(), bytes.size());
  used_ += bytes.size();
}

// copy_file_range moves the bytes without a trip through this process; file systems that
// cannot do it get a plain copy.
std::uint64_t OutputFile::Append(const std::string& path) {
  Descriptor source(open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (source.Get() < 0) throw ErrorFromSystem(errno, path);
  Flush();
  std::uint64_t appended = 0;
  for (;;) {
    ssize_t copied = copy_file_range(source.Get(), nullptr, fd_, nullptr, kBufferSize, 0);
    if (copied < 0 && errno == EINTR) continue;
    if (copied < 0) break;
    if (copied == 0) return appended;
    appended += static_cast<std::uint64_t>(copied);
  }
  if (errno != EXDEV && errno != ENOSYS && errno != EINVAL && errno != EOPNOTSUPP)
    throw ErrorFromSystem(errno, path_);
  for (;;) {
    ssize_t got = read(source.Get(), buffer_.data(), buffer_.size());
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) throw ErrorFromSystem(errno, path);
    if (got == 0) return appended;
    WriteThrough(buffer_.data(), static_cast<std::size_t>(got));
    appended += static_cast<std::uint64_t>(got);
  }
}

void OutputFile::Close() {
  Flush();
  int fd = fd_;
  fd_ = -1;
  if (close(fd) != 0) throw ErrorFromSystem(errno, path_);
}

void OutputFile::Flush() {
  WriteThrough(buffer_.data(), used_);
  used_ = 0;
}

void OutputFile::WriteThrough(const char* data, std::size_t size) {
  if (!WriteFully(fd_, data, size)) throw ErrorFromSystem(errno, path_);
}

}  // namespace gui::platform
