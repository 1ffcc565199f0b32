#pragma once

#include <string>
#include <vector>

#include "tests/support/ScopedVariable.h"
#include "tests/support/TempFolder.h"

namespace gui::test {

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
// Makes a PDF from PostScript with the real Ghostscript, as a test's own input.
void MakePdf(const std::string& postScript, const std::string& pdfFile);

}  // namespace gui::test
