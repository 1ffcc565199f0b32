#include "ui/qt/frmOptions.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <filesystem>

#include "services/modFolders.h"
#include "startup/JobContext.h"
#include "startup/modConfig.h"
#include "tests/ui/DialogTesting.h"
#include "ui/qt/frmMacros.h"

namespace gui {
namespace {

using test::Child;
namespace fs = std::filesystem;

class OptionsTest : public test::DialogTest {
 protected:
  // The stored settings of the instance, as a person may have written them.
  void Stored(const std::string& lines) {
    fs::create_directories(GetDataFolder());
    test::PutFile(SettingsFileName(), "[PDF Printer]\r\n" + lines);
  }
  DictionaryPtr Reloaded() {
    std::string name;
    return LoadConfig(true, name);
  }
  QLineEdit* Box(frmOptions& form, const char* name) { return Child<QLineEdit>(&form, name); }
  std::string Heading(frmOptions& form) {
    return Child<QLabel>(&form, "lblHelpHeading")->text().toStdString();
  }
  std::string Body(frmOptions& form) {
    return Child<QLabel>(&form, "lblHelpContent")->text().toStdString();
  }
};

TEST_F(OptionsTest, HasSevenTabsAndACaptionWithTheInstance) {
  Labels("L88=Optionen\nL81=Dialoge");
  Job().printerInstance = "Invoices";
  frmOptions form;
  EXPECT_EQ(form.windowTitle(), "QUENTARIS PDF Printer - Optionen - [Invoices]");
  auto* tabs = Child<QTabWidget>(&form, "tc");
  QStringList keys;
  for (int i = 0; i < tabs->count(); ++i)
    keys << tabs->tabBar()->tabData(i).toString();
  EXPECT_EQ(keys, QStringList({"general", "dialogs", "document", "watermark", "merge", "security",
                               "about"}));
  EXPECT_EQ(tabs->tabText(1), "Dialoge");
  EXPECT_EQ(form.SettingsFileName(), GetDataFolder() + "/settings-Invoices.ini");
  for (const char* name :
       {"optShowPDF", "optShowDialog", "rbShowSettings", "chkConfirmOverwrite", "chkSuppressErrors",
        "chkUseDefaultAuthor", "chkUseDefaultTitle", "frameSaveAs", "lblSaveAsDialogQuestion",
        "framePDFSettingsDialog", "lblHelpHeading", "lblHelpContent", "cmdMacro_0", "cmdMacro_9",
        "lblVersion", "lblExeFile"})
    EXPECT_NE(form.findChild<QObject*>(name), nullptr) << name;
}

TEST_F(OptionsTest, OkWithoutChangesRewritesTheFileWithNormalisedValues) {
  Stored(
      "  showpdf=ASK\r\n  target=\r\n  permissions=0\r\n  watermarkrotation=C2C\r\n"
      "  Output=/tmp/x.pdf\r\n[Other]\r\n  kept=no\r\n");
  frmOptions form;
  Child<QPushButton>(&form, "cmdOK")->click();
  EXPECT_EQ(form.result(), QDialog::Accepted);
  DictionaryPtr written = Reloaded();
  EXPECT_EQ(written->Text("showpdf"), "ask");
  EXPECT_EQ(written->Text("target"), "default");
  EXPECT_EQ(written->Text("permissions"), "");
  EXPECT_EQ(written->Text("watermarkrotation"), "c2c");
  EXPECT_EQ(written->Text("output"), "/tmp/x.pdf");
  EXPECT_EQ(written->Text("showsaveas"), "nofile");
  EXPECT_EQ(written->Text("showsettings"), "always");
  EXPECT_EQ(written->Text("confirmoverwrite"), "yes");
  EXPECT_EQ(test::GetFile(SettingsFileName()).find("[Other]"), std::string::npos);
}

TEST_F(OptionsTest, CancelAfterEditingLeavesTheFileUntouched) {
  Stored("  title=Old\r\n");
  std::string before = test::GetFile(SettingsFileName());
  frmOptions form;
  Box(form, "txtTitle")->setText("New");
  Child<QPushButton>(&form, "cmdCancel")->click();
  EXPECT_EQ(form.result(), QDialog::Rejected);
  EXPECT_EQ(test::GetFile(SettingsFileName()), before);
}

TEST_F(OptionsTest, ShowsTheStoredSettingsNotAPendingRunOnceFile) {
  Stored("  title=Stored\r\n  watermarkrotation=45\r\n  showsaveas=never\r\n");
  test::PutFile(RunOnceFileName(), "[PDF Printer]\r\n  title=Once\r\n");
  frmOptions form;
  EXPECT_EQ(Box(form, "txtTitle")->text(), "Stored");
  EXPECT_EQ(Child<QComboBox>(&form, "cbWatermarkRotation")->currentText(), "45");
  EXPECT_EQ(form.findChild<QButtonGroup*>("optShowDialog")->checkedId(), 2);
  EXPECT_TRUE(fs::exists(RunOnceFileName()));
}

TEST_F(OptionsTest, AnUnwritableFileIsReportedAndTheDialogStaysOpen) {
  Stored("  title=Old\r\n");
  frmOptions form;
  test::ShowActive(&form);
  fs::remove(SettingsFileName());
  fs::create_directory(SettingsFileName());
  Box(form, "txtTitle")->setText("Edited");
  Child<QPushButton>(&form, "cmdOK")->click();
  ASSERT_EQ(ui_->boxes.size(), 1u);
  EXPECT_EQ(ui_->boxes[0].text.rfind("Error writing settings file '" + SettingsFileName(), 0), 0u);
  EXPECT_EQ(ui_->boxes[0].title, kProductName);
  EXPECT_TRUE(form.isVisible());
  EXPECT_EQ(Box(form, "txtTitle")->text(), "Edited");
}

TEST_F(OptionsTest, HelpPaneFollowsTabsAndFocus) {
  Labels(
      "QH_start=Welcome\\nStart here\nQH_tab_general=General\\nAbout the output\n"
      "QH_pdffilename=File name\\nWhere the PDF goes\\nand more");
  frmOptions form;
  EXPECT_EQ(Heading(form), "General");
  EXPECT_EQ(Body(form), "About the output");
  test::ShowActive(&form);
  Box(form, "txtPDFFileName")->setFocus(Qt::TabFocusReason);
  EXPECT_EQ(Heading(form), "File name");
  EXPECT_EQ(Body(form), "Where the PDF goes\nand more");
  Child<QComboBox>(&form, "cbQuality")->setFocus(Qt::TabFocusReason);
  EXPECT_EQ(Heading(form), "No Help Available");
  EXPECT_EQ(Body(form), "[quality]");
  QTest::keyClick(form.focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
  EXPECT_EQ(form.CurrentTabKey(), "dialogs");
  EXPECT_EQ(Body(form), "[tab_dialogs]");
  Child<QCheckBox>(&form, "chkPermissionsCopy")->click();
  EXPECT_EQ(Body(form), "[permissionscopy]");
}

TEST_F(OptionsTest, AMacroIsAppendedToTheBoxOfItsButton) {
  Stored("  title=Report \r\n");
  frmOptions form;
  QPushButton* forTitle = nullptr;
  for (QPushButton* button : form.findChildren<QPushButton*>()) {
    if (button->property("tag").toString() == "txtTitle") forTitle = button;
  }
  ASSERT_NE(forTitle, nullptr);
  test::WhenModal<frmMacros>([](frmMacros* macros) {
    QTest::keyClick(macros->findChild<QListWidget*>("lstMacros"), Qt::Key_Return);
  });
  forTitle->click();
  EXPECT_EQ(Box(form, "txtTitle")->text(), "Report<date>");
}

TEST_F(OptionsTest, NumberBoxesAreNormalisedWhenLeft) {
  frmOptions form;
  test::ShowActive(&form);
  form.SelectTab("watermark");
  Box(form, "txtWatermarkSize")->setText("150");
  Box(form, "txtWatermarkSize")->setFocus(Qt::TabFocusReason);
  Box(form, "txtWatermarkTransparency")->setText("-5");
  Box(form, "txtWatermarkTransparency")->setFocus(Qt::TabFocusReason);
  Child<QComboBox>(&form, "cbWatermarkRotation")->setFocus(Qt::TabFocusReason);
  EXPECT_EQ(Box(form, "txtWatermarkSize")->text(), "");
  EXPECT_EQ(Box(form, "txtWatermarkTransparency")->text(), "0");
}

TEST_F(OptionsTest, EveryPanelFits) {
  Job().printerInstance = "Invoices";
  frmOptions form;
  test::ExpectEveryPanelFits(&form, "frmOptions");
}

}  // namespace
}  // namespace gui
