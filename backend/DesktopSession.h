#pragma once

#include <string>
#include <vector>

namespace gui::backend {

// The environment gui starts with: the account's basics, and the display, runtime folder and
// session bus of the user's graphical session when one is running; "QUENTARIS_UI=headless"
// otherwise. Found among the processes of the calling user, so it runs after becoming the user.
std::vector<std::string> GuiEnvironment(const std::string& name, const std::string& home,
                                        const std::string& shell);

}  // namespace gui::backend
