#include "ui/UserInterface.h"

#include "platform/Environment.h"
#include "ui/HeadlessUi.h"

namespace gui {

namespace {
std::unique_ptr<UserInterface>& Current() {
  static std::unique_ptr<UserInterface> ui = std::make_unique<HeadlessUi>();
  return ui;
}
}  // namespace

UserInterface& Ui() {
  return *Current();
}

void InstallUi(std::unique_ptr<UserInterface> ui) {
  Current() = std::move(ui);
}

bool HeadlessRequested() {
  if (platform::GetVariable("QUENTARIS_UI").value_or("") == "headless") return true;
  return platform::GetVariable("DISPLAY").value_or("").empty() &&
         platform::GetVariable("WAYLAND_DISPLAY").value_or("").empty();
}

}  // namespace gui
