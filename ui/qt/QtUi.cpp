#include "ui/qt/QtUi.h"

#include <QApplication>
#include <QMessageBox>
#include <QWidget>
#include <memory>

#include "services/Error.h"
#include "ui/qt/frmMain.h"

namespace gui {

namespace {

std::unique_ptr<QApplication>& Application() {
  static std::unique_ptr<QApplication> application;
  return application;
}

QMessageBox::Icon IconFor(int style) {
  switch (style & 0x70) {
    case mb::kCritical:
      return QMessageBox::Critical;
    case mb::kQuestion:
      return QMessageBox::Question;
    case mb::kExclamation:
      return QMessageBox::Warning;
    case mb::kInformation:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

struct ButtonSet {
  QMessageBox::StandardButtons buttons;
  QMessageBox::StandardButton escape;
};

ButtonSet ButtonsFor(int style) {
  switch (style & 7) {
    case mb::kOkCancel:
      return {QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel};
    case mb::kYesNoCancel:
      return {QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Cancel};
    case mb::kYesNo:
      return {QMessageBox::Yes | QMessageBox::No, QMessageBox::No};
    case mb::kRetryCancel:
      return {QMessageBox::Retry | QMessageBox::Cancel, QMessageBox::Cancel};
    default:
      return {QMessageBox::Ok, QMessageBox::Ok};
  }
}

int AnswerFor(int button) {
  switch (button) {
    case QMessageBox::Cancel:
      return mb::kCancel;
    case QMessageBox::Retry:
      return mb::kRetry;
    case QMessageBox::Yes:
      return mb::kYes;
    case QMessageBox::No:
      return mb::kNo;
    default:
      return mb::kOk;
  }
}

}  // namespace

void EnsureQtApplication() {
  if (QApplication::instance() != nullptr) return;
  static int argc = 1;
  static char name[] = "gui";
  static char* argv[] = {name, nullptr};
  Application() = std::make_unique<QApplication>(argc, argv);
  QApplication::setApplicationName("QUENTARIS PDF Printer");
}

QtUi::~QtUi() = default;

int QtUi::MessageBox(const std::string& text, int style, const std::string& title) {
  EnsureQtApplication();
  ButtonSet set = ButtonsFor(style);
  QMessageBox box(IconFor(style), QString::fromStdString(title), QString::fromStdString(text),
                  set.buttons);
  box.setEscapeButton(set.escape);
  if (style & mb::kForeground) {
    // The job arrives from a background service: the box must not hide behind other windows.
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.show();
    box.raise();
    box.activateWindow();
  }
  return AnswerFor(box.exec());
}

std::string QtUi::SaveAs(const std::string& proposed, bool confirmOverwrite, bool bringToFront) {
  EnsureQtApplication();
  return gui::SaveAs(proposed, confirmOverwrite, bringToFront);
}

bool QtUi::ShowPrintConfig(Dictionary&) {
  throw Error(err::kSmallRoutine, "The Create PDF dialog is not available in this version.");
}

void QtUi::ProcessEvents() {
  if (QApplication::instance() != nullptr) QApplication::processEvents();
}

void QtUi::UnloadForms() {
  if (QApplication::instance() == nullptr) return;
  for (QWidget* window : QApplication::topLevelWidgets())
    window->close();
}

}  // namespace gui
