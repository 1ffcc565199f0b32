#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/RunProgram.h"
#include "tests/support/TempFolder.h"

namespace gui::test {

// build/gui copied into a program folder of its own, run headless on one job with the settings
// of its global file; runtime, data, home and an output folder live beside it.
class ProgramFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* folder : {"program", "runtime", "data", "out", "home/Desktop"})
      std::filesystem::create_directories(root_ / folder);
    std::filesystem::permissions(root_ / "runtime", std::filesystem::perms::owner_all);
    std::filesystem::copy_file(GUI_BINARY, root_ / "program/gui");
  }

  void Settings(const std::string& settings) {
    PutFile(root_ / "program/global.ini",
            "[PDF Printer]\r\nshowsettings=never\r\nshowpdf=no\r\n" + settings);
  }
  ProgramResult Print(const std::string& job, const std::string& session,
                      std::vector<std::string> environment = {},
                      const std::string& document = "report.odt") {
    return Run(
        {"ps=" + job, "printer=QUENTARIS PDF Printer", "doc=" + document, "sessionid=" + session},
        environment);
  }
  // Any other start of the program, with the same folders.
  ProgramResult Run(const std::vector<std::string>& arguments,
                    std::vector<std::string> environment = {}) {
    environment.insert(environment.end(),
                       {"XDG_RUNTIME_DIR=" + root_ / "runtime", "APPDATA=" + root_ / "data",
                        "HOME=" + root_ / "home", "QUENTARIS_UI=headless"});
    return RunProgram(root_ / "program/gui", arguments, environment);
  }
  std::string Out(const std::string& name) const { return root_ / "out/" + name; }
  std::string Temp(const std::string& name = "") const {
    return root_ / "runtime/QUENTARIS/PDF Printer/" + name;
  }
  std::string Log(const std::string& session) const {
    return GetFile(Temp(session + "_printer.log"));
  }

  TempFolder root_;
};

// Mounts a small tmpfs, private to this test process and the programs it starts, on a folder
// until the object goes. Mounted() is false where the machine does not allow it.
class SmallDisk {
 public:
  SmallDisk(const std::string& folder, const std::string& options) : folder_(folder) {
    // A mount namespace of the test's own: nothing outlives the test process, even a crash.
    static const bool privateMounts =
        unshare(CLONE_NEWNS) == 0 && mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    mounted_ = privateMounts && mount("tmpfs", folder.c_str(), "tmpfs", 0, options.c_str()) == 0;
  }
  ~SmallDisk() {
    if (mounted_) umount2(folder_.c_str(), MNT_DETACH);
  }
  SmallDisk(const SmallDisk&) = delete;
  SmallDisk& operator=(const SmallDisk&) = delete;
  bool Mounted() const { return mounted_; }

 private:
  std::string folder_;
  bool mounted_ = false;
};

// Writes to the file until the disk holding it is full, the last partial block included.
inline void FillDisk(const std::string& file) {
  int fd = open(file.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
  std::string block(4096, 'x');
  while (write(fd, block.data(), block.size()) > 0) {
  }
  while (write(fd, block.data(), 1) > 0) {
  }
  close(fd);
}

}  // namespace gui::test
