#pragma once

#include <string>

#include "startup/Dictionary.h"

namespace gui {

// The settings of the current printer instance: defaults, then the user's file (or once a
// run-once file), then the machine-wide global file. fileName receives the user layer's path.
// A run-once file that cannot be loaded is left in its place; a settings file is given the
// defaults only after a backup of it was kept beside it.
DictionaryPtr LoadConfig(bool ignoreRunOnce, std::string& fileName);
// Writes the settings as the only section of the file; a failure raises 1004.
bool WriteConfig(const std::string& fileName, const DictionaryPtr& settings);
// The 26 built-in settings in order; the first 25 of them, all empty.
DictionaryPtr DefaultSettings();
DictionaryPtr EmptySettings();
// Expands the macros of a job's settings and puts the document's own title and author in.
void ApplySettingMacros(Dictionary& settings);
// False when confirmoverwrite is "0" or "no" in any case.
bool ConfirmOverwriteEnabled(Dictionary& settings);
// The question asked before an existing PDF is replaced.
std::string OverwriteQuestion(const std::string& fileName);
// True when debug.txt lies in the program folder: nothing temporary is deleted then.
bool DebugMarkerExists();
// Loads the job's settings and shows the dialogs they ask for; false when the person cancelled.
bool GetJobConfig(DictionaryPtr& settings);
// True when the settings ask that the Options dialog is not opened.
bool IsOptionsDialogDisabled();

// The three settings files of the current instance.
std::string RunOnceFileName();
std::string SettingsFileName();
std::string GlobalFileName();

}  // namespace gui
