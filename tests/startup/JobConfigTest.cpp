#include <gtest/gtest.h>

#include <filesystem>

#include "services/modFolders.h"
#include "startup/JobContext.h"
#include "startup/modConfig.h"
#include "tests/support/ScopedVariable.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/Session.h"

namespace gui {
namespace {

namespace fs = std::filesystem;
using test::PutFile;

class JobConfigTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Job().documentInfo = NewDictionary();
    Job().documentInfo->Set("title", std::string("Report"));
  }
  void Global(const std::string& entries) {
    PutFile(session_.Root() / "program/global.ini", "[PDF Printer]\r\n" + entries);
  }

  test::Session session_;
  test::ScopedVariable appData_{"APPDATA", session_.Root() / "data"};
  test::ScopedScriptedUi ui_;
  DictionaryPtr settings_;
};

TEST_F(JobConfigTest, AsksForTheNameWhenOutputIsAFolder) {
  std::string folder = session_.Root() / "out";
  fs::create_directories(folder);
  Global("output=" + folder + "\r\nshowsaveas=nofile\r\nconfirmoverwrite=No\r\n");
  ui_->saveAsAnswers = {folder + "/chosen.pdf"};
  EXPECT_TRUE(GetJobConfig(settings_));
  ASSERT_EQ(ui_->saveAsCalls.size(), 1u);
  EXPECT_EQ(ui_->saveAsCalls[0].proposed, folder);
  EXPECT_FALSE(ui_->saveAsCalls[0].confirmOverwrite);
  EXPECT_TRUE(ui_->saveAsCalls[0].bringToFront);
  EXPECT_EQ(settings_->Text("output"), folder + "/chosen.pdf");
  EXPECT_EQ(Job().confirmedOutputFile, folder + "/chosen.pdf");
  EXPECT_EQ(ui_->printConfigShown, 1);
}

TEST_F(JobConfigTest, DoesNotAskForANameOutputAlreadyGives) {
  Global("output=" + session_.Root() / "<title>.pdf\r\nshowsaveas=nofile\r\n");
  EXPECT_TRUE(GetJobConfig(settings_));
  EXPECT_TRUE(ui_->saveAsCalls.empty());
  EXPECT_EQ(settings_->Text("output"), session_.Root() / "Report.pdf");
}

TEST_F(JobConfigTest, CancelledSaveAsWithoutDialogEmptiesTheOutput) {
  Global("showsaveas=always\r\nshowsettings=never\r\n");
  EXPECT_TRUE(GetJobConfig(settings_));
  EXPECT_EQ(settings_->Text("output"), "");
  EXPECT_TRUE(ui_->boxes.empty()) << "no question about opening a PDF that will not be made";
}

TEST_F(JobConfigTest, CancelledSaveAsBeforeTheDialogKeepsTheOutput) {
  Global("output=/x/y.pdf\r\nshowsaveas=always\r\n");
  EXPECT_TRUE(GetJobConfig(settings_));
  EXPECT_EQ(settings_->Text("output"), "/x/y.pdf");
}

TEST_F(JobConfigTest, CreatePdfDialogDecides) {
  Global("showsaveas=never\r\n");
  ui_->acceptPrintConfig = false;
  EXPECT_FALSE(GetJobConfig(settings_));
  EXPECT_EQ(ui_->printConfigShown, 1);
}

TEST_F(JobConfigTest, WithoutDialogAsksWhetherToOpenThePdf) {
  Global("output=/x/y.pdf\r\nshowsettings=NEVER\r\nshowpdf=ask\r\n");
  ui_->boxAnswers = {mb::kNo};
  EXPECT_TRUE(GetJobConfig(settings_));
  EXPECT_EQ(settings_->Text("showpdf"), "ask");
  ASSERT_EQ(ui_->boxes.size(), 1u);
  EXPECT_EQ(ui_->boxes[0].text, "Do you want to open the PDF document?\r\n\r\n/x/y.pdf");
  EXPECT_EQ(ui_->boxes[0].style, mb::kYesNo | mb::kQuestion);

  ui_->boxAnswers = {mb::kYes};
  EXPECT_TRUE(GetJobConfig(settings_));
  EXPECT_EQ(settings_->Text("showpdf"), "yes");
}

TEST_F(JobConfigTest, SwitchesOfTheJobContext) {
  Global("suppresserrors=YES\r\ndebug=yes\r\nshowsettings=never\r\nshowpdf=no\r\n");
  GetJobConfig(settings_);
  EXPECT_TRUE(Job().suppressErrors);
  EXPECT_TRUE(Job().debug);
}

}  // namespace
}  // namespace gui
