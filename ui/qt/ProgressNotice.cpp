#include "ui/qt/ProgressNotice.h"

#include <QApplication>

#include "ui/qt/QtUi.h"
#include "ui/qt/frmProgress.h"

namespace gui {

ProgressNotice::~ProgressNotice() {
  End();
}

void ProgressNotice::Begin(const std::string& documentName) {
  End();
  running_ = true;
  documentName_ = documentName;
  clock_.start();
}

void ProgressNotice::Poll() {
  if (!running_ || window_ || clock_.elapsed() < delayMs_) return;
  EnsureQtApplication();
  window_ = new frmProgress(documentName_);
  window_->show();
}

frmProgress* ProgressNotice::Window() const {
  return window_;
}

void ProgressNotice::End() {
  running_ = false;
  // The application may be gone at the end of the run, and its windows with it.
  if (window_ && QApplication::instance()) delete window_;
}

}  // namespace gui
