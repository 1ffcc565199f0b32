#include "production/modGhostScript.h"

#include <cstdint>
#include <map>
#include <string_view>
#include <vector>

#include "platform/Files.h"
#include "platform/Ghostscript.h"
#include "production/GhostscriptResult.h"
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
// The former PDF reader, chosen on purpose, announces itself on every PDF it reads.
constexpr char kFormerReaderNotice[] =
    "\n   **** Warning: You are using the legacy PDF interpreter (-dNEWPDF=false) which is now "
    "deprecated and unsupported\n";
// From version 10 on the PDF interpreter can draw a page of another PDF in the middle of a job.
constexpr int kFirstPdfDrawingMajorVersion = 10;
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

// A value as Ghostscript 9 and later read it whole: in quotes, a quote inside as \". A final
// backslash would take the closing quote for a character, so that quote follows on a continued
// line.
std::string QuotedValue(const std::string& value) {
  std::string quoted = "\"" + EscapeQuotes(value);
  if (!value.empty() && value.back() == '\\') quoted += "\\\r\n";
  return quoted + "\"";
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
int MajorOfVersion(const std::string& version) {
  return ToLongSafe(version.substr(0, version.find_first_not_of("0123456789")));
}

// The output file is named for the parameter file: its ".gs" ending becomes ".out".
std::string OutputFileOf(const std::string& paramFile) {
  static constexpr std::string_view kEnding = ".gs";
  std::string_view stem = paramFile;
  if (stem.ends_with(kEnding)) stem.remove_suffix(kEnding.size());
  return std::string(stem) + ".out";
}

[[noreturn]] void ReportFailure(int exitCode, const std::string& output,
                                const std::string& explanation) {
  WriteLog("Ghostscript returned exit code " + std::to_string(exitCode) + kCrLf +
           "Ghostscript output:" + kCrLf + output + kCrLf + explanation);
  std::string description =
      std::string("An error occured while running Ghostscript") + kCrLf + kCrLf;
  if (!explanation.empty()) description += explanation + kCrLf + kCrLf;
  throw Error(err::kGhostscriptFailed, description + output);
}

// Warnings of a run that succeeded (a damaged input that Ghostscript repaired) are kept in the
// log before the output file goes.
void FinishOutputFile(const std::string& outputFile, const std::string& output) {
  if (!output.empty()) WriteLog(std::string("Ghostscript output:") + kCrLf + output + kCrLf);
  if (!DebugMarkerExists() && FileExists(outputFile)) platform::RemoveFile(outputFile);
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

std::string AskedGhostscriptVersion(const std::string& ghostscript) {
  static std::map<std::string, std::string> asked;
  if (ghostscript.empty()) return {};
  auto known = asked.find(ghostscript);
  if (known != asked.end()) return known->second;
  return asked.emplace(ghostscript, GhostscriptVersion(ghostscript)).first->second;
}

int GhostscriptMajorVersion(const std::string& ghostscript) {
  return MajorOfVersion(AskedGhostscriptVersion(ghostscript));
}

GhostscriptDialect GetGhostscriptDialect(const std::string& ghostscript) {
  return GhostscriptMajorVersion(ghostscript) >= kFirstModernMajorVersion
             ? GhostscriptDialect::Modern
             : GhostscriptDialect::Legacy;
}

GhostscriptDialect FoundGhostscriptDialect(Dictionary& settings) {
  return GetGhostscriptDialect(FindGhostscript(settings));
}

bool FoundGhostscriptDrawsPdfPages(Dictionary& settings) {
  return GhostscriptMajorVersion(FindGhostscript(settings)) >= kFirstPdfDrawingMajorVersion;
}

// The new PDF reader of 10.00 maps a glyph that stands for several characters (the "fi"
// ligature) to wrong ones, and reading its own PDF again loses symbols such as the euro; its
// former reader, still there, keeps both.
void GhostscriptParameters::AddPdfReaderChoice(Dictionary& settings) {
  if (AskedGhostscriptVersion(FindGhostscript(settings)).starts_with("10.00"))
    Add("-dNEWPDF#false");
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

// Ghostscript 9 and later keep quotes after "#" as part of the name and take a single "%" for
// a page number's place.
void GhostscriptParameters::AddOutputFile(const std::string& path) {
  RemoveLeftOver(path);
  if (IsModern())
    Add("-sOutputFile=" + QuotedValue(ReplaceAll(path, "%", "%%")));
  else
    Add("-sOutputFile#\"" + EscapeQuotes(path) + "\"");
}

void GhostscriptParameters::AddInputFile(const std::string& path) {
  Add(IsModern() ? QuotedValue(path) : "\"" + EscapeQuotes(path) + "\"");
}

// Version 8 reads any file even in its safe mode.
void GhostscriptParameters::AddReadPermission(const std::string& path) {
  if (IsModern()) Add("--permit-file-read=" + QuotedValue(path));
}

std::string TextSwitch(const std::string& name, const std::string& value,
                       GhostscriptDialect dialect) {
  if (dialect == GhostscriptDialect::Modern) return "-s" + name + "=" + QuotedValue(value);
  return "-s" + name + "#" + value;
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
  for (const std::string& file : surroundings.readFiles)
    parameters.AddReadPermission(file);
  parameters.AddPdfReaderChoice(settings);
  std::string target = settings.Text("target");
  if (!target.empty()) parameters.Add("-dPDFSETTINGS#/" + LowerCase(target));
  if (!MergeEnabled(settings) && EncryptionEnabled(settings))
    parameters.AddLines(EncryptionParams(settings, parameters.Dialect()));
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

void RunGhostscript(Dictionary& settings, const std::string& paramFile,
                    const std::string& resultFile, const std::vector<std::string>& outsidePdfs) {
  int timeout = GetGhostscriptTimeout(settings);
  std::string outputFile = OutputFileOf(paramFile);
  std::string ghostscript = FindGhostscript(settings);
  if (ghostscript.empty())
    throw Error(err::kGhostscriptNotFound,
                Localize("[L96]Unable to locate Ghostscript installation."));
  RemoveLeftOver(outputFile);
  ProgramOutcome outcome;
  {
    ProgressScope progress(Job().documentName);
    outcome = RunCapturedProgram({ghostscript, "@" + paramFile}, outputFile, timeout,
                                 GetFolderPart(ghostscript));
  }
  if (outcome.timedOut) {
    DeleteFileQuietly(resultFile);
    throw Error(err::kGhostscriptTimeout, "Ghostscript timed out");
  }
  std::string output = FileExists(outputFile) ? ReadTextFile(outputFile) : std::string();
  output = ReplaceAll(output, kFormerReaderNotice, "");
  if (!RunSucceeded(outcome.exitCode, output, resultFile)) {
    std::string explanation = FailureExplanation(output, resultFile, outsidePdfs);
    DeleteFileQuietly(resultFile);
    ReportFailure(outcome.exitCode, output, explanation);
  }
  FinishOutputFile(outputFile, output);
}

}  // namespace gui
