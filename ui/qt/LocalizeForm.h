#pragma once

class QWidget;

namespace gui {

// Localises the caption of a window and of every control on it.
void LocalizeForm(QWidget* form);

}  // namespace gui
