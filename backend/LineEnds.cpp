#include "backend/LineEnds.h"

#include <errno.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstring>
#include <vector>

#include "platform/posix/Descriptor.h"

namespace gui::backend {

namespace {

// Control bytes that plain PostScript text never holds; binary data almost always does, and
// a CR added to binary data would corrupt it.
bool IsBinaryByte(unsigned char c) {
  return (c < 0x20 && c != '\t' && c != '\n' && c != '\r' && c != '\f' && c != 0x04) || c == 0x7F;
}

bool CopyConverted(int from, int to) {
  std::vector<char> buffer(1 << 20);
  std::string out;
  bool afterCr = false;
  for (;;) {
    ssize_t got = read(from, buffer.data(), buffer.size());
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return false;
    if (got == 0) return true;
    out.clear();
    for (ssize_t i = 0; i < got; ++i) {
      if (buffer[i] == '\n' && !afterCr) out += '\r';
      out += buffer[i];
      afterCr = buffer[i] == '\r';
    }
    if (!platform::WriteFully(to, out.data(), out.size())) return false;
  }
}

}  // namespace

void LineEndScan::Feed(const char* data, std::size_t size) {
  for (std::size_t i = 0; i < size && text_; ++i) {
    unsigned char c = static_cast<unsigned char>(data[i]);
    if (IsBinaryByte(c)) text_ = false;
    if (c == '\n' && !afterCr_) loneLf_ = true;
    afterCr_ = c == '\r';
  }
}

bool ConvertToCrLf(const std::string& path, std::string& error) {
  std::string converted = path + ".crlf";
  int from = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
  int to = open(converted.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  bool done = from >= 0 && to >= 0 && CopyConverted(from, to) && fsync(to) == 0;
  if (!done) error = "Unable to convert the line ends of '" + path + "': " + std::strerror(errno);
  if (from >= 0) close(from);
  if (to >= 0) close(to);
  if (done && rename(converted.c_str(), path.c_str()) != 0) {
    error = "Unable to replace '" + path + "': " + std::strerror(errno);
    done = false;
  }
  if (!done) unlink(converted.c_str());
  return done;
}

}  // namespace gui::backend
