#include "backend/JobInput.h"

#include <errno.h>
#include <unistd.h>

namespace gui::backend {

namespace {

constexpr std::size_t kHeadSize = 4096;

}  // namespace

std::string ReadHead(int input) {
  std::string head(kHeadSize, '\0');
  std::size_t done = 0;
  while (done < head.size()) {
    ssize_t got = read(input, head.data() + done, head.size() - done);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    done += static_cast<std::size_t>(got);
  }
  head.resize(done);
  return head;
}

JobKind KindOf(const std::string& head) {
  std::size_t start = !head.empty() && head[0] == '\x04' ? 1 : 0;
  if (head.compare(start, 2, "%!") == 0 || head.compare(0, 4, "\xC5\xD0\xD3\xC6") == 0)
    return {".ps", {}};
  if (head.compare(0, 5, "%PDF-") == 0) return {".pdf", {}};
  if (head.empty()) return {{}, "The job is empty."};
  return {{},
          "The job is neither PostScript nor PDF: it begins with neither \"%!\" nor \"%PDF-\"."};
}

}  // namespace gui::backend
