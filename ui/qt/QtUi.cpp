#include "ui/qt/QtUi.h"

#include <QApplication>
#include <QMessageBox>
#include <QWidget>

#include "ui/qt/frmInstances.h"
#include "ui/qt/frmMain.h"
#include "ui/qt/frmOptions.h"
#include "ui/qt/frmPrintConfig.h"

namespace gui {

namespace {

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

// Lives as long as the application object, which keeps pointers into its arguments.
std::string& ChosenPlatforms() {
  static std::string platforms;
  return platforms;
}

}  // namespace

void UseQtPlatforms(const std::string& platforms) {
  ChosenPlatforms() = platforms;
}

void EnsureQtApplication() {
  if (QApplication::instance() != nullptr) return;
  static char name[] = "gui";
  static char option[] = "-platform";
  static char* argv[] = {name, option, ChosenPlatforms().data(), nullptr};
  static int argc = ChosenPlatforms().empty() ? 1 : 3;
  // Never deleted: Qt makes globals of its own while it runs (input devices, for one) and
  // destroys them at exit before any holder of ours, so a later delete would find them gone.
  static QApplication* application = new QApplication(argc, argv);
  application->setApplicationName("QUENTARIS PDF Printer");
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

bool QtUi::ShowPrintConfig(Dictionary& settings) {
  EnsureQtApplication();
  frmPrintConfig dialog(settings);
  dialog.exec();
  return dialog.Accepted();
}

void QtUi::ShowOptionsDialog() {
  EnsureQtApplication();
  frmOptions dialog;
  dialog.exec();
}

void QtUi::BeginProgress(const std::string& documentName) {
  progress_.Begin(documentName);
}

void QtUi::EndProgress() {
  progress_.End();
}

std::string QtUi::SelectInstance() {
  return frmInstances::SelectInstance();
}

void QtUi::ProcessEvents() {
  progress_.Poll();
  if (QApplication::instance() != nullptr) QApplication::processEvents();
}

void QtUi::UnloadForms() {
  progress_.End();
  if (QApplication::instance() == nullptr) return;
  for (QWidget* window : QApplication::topLevelWidgets())
    window->close();
}

}  // namespace gui
