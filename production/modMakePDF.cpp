#include "production/modMakePDF.h"

#include <vector>

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
#include "services/Error.h"
#include "services/modFiles.h"
#include "services/modFolders.h"
#include "services/modLocalize.h"
#include "services/modPaths.h"
#include "services/modShell.h"
#include "services/modSystem.h"
#include "services/modText.h"
#include "startup/JobContext.h"
#include "startup/SessionFiles.h"
#include "startup/modConfig.h"
#include "startup/modLog.h"
#include "ui/UserInterface.h"

namespace gui {

namespace {

// The after-print program finds the PDF here, so the shell never parses the path itself.
constexpr const char* kPdfVariable = "QUENTARIS_PDF";

// The job's temporary files, all named by the session.
struct JobFiles {
  explicit JobFiles(const std::string& folder) : folder_(folder) {}
  std::string operator()(const std::string& suffix) const {
    return JoinPath(folder_, Job().sessionId + suffix);
  }
  std::string folder_;
};

// Converts every background to a page description and makes it a form, for a Ghostscript that
// cannot draw a PDF's page inside a job; the form files.
std::vector<std::string> ConvertBackgrounds(Dictionary& settings, const JobFiles& files) {
  std::string epsPattern = files(ending::kBackgroundEps);
  std::string fullPattern = files(ending::kBackgroundFullEps);
  std::string paramPattern = files(ending::kBackgroundParams);
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
  std::string formPattern = files(ending::kBackgroundForm);
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
  std::string paramFile = files(ending::kMergeParams);
  WriteLog("Merge parameters: " + paramFile);
  std::vector<std::string> inputs = {printed};
  if (!mergeFile.empty()) {
    inputs = MergeOrder(settings, printed, mergeFile);
    WriteLog("Merge: " + inputs[0] + " + " + inputs[1]);
  }
  Dictionary information = FinishedInformation(settings, printed);
  WriteDocumentTrailer(files(ending::kMergeTrailer), information);
  inputs.push_back(files(ending::kMergeTrailer));
  WriteMergeParams(settings, paramFile, inputs, files(ending::kMergedPdf));
  RunGhostscript(settings, paramFile, files(ending::kMergedPdf), {mergeFile});
  return files(ending::kMergedPdf);
}

// Everything from the job file to the destination; false when the copy was given up. The job
// runs as it came, between the header and the document trailer.
bool Produce(Dictionary& settings, const std::string& jobFile, const std::string& output) {
  JobFiles files(RequiredTempFolder());
  JobSurroundings surroundings;
  CreateBackgrounds(settings, files, surroundings);
  if (PageStartEnabled(settings)) {
    WriteLog("Page start");
    WritePageStart(files(ending::kPageStart), settings, jobFile);
    surroundings.beforeJob.push_back(files(ending::kPageStart));
  }
  WriteLog("Header");
  WritePostScriptHeader(files(ending::kHeader), settings);
  WriteDocumentTrailer(files(ending::kTrailer), settings);
  surroundings.afterJob.push_back(files(ending::kTrailer));
  WriteLog("Parameters");
  WriteGhostscriptParams(files(ending::kParams), jobFile, files(ending::kPdf),
                         files(ending::kHeader), settings, surroundings);
  WriteLog("Ghostscript");
  RunGhostscript(settings, files(ending::kParams), files(ending::kPdf), surroundings.readFiles);
  return CopyToDestination(Merge(settings, files, files(ending::kPdf)), output);
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

}  // namespace gui
