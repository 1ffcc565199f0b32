#pragma once

#include "ui/modGUI.h"

class QWidget;

namespace gui {

// Shows the states in the form's controls, found by their names; a control the form lacks is
// passed over.
void ShowControls(QWidget* form, const DialogControls& controls);
// The states of the form's controls; a control the form lacks keeps its default.
DialogControls ReadControls(const QWidget* form);

}  // namespace gui
