#include "ui/qt/SetTabOrderByPosition.h"

#include <QGroupBox>
#include <QLineEdit>

#include "tests/ui/DialogTesting.h"

namespace gui {
namespace {

TEST(SetTabOrderByPosition, KeysPadTopAndLeftSoThatTheyCompareAsText) {
  EXPECT_EQ(PositionKey(120, 8), "00000120,00000008");
  EXPECT_EQ(PositionKey(-5, 0), "000000-5,00000000");
  EXPECT_LT(PositionKey(-5, 0), PositionKey(0, 0));
}

TEST(SetTabOrderByPosition, OrdersRowsTopToBottomAndEachRowLeftToRight) {
  std::vector<ControlPlace> places = {
      {200, 40, 22},  // 0: second row, right
      {10, 41, 20},   // 1: second row, left, a pixel lower than its neighbour
      {10, 10, 22},   // 2: first row
      {10, -30, 22},  // 3: moved off the top
      {10, 80, 22},   // 4: third row
  };
  EXPECT_EQ(OrderByPosition(places), (std::vector<int>{3, 2, 1, 0, 4}));
}

class TabOrderTest : public test::DialogTest {};

// The next text box in the focus chain, which also holds the frames.
QWidget* NextBox(QWidget* control) {
  do {
    control = control->nextInFocusChain();
  } while (!qobject_cast<QLineEdit*>(control));
  return control;
}

TEST_F(TabOrderTest, ControlsInNestedFramesFollowTheirPlaceOnTheForm) {
  QWidget form;
  auto* outer = new QGroupBox(&form);
  outer->setGeometry(0, 100, 300, 200);
  auto* inner = new QGroupBox(outer);
  inner->setGeometry(10, 20, 280, 100);
  auto* low = new QLineEdit(inner);  // made first, placed last
  low->setGeometry(10, 40, 100, 20);
  auto* top = new QLineEdit(&form);
  top->setGeometry(10, 10, 100, 20);
  auto* right = new QLineEdit(inner);
  right->setGeometry(150, 10, 100, 20);
  auto* left = new QLineEdit(outer);
  left->setGeometry(10, 30, 100, 20);
  SetTabOrderByPosition(&form);
  EXPECT_EQ(NextBox(top), left);
  EXPECT_EQ(NextBox(left), right);
  EXPECT_EQ(NextBox(right), low);
}

}  // namespace
}  // namespace gui
