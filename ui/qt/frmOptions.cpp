#include "ui/qt/frmOptions.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "services/Error.h"
#include "services/modFolders.h"
#include "services/modLocalize.h"
#include "startup/modConfig.h"
#include "ui/UserInterface.h"
#include "ui/modGUI.h"
#include "ui/modSharedGUI.h"
#include "ui/qt/ControlBinding.h"
#include "ui/qt/FormBuilder.h"
#include "ui/qt/SharedControls.h"
#include "ui/qt/frmMacros.h"
#include "ui/qt/ucAbout.h"

namespace gui {

namespace {

constexpr int kHelpPaneChars = 30;

const std::pair<const char*, const char*> kHelpKeys[] = {
    {"txtPDFFileName", "pdffilename"},
    {"cmdBrowsePDFFileName", "browsepdf"},
    {"cmdAppendFileName", "browsepdf"},
    {"cmdSuperimposeFileName", "browsepdf"},
    {"chkConfirmOverwrite", "confirmoverwrite"},
    {"cbQuality", "quality"},
    {"chkSuppressErrors", "suppresserrors"},
    {"txtAuthor", "author"},
    {"txtTitle", "title"},
    {"txtSubject", "subject"},
    {"txtKeywords", "keywords"},
    {"chkUseDefaultAuthor", "usedefaultauthor"},
    {"chkUseDefaultTitle", "usedefaulttitle"},
    {"txtWatermarkText", "watermarktext"},
    {"txtWatermarkSize", "watermarksize"},
    {"txtWatermarkTransparency", "watermarktransparency"},
    {"cbWatermarkRotation", "watermarkrotation"},
    {"txtAppendFileName", "appendfilename"},
    {"cbAppendPosition", "appendposition"},
    {"txtSuperimposeFileName", "superimposefilename"},
    {"txtOwnerPassword", "ownerpassword"},
    {"txtUserPassword", "userpassword"},
    {"cbKeyLength", "keylength"},
    {"chkPermissions", "setpermissions"},
    {"cbPermissionsPrint", "permissionsprint"},
    {"cmdOK", "ok"},
    {"cmdCancel", "cancel"},
};

const std::pair<const char*, const char*> kGroupHelpKeys[] = {
    {"optShowPDF", "showpdf"}, {"optShowDialog", "showsaveas"}, {"rbShowSettings", "showsettings"}};

QWidget* Panel(std::initializer_list<QWidget*> frames) {
  auto* panel = new QWidget;
  auto* column = new QVBoxLayout(panel);
  for (QWidget* frame : frames)
    column->addWidget(frame);
  column->addStretch();
  return panel;
}

QVBoxLayout* Column(std::initializer_list<QWidget*> widgets) {
  auto* column = new QVBoxLayout;
  for (QWidget* widget : widgets)
    column->addWidget(widget);
  return column;
}

}  // namespace

frmOptions::frmOptions() : SettingsDialog("frmOptions", false) {
  QWidget* help = HelpPane();
  AddPanel("general", "[L80]General", GeneralPanel());
  AddPanel("dialogs", "[L81]Dialogs", DialogsPanel());
  AddPanel("document", "[L82]Document", DocumentPanel());
  AddPanel("watermark", "[L83]Watermark", WatermarkPanel());
  AddPanel("merge", "[L84]Merge", MergePanel());
  AddPanel("security", "[L85]Security", SecurityPanel());
  AddPanel("about", "[L86]About", Panel({Frame(nullptr, "[L48]About", Column({new ucAbout}))}));
  auto* layout = new QVBoxLayout(this);
  auto* body = new QHBoxLayout;
  body->addWidget(Tabs(), 1);
  body->addWidget(help);
  layout->addLayout(body);
  layout->addLayout(OkCancelButtons("[L128]OK"));
  AssignHelpKeys();
  FinishForm("[L88]Options");
  ShowHelp("start");
  settings_ = LoadConfig(true, fileName_);
  ConnectControls();
  SetConfig();
  Tabs()->setCurrentIndex(0);
  PanelShown(CurrentTabKey());
}

QWidget* frmOptions::HelpPane() {
  auto* heading = new QLabel("[L12]Heading");
  heading->setObjectName("lblHelpHeading");
  QFont bold = heading->font();
  bold.setBold(true);
  heading->setFont(bold);
  heading->setWordWrap(true);
  auto* content = new QLabel;
  content->setObjectName("lblHelpContent");
  content->setWordWrap(true);
  content->setAlignment(Qt::AlignTop | Qt::AlignLeft);
  auto* pane = new QFrame;
  pane->setFrameShape(QFrame::StyledPanel);
  pane->setFixedWidth(pane->fontMetrics().averageCharWidth() * kHelpPaneChars);
  auto* column = new QVBoxLayout(pane);
  column->addWidget(heading);
  column->addWidget(content, 1);
  return pane;
}

QPushButton* frmOptions::MacroButton(const char* box) {
  QString name = "cmdMacro_" + QString::number(macroButtons_++);
  QPushButton* button = BrowseButton(name.toUtf8().constData());
  button->setText("<>");
  button->setToolTip(ToQt(Localize("[L72]Macros")));
  button->setProperty("tag", QString(box));
  return button;
}

QWidget* frmOptions::GeneralPanel() {
  QFormLayout* output = FormRows();
  QLineEdit* file = TextBox("txtPDFFileName");
  output->addRow(Label("[L26]PDF &File Name", file),
                 Row({file, BrowseButton("cmdBrowsePDFFileName"), MacroButton("txtPDFFileName")}));
  output->addRow(CheckBox("chkConfirmOverwrite", "[L27]Confirm Overwrite"));
  QFormLayout* quality = FormRows();
  QComboBox* qualities = List("cbQuality", FillQualityList());
  quality->addRow(Label("[L34]PDF &Quality", qualities), qualities);
  auto* show = new QVBoxLayout;
  show->addWidget(new QLabel("[L29]Open the PDF document after creation?"));
  auto* options = new QHBoxLayout;
  OptionGroup(this, "optShowPDF", {"[L30]Ask", "[L31]Yes", "[L32]No"}, options);
  options->addStretch();
  show->addLayout(options);
  return Panel({Frame(nullptr, "[L25]Output", output),
                Frame(nullptr, "[L33]Quality Settings", quality),
                Frame(nullptr, "[L28]Show PDF", show)});
}

QWidget* frmOptions::DialogsPanel() {
  auto* saveAs = new QVBoxLayout;
  saveAs->addWidget(
      Label("[L2]When will the \"Save As\" dialog be shown?", nullptr, "lblSaveAsDialogQuestion"));
  OptionGroup(this, "optShowDialog",
              {"[L3]When no file name is specified", "[L4]Always", "[L5]Never"}, saveAs);
  auto* settings = new QVBoxLayout;
  settings->addWidget(new QLabel("[L7]When should the \"PDF Settings\" dialog be shown?"));
  OptionGroup(this, "rbShowSettings", {"[L8]Always", "[L9]Never"}, settings);
  return Panel({Frame("frameSaveAs", "[L1]Save As - Dialog", saveAs),
                Frame("framePDFSettingsDialog", "[L6]PDF Settings - Dialog", settings),
                Frame(nullptr, "[L10]Other Dialogs",
                      Column({CheckBox("chkSuppressErrors", "[L11]Suppress all errors")}))});
}

void frmOptions::AddDocumentRow(QGridLayout* grid, const char* caption, const char* box,
                                QWidget* extra) {
  int row = grid->rowCount();
  QLineEdit* text = TextBox(box);
  grid->addWidget(Label(caption, text), row, 0);
  grid->addWidget(text, row, 1);
  grid->addWidget(MacroButton(box), row, 2);
  if (extra) grid->addWidget(extra, row, 3);
}

QWidget* frmOptions::DocumentPanel() {
  auto* grid = new QGridLayout;
  AddDocumentRow(grid, "[L19]Author", "txtAuthor",
                 CheckBox("chkUseDefaultAuthor", "[L20]Use Default"));
  AddDocumentRow(grid, "[L22]Title", "txtTitle",
                 CheckBox("chkUseDefaultTitle", "[L21]Use Default"));
  AddDocumentRow(grid, "[L23]Subject", "txtSubject");
  AddDocumentRow(grid, "[L24]Keywords", "txtKeywords");
  grid->setColumnStretch(1, 1);
  return Panel({Frame(nullptr, "[L18]Document Properties", grid)});
}

QWidget* frmOptions::WatermarkPanel() {
  QFormLayout* rows = FormRows();
  QLineEdit* text = TextBox("txtWatermarkText");
  rows->addRow(Label("[L14]Text", text), Row({text, MacroButton("txtWatermarkText")}));
  QLineEdit* size = NumberBox("txtWatermarkSize");
  rows->addRow(Label("[L16]Size", size), size);
  QComboBox* rotation = List("cbWatermarkRotation", FillRotationList(), true);
  rows->addRow(Label("[L15]Rotation (0-360)", rotation), rotation);
  QLineEdit* transparency = NumberBox("txtWatermarkTransparency");
  QHBoxLayout* preview = Row({transparency, PreviewShape("shapeTransparency")});
  preview->addStretch();
  rows->addRow(Label("[L17]Transparency (0-100)", transparency, "lblTransparnecy"), preview);
  return Panel({Frame(nullptr, "[L13]Watermark", rows)});
}

QWidget* frmOptions::MergePanel() {
  QFormLayout* append = FormRows();
  QLineEdit* file = TextBox("txtAppendFileName");
  append->addRow(Label("[L36]Append PDF", file),
                 Row({file, BrowseButton("cmdAppendFileName"), MacroButton("txtAppendFileName")}));
  QComboBox* position = List("cbAppendPosition", FillAppendPositionList());
  append->addRow(Label("[L37]Position", position, "lblAppendPosition"), position);
  QFormLayout* superimpose = FormRows();
  QLineEdit* background = TextBox("txtSuperimposeFileName");
  superimpose->addRow(Label("[L39]Background PDF", background),
                      Row({background, BrowseButton("cmdSuperimposeFileName"),
                           MacroButton("txtSuperimposeFileName")}));
  return Panel({Frame(nullptr, "[L35]Append To PDF", append),
                Frame(nullptr, "[L38]Superimpose Documents", superimpose)});
}

QWidget* frmOptions::SecurityPanel() {
  QFormLayout* passwords = FormRows();
  QLineEdit* owner = TextBox("txtOwnerPassword");
  passwords->addRow(Label("[L41]Owner password", owner),
                    Row({owner, MacroButton("txtOwnerPassword")}));
  QLineEdit* user = TextBox("txtUserPassword");
  passwords->addRow(Label("[L42]User password", user), Row({user, MacroButton("txtUserPassword")}));
  QComboBox* keyLength = List("cbKeyLength", FillKeyLengthList());
  passwords->addRow(Label("[L43]Key Length", keyLength), keyLength);
  QFormLayout* permissions = FormRows();
  permissions->addRow(CheckBox("chkPermissions", "[L45]Set Permissions"));
  QComboBox* print = List("cbPermissionsPrint", FillPrintPermissionList());
  permissions->addRow(Label("[L46]Print", print, "lblPermissionsPrint"), print);
  permissions->addRow(CheckBox("chkPermissionsCopy", "[L47]Copy to clipboard"));
  return Panel({Frame(nullptr, "[L40]Password Protection", passwords),
                Frame("framePermissions", "[L44]Permissions", permissions)});
}

void frmOptions::AssignHelpKeys() {
  for (auto [name, key] : kHelpKeys)
    findChild<QWidget*>(name)->setProperty("helpKey", key);
  for (auto [name, key] : kGroupHelpKeys) {
    for (QAbstractButton* option : findChild<QButtonGroup*>(name)->buttons())
      option->setProperty("helpKey", key);
  }
  for (int i = 0; i < macroButtons_; ++i)
    findChild<QWidget*>("cmdMacro_" + QString::number(i))->setProperty("helpKey", "macros");
}

void frmOptions::ConnectControls() {
  ShowTextsAsTips({"txtPDFFileName", "txtAppendFileName", "txtSuperimposeFileName"});
  for (const char* name : {"txtAppendFileName", "txtOwnerPassword"})
    connect(Box(name), &QLineEdit::textChanged, this, &frmOptions::UpdateControls);
  connect(findChild<QCheckBox*>("chkPermissions"), &QCheckBox::clicked, this,
          &frmOptions::UpdateControls);
  connect(Box("txtWatermarkTransparency"), &QLineEdit::textChanged, this,
          &frmOptions::RefreshPreview);
  OnClick("chkPermissionsCopy", [this] { ShowHelp("permissionscopy"); });
  for (int i = 0; i < macroButtons_; ++i) {
    auto* button = findChild<QPushButton*>("cmdMacro_" + QString::number(i));
    connect(button, &QPushButton::clicked, this, [this, button] { AppendMacro(button); });
  }
  OnClick("cmdBrowsePDFFileName", [this] { BrowsePdfFileName(); });
  OnClick("cmdAppendFileName",
          [this] { BrowseInto("txtAppendFileName", "[L79]Select a PDF File"); });
  OnClick("cmdSuperimposeFileName",
          [this] { BrowseInto("txtSuperimposeFileName", "[L78]Select a PDF File Name"); });
  OnClick("cmdOK", [this] { Ok(); });
  OnClick("cmdCancel", [this] { reject(); });
}

void frmOptions::SetConfig() {
  ShowControls(this, LoadOptionsControls(*settings_));
  UpdateControls();
}

void frmOptions::GetConfig() {
  ReadOptionsControls(ReadControls(this), *settings_);
}

bool frmOptions::AcceptSettings() {
  GetConfig();
  try {
    WriteConfig(fileName_, settings_);
  } catch (const Error& failure) {
    Ui().MessageBox(failure.Description(), mb::kOkOnly | mb::kCritical, kProductName);
    return false;
  }
  return true;
}

void frmOptions::UpdateControls() {
  RefreshPreview();
}

void frmOptions::ShowHelp(const std::string& key) {
  HelpEntry entry = HelpFor(key);
  findChild<QLabel*>("lblHelpHeading")->setText(ToQt(entry.heading));
  findChild<QLabel*>("lblHelpContent")->setText(ToQt(entry.body));
}

void frmOptions::ControlFocused(QWidget* control) {
  QVariant key = control->property("helpKey");
  if (key.isValid()) ShowHelp(FromQt(key.toString()));
  SettingsDialog::ControlFocused(control);
}

void frmOptions::ControlLeft(QWidget* control) {
  NormalizeWatermarkBox(control);
}

void frmOptions::PanelShown(const QString& key) {
  if (findChild<QLabel*>("lblHelpHeading")) ShowHelp("tab_" + FromQt(key));
}

void frmOptions::AppendMacro(QPushButton* button) {
  frmMacros macros(this);
  macros.exec();
  QLineEdit* box = findChild<QLineEdit*>(button->property("tag").toString());
  box->setText(box->text() + ToQt(macros.Macro()));
}

void frmOptions::BrowsePdfFileName() {
  QLineEdit* box = Box("txtPDFFileName");
  std::string chosen = Ui().SaveAs(FromQt(box->text()), false, false);
  if (!chosen.empty()) box->setText(ToQt(chosen));
}

void frmOptions::BrowseInto(const char* name, const char* title) {
  QLineEdit* box = Box(name);
  std::string chosen = ShowOpenFileDialog(this, Localize(title), FromQt(box->text()));
  if (!chosen.empty()) box->setText(ToQt(chosen));
}

// A settings file that cannot be written keeps the dialog open, so that no edit is lost.
void frmOptions::Ok() {
  if (AcceptSettings()) accept();
}

}  // namespace gui
