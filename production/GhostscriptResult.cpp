#include "production/GhostscriptResult.h"

#include <cstdint>

#include "platform/Files.h"
#include "production/PdfFacts.h"
#include "production/PdfFile.h"
#include "services/Error.h"
#include "services/modFiles.h"
#include "services/modPaths.h"

namespace gui {

namespace {

constexpr char kCrLf[] = "\r\n";
// Less room than this left beside an incomplete result means the disk ran full.
constexpr std::uint64_t kNearlyFull = 1 << 20;

// Ghostscript ends some failures with exit code 0, a full disk among them ("ERROR: ioerror ...
// on closing pdfwrite device"); they name the error in its output.
bool NamesAnError(const std::string& output) {
  return output.find("Error:") != std::string::npos || output.find("ERROR:") != std::string::npos;
}

// An input Ghostscript could not open without its password is left out with exit code 0.
bool AskedForPassword(const std::string& output) {
  return output.find("requires a password") != std::string::npos;
}

// A result that was written to its end: a PDF closes with its cross-reference and "%%EOF", an
// EPS with its trailer and "%%EOF". A full disk cuts it short of that.
bool IsCompleteResult(const std::string& path) {
  static constexpr std::uint64_t kTailSize = 1024;
  PdfFile file(path);
  std::uint64_t size = file.Size();
  std::string tail = file.Read(size > kTailSize ? size - kTailSize : 0, kTailSize);
  tail.erase(tail.find_last_not_of(" \t\r\n") + 1);
  return tail.ends_with("%%EOF") && (tail.find("startxref") != std::string::npos ||
                                     tail.find("%%Trailer") != std::string::npos);
}

// The PDFs from outside that Ghostscript could not open without their password, named.
std::string ProtectedInputs(const std::vector<std::string>& outsidePdfs) {
  std::string text;
  for (const std::string& pdf : outsidePdfs) {
    if (!ReadPdfFacts(pdf).encrypted) continue;
    if (!text.empty()) text += kCrLf;
    text += "The PDF file '" + pdf + "' is protected by a password. Ghostscript cannot read it.";
  }
  return text;
}

}  // namespace

std::string FailureExplanation(const std::string& output, const std::string& resultFile,
                               const std::vector<std::string>& outsidePdfs) {
  if (AskedForPassword(output)) {
    std::string text = ProtectedInputs(outsidePdfs);
    if (!text.empty()) return text;
  }
  if (!FileExists(resultFile) || IsCompleteResult(resultFile)) return {};
  std::string text = "file '" + resultFile + "' that Ghostscript wrote is incomplete.";
  if (platform::FreeSpaceOf(GetFolderPart(resultFile)) >= kNearlyFull) return "The " + text;
  return RuntimeErrorText(err::kDiskFull) + ": the " + text;
}

bool RunSucceeded(int exitCode, const std::string& output, const std::string& resultFile) {
  return exitCode == 0 && !NamesAnError(output) && IsCompleteResult(resultFile);
}

}  // namespace gui
