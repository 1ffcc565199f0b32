#include "fuzz/FuzzSession.h"

#include <stdlib.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "services/modFolders.h"
#include "startup/JobContext.h"
#include "startup/modLog.h"

namespace gui::fuzz {

namespace {

std::string removedAtExit;

void RemoveRoot() {
  std::error_code ignored;
  std::filesystem::remove_all(removedAtExit, ignored);
}

void MakeFolder(const std::string& path) {
  if (mkdir(path.c_str(), 0700) != 0) {
    std::perror(path.c_str());
    std::abort();
  }
}

// Memory-backed when the machine has such a folder, since every input goes through a file.
std::string MakeRoot() {
  for (std::string pattern : {"/dev/shm/guifuzz-XXXXXX", "/tmp/guifuzz-XXXXXX"}) {
    if (mkdtemp(pattern.data()) != nullptr) return pattern;
  }
  std::perror("mkdtemp");
  std::abort();
}

}  // namespace

FuzzSession& FuzzSession::Get() {
  static FuzzSession session;
  return session;
}

FuzzSession::FuzzSession() {
  root_ = MakeRoot();
  removedAtExit = root_;
  std::atexit(RemoveRoot);
  program_ = root_ + "/program";
  MakeFolder(program_);
  MakeFolder(root_ + "/runtime");
  MakeFolder(root_ + "/home");
  setenv("XDG_RUNTIME_DIR", (root_ + "/runtime").c_str(), 1);
  setenv("HOME", (root_ + "/home").c_str(), 1);
  setenv("XDG_CONFIG_HOME", (root_ + "/home/.config").c_str(), 1);
  SetProgramFolderForTesting(program_);
  ResetFolderCachesForTesting();
  ResetLogForTesting();
  Job() = JobContext{};
  Job().sessionId = "fuzz";
}

void WriteWholeFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) {
    std::perror(path.c_str());
    std::abort();
  }
}

}  // namespace gui::fuzz
