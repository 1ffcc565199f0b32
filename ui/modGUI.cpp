#include "ui/modGUI.h"

#include <cmath>
#include <vector>

#include "production/modSuperimpose.h"
#include "production/modWatermark.h"
#include "services/modConvert.h"
#include "services/modFiles.h"
#include "services/modFolders.h"
#include "services/modLocalize.h"
#include "services/modPaths.h"
#include "services/modText.h"
#include "startup/JobContext.h"
#include "startup/modConfig.h"
#include "ui/UserInterface.h"
#include "ui/modSharedGUI.h"

namespace gui {

namespace {

// Bits 7, 8 and 13 to 16: the ones the PDF standard reserves as set, every permission cleared.
constexpr std::int32_t kNoPermissions = 0xF0C0;

const char* const kShowPdf[] = {"ask", "yes", "no"};
const char* const kShowSaveAs[] = {"nofile", "always", "never"};
const char* const kShowSettings[] = {"always", "never"};

std::string Value(Dictionary& settings, const std::string& key) {
  return TrimSpaces(settings.Text(key));
}

std::string Switch(Dictionary& settings, const std::string& key) {
  return LowerCase(Value(settings, key));
}

// The index of the value among the choices; 0 for any other value.
template <std::size_t N>
int ChoiceIndex(const std::string& value, const char* const (&choices)[N]) {
  for (std::size_t i = 0; i < N; ++i) {
    if (value == choices[i]) return static_cast<int>(i);
  }
  return 0;
}

template <std::size_t N>
std::string Choice(int index, const char* const (&choices)[N]) {
  return choices[index >= 0 && static_cast<std::size_t>(index) < N ? index : 0];
}

std::string YesNo(bool checked) {
  return checked ? "yes" : "no";
}

int QualityIndex(const std::string& target) {
  std::vector<std::string> keys = QualityList()->Keys();
  for (std::size_t i = 0; i < keys.size(); ++i) {
    if (keys[i] == target) return static_cast<int>(i);
  }
  return 0;
}

std::string QualityKey(int index) {
  std::vector<std::string> keys = QualityList()->Keys();
  return index >= 0 && static_cast<std::size_t>(index) < keys.size() ? keys[index] : "";
}

std::string RotationText(const std::string& value) {
  std::vector<std::string> captions = FillRotationList().captions;
  std::string lower = LowerCase(value);
  if (lower == "c2c" || lower.empty()) return captions[0];
  if (lower == "-c2c") return captions[1];
  return NumericText(value);
}

std::string RotationValue(const std::string& text) {
  std::vector<std::string> captions = FillRotationList().captions;
  if (text == captions[0] || TrimSpaces(text).empty()) return "c2c";
  if (text == captions[1]) return "-c2c";
  return NumericText(text);
}

std::string NumberOrEmpty(const std::string& text) {
  return TrimSpaces(text).empty() ? "" : NumericText(text);
}

void Put(Dictionary& settings, const std::string& key, const std::string& value) {
  settings.Set(key, value);
}

// The keys both dialogs load alike.
void LoadCommon(Dictionary& settings, DialogControls& c) {
  c.txtPDFFileName = Value(settings, "output");
  c.cbQuality = QualityIndex(Switch(settings, "target"));
  c.txtAuthor = Value(settings, "author");
  c.txtTitle = Value(settings, "title");
  c.txtSubject = Value(settings, "subject");
  c.txtKeywords = Value(settings, "keywords");
  c.txtWatermarkText = Value(settings, "watermarktext");
  c.txtWatermarkSize = Value(settings, "watermarksize");
  c.cbWatermarkRotation = RotationText(Value(settings, "watermarkrotation"));
  c.txtWatermarkTransparency = Value(settings, "watermarktransparency");
  c.txtAppendFileName = Value(settings, "mergefile");
  c.cbAppendPosition = Switch(settings, "mergeposition") == "top" ? 1 : 0;
  c.txtSuperimposeFileName = Value(settings, "superimpose");
  c.txtOwnerPassword = Value(settings, "ownerpassword");
  c.txtUserPassword = Value(settings, "userpassword");
  c.cbKeyLength = Value(settings, "keylength") == "40" ? 0 : 1;
  c.permissions = LoadPermissions(Value(settings, "permissions"));
}

void ReadDocument(const DialogControls& c, Dictionary& settings) {
  Put(settings, "author", TrimSpaces(c.txtAuthor));
  Put(settings, "title", TrimSpaces(c.txtTitle));
  Put(settings, "subject", TrimSpaces(c.txtSubject));
  Put(settings, "keywords", TrimSpaces(c.txtKeywords));
}

void ReadMergeAndSecurity(const DialogControls& c, Dictionary& settings) {
  Put(settings, "mergefile", TrimSpaces(c.txtAppendFileName));
  Put(settings, "mergeposition", c.cbAppendPosition == 1 ? "top" : "bottom");
  Put(settings, "superimpose", TrimSpaces(c.txtSuperimposeFileName));
  Put(settings, "ownerpassword", TrimSpaces(c.txtOwnerPassword));
  Put(settings, "userpassword", TrimSpaces(c.txtUserPassword));
  Put(settings, "keylength", c.cbKeyLength == 0 ? "40" : "128");
  Put(settings, "permissions", ReadPermissions(c.permissions));
}

bool EndsWithPdf(const std::string& name) {
  return name.size() >= 4 && LowerCase(name.substr(name.size() - 4)) == ".pdf";
}

std::string WatermarkTextValue(const std::string& text) {
  return TrimSpaces(text).empty() ? "" : text;
}

Validation Invalid(const std::string& message, const std::string& tab, const std::string& box) {
  if (!message.empty()) Ui().MessageBox(message, mb::kOkOnly | mb::kExclamation, kProductName);
  return {false, tab, box};
}

Validation CheckOutputFile(const std::string& file, Dictionary& settings) {
  const char* box = "txtPDFFileName";
  if (file.empty() || FolderExists(file)) {
    return Invalid(Localize("[L90]The output PDF file must be specified. Please enter the path "
                            "of a valid file name or use the browse button."),
                   "general", box);
  }
  if (FileExists(file)) {
    if (ConfirmOverwriteEnabled(settings) && file != Job().confirmedOutputFile) {
      if (Ui().MessageBox(OverwriteQuestion(file), mb::kYesNoCancel | mb::kExclamation,
                          kProductName) != mb::kYes) {
        return Invalid("", "general", box);
      }
      Job().confirmedOutputFile = file;
    }
    return {};
  }
  std::string folder = GetFolderPart(file);
  if (!FolderExists(folder) && !IsUncShareRoot(folder)) {
    return Invalid(Localize("[L91]The output folder does not exist. Please enter the path of a "
                            "valid folder or use the browse button."),
                   "general", box);
  }
  return {};
}

Validation CheckMergeFiles(const DialogControls& c) {
  std::string append = TrimSpaces(c.txtAppendFileName);
  if (!append.empty() && append != TrimSpaces(c.txtPDFFileName) && !FileExists(append))
    return Invalid(Localize("[L92]The PDF you want to append does not exist."), "merge",
                   "txtAppendFileName");
  if (TrimSpaces(c.txtSuperimposeFileName).empty()) return {};
  DictionaryPtr backgrounds = ParseBackgroundSpec(c.txtSuperimposeFileName);
  for (const Dictionary::Entry& item : *backgrounds) {
    std::string file = AsDictionary(item.second)->Text("filename");
    if (!FileExists(file)) {
      return Invalid(Localize("[L93]The PDF you want to use as background does not exist.") +
                         "\r\n\r\n\"" + file + "\"",
                     "merge", "txtSuperimposeFileName");
    }
  }
  return {};
}

}  // namespace

PermissionControls LoadPermissions(const std::string& value) {
  std::int32_t p = ToLongSafe(value);
  bool print = (p & Bit(3)) != 0;
  bool highQuality = (p & Bit(12)) != 0;
  PermissionControls c;
  c.set = p != 0;
  if (value.empty() || p == 0 || (print && highQuality))
    c.print = 2;
  else
    c.print = print ? 1 : 0;
  c.copy = p == 0 || (p & Bit(5)) != 0;
  return c;
}

std::string ReadPermissions(const PermissionControls& c) {
  if (!c.set) return {};
  std::int32_t p = kNoPermissions;
  if (c.print == 1) p += Bit(3);
  if (c.print == 2) p += Bit(3) + Bit(12);
  if (c.copy) p += Bit(5);
  return std::to_string(p);
}

DialogControls LoadOptionsControls(Dictionary& settings) {
  DialogControls c;
  LoadCommon(settings, c);
  // Each check box shows what the program does for the stored value, so that OK on values
  // nobody touched changes nothing that the program does.
  c.chkConfirmOverwrite = ConfirmOverwriteEnabled(settings);
  c.optShowPDF = ChoiceIndex(Switch(settings, "showpdf"), kShowPdf);
  c.optShowDialog = ChoiceIndex(Switch(settings, "showsaveas"), kShowSaveAs);
  c.rbShowSettings = ChoiceIndex(Switch(settings, "showsettings"), kShowSettings);
  c.chkSuppressErrors = Switch(settings, "suppresserrors") == "yes";
  c.chkUseDefaultAuthor = Switch(settings, "usedefaultauthor") != "no";
  c.chkUseDefaultTitle = Switch(settings, "usedefaulttitle") != "no";
  return c;
}

void ReadOptionsControls(const DialogControls& c, Dictionary& settings) {
  Put(settings, "output", TrimSpaces(c.txtPDFFileName));
  Put(settings, "confirmoverwrite", YesNo(c.chkConfirmOverwrite));
  Put(settings, "target", QualityKey(c.cbQuality));
  Put(settings, "showpdf", Choice(c.optShowPDF, kShowPdf));
  Put(settings, "showsaveas", Choice(c.optShowDialog, kShowSaveAs));
  Put(settings, "showsettings", Choice(c.rbShowSettings, kShowSettings));
  Put(settings, "suppresserrors", YesNo(c.chkSuppressErrors));
  ReadDocument(c, settings);
  Put(settings, "usedefaultauthor", YesNo(c.chkUseDefaultAuthor));
  Put(settings, "usedefaulttitle", YesNo(c.chkUseDefaultTitle));
  Put(settings, "watermarktext", WatermarkTextValue(c.txtWatermarkText));
  Put(settings, "watermarksize", NumberOrEmpty(c.txtWatermarkSize));
  Put(settings, "watermarkrotation", RotationValue(c.cbWatermarkRotation));
  Put(settings, "watermarktransparency", NumberOrEmpty(c.txtWatermarkTransparency));
  ReadMergeAndSecurity(c, settings);
}

DialogControls LoadPrintConfigControls(Dictionary& settings) {
  DialogControls c;
  LoadCommon(settings, c);
  // The box answers "ask" here; any value but yes and ask opens nothing.
  std::string showPdf = Switch(settings, "showpdf");
  c.chkShowPDF = showPdf == "yes" || showPdf == "ask";
  return c;
}

void ReadPrintConfigControls(DialogControls& c, Dictionary& settings) {
  std::string output = TrimSpaces(c.txtPDFFileName);
  if (!output.empty() && !EndsWithPdf(output)) output += ".pdf";
  c.txtPDFFileName = output;
  Put(settings, "output", output);
  Put(settings, "target", QualityKey(c.cbQuality));
  Put(settings, "showpdf", YesNo(c.chkShowPDF));
  ReadDocument(c, settings);
  Put(settings, "watermarktext", WatermarkTextValue(c.txtWatermarkText));
  if (!TrimSpaces(c.txtWatermarkSize).empty())
    Put(settings, "watermarksize", NumericText(c.txtWatermarkSize));
  Put(settings, "watermarkrotation", RotationValue(c.cbWatermarkRotation));
  Put(settings, "watermarktransparency",
      TrimSpaces(c.txtWatermarkTransparency).empty()
          ? DefaultSettings()->Text("watermarktransparency")
          : NumericText(c.txtWatermarkTransparency));
  ReadMergeAndSecurity(c, settings);
}

std::string CompletePdfFileName(const std::string& text) {
  if (text.empty() || FolderExists(text) || EndsWithPdf(text)) return text;
  return text + ".pdf";
}

std::string NormalizeRotation(const std::string& text) {
  std::vector<std::string> captions = FillRotationList().captions;
  if (text == captions[0] || text == captions[1]) return text;
  double degrees = std::nearbyint(LeadingNumber(text));
  return std::to_string(static_cast<int>(degrees < 0 ? 0 : degrees > 360 ? 360 : degrees));
}

Validation ValidatePrintConfig(const DialogControls& controls, Dictionary& settings) {
  Validation output = CheckOutputFile(controls.txtPDFFileName, settings);
  if (!output.valid) return output;
  return CheckMergeFiles(controls);
}

HelpEntry HelpFor(const std::string& key) {
  std::string text = Localize("[QH_" + key + "]");
  if (text.empty()) text = Localize("[L87]No Help Available") + "\r\n[" + key + "]";
  std::size_t lineBreak = text.find("\r\n");
  if (lineBreak == std::string::npos) return {text, ""};
  return {text.substr(0, lineBreak), text.substr(lineBreak + 2)};
}

}  // namespace gui
