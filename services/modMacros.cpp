#include "services/modMacros.h"

#include <algorithm>
#include <memory>

#include "platform/Environment.h"
#include "platform/Files.h"
#include "platform/SpecialFolders.h"
#include "services/Error.h"
#include "services/ScriptHost.h"
#include "services/modDocumentInfo.h"
#include "services/modFiles.h"
#include "services/modFolders.h"
#include "services/modLocalize.h"
#include "services/modObjects.h"
#include "services/modPaths.h"
#include "services/modSystem.h"
#include "services/modText.h"
#include "startup/JobContext.h"

namespace gui {

namespace {

constexpr const char* kRegionMarker = "REM -- MACRO REGION BEGINS";

std::string runGuid;

// Created once per run; a script file that fails ends the loading for the whole run.
std::shared_ptr<ScriptHost> engine;

std::string TwoDigits(int value) {
  return std::string(1, static_cast<char>('0' + value / 10 % 10)) +
         static_cast<char>('0' + value % 10);
}

std::string DateText(const platform::DateTime& moment) {
  return std::to_string(moment.year) + "-" + TwoDigits(moment.month) + "-" + TwoDigits(moment.day);
}

std::string TimeText(const platform::DateTime& moment) {
  return TwoDigits(moment.hour) + "." + TwoDigits(moment.minute) + "." + TwoDigits(moment.second);
}

// The document name without its folders and its last extension.
std::string BaseDocumentName() {
  std::string name = Job().documentName;
  std::size_t slash = name.find_last_of("\\/");
  if (slash != std::string::npos) name.erase(0, slash + 1);
  std::size_t dot = name.rfind('.');
  if (dot != std::string::npos) name.erase(dot);
  return MakeValidFileName(name);
}

// The document's title or author, with the fallbacks that keep "<title>.pdf" from being ".pdf".
std::string DocumentInfo(const std::string& key) {
  if (!Job().documentInfo) {
    throw Error(91, "Object variable or With block variable not set");
  }
  std::string own = Job().documentInfo->Text(key);
  return key == "title" ? TitleOrFallback(own) : AuthorOrFallback(own);
}

std::string RunGuid() {
  if (runGuid.empty()) runGuid = NewGuid();
  return runGuid;
}

// The code after the marker line, when a script file has one.
std::string MacroRegion(const std::string& code) {
  std::size_t marker = UpperCase(code).find(kRegionMarker);
  if (marker == std::string::npos) return code;
  std::size_t lineEnd = code.find('\n', marker);
  if (lineEnd == std::string::npos) return code;
  return code.substr(lineEnd + 1);
}

void AddScriptFile(ScriptHost& host, const std::string& path) {
  try {
    host.AddCode(MacroRegion(ReadTextFile(path)));
  } catch (const Error& failure) {
    ScriptErrorPlace info = host.LastErrorPlace();
    throw Error(failure.Number(),
                "Error adding macro source code from file '" + path + "'.\r\n\r\n" +
                    failure.Description() + "\r\nLine " + std::to_string(info.line) + " position " +
                    std::to_string(info.column + 1) + "\r\n" + info.text,
                failure.Source());
  }
}

// Loads every script file of the macros folder, sorted by name so every machine agrees.
void LoadScriptFiles(ScriptHost& host) {
  std::string folder = JoinPath(ProgramFolder(), "macros");
  std::vector<std::string> names;
  for (const auto& entry : platform::FindEntries(folder, "*.vbs")) {
    if (entry.isRegular) names.push_back(entry.name);
  }
  std::sort(names.begin(), names.end());
  for (const std::string& name : names)
    AddScriptFile(host, JoinPath(folder, name));
}

ScriptHost& Engine() {
  if (!engine) {
    engine = std::any_cast<std::shared_ptr<ScriptHost>>(
        CreateObjectChecked("MSScriptControl.ScriptControl"));
    LoadScriptFiles(*engine);
  }
  return *engine;
}

std::string SafeIf(bool safe, const std::string& value) {
  return safe ? MakeValidFileName(value) : value;
}

}  // namespace

std::string ExpandMacros(const std::string& text, bool safe) {
  platform::DateTime moment = platform::LocalNow();
  std::string result;
  std::size_t position = 0;
  while (position < text.size()) {
    std::size_t open = text.find('<', position);
    std::size_t close = open == std::string::npos ? open : text.find('>', open);
    if (close == std::string::npos) {
      result += text.substr(position);
      break;
    }
    result += text.substr(position, open - position);
    result += GetMacroValue(text.substr(open + 1, close - open - 1), moment, safe);
    position = close + 1;
  }
  return result;
}

std::string GetMacroValue(const std::string& name, const platform::DateTime& moment, bool safe) {
  if (name == "date") return DateText(moment);
  if (name == "time") return TimeText(moment);
  if (name == "docname") return SafeIf(safe, Job().documentName);
  if (name == "basedocname") return BaseDocumentName();
  if (name == "username") return SafeIf(safe, CurrentUserName());
  if (name == "computername") return SafeIf(safe, CurrentComputerName());
  if (name == "title" || name == "author") return SafeIf(safe, DocumentInfo(name));
  if (name == "guid") return RunGuid();
  if (name == "personal") return GetSpecialFolder(platform::kCsidlPersonal);
  if (name == "desktop") return GetSpecialFolder(platform::kCsidlDesktop);
  std::string prefix = LowerCase(name.substr(0, 4));
  if (prefix == "env:") return platform::GetVariable(name.substr(4)).value_or("");
  if (prefix == "vbs:") return EvalScriptMacro(name.substr(4));
  return "<" + name + ">";
}

DictionaryPtr GetMacroList() {
  static const struct {
    const char* name;
    const char* description;
  } kMacros[] = {{"docname", "[L99]Document name"},
                 {"basedocname", "[L100]Document name without extension"},
                 {"username", "[L101]User name"},
                 {"computername", "[L102]Computer name"},
                 {"author", "[L103]Document author"},
                 {"title", "[L104]Document title"},
                 {"guid", "[L105]System generated GUID"},
                 {"personal", "[L106]Location of personal documents"},
                 {"desktop", "[L107]User's desktop"},
                 {"env:TEMP", "[L108]Value of environment variable TEMP"}};
  DictionaryPtr list = NewDictionary();
  list->Add("date", Localize("[L97]Date") + " (" + Localize("[L130]yyyy-mm-dd") + ")");
  list->Add("time", Localize("[L98]Time") + " (" + Localize("[L131]hh.mm.ss") + ")");
  for (const auto& macro : kMacros)
    list->Add(macro.name, Localize(macro.description));
  return list;
}

std::string EvalScriptMacro(const std::string& expression) {
  return Engine().EvalToText(expression);
}

void ResetMacrosForTesting() {
  runGuid.clear();
  engine.reset();
}

}  // namespace gui
