#include "startup/modMain.h"

#include <new>

#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/Process.h"
#include "production/DocumentProperties.h"
#include "production/modMakePDF.h"
#include "services/Error.h"
#include "services/modFiles.h"
#include "services/modFolders.h"
#include "services/modLocalize.h"
#include "services/modPaths.h"
#include "services/modText.h"
#include "startup/JobContext.h"
#include "startup/SessionFiles.h"
#include "startup/modConfig.h"
#include "startup/modLog.h"
#include "ui/UserInterface.h"

namespace gui {

namespace {

constexpr std::int64_t kTwoDays = 2 * 24 * 3600;

// A token that is quoted ("" for a quote, the end of the text closes it) or runs to a delimiter.
std::string ReadToken(const std::string& text, std::size_t& pos, const char* delimiters) {
  std::string token;
  if (pos < text.size() && text[pos] == '"') {
    for (++pos; pos < text.size(); ++pos) {
      if (text[pos] != '"') {
        token += text[pos];
      } else if (pos + 1 < text.size() && text[pos + 1] == '"') {
        token += '"';
        ++pos;
      } else {
        ++pos;
        break;
      }
    }
    return token;
  }
  std::size_t end = text.find_first_of(delimiters, pos);
  if (end == std::string::npos) end = text.size();
  token = text.substr(pos, end - pos);
  pos = end;
  return token;
}

std::string Quoted(const std::string& text) {
  if (!text.empty() && text.find_first_of(" ,\"") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text)
    quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

// A job whose PDF never reached its destination keeps its log and ends with a failure, so that
// whoever started it (the backend without a desktop session) can tell.
int EndRunNormally() {
  bool undelivered = Job().undelivered;
  Ui().UnloadForms();
  CleanUpTempFiles(undelivered);
  platform::ReapAbandonedChildren();
  return undelivered ? 1 : 0;
}

int HandleError(const Error& failure, const std::string& step) {
  if (!Job().suppressErrors) {
    Ui().MessageBox(Localize("[L109]An error occured.") + "\r\n\r\nError " +
                        std::to_string(failure.Number()) + ": " + failure.Description() +
                        "\r\n\r\n" + step,
                    mb::kCritical | mb::kOkOnly, kProductName);
  }
  try {
    WriteLog("Error handler. Error " + std::to_string(failure.Number()) + ": " +
             failure.Description());
  } catch (const Error&) {
    // The run ends all the same; the error box has said what happened.
  }
  CleanUpTempFiles(true);
  Ui().UnloadForms();
  platform::ReapAbandonedChildren();
  return 1;
}

// Options mode: the instance's settings in the Options dialog.
void RunOptionsMode() {
  if (IsOptionsDialogDisabled()) {
    Ui().MessageBox("Options dialog is disabled.", mb::kInformation | mb::kOkOnly | mb::kForeground,
                    kProductName);
    return;
  }
  Job().printerInstance = Ui().SelectInstance();
  Ui().ShowOptionsDialog();
}

int MessageIcon(const std::string& icon) {
  std::string lower = LowerCase(icon);
  if (lower == "error") return mb::kCritical;
  if (lower == "exclamation") return mb::kExclamation;
  return mb::kInformation;
}

void CheckDictionary() {
  try {
    NewDictionary();
  } catch (const Error& failure) {
    if (failure.Number() != err::kCannotCreateObject) throw;
    Ui().MessageBox(
        "The Scripting.Dictionary component is missing from your computer.\r\n\r\n"
        "Please download and install Windows Scripting Host (scripten.exe) from Microsoft's "
        "web site.",
        mb::kOkOnly | mb::kForeground, kProductName);
    throw;
  }
}

// The steps after the dictionary check; the step text names the one under way.
void RunSteps(const std::string& commandLine, std::string& step) {
  step = "Init language";
  LoadLabels();
  step = "Parse command line";
  DictionaryPtr parameters = ParseParameters(commandLine);
  step = "Read Session Id from parameters";
  if (parameters->Exists("sessionid")) Job().sessionId = parameters->Text("sessionid");
  try {
    StartLog();
    WriteLog("Command Line: " + commandLine);
  } catch (const Error&) {
    // A message is shown even where no log can be kept.
    if (parameters->Text("msg").empty()) throw;
  }

  step = "Read PS file from parameters";
  bool printMode = parameters->Exists("ps");
  std::string psFile = parameters->Text("ps");
  if (printMode && !FileExists(psFile)) {
    throw Error(err::kPostScriptMissing, "Unable to find postscript file '" + psFile + "'.");
  }
  step = "Read message from parameters";
  std::string message = UnescapeMessage(parameters->Text("msg"));
  step = "Read icon type from parameters";
  std::string icon = parameters->Text("icon");
  if (!message.empty()) {
    Ui().MessageBox(message, MessageIcon(icon) | mb::kOkOnly | mb::kForeground, kProductName);
    return;
  }
  step = "Read document name from parameters";
  if (parameters->Exists("doc")) Job().documentName = parameters->Text("doc");
  step = "Read printer name from parameters";
  if (parameters->Exists("printer")) {
    Job().printerName = parameters->Text("printer");
    Job().printerInstance = GetInstanceName(Job().printerName);
  }
  if (printMode) {
    step = "Extract document properties such as title and author";
    Job().documentInfo = ReadDocumentProperties(psFile);
    step = "Make PDF";
    MakePDF(psFile);
    return;
  }
  RunOptionsMode();
}

}  // namespace

int Main(const std::string& commandLine) {
  std::string step;
  try {
    CheckDictionary();
  } catch (const Error& failure) {
    if (failure.Number() != err::kCannotCreateObject) return HandleError(failure, step);
    return EndRunNormally();
  }
  try {
    RunSteps(commandLine, step);
  } catch (const Error& failure) {
    return HandleError(failure, step);
  } catch (const std::bad_alloc&) {
    return HandleError(Error(7, "Out of memory"), step);
  } catch (const std::exception& failure) {
    return HandleError(Error(51, std::string("Internal error: ") + failure.what()), step);
  }
  return EndRunNormally();
}

std::string CommandLineFromArguments(const std::vector<std::string>& arguments) {
  std::string line;
  for (const std::string& argument : arguments) {
    if (!line.empty()) line += ' ';
    std::size_t equals = argument.find('=');
    if (equals == std::string::npos) {
      line += Quoted(argument);
    } else {
      std::string value = argument.substr(equals + 1);
      line += Quoted(argument.substr(0, equals)) + "=" + (value.empty() ? "" : Quoted(value));
    }
  }
  return line;
}

DictionaryPtr ParseParameters(const std::string& text) {
  DictionaryPtr parameters = NewDictionary();
  std::string rest = text;
  while (!TrimSpaces(rest).empty()) {
    rest = TrimSpaces(rest);
    std::size_t pos = 0;
    std::string key = TrimSpaces(ReadToken(rest, pos, "=, "));
    if (!key.empty() && (key[0] == '/' || key[0] == '-')) key.erase(0, 1);
    std::string value;
    if (pos < rest.size() && rest[pos] == '=') {
      ++pos;
      value = TrimSpaces(ReadToken(rest, pos, ", "));
    }
    if (pos < rest.size() && (rest[pos] == ',' || rest[pos] == ' ')) ++pos;
    parameters->Add(key, value);
    rest.erase(0, pos);
  }
  return parameters;
}

std::string UnescapeMessage(const std::string& text) {
  // The port monitor writes \r for a line feed and \n for a carriage return.
  return Unescape(text, {{'t', "\t"}, {'r', "\n"}, {'n', "\r"}});
}

std::string GetInstanceName(const std::string& printerName) {
  std::size_t open = printerName.find('[');
  if (open == std::string::npos) return {};
  std::size_t close = printerName.find(']', open + 1);
  if (close == std::string::npos) return {};
  return MakeValidFileName(printerName.substr(open + 1, close - open - 1));
}

void CleanUpTempFiles(bool errorOccurred) {
  std::string folder = GetTempFolder();
  // Without a temporary folder the names would be those of the root of the file system.
  if (folder.empty()) return;
  bool protectAll = DebugMarkerExists();
  for (const auto& entry : platform::FindEntries(folder, "*.*")) {
    std::string path = JoinPath(folder, entry.name);
    if (!entry.isRegular || !IsSessionFile(entry.name, Job().sessionId)) continue;
    if (Job().debug || path == Job().undeliveredPdf) continue;
    std::string lower = LowerCase(entry.name);
    bool isLog = lower.size() >= 4 && lower.compare(lower.size() - 4, 4, ".log") == 0;
    if (isLog && errorOccurred) continue;
    if (!protectAll) DeleteFileQuietly(path);
  }
  std::int64_t cutoff = platform::EpochSeconds() - kTwoDays;
  for (const auto& entry : platform::FindEntries(folder, "*.*")) {
    if (entry.isRegular && entry.modified < cutoff && !protectAll) {
      DeleteFileQuietly(JoinPath(folder, entry.name));
    }
  }
}

}  // namespace gui
