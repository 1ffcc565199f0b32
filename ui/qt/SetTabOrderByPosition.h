#pragma once

#include <string>
#include <vector>

class QWidget;

namespace gui {

// A control's place in form coordinates.
struct ControlPlace {
  int left = 0;
  int top = 0;
  int height = 0;
};

// The sort key of a place: top and left, each as the last eight characters of its zero-padded
// decimal text, so that keys compare as text.
std::string PositionKey(int top, int left);
// The indexes of the places in keyboard order: top to bottom, and left to right where controls
// share a row.
std::vector<int> OrderByPosition(const std::vector<ControlPlace>& places);
// Chains the form's focusable controls in that order.
void SetTabOrderByPosition(QWidget* form);

}  // namespace gui
