#pragma once

#include "ui/UserInterface.h"
#include "ui/qt/ProgressNotice.h"

namespace gui {

// Qt 6 Widgets behind the UI interface. The application object is made only when the first
// window must be shown, so a run that shows nothing never starts Qt.
class QtUi : public UserInterface {
 public:
  // The progress window of a step shows once the step has lasted the delay.
  explicit QtUi(int progressDelayMs = kProgressDelayMs) : progress_(progressDelayMs) {}
  ~QtUi() override;
  int MessageBox(const std::string& text, int style, const std::string& title) override;
  void ProcessEvents() override;
  void UnloadForms() override;
  bool IsHeadless() const override { return false; }
  std::string SaveAs(const std::string& proposed, bool confirmOverwrite,
                     bool bringToFront) override;
  bool ShowPrintConfig(Dictionary& settings) override;
  std::string SelectInstance() override;
  void ShowOptionsDialog() override;
  void BeginProgress(const std::string& documentName) override;
  void EndProgress() override;

 private:
  ProgressNotice progress_;
};

// The platforms the application object is to try when it starts, as ChooseQtPlatforms gives
// them; without a choice Qt picks its own.
void UseQtPlatforms(const std::string& platforms);
// Starts the application object if it is not running yet.
void EnsureQtApplication();

}  // namespace gui
