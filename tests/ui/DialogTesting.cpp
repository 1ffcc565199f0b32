#include "tests/ui/DialogTesting.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <filesystem>

#include "services/modLocalize.h"
#include "ui/qt/QtUi.h"

namespace gui::test {

DialogTest::DialogTest() {
  EnsureQtApplication();
  LoadLabels();
}

DialogTest::~DialogTest() {
  std::filesystem::remove(session_.Root() / "program/labels.txt");
  LoadLabels();
}

void DialogTest::Labels(const std::string& lines) {
  std::string bytes;
  for (char c : lines) {
    if (c == '\n') bytes += std::string("\r\0", 2);
    bytes += c;
    bytes += '\0';
  }
  PutFile(session_.Root() / "program/labels.txt", bytes);
  LoadLabels();
}

void KeepScreenshot(QWidget* window, const std::string& name) {
  std::filesystem::path folder = std::filesystem::path(GUI_BINARY).parent_path() / "screenshots";
  std::filesystem::create_directories(folder);
  window->grab().save(QString::fromStdString((folder / (name + ".png")).string()));
}

void ShowActive(QWidget* window) {
  window->show();
  QApplication::setActiveWindow(window);
  ASSERT_TRUE(QTest::qWaitForWindowActive(window));
}

namespace {

// A caption is cut off when its text is wider than the room its control gives it.
void ExpectFits(QWidget* control) {
  std::string name = control->objectName().toStdString();
  auto* label = qobject_cast<QLabel*>(control);
  if (label && !label->wordWrap() && !label->text().isEmpty()) {
    EXPECT_GE(label->width(), label->sizeHint().width()) << name;
  }
  if (auto* button = qobject_cast<QPushButton*>(control)) {
    EXPECT_GT(button->width(), button->fontMetrics().horizontalAdvance(button->text())) << name;
  } else if (auto* option = qobject_cast<QAbstractButton*>(control)) {
    EXPECT_GE(option->width(), option->sizeHint().width()) << name;
  }
  if (auto* frame = qobject_cast<QGroupBox*>(control)) {
    EXPECT_GE(frame->width(), frame->fontMetrics().horizontalAdvance(frame->title()));
  }
}

}  // namespace

void ExpectEveryPanelFits(QWidget* form, const std::string& name) {
  auto* tabs = form->findChild<QTabWidget*>("tc");
  ASSERT_NE(tabs, nullptr);
  ShowActive(form);
  QTabBar* strip = tabs->tabBar();
  EXPECT_LE(strip->tabRect(strip->count() - 1).right(), strip->width());
  for (int i = 0; i < tabs->count(); ++i) {
    tabs->setCurrentIndex(i);
    QApplication::processEvents();
    for (QWidget* control : tabs->currentWidget()->findChildren<QWidget*>()) {
      if (control->isVisible()) ExpectFits(control);
    }
    KeepScreenshot(form, name + "-" + tabs->tabBar()->tabData(i).toString().toStdString());
  }
}

}  // namespace gui::test
