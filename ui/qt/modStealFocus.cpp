#include "ui/qt/modStealFocus.h"

#include <QApplication>
#include <QWidget>
#include <QWindow>

namespace gui {

bool BringToForeground(QWidget* window) {
  if (window->isActiveWindow()) return true;
  if (window->isMinimized()) {
    window->showNormal();
  } else {
    window->show();
  }
  window->raise();
  window->activateWindow();
  return window->isActiveWindow();
}

// The flag goes to the native window directly: changing the widget's own flags would hide it,
// and hiding a modal dialog ends it.
void SetTopMost(QWidget* window, bool topMost) {
  if (QWindow* handle = window->windowHandle()) handle->setFlag(Qt::WindowStaysOnTopHint, topMost);
}

}  // namespace gui
