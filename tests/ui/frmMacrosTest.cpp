#include "ui/qt/frmMacros.h"

#include <QListWidget>
#include <QTest>

#include "tests/ui/DialogTesting.h"

namespace gui {
namespace {

using test::Child;

std::string ShowMacros(const std::function<void(frmMacros*, QListWidget*)>& act) {
  frmMacros macros;
  test::WhenModal<frmMacros>(
      [act](frmMacros* shown) { act(shown, shown->findChild<QListWidget*>("lstMacros")); });
  macros.exec();
  return macros.Macro();
}

class MacrosTest : public test::DialogTest {};

TEST_F(MacrosTest, EnterRightAfterOpeningChoosesTheFirstMacro) {
  EXPECT_EQ(
      ShowMacros([](frmMacros*, QListWidget* list) { QTest::keyClick(list, Qt::Key_Return); }),
      "<date>");
}

TEST_F(MacrosTest, DoubleClickChoosesTheEntry) {
  std::string chosen = ShowMacros([](frmMacros*, QListWidget* list) {
    QListWidgetItem* desktop = list->findItems("<desktop>", Qt::MatchStartsWith).front();
    QRect place = list->visualItemRect(desktop);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, place.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, place.center());
  });
  EXPECT_EQ(chosen, "<desktop>");
}

TEST_F(MacrosTest, EscapeOrTheCloseBoxChoosesNothing) {
  EXPECT_EQ(
      ShowMacros([](frmMacros*, QListWidget* list) { QTest::keyClick(list, Qt::Key_Return); }),
      "<date>");
  EXPECT_EQ(
      ShowMacros([](frmMacros*, QListWidget* list) { QTest::keyClick(list, Qt::Key_Escape); }), "");
  EXPECT_EQ(ShowMacros([](frmMacros* shown, QListWidget*) { shown->close(); }), "");
}

TEST_F(MacrosTest, ListsEveryMacroAndFillsTheWindow) {
  Labels("L72=Makroer");
  frmMacros macros;
  auto* list = Child<QListWidget>(&macros, "lstMacros");
  EXPECT_EQ(macros.windowTitle(), "Makroer");
  EXPECT_EQ(list->count(), 12);
  EXPECT_EQ(list->currentRow(), 0);
  EXPECT_TRUE(list->item(0)->text().startsWith("<date> "));
  macros.show();
  macros.resize(500, 150);
  QApplication::processEvents();
  EXPECT_EQ(list->geometry(), macros.rect());
  test::KeepScreenshot(&macros, "frmMacros");
}

}  // namespace
}  // namespace gui
