#include "ui/qt/frmPrintConfig.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "services/modLocalize.h"
#include "startup/JobContext.h"
#include "startup/modConfig.h"
#include "ui/UserInterface.h"
#include "ui/modGUI.h"
#include "ui/modSharedGUI.h"
#include "ui/qt/ControlBinding.h"
#include "ui/qt/FormBuilder.h"
#include "ui/qt/SharedControls.h"
#include "ui/qt/ucAbout.h"

namespace gui {

namespace {

QWidget* Panel(QLayout* content) {
  auto* panel = new QWidget;
  auto* column = new QVBoxLayout(panel);
  column->addLayout(content);
  column->addStretch();
  return panel;
}

QWidget* Panel(std::initializer_list<QWidget*> frames) {
  auto* column = new QVBoxLayout;
  column->setContentsMargins(0, 0, 0, 0);
  for (QWidget* frame : frames)
    column->addWidget(frame);
  return Panel(column);
}

template <typename T>
void SetEnabled(const QWidget* form, const char* name, bool enabled) {
  if (auto* control = form->findChild<T*>(name)) control->setEnabled(enabled);
}

}  // namespace

frmPrintConfig::frmPrintConfig(Dictionary& settings)
    : SettingsDialog("frmPrintConfig", true), settings_(settings) {
  AddPanel("general", "[L80]General", GeneralPanel());
  AddPanel("document", "[L82]Document", DocumentPanel());
  AddPanel("watermark", "[L83]Watermark", WatermarkPanel());
  AddPanel("merge", "[L84]Merge", MergePanel());
  AddPanel("security", "[L85]Security", SecurityPanel());
  AddPanel("about", "[L86]About", new ucAbout);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Tabs());
  layout->addLayout(OkCancelButtons("[L127]Save"));
  FinishForm("[L89]Create PDF");
  ConnectControls();
  SetConfig();
  UpdateControls();
  Tabs()->setCurrentIndex(0);
}

QWidget* frmPrintConfig::GeneralPanel() {
  QFormLayout* rows = FormRows();
  QLineEdit* file = TextBox("txtPDFFileName");
  rows->addRow(Label("[L49]PDF &File Name", file),
               Row({file, BrowseButton("cmdBrowsePDFFileName")}));
  QComboBox* quality = List("cbQuality", FillQualityList());
  rows->addRow(Label("[L50]&Quality", quality), quality);
  rows->addRow(CheckBox("chkShowPDF", "[L51]&Show PDF after creation"));
  return Panel(rows);
}

QWidget* frmPrintConfig::DocumentPanel() {
  QFormLayout* rows = FormRows();
  for (auto [caption, name] : {std::pair{"[L68]Author", "txtAuthor"},
                               {"[L69]Title", "txtTitle"},
                               {"[L70]Subject", "txtSubject"},
                               {"[L71]Keywords", "txtKeywords"}}) {
    QLineEdit* box = TextBox(name);
    rows->addRow(Label(caption, box), box);
  }
  return Panel(rows);
}

QWidget* frmPrintConfig::WatermarkPanel() {
  QFormLayout* rows = FormRows();
  QLineEdit* text = TextBox("txtWatermarkText");
  rows->addRow(Label("[L64]Text", text), text);
  QLineEdit* size = NumberBox("txtWatermarkSize");
  rows->addRow(Label("[L66]Size", size), size);
  QComboBox* rotation = List("cbWatermarkRotation", FillRotationList(), true);
  rows->addRow(Label("[L65]Rotation (0-360)", rotation), rotation);
  QLineEdit* transparency = NumberBox("txtWatermarkTransparency");
  QHBoxLayout* preview = Row({transparency, PreviewShape("shapeTransparency")});
  preview->addStretch();
  rows->addRow(Label("[L67]Transparency (0-100)", transparency, "lblTransparnecy"), preview);
  return Panel(rows);
}

QWidget* frmPrintConfig::MergePanel() {
  auto* append = new QVBoxLayout;
  append->addWidget(Explanation(
      "[L61]You can append your PDF output with an existing PDF file. Select the PDF file you "
      "want to append to. You can also choose the position of your output in relation to the "
      "appended PDF file."));
  append->addLayout(Row({TextBox("txtAppendFileName"), BrowseButton("cmdAppendFileName")}));
  QFormLayout* position = FormRows();
  QComboBox* positions = List("cbAppendPosition", FillAppendPositionList());
  position->addRow(Label("[L37]Position", positions, "lblAppendPosition"), positions);
  append->addLayout(position);
  auto* background = new QVBoxLayout;
  background->addWidget(
      Explanation("[L63]The superimpose feature will write your PDF output on top of another PDF "
                  "file. The best result is achieved if the imposed documents are using the same "
                  "paper format."));
  background->addLayout(
      Row({TextBox("txtSuperimposeFileName"), BrowseButton("cmdSuperimposeFileName")}));
  return Panel({Frame(nullptr, "[L59]Append PDF", append),
                Frame(nullptr, "[L62]Background PDF", background)});
}

