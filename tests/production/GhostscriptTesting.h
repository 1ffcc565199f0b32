#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "production/DocumentTrailer.h"
#include "production/PageStart.h"
#include "production/modGhostScript.h"
#include "production/modSuperimpose.h"
#include "services/Error.h"
#include "services/modFolders.h"
#include "startup/Dictionary.h"
#include "startup/modLog.h"
#include "tests/support/Raised.h"
#include "tests/support/RunProgram.h"
#include "tests/support/Session.h"
#include "tests/support/StandIn.h"

// Header-only, so that the backend's tests share it without building the production helpers.
namespace gui::test {

// Settings as "name=value"; the value runs to the end.
using SettingValues = std::vector<std::string>;
// A settings dictionary holding just these values.
inline DictionaryPtr SettingsWith(const SettingValues& values = {}) {
  DictionaryPtr settings = NewDictionary();
  for (const std::string& value : values)
    settings->Set(value.substr(0, value.find('=')), value.substr(value.find('=') + 1));
  return settings;
}

// Points the registry at a file of the test holding these sections; none: an empty registry.
class TestRegistry {
 public:
  explicit TestRegistry(const std::string& sections = "")
      : variable_("QUENTARIS_REGISTRY", folder_ / "registry.reg") {
    if (!sections.empty())
      PutFile(folder_ / "registry.reg", "Windows Registry Editor Version 5.00\r\n\r\n" + sections);
  }

 private:
  TempFolder folder_;
  ScopedVariable variable_;
};

// One registry section with one text value, under HKEY_LOCAL_MACHINE.
inline std::string RegistrySection(const std::string& key, const std::string& name,
                                   const std::string& value) {
  return "[HKEY_LOCAL_MACHINE\\" + key + "]\r\n\"" + name + "\"=\"" + value + "\"\r\n\r\n";
}
// The section that names the folder of the Ghostscript to use.
inline std::string GhostscriptFolderSection(const std::string& folder) {
  return RegistrySection("SOFTWARE\\QUENTARIS\\PDF Printer\\Settings", "ghostscriptfolder", folder);
}

// A stand-in Ghostscript: answers "--version" with the version, else runs the body.
inline void PutStandInGhostscript(const std::string& path, const std::string& version,
                                  const std::string& body) {
  PutScript(path, "if [ \"$1\" = --version ]; then echo '" + version + "'; exit 0; fi\n" + body);
}

// Standard output and error of a program found on the PATH; "$@" hands the shell its arguments
// as data only.
inline std::string CaptureOutput(const std::string& program,
                                 const std::vector<std::string>& arguments) {
  std::vector<std::string> command = {"-c", "exec \"$@\" >&2", "sh", program};
  command.insert(command.end(), arguments.begin(), arguments.end());
  return RunProgram("/bin/sh", command, {}).errorOutput;
}

// What an action raises, as "number: description"; "" when it raises nothing.
inline std::string FailureOf(const std::function<void()>& action) {
  Error failure = Raised(action);
  return failure.Number() == 0 ? ""
                               : std::to_string(failure.Number()) + ": " + failure.Description();
}

// Whether the text holds the piece; reads shorter in assertions than find against npos.
inline bool Contains(const std::string& text, const std::string& piece) {
  return text.find(piece) != std::string::npos;
}

inline int Occurrences(const std::string& text, const std::string& piece) {
  int count = 0;
  for (std::size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1))
    ++count;
  return count;
}

