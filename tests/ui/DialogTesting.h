#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "tests/support/ScopedVariable.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/Session.h"

namespace gui::test {

// A session of its own with a data folder, a scripted interface for message boxes and the Save
// As dialog, and the Qt application the dialogs need.
class DialogTest : public ::testing::Test {
 protected:
  DialogTest();
  ~DialogTest() override;

  // Writes labels.txt (one "key=text" per line) and loads it.
  void Labels(const std::string& lines);
  // A path below the session's own folder.
  std::string Path(const std::string& name) const { return session_.Root() / name; }

  Session session_;
  ScopedVariable appData_{"APPDATA", session_.Root() / "data"};
  ScopedScriptedUi ui_;
};

// The named control of a form; a test fails when it is missing.
template <typename T>
T* Child(const QObject* form, const char* name) {
  T* child = form->findChild<T*>(name);
  EXPECT_NE(child, nullptr) << name;
  return child;
}

// Runs the action on the next modal window of type T once it is up, while the caller's own
// modal loop runs.
template <typename T>
void WhenModal(std::function<void(T*)> action) {
  auto* poll = new QTimer(QApplication::instance());
  QObject::connect(poll, &QTimer::timeout, [poll, action] {
    auto* window = qobject_cast<T*>(QApplication::activeModalWidget());
    if (!window || !window->isVisible()) return;
    poll->stop();
    poll->deleteLater();
    action(window);
  });
  poll->start(10);
}

// Keeps a picture of a window among the test's output files.
void KeepScreenshot(QWidget* window, const std::string& name);
// Shows a window and waits until it has the keyboard.
void ShowActive(QWidget* window);
// Puts the picture of every panel of a settings dialog among the output files and checks that
// no caption of a label, button or frame is cut off.
void ExpectEveryPanelFits(QWidget* form, const std::string& name);

}  // namespace gui::test
