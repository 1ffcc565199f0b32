#include "ui/qt/QtPlatforms.h"
#include "ui/qt/QtUi.h"

// What gui looks up when it loads this library: no windows, and why in unusable, when no
// display can be opened.
extern "C" gui::UserInterface* MakeQtUi(int progressDelayMs, std::string* unusable) {
  gui::PlatformChoice choice = gui::ChooseQtPlatforms();
  if (choice.platforms.empty()) {
    *unusable = choice.unusable;
    return nullptr;
  }
  gui::UseQtPlatforms(choice.platforms);
  return new gui::QtUi(progressDelayMs);
}
