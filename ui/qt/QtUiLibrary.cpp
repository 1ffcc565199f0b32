#include "ui/qt/QtUi.h"

// What gui looks up when it loads this library.
extern "C" gui::UserInterface* MakeQtUi(int progressDelayMs) {
  return new gui::QtUi(progressDelayMs);
}
