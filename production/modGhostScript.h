#pragma once

#include <string>
#include <vector>

#include "startup/Dictionary.h"

namespace gui {

// The parameter-file dialect a Ghostscript understands: version 8 as written originally, or
// the forms versions 9 and later require.
enum class GhostscriptDialect { Legacy, Modern };

// Seconds Ghostscript may run: the ghostscripttimeout setting when it is a whole number, else 300.
int GetGhostscriptTimeout(Dictionary& settings);
// The full path of the Ghostscript console program, or "" when there is none.
std::string FindGhostscript(Dictionary& settings);
// The major version of the Ghostscript at that path, asked once per run; 0 for "".
int GhostscriptMajorVersion(const std::string& ghostscript);
// The dialect of the Ghostscript at that path; legacy for "".
GhostscriptDialect GetGhostscriptDialect(const std::string& ghostscript);
// The dialect of the Ghostscript that the settings find.
GhostscriptDialect FoundGhostscriptDialect(Dictionary& settings);
// Whether the Ghostscript that the settings find can draw a page of a PDF inside a job.
bool FoundGhostscriptDrawsPdfPages(Dictionary& settings);

// One parameter file: one argument per line, each ended by CR LF, except in the legacy dialect
// the last one. It starts with the switches every run shares.
class GhostscriptParameters {
 public:
  explicit GhostscriptParameters(GhostscriptDialect dialect);

  GhostscriptDialect Dialect() const { return dialect_; }
  bool IsModern() const { return dialect_ == GhostscriptDialect::Modern; }
  void Add(const std::string& argument);
  // Arguments already ended by CR LF.
  void AddLines(const std::string& lines);
  void AddOutputFile(const std::string& path);
  void AddInputFile(const std::string& path);
  // Lets the job read a file that is not one of its inputs, where the safe mode forbids it.
  void AddReadPermission(const std::string& path);
  // Chooses the reader of PDF inputs that keeps their text, where the found Ghostscript has two.
  void AddPdfReaderChoice(Dictionary& settings);
  std::string Text() const;
  // Readable by the user alone, as it may hold passwords.
  void Write(const std::string& path) const;

 private:
  GhostscriptDialect dialect_;
  std::string text_;
};

// A text switch ("-sName" and its value): bare after "#" for version 8, whole in quotes for
// the later versions, which split a bare value at blanks and stop it at "=".
std::string TextSwitch(const std::string& name, const std::string& value,
                       GhostscriptDialect dialect);

// What Ghostscript runs around the job besides the header: the files between the header and
// the job (background forms, the page start), those after it (the document trailer), and the
// files they read (the background PDFs drawn directly).
struct JobSurroundings {
  std::vector<std::string> beforeJob;
  std::vector<std::string> afterJob;
  std::vector<std::string> readFiles;
};

// Writes the parameter file of the main run; returns true.
bool WriteGhostscriptParams(const std::string& paramFile, const std::string& jobFile,
                            const std::string& pdfFile, const std::string& headerFile,
                            Dictionary& settings, const JobSurroundings& surroundings = {});
// Runs Ghostscript on a parameter file and checks the file it was to make; returns only when
// that result is complete and Ghostscript reported no error. Else the result is removed and
// 1005, 1007 or 1008 raised; a Ghostscript past its time-out is ended. The PDFs from outside
// (merge file, backgrounds) are named in the failure when Ghostscript wanted a password.
void RunGhostscript(Dictionary& settings, const std::string& paramFile,
                    const std::string& resultFile,
                    const std::vector<std::string>& outsidePdfs = {});

}  // namespace gui