QWidget* frmPrintConfig::SecurityPanel() {
  QFormLayout* rows = FormRows();
  QLineEdit* owner = TextBox("txtOwnerPassword");
  rows->addRow(Label("[L52]Owner password", owner), owner);
  QLineEdit* user = TextBox("txtUserPassword");
  rows->addRow(Label("[L53]User password", user, "lblUserPassword"), user);
  QComboBox* keyLength = List("cbKeyLength", FillKeyLengthList());
  rows->addRow(Label("[L54]Key Length", keyLength, "lblKeylength"), keyLength);
  QFormLayout* permissions = FormRows();
  permissions->addRow(CheckBox("chkPermissions", "[L56]Set Permissions"));
  QComboBox* print = List("cbPermissionsPrint", FillPrintPermissionList());
  permissions->addRow(Label("[L57]Print", print, "lblPermissionsPrint"), print);
  permissions->addRow(CheckBox("chkPermissionsCopy", "[L58]Copy to clipboard"));
  rows->addRow(Frame("framePermissions", "[L55]Permissions", permissions));
  return Panel(rows);
}

void frmPrintConfig::ConnectControls() {
  connect(Box("txtPDFFileName"), &QLineEdit::textChanged, this, &frmPrintConfig::FileNameEdited);
  ShowTextsAsTips({"txtAppendFileName", "txtSuperimposeFileName"});
  for (const char* name : {"txtAppendFileName", "txtOwnerPassword"})
    connect(Box(name), &QLineEdit::textChanged, this, &frmPrintConfig::UpdateControls);
  connect(findChild<QCheckBox*>("chkPermissions"), &QCheckBox::toggled, this,
          &frmPrintConfig::UpdateControls);
  connect(Box("txtWatermarkTransparency"), &QLineEdit::textChanged, this,
          &frmPrintConfig::RefreshPreview);
  OnClick("cmdBrowsePDFFileName", [this] { BrowsePdfFileName(); });
  OnClick("cmdAppendFileName", [this] { BrowseInto("txtAppendFileName"); });
  OnClick("cmdSuperimposeFileName", [this] { BrowseInto("txtSuperimposeFileName"); });
  OnClick("cmdOK", [this] { Save(); });
  OnClick("cmdCancel", [this] { reject(); });
}

void frmPrintConfig::SetConfig() {
  ShowControls(this, LoadPrintConfigControls(settings_));
}

void frmPrintConfig::GetConfig() {
  DialogControls controls = ReadControls(this);
  ReadPrintConfigControls(controls, settings_);
  Box("txtPDFFileName")->setText(ToQt(controls.txtPDFFileName));
}

bool frmPrintConfig::ValidateForm() {
  Validation result = ValidatePrintConfig(ReadControls(this), settings_);
  if (!result.valid) ReturnTo(result.tab, result.box);
  return result.valid;
}

void frmPrintConfig::UpdateControls() {
  bool appending = !Box("txtAppendFileName")->text().isEmpty();
  SetEnabled<QWidget>(this, "cbAppendPosition", appending);
  SetEnabled<QWidget>(this, "lblAppendPosition", appending);
  bool encrypting = !Box("txtOwnerPassword")->text().isEmpty();
  for (const char* name : {"cbKeyLength", "lblKeylength", "txtUserPassword", "lblUserPassword",
                           "framePermissions", "chkPermissions"})
    SetEnabled<QWidget>(this, name, encrypting);
  auto* permissions = findChild<QCheckBox*>("chkPermissions");
  bool detailed = permissions->isEnabled() && permissions->isChecked();
  for (const char* name : {"cbPermissionsPrint", "chkPermissionsCopy", "lblPermissionsPrint"})
    SetEnabled<QWidget>(this, name, detailed);
  RefreshPreview();
}

void frmPrintConfig::ControlLeft(QWidget* control) {
  NormalizeWatermarkBox(control);
  if (control->objectName() == "txtPDFFileName") {
    QLineEdit* box = Box("txtPDFFileName");
    box->setText(ToQt(CompletePdfFileName(FromQt(box->text()))));
  }
  if (auto* rotation = qobject_cast<QComboBox*>(control);
      rotation && rotation->objectName() == "cbWatermarkRotation") {
    rotation->setEditText(ToQt(NormalizeRotation(FromQt(rotation->currentText()))));
  }
}

// An edit of the name takes back the confirmation given in the Save As dialog.
void frmPrintConfig::FileNameEdited(const QString& text) {
  Box("txtPDFFileName")->setToolTip(text);
  std::string& confirmed = Job().confirmedOutputFile;
  if (!confirmed.empty() && confirmed != FromQt(text)) confirmed.clear();
}

void frmPrintConfig::BrowsePdfFileName() {
  QLineEdit* box = Box("txtPDFFileName");
  std::string chosen = Ui().SaveAs(FromQt(box->text()), ConfirmOverwriteEnabled(settings_), false);
  if (chosen.empty()) return;
  box->setText(ToQt(chosen));
  Job().confirmedOutputFile = chosen;
}

void frmPrintConfig::BrowseInto(const char* name) {
  QLineEdit* box = Box(name);
  std::string chosen =
      ShowOpenFileDialog(this, Localize("[L79]Select a PDF File"), FromQt(box->text()));
  if (!chosen.empty()) box->setText(ToQt(chosen));
}

void frmPrintConfig::Save() {
  GetConfig();
  if (!ValidateForm()) return;
  accepted_ = true;
  accept();
}

}  // namespace gui
