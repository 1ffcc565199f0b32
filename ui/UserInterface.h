#pragma once

#include <memory>
#include <string>

#include "services/Error.h"
#include "startup/Dictionary.h"

namespace gui {

// Message box styles and answers, with the numbers the program's texts are written against.
namespace mb {
constexpr int kOkOnly = 0;
constexpr int kOkCancel = 1;
constexpr int kYesNoCancel = 3;
constexpr int kYesNo = 4;
constexpr int kRetryCancel = 5;
constexpr int kCritical = 16;
constexpr int kQuestion = 32;
constexpr int kExclamation = 48;
constexpr int kInformation = 64;
constexpr int kForeground = 65536;

constexpr int kOk = 1;
constexpr int kCancel = 2;
constexpr int kRetry = 4;
constexpr int kYes = 6;
constexpr int kNo = 7;
}  // namespace mb

// Everything the logic shows to a person goes through this interface.
class UserInterface {
 public:
  virtual ~UserInterface() = default;

  // Shows a message box with buttons, icon and flags as in mb::; returns the answer.
  virtual int MessageBox(const std::string& text, int style, const std::string& title) = 0;
  // Lets pending window messages be processed while the program waits.
  virtual void ProcessEvents() = 0;
  // Closes every window the program has open.
  virtual void UnloadForms() = 0;
  // True when nothing is shown and nothing waits for a person.
  virtual bool IsHeadless() const = 0;
  // Asks for the PDF file name ("" when cancelled), asking before an existing file is replaced
  // when confirmOverwrite is set.
  virtual std::string SaveAs(const std::string& proposed, bool confirmOverwrite,
                             bool bringToFront) = 0;
  // Shows the Create PDF dialog on the job's settings, which it edits in place; true when the
  // person accepted them.
  virtual bool ShowPrintConfig(Dictionary& settings) = 0;
  // Shows the Options dialog on the stored settings of the job's printer instance; OK writes
  // them to its settings file. Without windows it raises that it needs a display.
  virtual void ShowOptionsDialog() {
    throw Error(err::kSmallRoutine,
                "The Options dialog needs a display. Start the program in a desktop session.");
  }
  // Lets the person pick the printer instance whose settings the Options dialog edits: ""
  // for the unnamed one or a cancelled choice. Without windows nobody is asked: "".
  virtual std::string SelectInstance() { return {}; }
  // Around a long step such as a Ghostscript run: a small window names the document once the
  // step has lasted a second, kept alive by ProcessEvents. Without windows nothing is shown.
  virtual void BeginProgress([[maybe_unused]] const std::string& documentName) {}
  virtual void EndProgress() {}
};

// How long a step runs before its progress window shows.
inline constexpr int kProgressDelayMs = 1000;

// The interface of this run; headless until the entry point installs another.
UserInterface& Ui();

// Shows the progress window for the life of the object, whichever way the step ends.
class ProgressScope {
 public:
  explicit ProgressScope(const std::string& documentName) { Ui().BeginProgress(documentName); }
  ~ProgressScope() { Ui().EndProgress(); }
  ProgressScope(const ProgressScope&) = delete;
  ProgressScope& operator=(const ProgressScope&) = delete;
};

void InstallUi(std::unique_ptr<UserInterface> ui);
// True when the environment asks for no windows (no display, or QUENTARIS_UI=headless).
bool HeadlessRequested();

}  // namespace gui
