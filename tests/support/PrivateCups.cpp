#include "tests/support/PrivateCups.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <thread>

namespace gui::test {

namespace fs = std::filesystem;

namespace {

constexpr const char* kSystemServerBin = "/usr/lib/cups";

std::string Quoted(const std::string& word) {
  std::string quoted = "'";
  for (char c : word)
    quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

}  // namespace

PrivateCups::PrivateCups(const std::string& extraFileSettings) : socket_(root_ / "cups.sock") {
  // The filters run as the unprivileged lp user, which must reach the spool below this folder.
  fs::permissions(root_.Path(),
                  fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
  for (const char* folder :
       {"etc", "etc/ppd", "spool", "spool/tmp", "cache", "state", "log", "bin", "bin/backend"}) {
    fs::create_directory(root_ / folder);
  }
  for (const auto& entry : fs::directory_iterator(kSystemServerBin)) {
    std::string name = entry.path().filename().string();
    if (name != "backend") fs::create_directory_symlink(entry.path(), root_ / ("bin/" + name));
  }
  WriteConfiguration(extraFileSettings);
  pid_ = fork();
  if (pid_ == 0) {
    std::string configuration = root_ / "etc/cupsd.conf";
    std::string files = root_ / "etc/cups-files.conf";
    execl("/usr/sbin/cupsd", "cupsd", "-f", "-c", configuration.c_str(), "-s", files.c_str(),
          static_cast<char*>(nullptr));
    _exit(127);
  }
  WaitUntilReady();
}

PrivateCups::~PrivateCups() {
  if (pid_ > 0) {
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }
}

void PrivateCups::WriteConfiguration(const std::string& extraFileSettings) const {
  const std::string& root = root_.Path();
  PutFile(root_ / "etc/cups-files.conf",
          "ServerRoot " + root + "/etc\nRequestRoot " + root + "/spool\nTempDir " + root +
              "/spool/tmp\nCacheDir " + root + "/cache\nStateDir " + root + "/state\nServerBin " +
              root + "/bin\nDataDir /usr/share/cups\nAccessLog " + root +
              "/log/access_log\nErrorLog " + root + "/log/error_log\nPageLog " + root +
              "/log/page_log\nFileDevice Yes\nSystemGroup root\n" + extraFileSettings + "\n");
  PutFile(root_ / "etc/cupsd.conf",
          "Listen " + socket_ +
              "\nLogLevel debug\nBrowsing No\nWebInterface No\nJobRetryLimit 0\n"
              "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
              "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n");
}

void PrivateCups::WaitUntilReady() const {
  for (int attempt = 0; attempt < 200; ++attempt) {
    if (fs::exists(socket_) && Client({"lpstat", "-r"}) == 0) return;
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  throw std::runtime_error("the private CUPS scheduler did not start:\n" + ErrorLog());
}

void PrivateCups::AddBackend(const std::string& scheme, const std::string& program) const {
  std::string target = root_ / ("bin/backend/" + scheme);
  fs::copy_file(program, target, fs::copy_options::overwrite_existing);
  fs::permissions(target, fs::perms::owner_all);
}

std::string PrivateCups::AddPrinterQueue(const std::string& instance) const {
  std::string output;
  int code = Client({"env", "QUENTARIS_PPD=" GUI_SOURCE_DIR "/packaging/quentaris-pdf-printer.ppd",
                     "sh", GUI_SOURCE_DIR "/packaging/quentaris-queue.sh", "add", instance},
                    &output);
  return code == 0 ? "" : "exit code " + std::to_string(code) + ": " + output;
}

int PrivateCups::Client(const std::vector<std::string>& command, std::string* output) const {
  std::string line = "CUPS_SERVER=" + Quoted(socket_);
  for (const std::string& word : command)
    line += " " + Quoted(word);
  FILE* pipe = popen((line + " 2>&1").c_str(), "r");
  if (pipe == nullptr) return -1;
  std::string text;
  char buffer[4096];
  while (std::size_t got = std::fread(buffer, 1, sizeof buffer, pipe))
    text.append(buffer, got);
  int status = pclose(pipe);
  if (output != nullptr) *output = text;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool PrivateCups::Idle() const {
  std::string jobs;
  return Client({"lpstat", "-o"}, &jobs) == 0 && jobs.empty();
}

std::string PrivateCups::ErrorLog() const {
  std::error_code missing;
  return fs::exists(root_ / "log/error_log", missing) ? GetFile(root_ / "log/error_log") : "";
}

}  // namespace gui::test
