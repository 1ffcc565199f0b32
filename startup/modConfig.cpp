#include "startup/modConfig.h"

#include "platform/Files.h"
#include "services/Error.h"
#include "services/modConvert.h"
#include "services/modDocumentInfo.h"
#include "services/modFiles.h"
#include "services/modFolders.h"
#include "services/modLocalize.h"
#include "services/modMacros.h"
#include "services/modPaths.h"
#include "services/modSystem.h"
#include "services/modText.h"
#include "startup/IniFile.h"
#include "startup/JobContext.h"
#include "startup/modLog.h"
#include "ui/UserInterface.h"

namespace gui {

namespace {

const std::string kSection = "PDF Printer";

const char* const kSettingNames[] = {"afterprintprogram",
                                     "afterprintprogramdir",
                                     "disableoptiondialog",
                                     "author",
                                     "creationdate",
                                     "creator",
                                     "keylength",
                                     "keywords",
                                     "mergefile",
                                     "mergeposition",
                                     "moddate",
                                     "output",
                                     "ownerpassword",
                                     "permissions",
                                     "settingsprogram",
                                     "showpdf",
                                     "subject",
                                     "superimpose",
                                     "target",
                                     "title",
                                     "userpassword",
                                     "watermarkrotation",
                                     "watermarksize",
                                     "watermarktext",
                                     "watermarktransparency"};

std::string InstanceSuffix() {
  const std::string& instance = Job().printerInstance;
  return instance.empty() ? std::string() : "-" + instance;
}

// Errors leave with the routine's name in front of their source.
[[noreturn]] void Rethrow(const Error& failure, const char* routine) {
  Error passed = failure;
  passed.SetSource(std::string(routine) + "::" + failure.Source());
  throw passed;
}

std::string ErrorText(long number, const std::string& description) {
  return "Error " + std::to_string(number) + ": " + description;
}

std::string LoadFailure(const IniFile& ini) {
  return "Unable to load settings. " + ErrorText(ini.LastError(), ini.LastErrorMessage());
}

// Takes the run-once file for this job alone: the rename succeeds for exactly one job. "" when
// another job took it first; the file itself when it cannot be moved (a read-only folder).
std::string ClaimRunOnceFile(const std::string& path) {
  std::string claimed = path + "." + NewGuid() + ".claimed";
  try {
    platform::ReplaceFile(path, claimed);
  } catch (const Error& failure) {
    return failure.Number() == err::kFileNotFound ? std::string() : path;
  }
  return claimed;
}

// An unreadable run-once file goes back under its own name for the person to mend, unless a
// new one has taken that name meanwhile.
void ReturnRunOnceFile(const std::string& claimed, const std::string& path) {
  if (claimed == path) return;
  try {
    platform::RenameToFreeName(claimed, path);
  } catch (const Error& failure) {
    WriteLog("The run-once file is kept as '" + claimed + "'. " +
             ErrorText(failure.Number(), failure.Description()));
  }
}

void RemoveRunOnceFile(const std::string& claimed, const std::string& path) {
  WriteLog("Remove runonce.ini");
  try {
    platform::RemoveFile(claimed);
  } catch (const Error& failure) {
    WriteLog("Error removing '" + path + "'. " +
             ErrorText(failure.Number(), failure.Description()));
  }
}

DictionaryPtr SectionOf(const IniFile& ini, const std::string& path) {
  if (DictionaryPtr section = ini.Section(kSection)) return section;
  WriteLog("No [PDF Printer] section found in the settings file '" + path + "'.");
  return nullptr;
}

void Overlay(Dictionary& settings, const DictionaryPtr& section) {
  if (!section) return;
  for (const auto& [name, value] : *section)
    settings.Set(LowerCase(name), ToStringSafe(value));
}

void OverlayGlobalFile(Dictionary& settings) {
  std::string path = GlobalFileName();
  if (!FileExists(path)) return;
  IniFile ini;
  if (ini.Load(path)) Overlay(settings, SectionOf(ini, path));
}

// Loads this job's run-once file into ini and removes it; false when the job has none, and
// when it cannot be loaded, which is logged and leaves the file in its place.
bool LoadRunOnceFile(bool ignoreRunOnce, IniFile& ini, std::string& fileName) {
  std::string path = RunOnceFileName();
  WriteLog("Look for settings in " + path);
  if (ignoreRunOnce || !FileExists(path)) return false;
  std::string claimed = ClaimRunOnceFile(path);
  if (claimed.empty()) return false;
  WriteLog("Load settings from " + path);
  if (!ini.Load(claimed)) {
    WriteLog(LoadFailure(ini) + ". The run-once file '" + path +
             "' is left as it is and the settings file is used.");
    ReturnRunOnceFile(claimed, path);
    return false;
  }
  RemoveRunOnceFile(claimed, path);
  fileName = path;
  return true;
}

// The previous file is kept beside the settings file before it is written anew; the newest
// backup replaces an older one.
void BackUpSettingsFile(const std::string& path) {
  std::string backup = path + ".bak";
  try {
    ReplaceThroughNewFile(
        backup, [&](const std::string& newFile) { platform::CopyToNewFile(path, newFile); });
  } catch (const Error& failure) {
    throw Error(err::kWriteSettings, "Error writing settings file '" + backup + "'. " +
                                         ErrorText(failure.Number(), failure.Description()));
  }
  WriteLog("The settings file '" + path + "' is kept as '" + backup + "'.");
}

// Loads the settings file into ini, creating it when missing and giving it the defaults when it
// lacks the printer's section; returns that section.
DictionaryPtr LoadSettingsFile(IniFile& ini, std::string& fileName) {
  std::string path = SettingsFileName();
  WriteLog("Look for settings in " + path);
  if (!FileExists(path)) WriteConfig(path, DefaultSettings());
  fileName = path;
  WriteLog("Load settings from " + path);
  if (!ini.Load(path)) {
    std::string text = LoadFailure(ini);
    WriteLog(text);
    throw Error(err::kLoadSettings, text);
  }
  DictionaryPtr section = SectionOf(ini, path);
  if (!section) {
    BackUpSettingsFile(path);
    WriteConfig(path, DefaultSettings());
  }
  return section;
}

DictionaryPtr LoadLayers(bool ignoreRunOnce, std::string& fileName) {
  IniFile ini;
  // A run-once file without the section is used up all the same: the defaults serve the job.
  DictionaryPtr section = LoadRunOnceFile(ignoreRunOnce, ini, fileName)
                              ? SectionOf(ini, fileName)
                              : LoadSettingsFile(ini, fileName);
  DictionaryPtr settings = DefaultSettings();
  Overlay(*settings, section);
  OverlayGlobalFile(*settings);
  return settings;
}

// Backslashes of settings written on Windows name folders here, outside the macros' names.
std::string PlatformPath(const std::string& text) {
  if (platform::kPathSeparator == '\\') return text;
  std::string path = text;
  bool inMacro = false;
  for (char& c : path) {
    if (c == '<') inMacro = true;
    if (c == '>') inMacro = false;
    if (c == '\\' && !inMacro) c = platform::kPathSeparator;
  }
  return path;
}

void ExpandPath(Dictionary& settings, const std::string& name) {
  settings.Set(name, ExpandMacros(PlatformPath(settings.Text(name)), true));
}

void ExpandText(Dictionary& settings, const std::string& name) {
  settings.Set(name, ExpandMacros(settings.Text(name), false));
}

// An author or title that is still empty after the document's own gets the fallback, so that
// no PDF lacks one.
void PreferDocumentValue(Dictionary& settings, const std::string& name,
                         const std::string& switchName,
                         std::string (*fallback)(const std::string&)) {
  ExpandText(settings, name);
  std::string own = Job().documentInfo ? Job().documentInfo->Text(name) : std::string();
  if (!own.empty() && LowerCase(settings.Text(switchName)) != "no") settings.Set(name, own);
  settings.Set(name, fallback(settings.Text(name)));
}

}  // namespace

std::string RunOnceFileName() {
  return JoinPath(GetDataFolder(), "runonce" + InstanceSuffix() + ".ini");
}

std::string SettingsFileName() {
  return JoinPath(GetDataFolder(), "settings" + InstanceSuffix() + ".ini");
}

std::string GlobalFileName() {
  return JoinPath(ProgramFolder(), "global" + InstanceSuffix() + ".ini");
}

DictionaryPtr EmptySettings() {
  DictionaryPtr settings = NewDictionary();
  for (const char* name : kSettingNames)
    settings->Add(name, std::string());
  return settings;
}

DictionaryPtr DefaultSettings() {
  DictionaryPtr settings = EmptySettings();
  settings->Set("output", std::string("<desktop>") + platform::kPathSeparator + "<title>.pdf");
  settings->Set("keylength", std::string("128"));
  settings->Set("mergeposition", std::string("bottom"));
  settings->Set("showpdf", std::string("ask"));
  settings->Set("watermarkrotation", std::string("c2c"));
  settings->Set("watermarksize", std::string("6"));
  settings->Set("watermarktransparency", std::string("85"));
  settings->Add("confirmoverwrite", std::string("yes"));
  return settings;
}

DictionaryPtr LoadConfig(bool ignoreRunOnce, std::string& fileName) {
  try {
    return LoadLayers(ignoreRunOnce, fileName);
  } catch (const Error& failure) {
    Rethrow(failure, "LoadConfig");
  }
}

bool WriteConfig(const std::string& fileName, const DictionaryPtr& settings) {
  try {
    DictionaryPtr data = NewDictionary();
    data->Add(kSection, settings);
    IniFile ini;
    ini.SetData(data);
    if (!ini.Save(fileName)) {
      throw Error(err::kWriteSettings, "Error writing settings file '" + fileName + "'. Error " +
                                           std::to_string(ini.LastError()) + ": " +
                                           ini.LastErrorMessage());
    }
    return true;
  } catch (const Error& failure) {
    Rethrow(failure, "WriteConfig");
  }
}

void ApplySettingMacros(Dictionary& settings) {
  ExpandPath(settings, "output");
  ExpandText(settings, "watermarktext");
  ExpandPath(settings, "mergefile");
  ExpandPath(settings, "superimpose");
  PreferDocumentValue(settings, "author", "usedefaultauthor", AuthorOrFallback);
  PreferDocumentValue(settings, "title", "usedefaulttitle", TitleOrFallback);
  ExpandText(settings, "subject");
  ExpandText(settings, "keywords");
}

bool ConfirmOverwriteEnabled(Dictionary& settings) {
  std::string value = LowerCase(settings.Text("confirmoverwrite"));
  return value != "0" && value != "no";
}

std::string OverwriteQuestion(const std::string& fileName) {
  std::string text = Localize("[L94]The PDF file already exists.\r\n\r\n" + fileName +
                              "\r\n\r\nDo you want to overwrite it?");
  std::string result;
  std::size_t start = 0;
  for (std::size_t found; (found = text.find("%1", start)) != std::string::npos;
       start = found + 2) {
    result += text.substr(start, found - start) + fileName;
  }
  return result + text.substr(start);
}

bool GetJobConfig(DictionaryPtr& settings) {
  std::string fileName;
  settings = LoadConfig(false, fileName);
  Job().suppressErrors = LowerCase(settings->Text("suppresserrors")) == "yes";
  Job().debug = LowerCase(settings->Text("debug")) == "yes";
  ApplySettingMacros(*settings);
  std::string showSaveAs = LowerCase(settings->Text("showsaveas"));
  bool askName = showSaveAs == "always" ||
                 (showSaveAs != "never" &&
                  (settings->Text("output").empty() || FolderExists(settings->Text("output"))));
  bool showDialog = LowerCase(settings->Text("showsettings")) != "never";
  if (askName) {
    std::string answer =
        Ui().SaveAs(settings->Text("output"), ConfirmOverwriteEnabled(*settings), true);
    if (!answer.empty() || !showDialog) {
      settings->Set("output", answer);
      Job().confirmedOutputFile = answer;
    }
  }
  if (showDialog) return Ui().ShowPrintConfig(*settings);
  if (LowerCase(settings->Text("showpdf")) == "ask" && !settings->Text("output").empty()) {
    int answer = Ui().MessageBox(Localize("[L95]Do you want to open the PDF document?") +
                                     "\r\n\r\n" + settings->Text("output"),
                                 mb::kYesNo | mb::kQuestion, kProductName);
    if (answer == mb::kYes) settings->Set("showpdf", std::string("yes"));
  }
  return true;
}

bool DebugMarkerExists() {
  return FileExists(JoinPath(ProgramFolder(), "debug.txt"));
}

bool IsOptionsDialogDisabled() {
  std::string fileName;
  DictionaryPtr settings = LoadConfig(true, fileName);
  return LowerCase(TrimSpaces(settings->Text("disableoptiondialog"))) == "yes";
}

}  // namespace gui
