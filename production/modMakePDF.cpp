#include "production/modMakePDF.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "platform/Clock.h"
#include "platform/CommandInterpreter.h"
#include "platform/Environment.h"
#include "platform/Files.h"
#include "platform/Shell.h"
#include "production/DocumentTrailer.h"
#include "production/PageStart.h"
#include "production/PdfFacts.h"
#include "production/modEncryption.h"
#include "production/modGhostScript.h"
#include "production/modMerge.h"
#include "production/modPostScript.h"
#include "production/modSuperimpose.h"
#include "script/Utf8.h"
#include "services/Error.h"
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

// The after-print program finds the PDF here, so the shell never parses the path itself.
constexpr const char* kPdfVariable = "QUENTARIS_PDF";

double copyRetrySeconds = 10.0;

// The job's temporary files, all named by the session.
struct JobFiles {
  explicit JobFiles(const std::string& folder) : folder_(folder) {}
  std::string operator()(const std::string& suffix) const {
    return JoinPath(folder_, Job().sessionId + suffix);
  }
  std::string folder_;
};

std::string CopyFailureText(const std::string& source, const std::string& destination,
                            const Error& failure) {
  return " (" + source + " -> " + destination + "). " + Localize("[L123]Error") + " " +
         std::to_string(failure.Number()) + ": " + failure.Description();
}

// A new file beside the destination, then put in its place: an interrupted copy never leaves
// a truncated PDF, and an older file stays whole until the new one is complete. A link keeps
// pointing where it did, and its target receives the PDF.
void CopyOnce(const std::string& source, const std::string& destination) {
  std::string target = platform::LinkedFile(destination);
  if (FolderExists(target)) throw RuntimeError(err::kPermissionDenied);
  ReplaceThroughNewFile(target, [&](const std::string& newFile) {
    platform::CopyToNewFile(source, newFile);
    if (platform::IsLockedByOther(target)) throw RuntimeError(err::kPathFileAccess);
  });
}

// Copies with retries while the destination is locked; the last failure, or none.
std::optional<Error> CopyWithRetries(const std::string& source, const std::string& destination) {
  double start = platform::MonotonicSeconds();
  for (;;) {
    try {
      CopyOnce(source, destination);
      return std::nullopt;
    } catch (const Error& failure) {
      if (failure.Number() != err::kPathFileAccess) return failure;
      WriteLog("Error copying PDF to destination. Possible file lock." +
               CopyFailureText(source, destination, failure));
      if (platform::MonotonicSeconds() - start > copyRetrySeconds) return failure;
      platform::SleepMilliseconds(100);
      Ui().ProcessEvents();
    }
  }
}

// A read-only file is replaced only when the person agrees; nobody can agree headless.
bool ReplacingAgreed(const std::string& destination) {
  if (!platform::IsReadOnly(destination)) return true;
  WriteLog("'" + destination + "' is read-only");
  std::string question =
      "The file is read-only.\r\n\r\n" + destination + "\r\n\r\nDo you want to overwrite it?";
  return Ui().MessageBox(question, mb::kYesNo | mb::kExclamation, kProductName) == mb::kYes;
}

// What went wrong, in words for the person; a locked file is the one that closing can cure.
std::string CopyFailureMessage(const std::string& destination, const Error& failure) {
  if (failure.Number() == err::kPathFileAccess) {
    return ReplaceAll(
        Localize("[L124]Error copying PDF document to destination file.\r\n\r\nPlease close the "
                 "file '%1' if it is open and try again."),
        "%1", destination);
  }
  std::string folder = StripTrailingBackslashes(GetFolderPart(destination));
  std::string reason = !folder.empty() && !FolderExists(folder)
                           ? "The folder '" + folder + "' does not exist."
                           : "The file '" + destination + "' could not be written.";
  return Localize("[L122]Error copying PDF to destination") + ".\r\n\r\n" + reason + "\r\n\r\n" +
         Localize("[L123]Error") + " " + std::to_string(failure.Number()) + ": " +
         failure.Description();
}

