#pragma once

#include "ui/HeadlessUi.h"
#include "ui/UserInterface.h"

namespace gui {

// The windows, kept in a library of their own that is loaded when the first window is due, so
// that a run that shows none never loads the toolkit. Without that library, or when the display
// cannot be opened, the run goes on headless.
class LoadableUi : public UserInterface {
 public:
  int MessageBox(const std::string& text, int style, const std::string& title) override;
  void ProcessEvents() override;
  void UnloadForms() override;
  // Headless once the windows were due and could not be had.
  bool IsHeadless() const override { return windows_ == &headless_; }
  std::string SaveAs(const std::string& proposed, bool confirmOverwrite,
                     bool bringToFront) override;
  bool ShowPrintConfig(Dictionary& settings) override;
  std::string SelectInstance() override;
  void ShowOptionsDialog() override;
  void BeginProgress(const std::string& documentName) override;
  void EndProgress() override;

 private:
  UserInterface& Windows();

  // Never deleted: the toolkit's own globals are gone by the time ours are destroyed.
  UserInterface* windows_ = nullptr;
  HeadlessUi headless_;
  // The running step whose progress window is not due yet; the windows load when it is.
  bool progressPending_ = false;
  double progressStart_ = 0;
  std::string progressDocument_;
};

}  // namespace gui
