#pragma once

#include <string>
#include <vector>

namespace gui::backend {

struct GuiSession {
  std::vector<std::string> environment;
  bool headless = true;  // no graphical session: gui shows nothing and waits for no one
};

// The environment gui starts with: the account's basics, and the display, runtime folder and
// session bus of the user's graphical session when one is running; "QUENTARIS_UI=headless"
// otherwise. Found among the processes of the calling user, so it runs after becoming the user.
GuiSession GuiEnvironment(const std::string& name, const std::string& home,
                          const std::string& shell);

}  // namespace gui::backend
