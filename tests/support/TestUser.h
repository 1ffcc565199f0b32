#pragma once

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/support/Eventually.h"
#include "tests/support/RunProgram.h"
#include "tests/support/TempFolder.h"

namespace gui::test {

// An ordinary account for print jobs (the backend never starts gui as root), with a home in a
// fresh folder and the full name given; removed again with its temporary folder when the object
// goes.
class TestUser {
 public:
  // One account per test process and suffix, so that test processes running at once do not
  // meet.
  explicit TestUser(const std::string& suffix = "", const std::string& fullName = "")
      : name_("quentaris" + std::to_string(getpid()) + suffix), home_(root_ / "home") {
    namespace fs = std::filesystem;
    fs::permissions(root_.Path(), fs::perms::owner_all | fs::perms::others_exec);
    // An account left over from a test process that ended early is taken over.
    if (RunProgram("/usr/sbin/usermod", {"-c", fullName, "-d", home_, name_}, {}).exitCode != 0 &&
        RunProgram("/usr/sbin/useradd", {"-M", "-s", "/bin/sh", "-c", fullName, "-d", home_, name_},
                   {})
                .exitCode != 0)
      throw std::runtime_error("cannot create the test user");
    const passwd* entry = getpwnam(name_.c_str());
    if (entry == nullptr) throw std::runtime_error("the test user has no entry");
    uid_ = entry->pw_uid;
    gid_ = entry->pw_gid;
    fs::create_directories(home_ + "/.config/QUENTARIS/PDF Printer");
    for (const auto& made : fs::recursive_directory_iterator(home_))
      Own(made.path());
    Own(home_);
  }
  ~TestUser() {
    std::error_code ignored;
    std::filesystem::remove_all(SharedTempFolder(), ignored);
    RunProgram("/usr/sbin/userdel", {name_}, {});
  }

  const std::string& Name() const { return name_; }
  uid_t Uid() const { return uid_; }
  const std::string& Home() const { return home_; }
  // The user's own folder in /tmp, and the folder gui and the backend use for the user's jobs
  // when no desktop session runs and nobody else holds that name.
  std::string SharedTempFolder() const { return "/tmp/quentaris-" + std::to_string(uid_); }
  std::string JobFolder() const { return SharedTempFolder() + "/QUENTARIS/PDF Printer"; }
  // Where the jobs go instead when someone else holds it.
  std::string CacheJobFolder() const { return home_ + "/.cache/QUENTARIS/PDF Printer"; }

  // Makes a file or folder the user's own.
  void Own(const std::string& path) const {
    if (chown(path.c_str(), uid_, gid_) != 0) throw std::runtime_error("cannot chown " + path);
  }
  void Put(const std::string& path, const std::string& bytes) const {
    PutFile(path, bytes);
    Own(path);
  }
  std::string Folder(const std::string& path) const {
    std::filesystem::create_directory(path);
    Own(path);
    return path;
  }
  // Writes the settings of a printer instance ("" the default one) that print without asking
  // or showing anything, with these "name=value" lines.
  void Settings(const std::string& instance, const std::vector<std::string>& lines) const {
    std::string settings =
        "[PDF Printer]\r\nshowsaveas=never\r\nshowsettings=never\r\nshowpdf=no\r\n";
    for (const std::string& line : lines)
      settings += line + "\r\n";
    Put(home_ + "/.config/QUENTARIS/PDF Printer/settings" +
            (instance.empty() ? "" : "-" + instance) + ".ini",
        settings);
  }
  // Whether a file is the user's and only the user may read and write it.
  bool OwnsAlone(const std::string& path) const {
    struct stat facts {};
    return stat(path.c_str(), &facts) == 0 && facts.st_uid == uid_ &&
           (facts.st_mode & 07777) == 0600;
  }
  // Once each PDF is there and no job file is left in the job folder, or after so many seconds:
  // "" when so and no run of gui failed, else what is missing and the logs gui kept of failed
  // runs (a run that ends well removes its log with its other files).
  static std::string PdfsOnceDone(const std::vector<std::string>& pdfs,
                                  const std::string& jobFolder, int seconds = 30) {
    std::string missing;
    std::string logs;
    Eventually(
        [&] {
          missing.clear();
          logs.clear();
          for (const std::string& pdf : pdfs) {
            if (!std::filesystem::exists(pdf)) missing += " " + pdf;
          }
          std::error_code gone;
          for (const auto& entry : std::filesystem::directory_iterator(jobFolder, gone)) {
            std::string extension = entry.path().extension();
            if (extension == ".log") logs += GetFile(entry.path());
            if (extension == ".ps" || extension == ".pdf") missing += " " + entry.path().string();
          }
          return missing.empty();
        },
        seconds);
    return missing.empty() ? logs : "Missing or left:" + missing + "\n" + logs;
  }

 private:
  TempFolder root_;
  std::string name_;
  std::string home_;
  uid_t uid_ = 0;
  gid_t gid_ = 0;
};

}  // namespace gui::test
