#include "ui/qt/QtUi.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <functional>

#include <gtest/gtest.h>

#include "services/modLocalize.h"
#include "tests/support/Session.h"
#include "ui/qt/LocalizeForm.h"

namespace gui {
namespace {

struct Seen {
  QString title;
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  bool onTop = false;
  int buttons = 0;
};

// Shows a box through the interface, looks at it once it is up, and presses one of its buttons.
int ShowAndPress(QtUi& ui, int style, QMessageBox::StandardButton press, Seen& seen) {
  EnsureQtApplication();
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    seen = {box->windowTitle(), box->text(), box->icon(),
            box->windowFlags().testFlag(Qt::WindowStaysOnTopHint),
            static_cast<int>(box->buttons().size())};
    box->button(press)->click();
  });
  return ui.MessageBox("Line one\r\nLine two", style, "QUENTARIS PDF Printer");
}

TEST(QtUi, DoesNotStartQtUntilAWindowIsShown) {
  QtUi ui;
  ui.ProcessEvents();
  ui.UnloadForms();
  EXPECT_EQ(QApplication::instance(), nullptr);
}

TEST(QtUi, MessageBoxHasTitleIconAndButtonsOfItsStyle) {
  QtUi ui;
  Seen seen;
  EXPECT_EQ(ShowAndPress(ui, mb::kCritical | mb::kOkOnly, QMessageBox::Ok, seen), mb::kOk);
  EXPECT_EQ(seen.title, "QUENTARIS PDF Printer");
  EXPECT_EQ(seen.text, "Line one\r\nLine two");
  EXPECT_EQ(seen.icon, QMessageBox::Critical);
  EXPECT_EQ(seen.buttons, 1);
  EXPECT_FALSE(seen.onTop);

  struct Case {
    int style;
    QMessageBox::StandardButton press;
    int answer;
    QMessageBox::Icon icon;
    int buttons;
  } cases[] = {
      {mb::kYesNo | mb::kQuestion, QMessageBox::No, mb::kNo, QMessageBox::Question, 2},
      {mb::kYesNo | mb::kQuestion, QMessageBox::Yes, mb::kYes, QMessageBox::Question, 2},
      {mb::kRetryCancel | mb::kExclamation, QMessageBox::Retry, mb::kRetry, QMessageBox::Warning,
       2},
      {mb::kRetryCancel | mb::kExclamation, QMessageBox::Cancel, mb::kCancel, QMessageBox::Warning,
       2},
      {mb::kOkOnly | mb::kInformation, QMessageBox::Ok, mb::kOk, QMessageBox::Information, 1},
      {mb::kYesNoCancel, QMessageBox::Cancel, mb::kCancel, QMessageBox::NoIcon, 3},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ShowAndPress(ui, c.style, c.press, seen), c.answer) << c.style;
    EXPECT_EQ(seen.icon, c.icon) << c.style;
    EXPECT_EQ(seen.buttons, c.buttons) << c.style;
  }
}

TEST(QtUi, ForegroundFlagKeepsTheBoxInFront) {
  QtUi ui;
  Seen seen;
  ShowAndPress(ui, mb::kInformation | mb::kForeground, QMessageBox::Ok, seen);
  EXPECT_TRUE(seen.onTop);
}

TEST(QtUi, UnloadFormsClosesEveryWindow) {
  QtUi ui;
  EnsureQtApplication();
  auto* window = new QWidget;
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->show();
  ui.UnloadForms();
  ui.ProcessEvents();
  EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty() ||
              !QApplication::topLevelWidgets().contains(window));
}

TEST(LocalizeForm, TranslatesEveryCaptionOfTheForm) {
  test::Session session;
  LoadLabels();
  EnsureQtApplication();
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
  EXPECT_EQ(form.windowTitle(), "Options");
  EXPECT_EQ(tabs->tabText(0), "General");
  EXPECT_EQ(frame->title(), "Document");
  EXPECT_EQ(label->text(), "Title");
  EXPECT_EQ(check->text(), "Show");
  EXPECT_EQ(button->text(), "no key");
}

}  // namespace
}  // namespace gui
