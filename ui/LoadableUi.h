#pragma once

#include "ui/HeadlessUi.h"
#include "ui/UserInterface.h"

namespace gui {

// The windows, kept in a library of their own that is loaded when the first window is due, so
// that a run that shows none never loads the toolkit. Without that library the run goes on
// headless.
class LoadableUi : public UserInterface {
 public:
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
