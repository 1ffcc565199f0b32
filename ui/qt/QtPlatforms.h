#pragma once

#include <string>

namespace gui {

// The Qt platforms that can show windows in this run, in the order Qt is to try them (a
// QT_QPA_PLATFORM list, or the X and Wayland displays that are set); empty when none can, and
// then unusable says why.
struct PlatformChoice {
  std::string platforms;
  std::string unusable;
};

// Opens each display once and looks for the platform's plugin, so that Qt is never asked for a
// display it cannot connect to: it would abort the program.
PlatformChoice ChooseQtPlatforms();

}  // namespace gui
