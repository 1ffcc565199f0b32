#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/RunProgram.h"
#include "tests/support/TempFolder.h"

namespace gui {
namespace {

namespace fs = std::filesystem;
using test::PutFile;

// A child process started with its own environment additions, ended when the object goes.
class Background {
 public:
  Background(const std::vector<std::string>& words, const std::vector<std::string>& environment) {
    pid_ = fork();
    if (pid_ != 0) return;
    for (const std::string& entry : environment)
      putenv(const_cast<char*>(entry.c_str()));
    unsetenv("QT_QPA_PLATFORM");
    std::vector<char*> argv;
    for (const std::string& word : words)
      argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  ~Background() {
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }

 private:
  pid_t pid_;
};

// build/gui on a virtual X display, photographed once its dialog is up.
class ScreenshotTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (access("/usr/bin/Xvfb", X_OK) != 0 || access("/usr/bin/import", X_OK) != 0) {
      GTEST_SKIP() << "Xvfb and ImageMagick are needed to photograph the dialogs";
    }
    display_ = ":" + std::to_string(90 + getpid() % 100);
    fs::create_directories(root_ / "program");
    fs::create_directories(root_ / "runtime");
    fs::permissions(root_ / "runtime", fs::perms::owner_all);
    fs::copy_file(GUI_BINARY, root_ / "program/gui");
    PutFile(root_ / "program/global.ini",
            "[PDF Printer]\r\noutput=" + root_ / "out.pdf" + "\r\nshowsettings=always\r\n");
    folder_ = fs::path(GUI_BINARY).parent_path() / "screenshots";
    fs::create_directories(folder_);
  }

  // Runs gui with the arguments until its window shows, then keeps a picture of the screen.
  std::uintmax_t Photograph(const std::vector<std::string>& arguments, const std::string& name) {
    Background server({"Xvfb", display_, "-screen", "0", "1000x640x24", "-nolisten", "tcp"}, {});
    std::string socket = "/tmp/.X11-unix/X" + display_.substr(1);
    for (int i = 0; i < 100 && !fs::exists(socket); ++i)
      usleep(50 * 1000);
    std::vector<std::string> words{root_ / "program/gui"};
    words.insert(words.end(), arguments.begin(), arguments.end());
    Background gui(words, {"DISPLAY=" + display_, "XDG_RUNTIME_DIR=" + root_ / "runtime",
                           "APPDATA=" + root_ / "data", "QUENTARIS_UI=qt"});
    std::string picture = (folder_ / name).string();
    fs::remove(picture);
    // The picture grows once the dialog has been painted on the black screen.
    for (int i = 0; i < 40; ++i) {
      usleep(250 * 1000);
      test::RunProgram("/usr/bin/import", {"-display", display_, "-window", "root", picture}, {});
      if (fs::exists(picture) && fs::file_size(picture) > 8000) break;
    }
    std::cout << "screenshot: " << picture << std::endl;
    return fs::exists(picture) ? fs::file_size(picture) : 0;
  }

  test::TempFolder root_;
  std::string display_;
  fs::path folder_;
};

TEST_F(ScreenshotTest, CreatePdfDialogOfAPrintJob) {
  std::string job = std::string(GUI_SOURCE_DIR) + "/samples/report.ps";
  EXPECT_GT(Photograph({"ps=" + job, "doc=report.odt", "sessionid=shot"}, "print-dialog.png"),
            8000u);
}

TEST_F(ScreenshotTest, OptionsDialog) {
  EXPECT_GT(Photograph({}, "options-dialog.png"), 8000u);
}

}  // namespace
}  // namespace gui
