#include "ui/qt/QtPlatforms.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "tests/support/RunProgram.h"
#include "tests/support/ScopedVariable.h"
#include "tests/support/TempFolder.h"

namespace gui::test {
namespace {

// The choice with QT_QPA_PLATFORM, DISPLAY, WAYLAND_DISPLAY and XDG_SESSION_TYPE set as given
// ("" counts as not set), as "platforms|why not".
std::string ChoiceWith(const std::string& qtPlatforms, const std::string& display,
                       const std::string& waylandDisplay, const std::string& session = "") {
  ScopedVariable platforms("QT_QPA_PLATFORM", qtPlatforms);
  ScopedVariable x("DISPLAY", display);
  ScopedVariable wayland("WAYLAND_DISPLAY", waylandDisplay);
  ScopedVariable kind("XDG_SESSION_TYPE", session);
  PlatformChoice choice = ChooseQtPlatforms();
  return choice.platforms + "|" + choice.unusable;
}

// An X server of the test's own on a free display, admitting clients that present the cookie
// of its authority file, until the object goes away.
class VirtualDisplay {
 public:
  explicit VirtualDisplay(const std::string& authority) {
    int ready[2];
    if (access("/usr/bin/Xvfb", X_OK) != 0 || pipe(ready) != 0) return;
    pid_ = fork();
    if (pid_ == 0) Serve(ready, authority);
    close(ready[1]);
    // The server writes its display number and a line break, in pieces, once it takes clients;
    // closing the pipe before the line break would end it.
    std::string number;
    for (char c; pid_ > 0 && read(ready[0], &c, 1) == 1 && c != '\n';)
      number += c;
    close(ready[0]);
    if (!number.empty()) name_ = ":" + number;
  }
  ~VirtualDisplay() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }
  VirtualDisplay(const VirtualDisplay&) = delete;
  VirtualDisplay& operator=(const VirtualDisplay&) = delete;

  // "" when no server could be started.
  const std::string& Name() const { return name_; }

 private:
  [[noreturn]] static void Serve(const int ready[2], const std::string& authority) {
    close(ready[0]);
    dup2(ready[1], 3);
    int quiet = open("/dev/null", O_WRONLY);
    dup2(quiet, STDERR_FILENO);
    execl("/usr/bin/Xvfb", "Xvfb", "-displayfd", "3", "-nolisten", "tcp", "-auth",
          authority.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }

  pid_t pid_ = -1;
  std::string name_;
};

TEST(QtPlatforms, ADisplayThatCannotBeOpenedIsLeftOutAndSaysWhy) {
  TempFolder runtime;
  ScopedVariable runtimeFolder("XDG_RUNTIME_DIR", runtime.Path());
  EXPECT_EQ(ChoiceWith("", ":77", ""), "|The display ':77' cannot be opened");
  EXPECT_EQ(ChoiceWith("", "", "wayland-77", "wayland"),
            "|The Wayland display 'wayland-77' cannot be opened");
  EXPECT_EQ(ChoiceWith("", ":77", "wayland-77"),
            "|The display ':77' cannot be opened; The Wayland display 'wayland-77' cannot be "
            "opened");
  // Qt's own list keeps what can still serve, options and all.
  EXPECT_EQ(ChoiceWith("xcb;offscreen:fontengine=freetype", ":77", ""),
            "offscreen:fontengine=freetype|");
  EXPECT_EQ(ChoiceWith("XCB", "", ""), "|DISPLAY is not set");
  EXPECT_EQ(ChoiceWith("no-such-platform", ":77", ""),
            "|Qt has no platform plugin 'no-such-platform'");
}

TEST(QtPlatforms, AnXDisplayServesOnlyWithItsAuthority) {
  TempFolder files;
  const std::string cookie = "0123456789abcdef0123456789abcdef";
  // The server takes its cookie whatever display its entry names.
  auto authority = [&](const std::string& name, const std::string& display,
                       const std::string& key) {
    std::string path = files / name;
    test::RunProgram("/usr/bin/xauth", {"-f", path, "add", display, ".", key}, {});
    return path;
  };
  if (access("/usr/bin/xauth", X_OK) != 0) GTEST_SKIP() << "xauth is needed for an X authority";
  VirtualDisplay display(authority("server", ":0", cookie));
  if (display.Name().empty()) GTEST_SKIP() << "Xvfb is needed for an X display";
  {
    ScopedVariable own("XAUTHORITY", authority("own", display.Name(), cookie));
    EXPECT_EQ(ChoiceWith("", display.Name(), ""), "xcb|");
    // A Wayland display of the session that is gone leaves the X display to serve.
    EXPECT_EQ(ChoiceWith("", display.Name(), "/nonexistent/wayland-0", "wayland"), "xcb|");
  }
  ScopedVariable stale("XAUTHORITY", authority("stale", display.Name(), std::string(32, 'f')));
  EXPECT_EQ(ChoiceWith("", display.Name(), ""),
            "|The display '" + display.Name() + "' cannot be opened");
}

}  // namespace
}  // namespace gui::test
