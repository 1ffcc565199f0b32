#include "production/modMerge.h"

#include "production/modGhostScript.h"

namespace gui {

bool MergeEnabled(Dictionary& settings) {
  return !settings.Text("mergefile").empty();
}

// The preset goes in as stored: unlike the main run, the merge run does not lower-case it.
bool WriteMergeParams(Dictionary& settings, const std::string& paramFile, const std::string& first,
                      const std::string& second, const std::string& output) {
  GhostscriptParameters parameters(FoundGhostscriptDialect(settings));
  std::string target = settings.Text("target");
  if (!target.empty()) parameters.Add("-dPDFSETTINGS#/" + target);
  parameters.Add("-sDEVICE#pdfwrite");
  parameters.AddOutputFile(output);
  parameters.AddInputFile(first);
  parameters.AddInputFile(second);
  parameters.Write(paramFile);
  return true;
}

}  // namespace gui
