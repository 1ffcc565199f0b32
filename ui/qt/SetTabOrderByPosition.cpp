#include "ui/qt/SetTabOrderByPosition.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QWidget>
#include <algorithm>
#include <numeric>

namespace gui {

namespace {

std::string Padded(int number) {
  std::string text = "00000000" + std::to_string(number);
  return text.substr(text.size() - 8);
}

// Controls centred in one layout row differ in top by a pixel or two; each takes the top of the
// first control whose height spans its middle, so a row keeps left-to-right order.
std::vector<int> RowTops(const std::vector<ControlPlace>& places) {
  std::vector<int> byTop(places.size());
  std::iota(byTop.begin(), byTop.end(), 0);
  std::stable_sort(byTop.begin(), byTop.end(),
                   [&](int a, int b) { return places[a].top < places[b].top; });
  std::vector<int> rowTop(places.size());
  std::vector<int> anchors;
  for (int i : byTop) {
    int middle = places[i].top + places[i].height / 2;
    auto anchor = std::find_if(anchors.begin(), anchors.end(), [&](int a) {
      return places[a].top <= middle && middle < places[a].top + places[a].height;
    });
    rowTop[i] = anchor == anchors.end() ? places[i].top : rowTop[*anchor];
    if (anchor == anchors.end()) anchors.push_back(i);
  }
  return rowTop;
}

// Parts of a compound control (the edit field of a combo box) follow their owner; controls
// hidden on purpose take no place.
bool IsTabStop(const QWidget* control, const QWidget* form) {
  if (control->isWindow() || control->isHidden() || !(control->focusPolicy() & Qt::TabFocus) ||
      control->focusProxy())
    return false;
  for (QWidget* owner = control->parentWidget(); owner && owner != form;
       owner = owner->parentWidget()) {
    if (qobject_cast<QComboBox*>(owner) || qobject_cast<QAbstractSpinBox*>(owner)) return false;
  }
  return true;
}

}  // namespace

std::string PositionKey(int top, int left) {
  return Padded(top) + "," + Padded(left);
}

std::vector<int> OrderByPosition(const std::vector<ControlPlace>& places) {
  std::vector<int> rowTop = RowTops(places);
  std::vector<std::string> keys;
  for (std::size_t i = 0; i < places.size(); ++i)
    keys.push_back(PositionKey(rowTop[i], places[i].left) + "," + Padded(places[i].top));
  std::vector<int> order(places.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return keys[a] < keys[b]; });
  return order;
}

void SetTabOrderByPosition(QWidget* form) {
  std::vector<QWidget*> controls;
  std::vector<ControlPlace> places;
  for (QWidget* control : form->findChildren<QWidget*>()) {
    if (!IsTabStop(control, form)) continue;
    QPoint at = control->mapTo(form, QPoint(0, 0));
    controls.push_back(control);
    places.push_back({at.x(), at.y(), control->height()});
  }
  QWidget* previous = nullptr;
  for (int index : OrderByPosition(places)) {
    if (previous) QWidget::setTabOrder(previous, controls[index]);
    previous = controls[index];
  }
}

}  // namespace gui