// A PDF that did not reach its destination stays in the temporary folder, so that the
// document is not lost; false, for the caller to return.
bool KeepUndelivered(const std::string& source, const std::string& destination) {
  Job().undelivered = true;
  Job().undeliveredPdf = source;
  WriteLog("The PDF was not delivered to '" + destination + "'; it is kept as '" + source + "'");
  if (!Job().suppressErrors) {
    Ui().MessageBox("The PDF document was not saved as '" + destination +
                        "'.\r\n\r\nIt is kept as '" + source + "'.",
                    mb::kExclamation | mb::kOkOnly, kProductName);
  }
  return false;
}

// Converts every background to a page description and makes it a form, for a Ghostscript that
// cannot draw a PDF's page inside a job; the form files.
std::vector<std::string> ConvertBackgrounds(Dictionary& settings, const JobFiles& files) {
  std::string epsPattern = files("_si_#.eps");
  std::string fullPattern = files("_si_full_#.eps");
  std::string paramPattern = files("_si_param_#.gs");
  WriteLog("Superimpose EPS: " + epsPattern);
  WriteLog("Superimpose Full EPS: " + fullPattern);
  WriteLog("Superimpose parameters: " + paramPattern);
  CreateBackgroundEps(settings, epsPattern, fullPattern, paramPattern);
  std::vector<std::string> forms;
  int items = ParseBackgroundSpec(settings.Text("superimpose"))->Count();
  for (int item = 1; item <= items; ++item)
    forms.push_back(BackgroundFileName(epsPattern, item));
  return forms;
}

// Makes a form of every background, to run before the job: drawn from the PDF itself where
// Ghostscript can, which keeps its fonts and transparency.
void CreateBackgrounds(Dictionary& settings, const JobFiles& files, JobSurroundings& surroundings) {
  if (!SuperimposeEnabled(settings)) return;
  if (!FoundGhostscriptDrawsPdfPages(settings)) {
    surroundings.beforeJob = ConvertBackgrounds(settings, files);
    return;
  }
  std::string formPattern = files("_si_#.ps");
  WriteLog("Superimpose forms: " + formPattern);
  surroundings.readFiles = WriteBackgroundForms(settings, formPattern);
  for (std::size_t item = 1; item <= surroundings.readFiles.size(); ++item)
    surroundings.beforeJob.push_back(BackgroundFileName(formPattern, item));
}

// The document information the finished PDF keeps: the settings', and where they have none,
// the printed document's own rather than the merge file's.
Dictionary FinishedInformation(Dictionary& settings, const std::string& printed) {
  Dictionary information = settings;
  if (information.Text("title").empty() || information.Text("author").empty()) {
    PdfFacts facts = ReadPdfFacts(printed);
    if (information.Text("title").empty()) information.Set("title", facts.title);
    if (information.Text("author").empty()) information.Set("author", facts.author);
  }
  return information;
}

// The two PDFs of a merge in their order.
std::vector<std::string> MergeOrder(Dictionary& settings, const std::string& printed,
                                    const std::string& mergeFile) {
  if (LowerCase(settings.Text("mergeposition")) == "top") return {printed, mergeFile};
  return {mergeFile, printed};
}

// Merges the printed PDF with the merge file, applying the encryption that the main run left
// out; the merged PDF, or the printed one unchanged when there is nothing to do.
std::string Merge(Dictionary& settings, const JobFiles& files, const std::string& printed) {
  if (!MergeEnabled(settings)) return printed;
  std::string mergeFile = TrimSpaces(settings.Text("mergefile"));
  if (!FileExists(mergeFile)) {
    WriteLog("Merge file '" + mergeFile + "' does not exist; nothing is merged");
    if (!EncryptionEnabled(settings)) return printed;
    mergeFile.clear();
  }
  std::string paramFile = files("_me_param.gs");
  WriteLog("Merge parameters: " + paramFile);
  std::vector<std::string> inputs = {printed};
  if (!mergeFile.empty()) {
    inputs = MergeOrder(settings, printed, mergeFile);
    WriteLog("Merge: " + inputs[0] + " + " + inputs[1]);
  }
  Dictionary information = FinishedInformation(settings, printed);
  WriteDocumentTrailer(files("_me_trailer.ps"), information);
  inputs.push_back(files("_me_trailer.ps"));
  WriteMergeParams(settings, paramFile, inputs, files("_merge.pdf"));
  RunGhostscript(settings, paramFile, files("_merge.pdf"), {mergeFile});
  return files("_merge.pdf");
}

