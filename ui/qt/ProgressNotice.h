#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <string>

#include "ui/UserInterface.h"

namespace gui {

class frmProgress;

// Shows the progress window for a step only once the step has lasted the delay, so that quick
// jobs show nothing; Poll is called whenever the program lets window messages through.
class ProgressNotice {
 public:
  explicit ProgressNotice(int delayMs = kProgressDelayMs) : delayMs_(delayMs) {}
  ~ProgressNotice();
  ProgressNotice(const ProgressNotice&) = delete;
  ProgressNotice& operator=(const ProgressNotice&) = delete;

  void Begin(const std::string& documentName);
  void Poll();
  void End();
  // The window while it is shown, else null.
  frmProgress* Window() const;

 private:
  int delayMs_;
  bool running_ = false;
  std::string documentName_;
  QElapsedTimer clock_;
  QPointer<frmProgress> window_;
};

}  // namespace gui
