#include "services/modFolders.h"
#include "tests/ui/DialogTesting.h"
#include "ui/qt/frmMacros.h"
#include "ui/qt/frmMain.h"
#include "ui/qt/frmOptions.h"
#include "ui/qt/frmPrintConfig.h"

namespace gui::test {
namespace {

namespace fs = std::filesystem;

// Types the text into a box (or editable list) of a shown dialog, moves the focus on to another
// control and returns what the box shows then.
QString LeaveWith(SettingsDialog* form, const char* tab, const char* box, const QString& typed) {
  form->SelectTab(tab);
  auto* control = Child<QWidget>(form, box);
  auto* list = qobject_cast<QComboBox*>(control);
  QLineEdit* edit = list ? list->lineEdit() : qobject_cast<QLineEdit*>(control);
  edit->setText(typed);
  control->setFocus(Qt::OtherFocusReason);
  Child<QWidget>(form, "cmdCancel")->setFocus(Qt::TabFocusReason);
  return edit->text();
}

// A caption is cut off when its text is wider than the room its control gives it.
void ExpectFits(QWidget* control) {
  int needed = 0;
  auto* label = qobject_cast<QLabel*>(control);
  if (label && !label->wordWrap() && !label->text().isEmpty())
    needed = label->sizeHint().width();
  else if (auto* button = qobject_cast<QPushButton*>(control))
    needed = button->fontMetrics().horizontalAdvance(button->text()) + 1;
  else if (auto* option = qobject_cast<QAbstractButton*>(control))
    needed = option->sizeHint().width();
  else if (auto* frame = qobject_cast<QGroupBox*>(control))
    needed = frame->fontMetrics().horizontalAdvance(frame->title());
  EXPECT_GE(control->width(), needed) << control->objectName().toStdString();
}

// Puts the picture of every panel of a settings dialog among the output files and checks that
// no caption of a label, button or frame is cut off.
void ExpectEveryPanelFits(QWidget* form, const std::string& name) {
  auto* tabs = form->findChild<QTabWidget*>("tc");
  ASSERT_NE(tabs, nullptr);
  ShowActive(form);
  EXPECT_LE(tabs->tabBar()->tabRect(tabs->count() - 1).right(), tabs->tabBar()->width());
  for (int i = 0; i < tabs->count(); ++i) {
    tabs->setCurrentIndex(i);
    QApplication::processEvents();
    for (QWidget* control : tabs->currentWidget()->findChildren<QWidget*>())
      if (control->isVisible()) ExpectFits(control);
    KeepScreenshot(form, name + "-" + tabs->tabBar()->tabData(i).toString().toStdString());
  }
}

// The Create PDF and Options dialogs, with a job's settings, an output folder holding old.pdf
// and the instance's stored settings.
class SettingsDialogTest : public DialogTest {
 protected:
  SettingsDialogTest() {
    fs::create_directories(Path("out"));
    PutFile(Path("out/old.pdf"), "%PDF");
    settings_->Set("output", Path("out/new.pdf"));
  }
  // The stored settings of the instance, as a person may have written them.
  void Stored(const std::string& lines) {
    fs::create_directories(GetDataFolder());
    PutFile(SettingsFileName(), "[PDF Printer]\r\n" + lines);
  }

