#include "production/modGhostScript.h"

#include <map>
#include <vector>

#include "platform/CommandInterpreter.h"
#include "platform/Files.h"
#include "platform/Ghostscript.h"
#include "production/GhostscriptVersion.h"
#include "production/modEncryption.h"
#include "production/modMerge.h"
#include "services/Error.h"
#include "services/modConvert.h"
#include "services/modFiles.h"
#include "services/modFolders.h"
#include "services/modLocalize.h"
#include "services/modPaths.h"
#include "services/modShell.h"
#include "services/modSystem.h"
#include "services/modText.h"
#include "startup/JobContext.h"
#include "startup/modConfig.h"
#include "startup/modLog.h"
#include "ui/UserInterface.h"

namespace gui {

namespace {

constexpr int kDefaultTimeoutSeconds = 300;
constexpr int kSearchedMajorVersion = 8;
constexpr int kHighestSearchedMinorVersion = 100;
constexpr int kFirstModernMajorVersion = 9;
constexpr int kHiddenWindow = 0;
constexpr char kCrLf[] = "\r\n";

// Ghostscript and the shell write through whatever is left under a name they write to, a
// planted link as well; it goes first.
void RemoveLeftOver(const std::string& path) {
  if (platform::LinkStatusOf(path).exists) DeleteFileQuietly(path);
}

// Ghostscript's argument files take a quote inside a quoted argument as \".
std::string EscapeQuotes(const std::string& path) {
  return ReplaceAll(path, "\"", "\\\"");
}

std::string ProgramIn(const std::string& folder) {
  return JoinPath(StripTrailingBackslashes(folder), platform::kGhostscriptProgram);
}

std::string FromGhostscriptFolderSetting() {
  std::string folder = GetRegistrySetting("ghostscriptfolder");
  if (folder.empty()) return {};
  std::string program = ProgramIn(folder);
  return FileExists(program) ? program : std::string();
}

// The program beside the DLL that one registered version names; "" when there is none.
std::string FromInstallationKey(const std::string& product, int minor, bool view64) {
  std::string key = "HKEY_LOCAL_MACHINE\\SOFTWARE\\" + product + "\\" +
                    std::to_string(kSearchedMajorVersion) + "." + std::to_string(minor) +
                    "\\GS_DLL";
  std::string library = ToStringSafe(GetRegistryValue(key, view64));
  if (library.empty()) return {};
  std::string program = ProgramIn(GetFolderPart(library));
  return FileExists(program) ? program : std::string();
}

// The products of the search that the registry holds at all in one view; the others need not
// be asked for two hundred versions.
std::vector<std::string> RegisteredProducts(bool view64) {
  std::vector<std::string> products;
  for (const char* product : {"GPL Ghostscript", "AFPL Ghostscript"}) {
    if (RegistryKeyExists(std::string("HKEY_LOCAL_MACHINE\\SOFTWARE\\") + product, view64))
      products.push_back(product);
  }
  return products;
}

// A higher minor version wins before the product order; the second pass asks the 64-bit view.
std::string FromInstallationKeys() {
  for (int pass = 1; pass <= 2; ++pass) {
    std::vector<std::string> products = RegisteredProducts(pass == 2);
    for (int minor = kHighestSearchedMinorVersion; minor >= 0 && !products.empty(); --minor) {
      for (const std::string& product : products) {
        std::string program = FromInstallationKey(product, minor, pass == 2);
        if (!program.empty()) return program;
      }
    }
  }
  return {};
}

// "10.00.0" and "8.54" alike begin with the major version.
GhostscriptDialect DialectOfVersion(const std::string& version) {
  std::int32_t major = ToLongSafe(version.substr(0, version.find_first_not_of("0123456789")));
  return major >= kFirstModernMajorVersion ? GhostscriptDialect::Modern
                                           : GhostscriptDialect::Legacy;
}

[[noreturn]] void ReportFailure(int exitCode, const std::string& outputFile) {
  std::string output = FileExists(outputFile) ? ReadTextFile(outputFile) : std::string();
  WriteLog("Ghostscript returned exit code " + std::to_string(exitCode) + kCrLf +
           "Ghostscript output:" + kCrLf + output + kCrLf);
  throw Error(err::kGhostscriptFailed,
              std::string("An error occured while running Ghostscript") + kCrLf + kCrLf + output);
}

// Warnings of a run that succeeded (a damaged input that Ghostscript repaired or skipped) are
// kept in the log before the output file goes. Ghostscript ends some failures with exit code 0,
// a full disk among them ("ERROR: ioerror ... on closing pdfwrite device"): they fail here.
void FinishOutputFile(const std::string& outputFile) {
  if (!FileExists(outputFile)) return;
  std::string output = ReadTextFile(outputFile);
  if (output.find("ERROR:") != std::string::npos) ReportFailure(0, outputFile);
  if (!output.empty()) WriteLog(std::string("Ghostscript output:") + kCrLf + output + kCrLf);
  if (!DebugMarkerExists()) platform::RemoveFile(outputFile);
}

}  // namespace

int GetGhostscriptTimeout(Dictionary& settings) {
  std::string text = settings.Text("ghostscripttimeout");
  std::int32_t seconds = ToLongSafe(text);
  return std::to_string(seconds) == TrimSpaces(text) ? seconds : kDefaultTimeoutSeconds;
}

std::string FindGhostscript([[maybe_unused]] Dictionary& settings) {
  std::string program = FromGhostscriptFolderSetting();
  if (program.empty()) program = FromInstallationKeys();
  if (program.empty()) program = platform::FindGhostscriptOnPath();
  return program;
}

GhostscriptDialect GetGhostscriptDialect(const std::string& ghostscript) {
  static std::map<std::string, GhostscriptDialect> asked;
  if (ghostscript.empty()) return GhostscriptDialect::Legacy;
  auto known = asked.find(ghostscript);
  if (known != asked.end()) return known->second;
  GhostscriptDialect dialect = DialectOfVersion(GhostscriptVersion(ghostscript));
  asked.emplace(ghostscript, dialect);
  return dialect;
}

GhostscriptDialect FoundGhostscriptDialect(Dictionary& settings) {
  return GetGhostscriptDialect(FindGhostscript(settings));
}

GhostscriptParameters::GhostscriptParameters(GhostscriptDialect dialect) : dialect_(dialect) {
  for (const char* argument : {"-q", "-dSAFER", "-dNOPAUSE", "-dBATCH"})
    Add(argument);
}

void GhostscriptParameters::Add(const std::string& argument) {
  text_ += argument + kCrLf;
}

void GhostscriptParameters::AddLines(const std::string& lines) {
  text_ += lines;
}

// Ghostscript 9 and later keep quotes after "#" as part of the name, so there the whole
// argument is quoted.
void GhostscriptParameters::AddOutputFile(const std::string& path) {
  RemoveLeftOver(path);
  if (IsModern())
    Add("\"-sOutputFile#" + EscapeQuotes(path) + "\"");
  else
    Add("-sOutputFile#\"" + EscapeQuotes(path) + "\"");
}

void GhostscriptParameters::AddInputFile(const std::string& path) {
  Add("\"" + EscapeQuotes(path) + "\"");
}

// Ghostscript 9 and later reject a final quote that no line break follows.
std::string GhostscriptParameters::Text() const {
  if (IsModern() || text_.size() < 2) return text_;
  return text_.substr(0, text_.size() - 2);
}

void GhostscriptParameters::Write(const std::string& path) const {
  WritePrivateTextFile(path, Text());
}

bool WriteGhostscriptParams(const std::string& paramFile, const std::string& jobFile,
                            const std::string& pdfFile, const std::string& headerFile,
                            Dictionary& settings, const JobSurroundings& surroundings) {
  GhostscriptParameters parameters(FoundGhostscriptDialect(settings));
  std::string target = settings.Text("target");
  if (!target.empty()) parameters.Add("-dPDFSETTINGS#/" + LowerCase(target));
  if (!MergeEnabled(settings) && EncryptionEnabled(settings))
    parameters.AddLines(EncryptionParams(settings));
  parameters.Add("-sDEVICE#pdfwrite");
  parameters.AddOutputFile(pdfFile);
  parameters.Add("-dCompatibilityLevel#1.6");
  // .setpdfwrite is gone from Ghostscript 9 and later; its defaults are theirs anyway.
  if (!parameters.IsModern()) {
    parameters.Add("-c");
    parameters.Add(".setpdfwrite");
  }
  parameters.Add("-f");
  parameters.AddInputFile(headerFile);
  for (const std::string& file : surroundings.beforeJob)
    parameters.AddInputFile(file);
  parameters.AddInputFile(jobFile);
  for (const std::string& file : surroundings.afterJob)
    parameters.AddInputFile(file);
  parameters.Write(paramFile);
  return true;
}

void RunGhostscript(Dictionary& settings, const std::string& paramFile) {
  int timeout = GetGhostscriptTimeout(settings);
  std::string outputFile = ReplaceAll(paramFile, ".gs", ".out");
  std::string ghostscript = FindGhostscript(settings);
  if (ghostscript.empty())
    throw Error(err::kGhostscriptNotFound,
                Localize("[L96]Unable to locate Ghostscript installation."));
  RemoveLeftOver(outputFile);
  using platform::QuoteForInterpreter;
  std::string command = platform::InterpreterCommandLine(QuoteForInterpreter(ghostscript) + " @" +
                                                         QuoteForInterpreter(paramFile) + " > " +
                                                         QuoteForInterpreter(outputFile) + " 2>&1");
  bool timedOut = false;
  int exitCode = 0;
  {
    ProgressScope progress(Job().documentName);
    RunCommand(command, timedOut, exitCode, kHiddenWindow, timeout, GetFolderPart(ghostscript));
  }
  if (timedOut) throw Error(err::kGhostscriptTimeout, "Ghostscript timed out");
  if (exitCode != 0) ReportFailure(exitCode, outputFile);
  FinishOutputFile(outputFile);
}

}  // namespace gui
