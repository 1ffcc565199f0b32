#pragma once

#include <string>

#include "startup/Dictionary.h"

namespace gui {

// The three controls of the permission flags: chkPermissions, cbPermissionsPrint (0 not
// allowed, 1 low quality, 2 high quality) and chkPermissionsCopy.
struct PermissionControls {
  bool set = false;
  int print = 2;
  bool copy = true;
};

// The state of every control the settings dialogs bind, named after the control. Option groups
// and lists hold their index; the rotation combo box holds its text.
struct DialogControls {
  std::string txtPDFFileName;
  bool chkConfirmOverwrite = true;
  int cbQuality = 0;
  int optShowPDF = 0;
  bool chkShowPDF = true;
  int optShowDialog = 0;
  int rbShowSettings = 0;
  bool chkSuppressErrors = false;
  std::string txtAuthor;
  std::string txtTitle;
  std::string txtSubject;
  std::string txtKeywords;
  bool chkUseDefaultAuthor = true;
  bool chkUseDefaultTitle = true;
  std::string txtWatermarkText;
  std::string txtWatermarkSize;
  std::string cbWatermarkRotation;
  std::string txtWatermarkTransparency;
  std::string txtAppendFileName;
  int cbAppendPosition = 0;
  std::string txtSuperimposeFileName;
  std::string txtOwnerPassword;
  std::string txtUserPassword;
  int cbKeyLength = 1;
  PermissionControls permissions;
};

// The permission value of the settings shown in its three controls, and read back from them.
PermissionControls LoadPermissions(const std::string& value);
std::string ReadPermissions(const PermissionControls& controls);

// The Options dialog: every bound setting shown in its control, and read back.
DialogControls LoadOptionsControls(Dictionary& settings);
void ReadOptionsControls(const DialogControls& controls, Dictionary& settings);

// The Create PDF dialog: the same loading with a check box for showpdf, and its own read-back,
// which also gives the file name box its ".pdf".
DialogControls LoadPrintConfigControls(Dictionary& settings);
void ReadPrintConfigControls(DialogControls& controls, Dictionary& settings);

// The file name box's text once it loses the focus: ".pdf" added unless it is empty, names a
// folder or already ends so.
std::string CompletePdfFileName(const std::string& text);
// A rotation typed into the combo box: the whole angle clamped to 0..360, the captions kept.
std::string NormalizeRotation(const std::string& text);

// Where a failed check of the Create PDF dialog sends the person: the tab and the box.
struct Validation {
  bool valid = true;
  std::string tab;
  std::string box;
};

// Checks the Create PDF dialog's input, telling the person what is wrong in a message box.
Validation ValidatePrintConfig(const DialogControls& controls, Dictionary& settings);

// The quick help of the Options dialog for a topic: a heading and the text below it.
struct HelpEntry {
  std::string heading;
  std::string body;
};
HelpEntry HelpFor(const std::string& key);

}  // namespace gui
