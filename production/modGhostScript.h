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
// The dialect of the Ghostscript at that path, asked once per run; legacy for "".
GhostscriptDialect GetGhostscriptDialect(const std::string& ghostscript);
// The dialect of the Ghostscript that the settings find.
GhostscriptDialect FoundGhostscriptDialect(Dictionary& settings);

// One parameter file: one argument per line, each ended by CR LF, except in the legacy dialect
// the last one. It starts with the switches every run shares.
class GhostscriptParameters {
 public:
  explicit GhostscriptParameters(GhostscriptDialect dialect);

  bool IsModern() const { return dialect_ == GhostscriptDialect::Modern; }
  void Add(const std::string& argument);
  // Arguments already ended by CR LF.
  void AddLines(const std::string& lines);
  void AddOutputFile(const std::string& path);
  void AddInputFile(const std::string& path);
  std::string Text() const;
  // Readable by the user alone, as it may hold passwords.
  void Write(const std::string& path) const;

 private:
  GhostscriptDialect dialect_;
  std::string text_;
};

// What Ghostscript runs around the job besides the header: the files between the header and
// the job (background forms, the page start) and those after it (the document trailer).
struct JobSurroundings {
  std::vector<std::string> beforeJob;
  std::vector<std::string> afterJob;
};

// Writes the parameter file of the main run; returns true.
bool WriteGhostscriptParams(const std::string& paramFile, const std::string& jobFile,
                            const std::string& pdfFile, const std::string& headerFile,
                            Dictionary& settings, const JobSurroundings& surroundings = {});
// Runs Ghostscript on a parameter file; returns only on success, else raises 1005, 1007 or 1008.
void RunGhostscript(Dictionary& settings, const std::string& paramFile);

}  // namespace gui
