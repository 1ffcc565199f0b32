#include "ui/LoadableUi.h"

#include "platform/Clock.h"
#include "services/Error.h"
#include "services/ProgramLibrary.h"
#include "startup/modLog.h"

namespace gui {

namespace {

// The run goes on headless whether or not the log takes the line: this may be the error
// handler's own message box.
void LogNoWindows(const std::string& unusable) {
  try {
    WriteLog(unusable + "; going on without windows");
  } catch (const Error&) {
  }
}

}  // namespace

// The progress delay is kept here, so the windows show a step's window as soon as they get it.
UserInterface& LoadableUi::Windows() {
  if (windows_ == nullptr) {
    std::string unusable;
    std::unique_ptr<UserInterface> loaded =
        MakeFromProgramLibrary<UserInterface>("guiqt", "MakeQtUi", 0, &unusable);
    windows_ = loaded ? loaded.release() : &headless_;
    if (!unusable.empty()) LogNoWindows(unusable);
  }
  return *windows_;
}

int LoadableUi::MessageBox(const std::string& text, int style, const std::string& title) {
  return Windows().MessageBox(text, style, title);
}

// Until a window is due there is nothing to keep alive or to close.
void LoadableUi::ProcessEvents() {
  if (progressPending_ && platform::MonotonicSeconds() - progressStart_ >= kProgressDelayMs / 1e3) {
    progressPending_ = false;
    Windows().BeginProgress(progressDocument_);
  }
  if (windows_ != nullptr) windows_->ProcessEvents();
}

void LoadableUi::UnloadForms() {
  if (windows_ != nullptr) windows_->UnloadForms();
}

std::string LoadableUi::SaveAs(const std::string& proposed, bool confirmOverwrite,
                               bool bringToFront) {
  return Windows().SaveAs(proposed, confirmOverwrite, bringToFront);
}

bool LoadableUi::ShowPrintConfig(Dictionary& settings) {
  return Windows().ShowPrintConfig(settings);
}

std::string LoadableUi::SelectInstance() {
  return Windows().SelectInstance();
}

void LoadableUi::ShowOptionsDialog() {
  Windows().ShowOptionsDialog();
}

// A quick step shows no window, so nothing is passed on, or loaded, until the window is due.
void LoadableUi::BeginProgress(const std::string& documentName) {
  progressPending_ = true;
  progressStart_ = platform::MonotonicSeconds();
  progressDocument_ = documentName;
}

void LoadableUi::EndProgress() {
  progressPending_ = false;
  if (windows_ != nullptr) windows_->EndProgress();
}

}  // namespace gui
