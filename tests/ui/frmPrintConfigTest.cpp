#include "ui/qt/frmPrintConfig.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <filesystem>

#include "startup/JobContext.h"
#include "startup/modConfig.h"
#include "tests/ui/DialogTesting.h"

namespace gui {
namespace {

using test::Child;

class PrintConfigTest : public test::DialogTest {
 protected:
  PrintConfigTest() {
    std::filesystem::create_directories(Path("out"));
    test::PutFile(Path("out/old.pdf"), "%PDF");
    settings_->Set("output", Path("out/new.pdf"));
  }
  QLineEdit* Box(frmPrintConfig& form, const char* name) { return Child<QLineEdit>(&form, name); }
  void Click(frmPrintConfig& form, const char* button) {
    Child<QPushButton>(&form, button)->click();
  }
  std::string FocusName(frmPrintConfig& form) {
    return form.focusWidget() ? form.focusWidget()->objectName().toStdString() : "";
  }
  void Key(frmPrintConfig& form, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(form.focusWidget(), static_cast<Qt::Key>(key), modifiers);
  }

  DictionaryPtr settings_ = DefaultSettings();
};

TEST_F(PrintConfigTest, HasEveryControlLocalisedUnderItsName) {
  Labels("L89=PDF erstellen\nL80=Allgemein\nL49=PDF-&Datei\nL127=Sichern");
  Job().printerInstance = "Invoices";
  frmPrintConfig form(*settings_);
  EXPECT_EQ(form.windowTitle(), "QUENTARIS PDF Printer - PDF erstellen - [Invoices]");
  EXPECT_EQ(form.windowFlags() & Qt::WindowType_Mask, Qt::Window);
  auto* tabs = Child<QTabWidget>(&form, "tc");
  EXPECT_EQ(tabs->tabText(0), " Allgemein ");
  QStringList keys;
  for (int i = 0; i < tabs->count(); ++i)
    keys << tabs->tabBar()->tabData(i).toString();
  EXPECT_EQ(keys, QStringList({"general", "document", "watermark", "merge", "security", "about"}));
  for (const char* name : {"txtPDFFileName",
                           "cmdBrowsePDFFileName",
                           "cbQuality",
                           "chkShowPDF",
                           "txtAuthor",
                           "txtTitle",
                           "txtSubject",
                           "txtKeywords",
                           "txtWatermarkText",
                           "txtWatermarkSize",
                           "cbWatermarkRotation",
                           "lblTransparnecy",
                           "txtWatermarkTransparency",
                           "shapeTransparency",
                           "txtAppendFileName",
                           "cmdAppendFileName",
                           "lblAppendPosition",
                           "cbAppendPosition",
                           "txtSuperimposeFileName",
                           "cmdSuperimposeFileName",
                           "txtOwnerPassword",
                           "lblUserPassword",
                           "txtUserPassword",
                           "lblKeylength",
                           "cbKeyLength",
                           "framePermissions",
                           "chkPermissions",
                           "lblPermissionsPrint",
                           "cbPermissionsPrint",
                           "chkPermissionsCopy",
                           "ucAbout1",
                           "cmdOK",
                           "cmdCancel",
                           "timerForeground"}) {
    EXPECT_NE(form.findChild<QObject*>(name), nullptr) << name;
  }
  EXPECT_EQ(Child<QPushButton>(&form, "cmdOK")->text(), "Sichern");
  QLabel* fileLabel = nullptr;
  for (QLabel* label : form.findChildren<QLabel*>()) {
    if (label->buddy() == Box(form, "txtPDFFileName")) fileLabel = label;
  }
  ASSERT_NE(fileLabel, nullptr);
  EXPECT_EQ(fileLabel->text(), "PDF-&Datei");
}

TEST_F(PrintConfigTest, ShowsTheJobSettings) {
  for (auto [key, value] : {std::pair{"target", "Printer"},
                            {"showpdf", "ask"},
                            {"watermarkrotation", "45"},
                            {"permissions", "61632"},
                            {"mergeposition", "top"},
                            {"ownerpassword", "secret"}})
    settings_->Set(key, std::string(value));
  frmPrintConfig form(*settings_);
  EXPECT_EQ(Box(form, "txtPDFFileName")->text().toStdString(), Path("out/new.pdf"));
  EXPECT_EQ(Child<QComboBox>(&form, "cbQuality")->currentIndex(), 3);
  EXPECT_TRUE(Child<QCheckBox>(&form, "chkShowPDF")->isChecked());
  EXPECT_EQ(Child<QComboBox>(&form, "cbWatermarkRotation")->currentText(), "45");
  EXPECT_TRUE(Child<QCheckBox>(&form, "chkPermissions")->isChecked());
  EXPECT_EQ(Child<QComboBox>(&form, "cbPermissionsPrint")->currentIndex(), 0);
  EXPECT_FALSE(Child<QCheckBox>(&form, "chkPermissionsCopy")->isChecked());
  EXPECT_EQ(Child<QComboBox>(&form, "cbAppendPosition")->currentIndex(), 1);
  EXPECT_EQ(form.CurrentTabKey(), "general");
}

TEST_F(PrintConfigTest, DependentControlsFollowPasswordAppendFileAndPermissions) {
  frmPrintConfig form(*settings_);
  auto enabled = [&](const char* name) { return Child<QWidget>(&form, name)->isEnabled(); };
  EXPECT_FALSE(enabled("cbKeyLength"));
  EXPECT_FALSE(enabled("txtUserPassword"));
  EXPECT_FALSE(enabled("chkPermissions"));
  EXPECT_FALSE(enabled("cbAppendPosition"));
  Box(form, "txtOwnerPassword")->setText("secret");
  Box(form, "txtAppendFileName")->setText("a.pdf");
  EXPECT_TRUE(enabled("cbKeyLength"));
  EXPECT_TRUE(enabled("lblUserPassword"));
  EXPECT_TRUE(enabled("chkPermissions"));
  EXPECT_TRUE(enabled("lblAppendPosition"));
  EXPECT_FALSE(enabled("cbPermissionsPrint"));
  Child<QCheckBox>(&form, "chkPermissions")->setChecked(true);
  EXPECT_TRUE(enabled("cbPermissionsPrint"));
  EXPECT_TRUE(enabled("chkPermissionsCopy"));
  Box(form, "txtOwnerPassword")->clear();
  EXPECT_FALSE(enabled("cbPermissionsPrint"));
}

TEST_F(PrintConfigTest, SaveWithoutAFileNameReturnsToTheFileNameBox) {
  frmPrintConfig form(*settings_);
  test::ShowActive(&form);
  form.SelectTab("security");
  Box(form, "txtPDFFileName")->clear();
  Click(form, "cmdOK");
  ASSERT_EQ(ui_->boxes.size(), 1u);
  EXPECT_EQ(ui_->boxes[0].text.substr(0, 32), "The output PDF file must be spec");
  EXPECT_EQ(form.CurrentTabKey(), "general");
  EXPECT_EQ(FocusName(form), "txtPDFFileName");
  EXPECT_FALSE(form.Accepted());
}

TEST_F(PrintConfigTest, SaveWritesTheSettingsAndAccepts) {
  frmPrintConfig form(*settings_);
  Box(form, "txtPDFFileName")->setText(QString::fromStdString(Path("out/report")));
  Box(form, "txtTitle")->setText(" Annual ");
  Click(form, "cmdOK");
  EXPECT_TRUE(form.Accepted());
  EXPECT_EQ(settings_->Text("output"), Path("out/report.pdf"));
  EXPECT_EQ(settings_->Text("title"), "Annual");
  EXPECT_TRUE(ui_->boxes.empty());
}

TEST_F(PrintConfigTest, AFileChosenInSaveAsIsNotAskedAboutAgainUntilEdited) {
  settings_->Set("output", Path("out/old.pdf"));
  frmPrintConfig form(*settings_);
  ui_->boxAnswers = {mb::kNo};
  Click(form, "cmdOK");
  ASSERT_EQ(ui_->boxes.size(), 1u);
  EXPECT_EQ(ui_->boxes[0].text, OverwriteQuestion(Path("out/old.pdf")));
  EXPECT_FALSE(form.Accepted());

  ui_->saveAsAnswers = {Path("out/old.pdf")};
  Click(form, "cmdBrowsePDFFileName");
  ASSERT_EQ(ui_->saveAsCalls.size(), 1u);
  EXPECT_EQ(ui_->saveAsCalls[0].proposed, Path("out/old.pdf"));
  EXPECT_TRUE(ui_->saveAsCalls[0].confirmOverwrite);
  EXPECT_FALSE(ui_->saveAsCalls[0].bringToFront);
  EXPECT_EQ(Job().confirmedOutputFile, Path("out/old.pdf"));

  Box(form, "txtPDFFileName")->setText(QString::fromStdString(Path("out/other.pdf")));
  EXPECT_EQ(Job().confirmedOutputFile, "");
  Box(form, "txtPDFFileName")->setText(QString::fromStdString(Path("out/old.pdf")));
  Job().confirmedOutputFile = Path("out/old.pdf");
  Click(form, "cmdOK");
  EXPECT_EQ(ui_->boxes.size(), 1u);
  EXPECT_TRUE(form.Accepted());
}

TEST_F(PrintConfigTest, BoxesAreCompletedWhenTheyLoseTheFocus) {
  frmPrintConfig form(*settings_);
  test::ShowActive(&form);
  auto leave = [&](QWidget* box, const QString& text) {
    if (auto* edit = qobject_cast<QLineEdit*>(box)) edit->setText(text);
    if (auto* combo = qobject_cast<QComboBox*>(box)) combo->setEditText(text);
    form.SelectTab(box == Box(form, "txtPDFFileName") ? "general" : "watermark");
    box->setFocus(Qt::OtherFocusReason);
    Child<QPushButton>(&form, "cmdCancel")->setFocus(Qt::TabFocusReason);
  };
  leave(Box(form, "txtPDFFileName"), "report");
  EXPECT_EQ(Box(form, "txtPDFFileName")->text(), "report.pdf");
  leave(Box(form, "txtWatermarkSize"), "12.5");
  EXPECT_EQ(Box(form, "txtWatermarkSize")->text(), "");
  leave(Box(form, "txtWatermarkTransparency"), "150");
  EXPECT_EQ(Box(form, "txtWatermarkTransparency")->text(), "100");
  auto* rotation = Child<QComboBox>(&form, "cbWatermarkRotation");
  leave(rotation, "400");
  EXPECT_EQ(rotation->currentText(), "360");
  leave(rotation, "-20");
  EXPECT_EQ(rotation->currentText(), "0");
}

TEST_F(PrintConfigTest, TransparencyPreviewFollowsTheBox) {
  frmPrintConfig form(*settings_);
  Box(form, "txtWatermarkTransparency")->setText("0");
  auto* shape = Child<QFrame>(&form, "shapeTransparency");
  EXPECT_EQ(shape->palette().color(QPalette::Window), QColor(0, 0, 0));
  Box(form, "txtWatermarkTransparency")->setText("100");
  EXPECT_EQ(shape->palette().color(QPalette::Window), QColor(255, 255, 255));
}

TEST_F(PrintConfigTest, ControlKeysSwitchTabsAndPageKeysStayWithTheForm) {
  frmPrintConfig form(*settings_);
  test::ShowActive(&form);
  Child<QComboBox>(&form, "cbQuality")->setFocus();
  Key(form, Qt::Key_PageUp, Qt::ControlModifier);
  EXPECT_EQ(form.CurrentTabKey(), "general");
  Key(form, Qt::Key_PageDown);
  EXPECT_EQ(Child<QComboBox>(&form, "cbQuality")->currentIndex(), 0);
  EXPECT_EQ(form.CurrentTabKey(), "general");
  for (int i = 0; i < 7; ++i)
    Key(form, Qt::Key_PageDown, Qt::ControlModifier);
  EXPECT_EQ(form.CurrentTabKey(), "about");
  Key(form, Qt::Key_Tab, Qt::ControlModifier);
  EXPECT_EQ(form.CurrentTabKey(), "general");
  Key(form, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(form.CurrentTabKey(), "about");
  Key(form, Qt::Key_Tab, Qt::ControlModifier);
  Key(form, Qt::Key_Tab, Qt::ControlModifier);
  EXPECT_EQ(form.CurrentTabKey(), "document");
  Key(form, Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(form.CurrentTabKey(), "general");
  Key(form, Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(form.CurrentTabKey(), "about");
}

TEST_F(PrintConfigTest, PlainTabWalksTheControlsByPosition) {
  frmPrintConfig form(*settings_);
  test::ShowActive(&form);
  Box(form, "txtPDFFileName")->setFocus();
  std::vector<std::string> walked;
  for (int i = 0; i < 3; ++i) {
    Key(form, Qt::Key_Tab);
    walked.push_back(FocusName(form));
  }
  EXPECT_EQ(walked, (std::vector<std::string>{"cmdBrowsePDFFileName", "cbQuality", "chkShowPDF"}));
  EXPECT_EQ(form.CurrentTabKey(), "general");
}

TEST_F(PrintConfigTest, CancelLeavesTheSettingsAsTheyWere) {
  frmPrintConfig form(*settings_);
  Box(form, "txtTitle")->setText("changed");
  Click(form, "cmdCancel");
  EXPECT_FALSE(form.Accepted());
  EXPECT_EQ(settings_->Text("title"), "");
}

TEST_F(PrintConfigTest, EveryPanelFits) {
  Job().printerInstance = "Invoices";
  frmPrintConfig form(*settings_);
  test::ExpectEveryPanelFits(&form, "frmPrintConfig");
}

}  // namespace
}  // namespace gui
