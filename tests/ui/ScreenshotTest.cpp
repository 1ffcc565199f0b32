#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>

#include "tests/support/RunProgram.h"
#include "tests/support/TempFolder.h"

namespace gui {
namespace {

namespace fs = std::filesystem;

// build/gui on a virtual X display, photographed once its dialog is up.
class ScreenshotTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (access("/usr/bin/xvfb-run", X_OK) != 0 || access("/usr/bin/import", X_OK) != 0)
      GTEST_SKIP() << "Xvfb and ImageMagick are needed to photograph the dialogs";
    fs::create_directories(root_ / "program");
    fs::create_directories(root_ / "runtime");
    fs::permissions(root_ / "runtime", fs::perms::owner_all);
    fs::copy_file(GUI_BINARY, root_ / "program/gui");
    test::PutFile(root_ / "program/global.ini",
                  "[PDF Printer]\r\noutput=" + root_ / "out.pdf" + "\r\nshowsettings=always\r\n");
  }

  // Runs gui with the arguments on a virtual screen and keeps a picture of the screen once the
  // dialog has been painted on the black screen, for the picture grows then; its size.
  std::uintmax_t Photograph(const std::vector<std::string>& arguments, const std::string& name) {
    fs::path picture = fs::path(GUI_BINARY).parent_path() / "screenshots" / name;
    fs::create_directories(picture.parent_path());
    fs::remove(picture);
    std::vector<std::string> words = {
        "-a",
        "-s",
        "-screen 0 1000x640x24 -nolisten tcp",
        "/bin/sh",
        "-c",
        "picture=$1; shift; \"$@\" >/dev/null 2>&1 & for i in $(seq 40); do sleep 0.25; "
        "import -window root \"$picture\"; [ \"$(stat -c %s \"$picture\")\" -gt 8000 ] && break; "
        "done 2>/dev/null; kill $!",
        "sh",
        picture.string(),
        root_ / "program/gui"};
    words.insert(words.end(), arguments.begin(), arguments.end());
    test::RunProgram("/usr/bin/xvfb-run", words,
                     {"XDG_RUNTIME_DIR=" + root_ / "runtime", "APPDATA=" + root_ / "data",
                      "QUENTARIS_UI=qt", "QT_QPA_PLATFORM="});
    std::cout << "screenshot: " << picture.string() << std::endl;
    return fs::exists(picture) ? fs::file_size(picture) : 0;
  }

  test::TempFolder root_;
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
