#include "ui/qt/QtUi.h"

#include "services/modLocalize.h"
#include "tests/support/FakeSpooler.h"
#include "tests/ui/DialogTesting.h"
#include "ui/HeadlessUi.h"
#include "ui/qt/LocalizeForm.h"
#include "ui/qt/ProgressNotice.h"
#include "ui/qt/SetTabOrderByPosition.h"
#include "ui/qt/frmInstances.h"
#include "ui/qt/frmProgress.h"

namespace gui::test {
namespace {

using B = QMessageBox;

// The first test of the program, before any window is up.
TEST(QtUi, StartsQtOnlyForAWindowAndUnloadFormsClosesEveryWindow) {
  QtUi ui;
  ui.ProcessEvents();
  ui.UnloadForms();
  EXPECT_EQ(QApplication::instance(), nullptr);
  EnsureQtApplication();
  auto* window = new QWidget;
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->show();
  ui.UnloadForms();
  ui.ProcessEvents();
  EXPECT_FALSE(QApplication::topLevelWidgets().contains(window));
}

TEST(QtUi, MessageBoxHasTitleIconButtonsAndPlaceOfItsStyle) {
  QtUi ui;
  EnsureQtApplication();
  // Shows a box of the style, checks it once it is up and presses one of its buttons.
  auto showAndPress = [&ui](int style, B::StandardButton press, B::Icon icon, int buttons) {
    WhenModal<QMessageBox>([=](QMessageBox* box) {
      EXPECT_EQ(box->windowTitle() + "|" + box->text(),
                "QUENTARIS PDF Printer|Line one\r\nLine two");
      EXPECT_EQ(box->icon(), icon) << style;
      EXPECT_EQ(box->buttons().size(), buttons) << style;
      // Only the foreground flag keeps the box in front of other programs' windows.
      EXPECT_EQ(box->windowFlags().testFlag(Qt::WindowStaysOnTopHint),
                (style & mb::kForeground) != 0)
          << style;
      box->button(press)->click();
    });
    return ui.MessageBox("Line one\r\nLine two", style, "QUENTARIS PDF Printer");
  };
  // Style, button pressed, answer, icon and number of buttons.
  const std::tuple<int, B::StandardButton, int, B::Icon, int> cases[] = {
      {mb::kCritical | mb::kOkOnly, B::Ok, mb::kOk, B::Critical, 1},
      {mb::kYesNo | mb::kQuestion, B::No, mb::kNo, B::Question, 2},
      {mb::kYesNo | mb::kQuestion, B::Yes, mb::kYes, B::Question, 2},
      {mb::kRetryCancel | mb::kExclamation, B::Retry, mb::kRetry, B::Warning, 2},
      {mb::kRetryCancel | mb::kExclamation, B::Cancel, mb::kCancel, B::Warning, 2},
      {mb::kOkOnly | mb::kInformation, B::Ok, mb::kOk, B::Information, 1},
      {mb::kYesNoCancel, B::Cancel, mb::kCancel, B::NoIcon, 3},
      {mb::kInformation | mb::kForeground, B::Ok, mb::kOk, B::Information, 1},
  };
  for (auto [style, press, answer, icon, buttons] : cases)
    EXPECT_EQ(showAndPress(style, press, icon, buttons), answer) << style;
}

class FormTest : public DialogTest {};

TEST_F(FormTest, LocalizeFormTranslatesEveryCaptionOfTheForm) {
  QWidget form;
  form.setWindowTitle("[L1]Options");
  auto* tabs = new QTabWidget(&form);
  auto* page = new QWidget;
  tabs->addTab(page, "[L2]General");
  auto* frame = new QGroupBox("[L3]Document", page);
  auto* label = new QLabel("[L4]Title", frame);
  auto* check = new QCheckBox("[L5]Show", frame);
  auto* button = new QPushButton("no key", &form);
  LocalizeForm(&form);
  EXPECT_EQ(QStringList({form.windowTitle(), tabs->tabText(0), frame->title(), label->text(),
                         check->text(), button->text()})
                .join('|'),
            "Options|General|Document|Title|Show|no key");
}

TEST_F(FormTest, ProgressShowsOnlyForAStepOutlastingTheDelayAndOnlyOnAScreen) {
  ProgressNotice quick(3600 * 1000);
  quick.Begin("quick.doc");
  quick.Poll();
  EXPECT_EQ(quick.Window(), nullptr);
  quick.End();
  quick.Poll();
  EXPECT_EQ(quick.Window(), nullptr);

  ProgressNotice notice(0);
  notice.Begin("Quarterly report.doc");
  EXPECT_EQ(notice.Window(), nullptr);
  notice.Poll();
  ASSERT_NE(notice.Window(), nullptr);
  EXPECT_TRUE(notice.Window()->isVisible());
  EXPECT_EQ(
      notice.Window()->windowTitle() + "|" + Child<QLabel>(notice.Window(), "lblDocument")->text(),
      "QUENTARIS PDF Printer|Quarterly report.doc");
  auto* bar = Child<QProgressBar>(notice.Window(), "barProgress");
  EXPECT_EQ(bar->minimum(), bar->maximum());  // a moving bar, for the length is unknown
  KeepScreenshot(notice.Window(), "frmProgress");
  notice.End();
  EXPECT_EQ(notice.Window(), nullptr);

  // Without a screen nothing shows.
  HeadlessUi headless;
  int before = QApplication::topLevelWidgets().size();
  headless.BeginProgress("job.doc");
  headless.ProcessEvents();
  headless.EndProgress();
  EXPECT_EQ(QApplication::topLevelWidgets().size(), before);
  EXPECT_THROW(headless.ShowOptionsDialog(), Error);
}

// Runs the selection, acting on the window once it is up.
std::string SelectWith(const std::function<void(frmInstances&, QTreeWidget&)>& act) {
  EnsureQtApplication();
  WhenModal<frmInstances>(
      [act](frmInstances* form) { act(*form, *Child<QTreeWidget>(form, "lv")); });
  return frmInstances::SelectInstance();
}

std::string Press(std::initializer_list<Qt::Key> keys) {
  return SelectWith([keys](frmInstances&, QTreeWidget& list) {
    for (Qt::Key key : keys)
      QTest::keyClick(&list, key);
  });
}

TEST(frmInstances, ListsTheInstancesAndPicksTheRowChosen) {
  ScopedFakeSpooler spooler;
  EXPECT_EQ(frmInstances::SelectInstance(), "");  // none: no window
  spooler->Add("QUENTARIS_PDF_Printer_Invoices", "QUENTARIS", "QUENTARIS PDF Printer [Invoices]");
  EXPECT_EQ(frmInstances::SelectInstance(), "Invoices");  // one: no window either
  spooler->Add("QUENTARIS_PDF_Printer", "QUENTARIS", "QUENTARIS PDF Printer");
  spooler->Add("QUENTARIS_PDF_Printer_Letters", "QUENTARIS", "QUENTARIS PDF Printer [Letters]");
  EXPECT_EQ(Press({Qt::Key_Return}), "Invoices");
  EXPECT_EQ(Press({Qt::Key_Down, Qt::Key_Enter}), "");
  EXPECT_EQ(Press({Qt::Key_Escape}), "");
  EXPECT_EQ(SelectWith([](frmInstances& form, QTreeWidget& list) {
              list.setCurrentItem(list.topLevelItem(1));
              form.close();
            }),
            "");

  QStringList rows;
  QRect listArea;
  int columnWidth = 0;
  EXPECT_EQ(SelectWith([&](frmInstances& form, QTreeWidget& list) {
              rows << list.headerItem()->text(0);
              for (int i = 0; i < list.topLevelItemCount(); ++i)
                rows << list.topLevelItem(i)->text(0);
              form.resize(400, 300);
              QApplication::processEvents();
              listArea = list.geometry();
              columnWidth = list.columnWidth(0);
              QRect place = list.visualItemRect(list.topLevelItem(2));
              QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, place.center());
              QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, place.center());
              if (form.isVisible()) form.reject();  // the click missed: fail, do not hang
            }),
            "Letters");
  EXPECT_EQ(rows, (QStringList{"Printer", "Invoices", "[default]", "Letters"}));
  EXPECT_EQ(listArea, QRect(0, 0, 400, 300));
  EXPECT_EQ(columnWidth, 300);
}

TEST_F(FormTest, TabOrderGoesByRowsTopToBottomAndEachRowLeftToRightThroughNestedFrames) {
  std::vector<ControlPlace> places = {
      {200, 40, 22},  // 0: second row, right
      {10, 41, 20},   // 1: second row, left, a pixel lower than its neighbour
      {10, 10, 22},   // 2: first row
      {10, -30, 22},  // 3: moved off the top
      {10, 80, 22},   // 4: third row
  };
  EXPECT_EQ(OrderByPosition(places), (std::vector<int>{3, 2, 1, 0, 4}));

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
  QWidgetList boxes;  // the focus chain also holds the frames
  for (QWidget* next = top->nextInFocusChain(); next != top; next = next->nextInFocusChain())
    if (qobject_cast<QLineEdit*>(next)) boxes << next;
  EXPECT_EQ(boxes, QWidgetList({left, right, low}));
}

}  // namespace
}  // namespace gui::test
