#include "platform/CommandInterpreter.h"

namespace gui::platform {

namespace {

// Inside double quotes the shell still gives these four characters a meaning.
std::string QuoteForInterpreter(const std::string& text) {
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"' || c == '$' || c == '`' || c == '\\') quoted += '\\';
    quoted += c;
  }
  return quoted + '"';
}

}  // namespace

std::string InterpreterCommandLine(const std::string& command) {
  return "/bin/sh -c " + QuoteForInterpreter(command);
}

}  // namespace gui::platform
