#include "production/modMerge.h"

#include "production/modEncryption.h"
#include "production/modGhostScript.h"
#include "services/modText.h"

namespace gui {

bool MergeEnabled(Dictionary& settings) {
  return !settings.Text("mergefile").empty();
}

// The merged PDF is the one delivered, so the encryption the main run left out is applied here.
bool WriteMergeParams(Dictionary& settings, const std::string& paramFile,
                      const std::vector<std::string>& inputs, const std::string& output) {
  GhostscriptParameters parameters(FoundGhostscriptDialect(settings));
  parameters.AddPdfReaderChoice(settings);
  std::string target = settings.Text("target");
  if (!target.empty()) parameters.Add("-dPDFSETTINGS#/" + LowerCase(target));
  if (EncryptionEnabled(settings))
    parameters.AddLines(EncryptionParams(settings, parameters.Dialect()));
  parameters.Add("-sDEVICE#pdfwrite");
  parameters.AddOutputFile(output);
  for (const std::string& input : inputs)
    parameters.AddInputFile(input);
  parameters.Write(paramFile);
  return true;
}

}  // namespace gui
