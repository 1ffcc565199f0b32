#pragma once

class QWidget;

namespace gui {

// Makes the window the active one, restoring it when minimised; true when it is active
// afterwards. A window manager may refuse, so callers take the answer as a hint.
bool BringToForeground(QWidget* window);
// Puts the window into the always-on-top band or takes it out, without moving or hiding it.
void SetTopMost(QWidget* window, bool topMost);

}  // namespace gui
