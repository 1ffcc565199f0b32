#include "backend/GuiReport.h"

#include <cups/backend.h>
#include <sys/wait.h>

#include <cstring>

#include "backend/Messages.h"

namespace gui::backend {

namespace {

// The scheduler keeps a state message below 1024 bytes.
constexpr std::size_t kLongestMessage = 1000;

bool IsBlank(unsigned char c) {
  return c < 0x20 || c == 0x7F || c == ' ';
}

bool IsUtf8Continuation(unsigned char c) {
  return (c & 0xC0) == 0x80;
}

std::string WhyItFailed(const GuiEnd& end, const std::string& folder) {
  if (WIFSIGNALED(end.status)) {
    return "gui was ended by signal " + std::to_string(WTERMSIG(end.status)) + " (" +
           strsignal(WTERMSIG(end.status)) + ") and made no PDF.";
  }
  return "gui made no PDF and ended with exit code " + std::to_string(WEXITSTATUS(end.status)) +
         " without saying why (its settings may turn messages off); its log is in '" + folder +
         "'.";
}

// Line breaks and control bytes as single blanks, and at most kLongestMessage bytes.
std::string OneLine(const std::string& text, bool cut) {
  std::string line;
  for (unsigned char c : text) {
    if (!IsBlank(c))
      line += static_cast<char>(c);
    else if (!line.empty() && line.back() != ' ')
      line += ' ';
  }
  if (!line.empty() && line.back() == ' ') line.pop_back();
  if (line.size() > kLongestMessage - 4) {
    std::size_t end = kLongestMessage - 4;
    while (end > 0 && IsUtf8Continuation(static_cast<unsigned char>(line[end])))
      --end;
    line.resize(end);
    if (!line.empty() && line.back() == ' ') line.pop_back();
    cut = true;
  }
  return cut ? line + " ..." : line;
}

}  // namespace

int ReportGuiEnd(const GuiEnd& end, const std::string& sessionId, const std::string& folder) {
  std::string message = OneLine(end.errors, end.cut);
  if (WIFEXITED(end.status) && WEXITSTATUS(end.status) == 0) {
    Tell("INFO", message.empty() ? "gui finished session " + sessionId + "." : message);
    return CUPS_BACKEND_OK;
  }
  if (!message.empty()) Tell("ERROR", message);
  if (message.empty() || WIFSIGNALED(end.status)) Tell("ERROR", WhyItFailed(end, folder));
  return CUPS_BACKEND_FAILED;
}

}  // namespace gui::backend
