#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "services/modFolders.h"
#include "startup/Dictionary.h"
#include "tests/support/ScopedVariable.h"
#include "tests/support/Session.h"
#include "tests/support/TempFolder.h"

namespace gui::test {

using SettingValues = std::vector<std::pair<std::string, std::string>>;
// A settings dictionary holding just these values.
DictionaryPtr SettingsWith(const SettingValues& values = {});

// Points the registry at a file of the test holding these sections; none: an empty registry.
class TestRegistry {
 public:
  explicit TestRegistry(const std::string& sections = "");

 private:
  TempFolder folder_;
  ScopedVariable variable_;
};

// One registry section with one text value, under HKEY_LOCAL_MACHINE.
std::string RegistrySection(const std::string& key, const std::string& name,
                            const std::string& value);
// The section that names the folder of the Ghostscript to use.
std::string GhostscriptFolderSection(const std::string& folder);

// A stand-in Ghostscript: answers "--version" with the version, else runs the body.
void PutStandInGhostscript(const std::string& path, const std::string& version,
                           const std::string& body);

// Standard output and error of a program started without a shell.
std::string CaptureOutput(const std::string& program, const std::vector<std::string>& arguments);

// A golden file of tests/production/golden.
std::string Golden(const std::string& name);

// A PostScript job with one page per text, each text shown near the top of its page.
std::string PostScriptJob(const std::vector<std::string>& pageTexts);
// The main run over a job, its files named in the folder as the pipeline names them; returns
// the PDF's path. Raises what RunGhostscript raises.
std::string RunMainJob(Dictionary& settings, const std::string& folder, const std::string& job,
                       const std::string& header = "%!PS\n");
// One field of pdfinfo's report ("Pages", "Title"), without the blanks around it.
std::string PdfInfo(const std::string& pdf, const std::string& field);
// The text of the PDF's pages, as pdftotext reads it.
std::string PdfText(const std::string& pdf);

// A session whose Ghostscript is the real one on the PATH, with an empty registry.
class RealGhostscriptTest : public ::testing::Test {
 protected:
  std::string Log() const;

  Session session_;
  TestRegistry registry_;
  std::string folder_ = GetTempFolder();
  DictionaryPtr settings_ = NewDictionary();
};

// Makes a PDF from PostScript with the real Ghostscript, as a test's own input.
void MakePdf(const std::string& postScript, const std::string& pdfFile);

}  // namespace gui::test