// Everything from the job file to the destination; false when the copy was given up. The job
// runs as it came, between the header and the document trailer.
bool Produce(Dictionary& settings, const std::string& jobFile, const std::string& output) {
  JobFiles files(GetTempFolder());
  JobSurroundings surroundings;
  CreateBackgrounds(settings, files, surroundings);
  if (PageStartEnabled(settings)) {
    WriteLog("Page start");
    WritePageStart(files("_pagestart.ps"), settings, jobFile);
    surroundings.beforeJob.push_back(files("_pagestart.ps"));
  }
  WriteLog("Header");
  WritePostScriptHeader(files("_header.ps"), settings);
  WriteDocumentTrailer(files("_trailer.ps"), settings);
  surroundings.afterJob.push_back(files("_trailer.ps"));
  WriteLog("Parameters");
  WriteGhostscriptParams(files("_params.gs"), jobFile, files("_printer.pdf"), files("_header.ps"),
                         settings, surroundings);
  WriteLog("Ghostscript");
  RunGhostscript(settings, files("_params.gs"), files("_printer.pdf"), surroundings.readFiles);
  return CopyToDestination(Merge(settings, files, files("_printer.pdf")), output);
}

// The path with the addition put before the extension of its name, the rest of the name cut
// by whole characters until the folder takes it; the extension stays as written.
std::string FittingName(const std::string& path, const std::string& addition = "") {
  std::string folder = GetFolderPart(path);
  std::string name = path.substr(folder.size());
  std::string::size_type dot = name.rfind('.');
  if (dot == std::string::npos || dot == 0) dot = name.size();
  std::string stem = name.substr(0, dot);
  std::string extension = name.substr(dot);
  while (!stem.empty() && !platform::NameFits(folder, stem + addition + extension))
    stem.resize(script::utf8::ByteOffset(stem, script::utf8::CharCount(stem) - 1));
  return folder + stem + addition + extension;
}

// A title longer than the file system allows for a name is shortened once, here.
std::string FittingOutput(const std::string& output) {
  std::string fitting = FittingName(output);
  if (fitting != output)
    WriteLog("The file name of '" + output + "' is too long; the PDF goes to '" + fitting + "'");
  return fitting;
}

// "Report.pdf" as "Report (2).pdf", "Report (3).pdf", ...
std::string NumberedName(const std::string& path, int number) {
  return FittingName(path, " (" + std::to_string(number) + ")");
}

// An existing file that nobody agreed to replace is kept: the new PDF takes the next free name.
std::string UnclaimedOutput(Dictionary& settings, const std::string& output) {
  if (!ConfirmOverwriteEnabled(settings) || output == Job().confirmedOutputFile ||
      !platform::StatusOf(output).exists) {
    return output;
  }
  std::string free = output;
  for (int number = 2; platform::StatusOf(free).exists; ++number)
    free = NumberedName(output, number);
  WriteLog("'" + output + "' exists already; the PDF goes to '" + free + "'");
  return free;
}

// Without a display nobody chose to go without the PDF: the settings name no file, and the
// Save As question had nobody to answer it.
void ReportNoOutput() {
  Job().undelivered = true;
  if (Job().suppressErrors) return;
  Ui().MessageBox("No PDF document was made for '" + Job().documentName +
                      "': the settings name no output file, and there is nobody to ask for one.",
                  mb::kExclamation | mb::kOkOnly, kProductName);
}

