#pragma once

#include <QTest>
#include <QtWidgets>
#include <filesystem>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "services/modLocalize.h"
#include "startup/Dictionary.h"
#include "startup/JobContext.h"
#include "startup/modConfig.h"
#include "tests/support/ScopedVariable.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/Session.h"
#include "ui/qt/QtUi.h"

// Lets a failing check show Qt texts as text.
inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}

namespace gui::test {

// A session of its own with a data folder, a scripted interface for message boxes and the Save
// As dialog, and the Qt application the dialogs need.
class DialogTest : public ::testing::Test {
 protected:
  DialogTest() {
    EnsureQtApplication();
    LoadLabels();
  }
  ~DialogTest() override {
    std::filesystem::remove(session_.Root() / "program/labels.txt");
    LoadLabels();
  }

  // Writes labels.txt (one "key=text" per line, stored as UTF-16 with CR LF) and loads it.
  void Labels(const std::string& lines) {
    std::string bytes;
    for (char c : lines) {
      if (c == '\n') bytes += std::string("\r\0", 2);
      bytes += {c, '\0'};
    }
    PutFile(session_.Root() / "program/labels.txt", bytes);
    LoadLabels();
  }
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
inline QLineEdit* Box(const QObject* form, const char* name) {
  return Child<QLineEdit>(form, name);
}
inline void Click(const QObject* form, const char* button) {
  Child<QAbstractButton>(form, button)->click();
}

// The items joined by "|", so one line checks a whole list.
inline std::string Joined(const std::vector<std::string>& items) {
  QStringList all;
  for (const std::string& item : items)
    all << QString::fromStdString(item);
  return all.join('|').toStdString();
}

// Settings from "key=value" entries separated by "|"; values keep their spaces.
inline DictionaryPtr SettingsOf(const std::string& entries) {
  DictionaryPtr settings = NewDictionary();
  for (const QString& entry : QString::fromStdString(entries).split('|')) {
    qsizetype equals = entry.indexOf('=');
    settings->Set(entry.left(equals).toStdString(), entry.mid(equals + 1).toStdString());
  }
  return settings;
}

// The values of the keys (separated by spaces), joined by "|".
inline std::string Values(Dictionary& settings, const std::string& keys) {
  std::vector<std::string> values;
  for (const QString& key : QString::fromStdString(keys).split(' '))
    values.push_back(settings.Text(key.toStdString()));
  return Joined(values);
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
inline void KeepScreenshot(QWidget* window, const std::string& name) {
  std::filesystem::path folder = std::filesystem::path(GUI_BINARY).parent_path() / "screenshots";
  std::filesystem::create_directories(folder);
  window->grab().save(QString::fromStdString((folder / (name + ".png")).string()));
}

// Shows a window and waits until it has the keyboard.
inline void ShowActive(QWidget* window) {
  window->show();
  QApplication::setActiveWindow(window);
  ASSERT_TRUE(QTest::qWaitForWindowActive(window));
}

}  // namespace gui::test