  DictionaryPtr settings_ = DefaultSettings();
};

TEST_F(SettingsDialogTest, BothShowTheInstanceAndTheirControlsLocalised) {
  Labels(
      "L89=PDF erstellen\nL80=Allgemein\nL49=PDF-&Datei\nL127=Sichern\nL88=Optionen\nL81=Dialoge");
  Job().printerInstance = "Invoices";
  frmPrintConfig form(*settings_);
  EXPECT_EQ(form.windowTitle(), "QUENTARIS PDF Printer - PDF erstellen - [Invoices]");
  EXPECT_EQ(form.windowFlags() & Qt::WindowType_Mask, Qt::Window);
  // The order of the tabs shows in the keyboard test.
  EXPECT_EQ(Child<QTabWidget>(&form, "tc")->tabText(0), " Allgemein ");
  EXPECT_EQ(Child<QPushButton>(&form, "cmdOK")->text(), "Sichern");
  QList<QLabel*> labels = form.findChildren<QLabel*>();
  EXPECT_TRUE(std::any_of(labels.begin(), labels.end(), [&](QLabel* label) {
    return label->buddy() == Box(&form, "txtPDFFileName") && label->text() == "PDF-&Datei";
  }));

  frmOptions options;
  EXPECT_EQ(options.windowTitle(), "QUENTARIS PDF Printer - Optionen - [Invoices]");
  EXPECT_EQ(options.SettingsFileName(), GetDataFolder() + "/settings-Invoices.ini");
  auto* tabs = Child<QTabWidget>(&options, "tc");
  QStringList keys;
  for (int i = 0; i < tabs->count(); ++i)
    keys << tabs->tabBar()->tabData(i).toString();
  EXPECT_EQ(keys.join(' '), "general dialogs document watermark merge security about");
  EXPECT_EQ(tabs->tabText(1), "Dialoge");

  // The controls the other tests do not reach by name.
  for (const char* name : {"lblTransparnecy", "cmdAppendFileName", "cmdSuperimposeFileName",
                           "framePermissions", "ucAbout1", "timerForeground"})
    EXPECT_NE(form.findChild<QObject*>(name), nullptr) << name;
  for (const char* name :
       {"optShowPDF", "chkUseDefaultAuthor", "frameSaveAs", "lblSaveAsDialogQuestion",
        "framePDFSettingsDialog", "cmdMacro_0", "cmdMacro_9", "lblVersion", "lblExeFile"})
    EXPECT_NE(options.findChild<QObject*>(name), nullptr) << name;
}

// Every setting differs from its default, so a control that is not shown or not read back
// loses it.
TEST_F(SettingsDialogTest, PrintConfigSaveKeepsEveryShownSettingAndTakesTheEdits) {
  const std::string old = Path("out/old.pdf");
  DictionaryPtr shown = SettingsOf(
      "target=printer|showpdf=no|author=Ann|subject=S|keywords=K|watermarktext=Draft|"
      "watermarksize=12|watermarkrotation=45|watermarktransparency=40|mergefile=" +
      old + "|mergeposition=top|superimpose=" + old +
      "|ownerpassword=o|userpassword=u|keylength=40|permissions=61636");
  for (const auto& [key, value] : *shown)
    settings_->Set(key, value);
  frmPrintConfig form(*settings_);
  EXPECT_EQ(form.CurrentTabKey(), "general");
  Box(&form, "txtPDFFileName")->setText(QString::fromStdString(Path("out/report")));
  Box(&form, "txtTitle")->setText(" Annual ");
  Click(&form, "cmdOK");
  EXPECT_TRUE(form.Accepted());
  EXPECT_TRUE(ui_->boxes.empty());
  for (const auto& [key, value] : *shown)
    EXPECT_EQ(settings_->Text(key), std::get<std::string>(value)) << key;
  EXPECT_EQ(settings_->Text("output"), Path("out/report.pdf"));
  EXPECT_EQ(settings_->Text("title"), "Annual");
}

TEST_F(SettingsDialogTest, PrintConfigDependentControlsFollowPasswordAppendFileAndPermissions) {
  frmPrintConfig form(*settings_);
  // One sign per control: + enabled, - disabled.
  auto states = [&] {
    std::string signs;
    for (const char* name : {"lblKeylength", "cbKeyLength", "lblUserPassword", "txtUserPassword",
                             "chkPermissions", "lblPermissionsPrint", "cbPermissionsPrint",
                             "chkPermissionsCopy", "lblAppendPosition", "cbAppendPosition"})
      signs += Child<QWidget>(&form, name)->isEnabled() ? '+' : '-';
    return signs;
  };
  EXPECT_EQ(states(), "----------");
  Box(&form, "txtOwnerPassword")->setText("secret");
  Box(&form, "txtAppendFileName")->setText("a.pdf");
  EXPECT_EQ(states(), "+++++---++");
  Child<QCheckBox>(&form, "chkPermissions")->setChecked(true);
  EXPECT_EQ(states(), "++++++++++");
  Box(&form, "txtOwnerPassword")->clear();
  EXPECT_EQ(states(), "--------++");

  // The preview's grey follows the transparency box.
  auto* shape = Child<QFrame>(&form, "shapeTransparency");
  Box(&form, "txtWatermarkTransparency")->setText("0");
  EXPECT_EQ(shape->palette().color(QPalette::Window), QColor(0, 0, 0));
  Box(&form, "txtWatermarkTransparency")->setText("100");
  EXPECT_EQ(shape->palette().color(QPalette::Window), QColor(255, 255, 255));
}

TEST_F(SettingsDialogTest, PrintConfigAFileChosenInSaveAsIsNotAskedAboutAgainUntilEdited) {
  settings_->Set("output", Path("out/old.pdf"));
  frmPrintConfig form(*settings_);
  ui_->saveAsAnswers = {Path("out/old.pdf")};
  Click(&form, "cmdBrowsePDFFileName");
  ASSERT_EQ(ui_->saveAsCalls.size(), 1u);
  const ScriptedUi::SaveAsCall& call = ui_->saveAsCalls[0];
  EXPECT_EQ(call.proposed + (call.confirmOverwrite ? " guarded" : "") +
                (call.bringToFront ? " in front" : ""),
            Path("out/old.pdf") + " guarded");
  EXPECT_EQ(Job().confirmedOutputFile, Path("out/old.pdf"));
  Box(&form, "txtPDFFileName")->setText(QString::fromStdString(Path("out/other.pdf")));
  EXPECT_EQ(Job().confirmedOutputFile, "");
}

TEST_F(SettingsDialogTest, BoxesAreCompletedWhenLeftButCancelWritesNothing) {
  frmPrintConfig form(*settings_);
  ShowActive(&form);
  EXPECT_EQ(LeaveWith(&form, "general", "txtPDFFileName", "report"), "report.pdf");
  EXPECT_EQ(LeaveWith(&form, "watermark", "txtWatermarkSize", "12.5"), "");
  EXPECT_EQ(LeaveWith(&form, "watermark", "txtWatermarkTransparency", "150"), "100");
  EXPECT_EQ(LeaveWith(&form, "watermark", "cbWatermarkRotation", "400"), "360");
  Click(&form, "cmdCancel");
  EXPECT_FALSE(form.Accepted());
  EXPECT_EQ(settings_->Text("output"), Path("out/new.pdf"));

  Stored("  title=Old\r\n");
  std::string before = GetFile(SettingsFileName());
  frmOptions options;
  ShowActive(&options);
  EXPECT_EQ(LeaveWith(&options, "watermark", "txtWatermarkSize", "150"), "");
  EXPECT_EQ(LeaveWith(&options, "watermark", "txtWatermarkTransparency", "-5"), "0");
  Click(&options, "cmdCancel");
  EXPECT_EQ(options.result(), QDialog::Rejected);
  EXPECT_EQ(GetFile(SettingsFileName()), before);
}

TEST_F(SettingsDialogTest,
       PrintConfigKeysSwitchTabsAndWalkTheControlsAndAFailedSaveReturnsToTheBox) {
  frmPrintConfig form(*settings_);
  ShowActive(&form);
  Child<QWidget>(&form, "cbQuality")->setFocus();
  QStringList tabs;
  for (const QString& keys :
       QString("Ctrl+PgUp PgDown Ctrl+PgDown Ctrl+PgDown Ctrl+PgDown Ctrl+PgDown Ctrl+PgDown "
               "Ctrl+PgDown Ctrl+PgDown Ctrl+Tab Ctrl+Shift+Backtab Ctrl+Tab Ctrl+Tab "
               "Shift+Backtab Shift+Backtab")
           .split(' ')) {
    QTest::keySequence(form.focusWidget(), QKeySequence(keys));
    tabs << form.CurrentTabKey();
  }
  // Page keys without Ctrl stay with the form and leave the list's choice alone.
  EXPECT_EQ(Child<QComboBox>(&form, "cbQuality")->currentIndex(), 0);
  EXPECT_EQ(tabs.join(' '),
            "general general document watermark merge security about about about general about "
            "general document general about");

  form.SelectTab("general");
  Box(&form, "txtPDFFileName")->setFocus();
  QStringList walked;
  for (int i = 0; i < 3; ++i) {
    QTest::keyClick(form.focusWidget(), Qt::Key_Tab);
    walked << form.focusWidget()->objectName();
  }
  EXPECT_EQ(walked, QStringList({"cmdBrowsePDFFileName", "cbQuality", "chkShowPDF"}));
  EXPECT_EQ(form.CurrentTabKey(), "general");

  // Save without a file name returns to the file name box.
  form.SelectTab("security");
  Box(&form, "txtPDFFileName")->clear();
  Click(&form, "cmdOK");
  EXPECT_EQ(ui_->boxes.size(), 1u);
  EXPECT_EQ(form.CurrentTabKey() + "|" + form.focusWidget()->objectName(),
            "general|txtPDFFileName");
  EXPECT_FALSE(form.Accepted());
}

// What the dialog showed: its title, file name, folder and filters.
using Seen = QStringList;

// Looks at the dialog once it is up, then cancels it.
void SeeAndCancel(Seen& seen) {
  WhenModal<QFileDialog>([&seen](QFileDialog* dialog) {
    seen = {dialog->windowTitle(), dialog->findChild<QLineEdit*>("fileNameEdit")->text(),
            dialog->directory().absolutePath(), dialog->nameFilters().join(';')};
    dialog->reject();
  });
}

void Choose(const std::string& path, std::function<void()> then = {}) {
  WhenModal<QFileDialog>([path, then](QFileDialog* dialog) {
    if (then) then();
    dialog->findChild<QLineEdit*>("fileNameEdit")->setText(QString::fromStdString(path));
    QMetaObject::invokeMethod(dialog, "accept");
  });
}

TEST_F(SettingsDialogTest,
       SaveAsProposesEveryPdfOrTheFolderGivenAndTakesAnExistingFileWhenAllowed) {
  Seen seen;
  SeeAndCancel(seen);
  EXPECT_EQ(SaveAs("", true, false), "");
  EXPECT_EQ(
      QStringList({seen[0], seen[1], seen[3]}),
      QStringList({"Save PDF Document As", "*.pdf", "PDF Documents (*.pdf);All Files (*.*)"}));
  SeeAndCancel(seen);
  SaveAs(Path("out"), true, true);
  EXPECT_EQ(seen[2] + "|" + seen[1], QString::fromStdString(Path("out")) + "|");

  // Yes, or no guard, takes the existing file.
  ui_->boxAnswers = {mb::kYes};
  Choose(Path("out/old.pdf"));
  EXPECT_EQ(SaveAs("", true, false), Path("out/old.pdf"));
  Choose(Path("out/old.pdf"));
  EXPECT_EQ(SaveAs("", false, false), Path("out/old.pdf"));
  EXPECT_EQ(ui_->boxes.size(), 1u);
}

TEST_F(SettingsDialogTest, SaveAsNoToTheOverwriteQuestionOrAPatternShowsTheDialogAgain) {
  ui_->boxAnswers = {mb::kNo};
  for (auto [chosen, guarded] : {std::pair{"out/old.pdf", true}, {"out/*.pdf", false}}) {
    Seen again;
    Choose(Path(chosen), [&again] { SeeAndCancel(again); });
    EXPECT_EQ(SaveAs(Path("out/new.pdf"), guarded, false), "") << chosen;
    EXPECT_EQ(again.value(0), "Save PDF Document As") << chosen;
  }
  ASSERT_EQ(ui_->boxes.size(), 1u);
  EXPECT_EQ(ui_->boxes[0].text, OverwriteQuestion(Path("out/old.pdf")));
  EXPECT_EQ(ui_->boxes[0].style, mb::kYesNo | mb::kExclamation);
  EXPECT_EQ(ui_->boxes[0].title, "QUENTARIS PDF Printer");
}

// The settings differ from the defaults where they can, so a control that is not shown or not
// read back loses its setting.
TEST_F(SettingsDialogTest, OptionsOkRewritesTheStoredSettingsNormalisedOrReportsWhyItCannot) {
  Stored(
      "  showpdf=ASK\r\n  target=\r\n  permissions=0\r\n  watermarkrotation=C2C\r\n"
      "  Output=/tmp/x.pdf\r\n  title=Stored\r\n  showsaveas=never\r\n  showsettings=never\r\n"
      "  confirmoverwrite=no\r\n  suppresserrors=no\r\n  usedefaulttitle=no\r\n"
      "[Other]\r\n  kept=no\r\n");
  PutFile(RunOnceFileName(), "[PDF Printer]\r\n  title=Once\r\n");
  frmOptions form;
  EXPECT_EQ(Box(&form, "txtTitle")->text(), "Stored");
  Click(&form, "cmdOK");
  EXPECT_EQ(form.result(), QDialog::Accepted);
  std::string name;
  EXPECT_EQ(Values(*LoadConfig(true, name),
                   "showpdf target permissions watermarkrotation output title showsaveas "
                   "showsettings confirmoverwrite suppresserrors usedefaulttitle"),
            "ask|default||c2c|/tmp/x.pdf|Stored|never|never|no|no|no");
  EXPECT_EQ(GetFile(SettingsFileName()).find("[Other]"), std::string::npos);
  EXPECT_TRUE(fs::exists(RunOnceFileName()));

  // A file that cannot be written is reported and the dialog stays open.
  frmOptions again;
  ShowActive(&again);
  fs::remove(SettingsFileName());
  fs::create_directory(SettingsFileName());
  Box(&again, "txtTitle")->setText("Edited");
  Click(&again, "cmdOK");
  ASSERT_EQ(ui_->boxes.size(), 1u);
  EXPECT_EQ(ui_->boxes[0].text.rfind("Error writing settings file '" + SettingsFileName(), 0), 0u);
  EXPECT_EQ(ui_->boxes[0].title, kProductName);
  EXPECT_TRUE(again.isVisible());
  EXPECT_EQ(Box(&again, "txtTitle")->text(), "Edited");
}

// Each check box shows what a job does with the value behind it, so OK on values nobody touched
// leaves every job as it was: a fresh person's OK does not hide errors from then on.
TEST_F(SettingsDialogTest, CheckBoxesShowWhatAJobDoesSoOkOnUntouchedValuesChangesNothing) {
  auto checked = [](const QWidget* form, const char* box) {
    return Child<QCheckBox>(form, box)->isChecked();
  };
  // What a job reads from the stored settings: suppressed errors, the overwrite question.
  Job().documentInfo = NewDictionary();
  auto jobSwitches = [] {
    DictionaryPtr job;
    EXPECT_TRUE(GetJobConfig(job));
    return std::to_string(Job().suppressErrors) + std::to_string(ConfirmOverwriteEnabled(*job));
  };
  ASSERT_FALSE(fs::exists(SettingsFileName()));
  frmOptions fresh;
  EXPECT_FALSE(checked(&fresh, "chkSuppressErrors"));
  EXPECT_TRUE(checked(&fresh, "chkConfirmOverwrite"));
  EXPECT_TRUE(checked(&fresh, "chkUseDefaultAuthor"));
  EXPECT_TRUE(checked(&fresh, "chkUseDefaultTitle"));
  EXPECT_FALSE(checked(&fresh, "chkPermissions"));
  EXPECT_TRUE(checked(&fresh, "chkPermissionsCopy"));
  Click(&fresh, "cmdOK");
  std::string file = GetFile(SettingsFileName());
  EXPECT_NE(file.find("suppresserrors=no\r\n"), std::string::npos) << file;
  EXPECT_EQ(jobSwitches(), "01");

  // Empty values and a 0 that turns the question off show as the job takes them.
  Stored("suppresserrors=\r\nconfirmoverwrite=0\r\n");
  EXPECT_EQ(jobSwitches(), "00");
  frmOptions stored;
  EXPECT_FALSE(checked(&stored, "chkSuppressErrors"));
  EXPECT_FALSE(checked(&stored, "chkConfirmOverwrite"));
  Click(&stored, "cmdOK");
  EXPECT_EQ(jobSwitches(), "00");

  // In the Create PDF dialog an empty showpdf opens nothing, and accepting keeps it so.
  settings_->Set("showpdf", std::string());
  frmPrintConfig form(*settings_);
  EXPECT_FALSE(checked(&form, "chkShowPDF"));
  Click(&form, "cmdOK");
  EXPECT_EQ(settings_->Text("showpdf"), "no");
}

TEST_F(SettingsDialogTest,
       OptionsHelpPaneFollowsTabsAndFocusAndAMacroIsAppendedToTheBoxOfItsButton) {
  Labels(
      "QH_start=Welcome\\nStart here\nQH_tab_general=General\\nAbout the output\n"
      "QH_pdffilename=File name\\nWhere the PDF goes\\nand more\nL72=Makroer");
  Stored("  title=Report \r\n");
  frmOptions form;
  auto help = [&] {
    return Child<QLabel>(&form, "lblHelpHeading")->text() + "|" +
           Child<QLabel>(&form, "lblHelpContent")->text();
  };
  EXPECT_EQ(help(), "General|About the output");
  ShowActive(&form);
  Box(&form, "txtPDFFileName")->setFocus(Qt::TabFocusReason);
  EXPECT_EQ(help(), "File name|Where the PDF goes\nand more");
  Child<QComboBox>(&form, "cbQuality")->setFocus(Qt::TabFocusReason);
  EXPECT_EQ(help(), "No Help Available|[quality]");
  QTest::keyClick(form.focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
  EXPECT_EQ(form.CurrentTabKey(), "dialogs");
  EXPECT_EQ(help(), "No Help Available|[tab_dialogs]");
  Child<QCheckBox>(&form, "chkPermissionsCopy")->click();
  EXPECT_EQ(help(), "No Help Available|[permissionscopy]");

  // A macro chosen from the list is appended to the box of its button.
  QList<QPushButton*> buttons = form.findChildren<QPushButton*>();
  auto forTitle = std::find_if(buttons.begin(), buttons.end(), [](QPushButton* button) {
    return button->property("tag").toString() == "txtTitle";
  });
  ASSERT_NE(forTitle, buttons.end());
  // Acts on the macro list once it is up; the title box afterwards.
  auto pick = [&](const std::function<void(frmMacros*, QListWidget*)>& act) {
    WhenModal<frmMacros>(
        [act](frmMacros* macros) { act(macros, Child<QListWidget>(macros, "lstMacros")); });
    (*forTitle)->click();
    return Box(&form, "txtTitle")->text();
  };
  // Enter right after opening chooses the first macro; the list fills its window.
  EXPECT_EQ(pick([](frmMacros* macros, QListWidget* list) {
              EXPECT_EQ(macros->windowTitle(), "Makroer");
              EXPECT_EQ(list->count(), 12);
              macros->resize(500, 150);
              QApplication::processEvents();
              EXPECT_EQ(list->geometry(), macros->rect());
              KeepScreenshot(macros, "frmMacros");
              QTest::keyClick(list, Qt::Key_Return);
            }),
            "Report<date>");
  EXPECT_EQ(pick([](frmMacros*, QListWidget* list) { QTest::keyClick(list, Qt::Key_Escape); }),
            "Report<date>");
  EXPECT_EQ(pick([](frmMacros* macros, QListWidget*) { macros->close(); }), "Report<date>");
  EXPECT_EQ(pick([](frmMacros*, QListWidget* list) {
              QRect place =
                  list->visualItemRect(list->findItems("<desktop>", Qt::MatchStartsWith)[0]);
              QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, place.center());
              QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, place.center());
            }),
            "Report<date><desktop>");
}

TEST_F(SettingsDialogTest, EveryPanelOfBothFits) {
  Job().printerInstance = "Invoices";
  frmPrintConfig form(*settings_);
  ExpectEveryPanelFits(&form, "frmPrintConfig");
  frmOptions options;
  ExpectEveryPanelFits(&options, "frmOptions");
}

}  // namespace
}  // namespace gui::test