// The names in a folder, sorted.
inline std::vector<std::string> FileNames(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

// A golden file of tests/production/golden.
inline std::string Golden(const std::string& name) {
  return GetFile(std::string(GUI_SOURCE_DIR) + "/tests/production/golden/" + name);
}

// A PostScript job with one page per text, each text shown near the top of its page.
inline std::string PostScriptJob(const std::vector<std::string>& pageTexts) {
  std::string job = "%!PS-Adobe-3.0\n%%Pages: " + std::to_string(pageTexts.size()) +
                    "\n%%EndComments\n/Helvetica findfont 24 scalefont setfont\n";
  for (std::size_t number = 1; number <= pageTexts.size(); ++number) {
    std::string page = std::to_string(number);
    job += "%%Page: " + page + " " + page + "\n72 700 moveto (" + pageTexts[number - 1] +
           ") show showpage\n";
  }
  return job + "%%EOF\n";
}

// The main run over a job, its files named in the folder as the pipeline names them, with the
// page start and the document trailer around it as the pipeline writes them; returns the PDF's
// path. Raises what RunGhostscript raises.
inline std::string RunMainJob(Dictionary& settings, const std::string& folder,
                              const std::string& job, const std::string& header = "%!PS\n") {
  std::string base = folder + "/s1";
  PutFile(base + ".ps", job);
  PutFile(base + "_header.ps", header);
  JobSurroundings surroundings;
  // Background forms made by CreateBackgroundEps with the pipeline's names, as in the pipeline;
  // else those that draw the background PDFs directly.
  for (int item = 1; std::filesystem::exists(base + "_si_" + std::to_string(item) + ".eps"); ++item)
    surroundings.beforeJob.push_back(base + "_si_" + std::to_string(item) + ".eps");
  if (surroundings.beforeJob.empty() && SuperimposeEnabled(settings)) {
    surroundings.readFiles = WriteBackgroundForms(settings, base + "_si_#.ps");
    for (std::size_t item = 1; item <= surroundings.readFiles.size(); ++item)
      surroundings.beforeJob.push_back(base + "_si_" + std::to_string(item) + ".ps");
  }
  if (PageStartEnabled(settings)) {
    WritePageStart(base + "_pagestart.ps", settings, base + ".ps");
    surroundings.beforeJob.push_back(base + "_pagestart.ps");
  }
  WriteDocumentTrailer(base + "_trailer.ps", settings);
  surroundings.afterJob.push_back(base + "_trailer.ps");
  WriteGhostscriptParams(base + "_params.gs", base + ".ps", base + "_printer.pdf",
                         base + "_header.ps", settings, surroundings);
  RunGhostscript(settings, base + "_params.gs", base + "_printer.pdf", surroundings.readFiles);
  return base + "_printer.pdf";
}

// One field of pdfinfo's report ("Pages", "Title"), without the blanks around it.
inline std::string PdfInfo(const std::string& pdf, const std::string& field) {
  std::string report = "\n" + CaptureOutput("pdfinfo", {pdf});
  std::string::size_type start = report.find("\n" + field + ":");
  if (start == std::string::npos) return "<no " + field + ">";
  start = report.find_first_not_of(' ', start + field.size() + 2);
  return report.substr(start, report.find('\n', start) - start);
}

// The text of the PDF's pages, as pdftotext reads it.
inline std::string PdfText(const std::string& pdf) {
  return CaptureOutput("pdftotext", {pdf, "-"});
}

// The colour "r g b" of a page at a point, in points from its upper left corner, as pdftoppm
// renders it at 18 dots per inch (4 points per dot).
inline std::string PixelAt(const std::string& pdf, int page, int x, int y) {
  std::string number = std::to_string(page);
  std::filesystem::remove(pdf + ".ppm");
  CaptureOutput("pdftoppm",
                {"-r", "18", "-f", number, "-l", number, "-x", std::to_string(x / 4), "-y",
                 std::to_string(y / 4), "-W", "1", "-H", "1", "-singlefile", pdf, pdf});
  std::string ppm = GetFile(pdf + ".ppm");
  auto channel = [&](std::size_t back) {
    return std::to_string(static_cast<unsigned char>(ppm[ppm.size() - back]));
  };
  return ppm.size() < 3 ? "none" : channel(3) + " " + channel(2) + " " + channel(1);
}

// Makes a PDF from PostScript with the real Ghostscript and any options of its own, as a
// test's own input.
inline void MakePdf(const std::string& postScript, const std::string& pdfFile,
                    const std::vector<std::string>& options = {}) {
  PutFile(pdfFile + ".ps", postScript);
  // A "%" in the output name would be a page number's place.
  std::string outputFile;
  for (char c : pdfFile)
    outputFile += c == '%' ? std::string("%%") : std::string(1, c);
  std::vector<std::string> arguments = {
      "-q", "-dSAFER", "-dNOPAUSE", "-dBATCH", "-sDEVICE=pdfwrite", "-sOutputFile=" + outputFile};
  arguments.insert(arguments.end(), options.begin(), options.end());
  arguments.push_back(pdfFile + ".ps");
  CaptureOutput("/usr/bin/gs", arguments);
}

// A session whose Ghostscript is the real one on the PATH, with an empty registry.
class RealGhostscriptTest : public ::testing::Test {
 protected:
  std::string Log() const { return GetFile(LogFileName()); }

  Session session_;
  TestRegistry registry_;
  std::string folder_ = GetTempFolder();
  DictionaryPtr settings_ = NewDictionary();
};

}  // namespace gui::test