void Finish(Dictionary& settings, const std::string& output) {
  if (LowerCase(settings.Text("showpdf")) == "yes") {
    WriteLog("Show");
    ShowPDF(output);
  }
  if (!settings.Text("afterprintprogram").empty()) {
    WriteLog("Run afterprintprogram " + settings.Text("afterprintprogram"));
    RunAfterPrintProgram(settings, output);
  }
  WriteLog("Finished");
}

void OpenTemporaryFolderWhenDebugging() {
  if (!DebugMarkerExists()) return;
  Ui().MessageBox("Debugging is enabled. The folder for temporary files will now open.",
                  mb::kInformation | mb::kOkOnly, kProductName);
  OpenDocument(GetTempFolder());
}

std::string ShowFailureText(const std::string& path, int result) {
  if (result == platform::kShellNoAssociation) {
    if (LowerCase(path.size() >= 4 ? path.substr(path.size() - 4) : path) != ".pdf") {
      return "The program was unable to show the document. The extension of your document "
             "file name should be PDF. Please change that and try again.\r\n\r\nFile name: " +
             path;
    }
    return Localize(
        "[L125]The printer was unable to open the PDF document.\r\n\r\nMake sure you have a PDF "
        "document reader installed on your computer.\r\n\r\nFree PDF readers are available at "
        "https://okular.kde.org and https://www.sumatrapdfreader.org.");
  }
  return Localize("[L126]Error opening the PDF Document.") + "\r\n\r\n" + SystemErrorText(result) +
         "\r\n" + Localize("[L123]Error") + " " + std::to_string(result);
}

}  // namespace

void MakePDF(const std::string& jobFile) {
  WriteLog("Show GUI");
  DictionaryPtr settings;
  if (!GetJobConfig(settings)) {
    WriteLog("User pressed cancel");
    return;
  }
  std::string output = settings->Text("output");
  if (output.empty()) {
    WriteLog("No output specified");
    if (Ui().IsHeadless()) ReportNoOutput();
  } else {
    output = UnclaimedOutput(*settings, FittingOutput(output));
    if (!Produce(*settings, jobFile, output)) return;
    Finish(*settings, output);
  }
  OpenTemporaryFolderWhenDebugging();
}

bool CopyToDestination(const std::string& source, const std::string& destination) {
  if (!ReplacingAgreed(destination)) return KeepUndelivered(source, destination);
  for (;;) {
    std::optional<Error> failure = CopyWithRetries(source, destination);
    if (!failure) return true;
    WriteLog(Localize("[L122]Error copying PDF to destination") +
             CopyFailureText(source, destination, *failure));
    // No retry mends a name that the system does not take.
    int buttons = failure->Number() == err::kBadFileName ? mb::kOkOnly : mb::kRetryCancel;
    if (Ui().MessageBox(CopyFailureMessage(destination, *failure), buttons | mb::kExclamation,
                        kProductName) != mb::kRetry) {
      return KeepUndelivered(source, destination);
    }
  }
}

bool ShowPDF(const std::string& path) {
  int result = platform::ShellOpen(path);
  if (result <= 32) {
    Ui().MessageBox(ShowFailureText(path, result), mb::kExclamation | mb::kOkOnly, kProductName);
  }
  return true;
}

void RunAfterPrintProgram(Dictionary& settings, const std::string& destination) {
  platform::SetVariable(kPdfVariable, destination);
  std::string reference = std::string("\"$") + kPdfVariable + "\"";
  std::string command = ReplaceAll(settings.Text("afterprintprogram"), "\"%1\"", "%1");
  command = ReplaceAll(command, "%1", reference);
  std::string folder = settings.Text("afterprintprogramdir");
  if (folder.empty()) folder = platform::CurrentFolder();
  bool timedOut = false;
  int exitCode = 0;
  RunCommand(platform::InterpreterCommandLine(command), timedOut, exitCode, 0, 0, folder);
}

void SetCopyRetrySecondsForTesting(double seconds) {
  copyRetrySeconds = seconds;
}

}  // namespace gui
