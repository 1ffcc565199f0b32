#include "ui/modGUI.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "startup/JobContext.h"
#include "startup/modConfig.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/Session.h"
#include "ui/modSharedGUI.h"

namespace gui {
namespace {

const std::string kDiagonal = "Lower left corner to Upper right corner";
const std::string kOtherDiagonal = "Upper left corner to Lower right corner";

DictionaryPtr Settings(std::initializer_list<std::pair<const char*, const char*>> entries) {
  DictionaryPtr settings = NewDictionary();
  for (auto [key, value] : entries)
    settings->Set(key, std::string(value));
  return settings;
}

DialogControls Loaded(const char* key, const char* value) {
  return LoadOptionsControls(*Settings({{key, value}}));
}

std::string ReadBack(const DialogControls& controls, const char* key) {
  DictionaryPtr settings = NewDictionary();
  ReadOptionsControls(controls, *settings);
  return settings->Text(key);
}

TEST(Binding, SwitchesAndChoicesLoadAsTheirControlsShowThem) {
  EXPECT_TRUE(Loaded("confirmoverwrite", "").chkConfirmOverwrite);
  EXPECT_TRUE(Loaded("confirmoverwrite", "0").chkConfirmOverwrite);
  EXPECT_FALSE(Loaded("confirmoverwrite", "NO").chkConfirmOverwrite);
  EXPECT_EQ(Loaded("target", "Printer").cbQuality, 3);
  EXPECT_EQ(Loaded("target", "glossy").cbQuality, 0);
  for (const char* ask : {"", "ASK", "maybe"})
    EXPECT_EQ(Loaded("showpdf", ask).optShowPDF, 0) << ask;
  EXPECT_EQ(Loaded("showpdf", "Yes").optShowPDF, 1);
  EXPECT_EQ(Loaded("showpdf", "no").optShowPDF, 2);
  EXPECT_EQ(Loaded("showsaveas", "nofile").optShowDialog, 0);
  EXPECT_EQ(Loaded("showsaveas", "ALWAYS").optShowDialog, 1);
  EXPECT_EQ(Loaded("showsaveas", "never").optShowDialog, 2);
  EXPECT_EQ(Loaded("showsettings", "").rbShowSettings, 0);
  EXPECT_EQ(Loaded("showsettings", "Never").rbShowSettings, 1);
  EXPECT_TRUE(Loaded("suppresserrors", "").chkSuppressErrors);
  EXPECT_FALSE(Loaded("suppresserrors", "No").chkSuppressErrors);
  EXPECT_TRUE(Loaded("usedefaultauthor", "").chkUseDefaultAuthor);
  EXPECT_FALSE(Loaded("usedefaultauthor", "no").chkUseDefaultAuthor);
  EXPECT_FALSE(Loaded("usedefaulttitle", "NO").chkUseDefaultTitle);
  EXPECT_EQ(Loaded("mergeposition", "top").cbAppendPosition, 1);
  EXPECT_EQ(Loaded("mergeposition", "bottom").cbAppendPosition, 0);
  EXPECT_EQ(Loaded("keylength", "40").cbKeyLength, 0);
  EXPECT_EQ(Loaded("keylength", "").cbKeyLength, 1);
}

TEST(Binding, TextsLoadTrimmedIntoTheirBoxes) {
  DialogControls c = LoadOptionsControls(*Settings({{"output", " /tmp/a.pdf "},
                                                    {"author", " Ann "},
                                                    {"title", "T"},
                                                    {"subject", "S"},
                                                    {"keywords", "K"},
                                                    {"watermarktext", " Draft "},
                                                    {"watermarksize", "6"},
                                                    {"watermarktransparency", "85"},
                                                    {"mergefile", "m.pdf"},
                                                    {"superimpose", "b.pdf<1>"},
                                                    {"ownerpassword", "o"},
                                                    {"userpassword", "u"}}));
  EXPECT_EQ(c.txtPDFFileName, "/tmp/a.pdf");
  EXPECT_EQ(c.txtAuthor, "Ann");
  EXPECT_EQ(c.txtTitle + c.txtSubject + c.txtKeywords, "TSK");
  EXPECT_EQ(c.txtWatermarkText, "Draft");
  EXPECT_EQ(c.txtWatermarkSize, "6");
  EXPECT_EQ(c.txtWatermarkTransparency, "85");
  EXPECT_EQ(c.txtAppendFileName, "m.pdf");
  EXPECT_EQ(c.txtSuperimposeFileName, "b.pdf<1>");
  EXPECT_EQ(c.txtOwnerPassword + c.txtUserPassword, "ou");
}

TEST(Binding, RotationShowsACaptionOrTheAngle) {
  EXPECT_EQ(Loaded("watermarkrotation", "C2C").cbWatermarkRotation, kDiagonal);
  EXPECT_EQ(Loaded("watermarkrotation", "").cbWatermarkRotation, kDiagonal);
  EXPECT_EQ(Loaded("watermarkrotation", "-c2c").cbWatermarkRotation, kOtherDiagonal);
  EXPECT_EQ(Loaded("watermarkrotation", "45").cbWatermarkRotation, "45");
  EXPECT_EQ(Loaded("watermarkrotation", "45.50deg").cbWatermarkRotation, "45.5");

  DialogControls c;
  for (auto [text, value] : {std::pair{kDiagonal, "c2c"},
                             {kOtherDiagonal, "-c2c"},
                             {"  ", "c2c"},
                             {"45", "45"},
                             {"abc", "0"}}) {
    c.cbWatermarkRotation = text;
    EXPECT_EQ(ReadBack(c, "watermarkrotation"), value) << text;
  }
}

TEST(Binding, ControlsReadBackAsSettingValues) {
  DialogControls c;
  c.txtPDFFileName = " /tmp/out.pdf ";
  c.chkConfirmOverwrite = false;
  c.cbQuality = 4;
  c.optShowPDF = 1;
  c.optShowDialog = 0;
  c.rbShowSettings = 1;
  c.chkSuppressErrors = false;
  c.txtAuthor = " Ann ";
  c.chkUseDefaultAuthor = false;
  c.txtWatermarkText = " Draft ";
  c.txtWatermarkSize = "12.50";
  c.txtWatermarkTransparency = "";
  c.cbAppendPosition = 0;
  c.cbKeyLength = 0;
  DictionaryPtr s = NewDictionary();
  ReadOptionsControls(c, *s);
  EXPECT_EQ(s->Text("output"), "/tmp/out.pdf");
  EXPECT_EQ(s->Text("confirmoverwrite"), "no");
  EXPECT_EQ(s->Text("target"), "prepress");
  EXPECT_EQ(s->Text("showpdf"), "yes");
  EXPECT_EQ(s->Text("showsaveas"), "nofile");
  EXPECT_EQ(s->Text("showsettings"), "never");
  EXPECT_EQ(s->Text("suppresserrors"), "no");
  EXPECT_EQ(s->Text("author"), "Ann");
  EXPECT_EQ(s->Text("usedefaultauthor"), "no");
  EXPECT_EQ(s->Text("usedefaulttitle"), "yes");
  EXPECT_EQ(s->Text("watermarktext"), " Draft ");
  EXPECT_EQ(s->Text("watermarksize"), "12.5");
  EXPECT_EQ(s->Text("watermarktransparency"), "");
  EXPECT_EQ(s->Text("mergeposition"), "bottom");
  EXPECT_EQ(s->Text("keylength"), "40");
  EXPECT_EQ(s->Text("permissions"), "");

  c.cbQuality = -1;
  c.txtWatermarkText = "   ";
  EXPECT_EQ(ReadBack(c, "target"), "");
  EXPECT_EQ(ReadBack(c, "watermarktext"), "");
}

TEST(Binding, OptionsWriteTheKeysInTheirOrderAfterTheStoredOnes) {
  DictionaryPtr s = DefaultSettings();
  ReadOptionsControls(LoadOptionsControls(*s), *s);
  std::vector<std::string> keys = s->Keys();
  EXPECT_EQ(std::vector<std::string>(keys.end() - 5, keys.end()),
            (std::vector<std::string>{"showsaveas", "showsettings", "suppresserrors",
                                      "usedefaultauthor", "usedefaulttitle"}));
  EXPECT_EQ(s->Text("target"), "default");
  EXPECT_EQ(s->Text("showpdf"), "ask");
  EXPECT_EQ(s->Text("watermarkrotation"), "c2c");
  EXPECT_EQ(s->Text("output"), DefaultSettings()->Text("output"));
}

TEST(Permissions, StoredValuesShowInTheThreeControls) {
  struct Case {
    const char* value;
    bool set;
    int print;
    bool copy;
  } cases[] = {
      {"", false, 2, true},      {"0", false, 2, true},    {"61632", true, 0, false},
      {"61636", true, 1, false}, {"63700", true, 2, true}, {"63680", true, 0, false},
      {"61648", true, 0, true},
  };
  for (const Case& c : cases) {
    PermissionControls shown = LoadPermissions(c.value);
    EXPECT_EQ(shown.set, c.set) << c.value;
    EXPECT_EQ(shown.print, c.print) << c.value;
    EXPECT_EQ(shown.copy, c.copy) << c.value;
  }
}

TEST(Permissions, ControlsComposeTheReservedBitsAndTheChosenOnes) {
  EXPECT_EQ(ReadPermissions({false, 2, true}), "");
  EXPECT_EQ(ReadPermissions({true, 0, false}), "61632");
  EXPECT_EQ(ReadPermissions({true, 1, true}), std::to_string(61632 + 4 + 16));
  EXPECT_EQ(ReadPermissions({true, 2, true}), std::to_string(61632 + 4 + 2048 + 16));
  for (const char* stored : {"61632", "61636", "63700", "61648"})
    EXPECT_EQ(ReadPermissions(LoadPermissions(stored)), stored);
}

TEST(PrintConfigBinding, ShowPdfIsACheckBoxThatIsOnUnlessNo) {
  EXPECT_TRUE(LoadPrintConfigControls(*Settings({{"showpdf", "ask"}})).chkShowPDF);
  EXPECT_FALSE(LoadPrintConfigControls(*Settings({{"showpdf", "No"}})).chkShowPDF);
  DialogControls c;
  DictionaryPtr s = NewDictionary();
  c.chkShowPDF = false;
  ReadPrintConfigControls(c, *s);
  EXPECT_EQ(s->Text("showpdf"), "no");
}

TEST(PrintConfigBinding, ReadBackCompletesTheNameAndKeepsOrDefaultsTheWatermark) {
  DictionaryPtr s = Settings({{"watermarksize", "9"}, {"watermarktransparency", "40"}});
  DialogControls c = LoadPrintConfigControls(*s);
  c.txtPDFFileName = " report ";
  c.txtWatermarkSize = "";
  c.txtWatermarkTransparency = " ";
  ReadPrintConfigControls(c, *s);
  EXPECT_EQ(c.txtPDFFileName, "report.pdf");
  EXPECT_EQ(s->Text("output"), "report.pdf");
  EXPECT_EQ(s->Text("watermarksize"), "9");
  EXPECT_EQ(s->Text("watermarktransparency"), "85");
  EXPECT_EQ(s->Text("permissions"), "");

  c.txtPDFFileName = "Report.PDF";
  c.txtWatermarkSize = "20";
  ReadPrintConfigControls(c, *s);
  EXPECT_EQ(s->Text("output"), "Report.PDF");
  EXPECT_EQ(s->Text("watermarksize"), "20");
}

TEST(PrintConfigBinding, KeysWithoutAControlAreLeftAlone) {
  DictionaryPtr s = Settings({{"confirmoverwrite", "No"}, {"showsaveas", "always"}});
  DialogControls c = LoadPrintConfigControls(*s);
  ReadPrintConfigControls(c, *s);
  EXPECT_EQ(s->Text("confirmoverwrite"), "No");
  EXPECT_EQ(s->Text("showsaveas"), "always");
  EXPECT_FALSE(s->Exists("usedefaultauthor"));
}

TEST(PrintConfigBinding, FileNameAndRotationBoxesAreCompletedWhenLeft) {
  test::Session session;
  EXPECT_EQ(CompletePdfFileName("report"), "report.pdf");
  EXPECT_EQ(CompletePdfFileName("a.PDF"), "a.PDF");
  EXPECT_EQ(CompletePdfFileName(""), "");
  EXPECT_EQ(CompletePdfFileName(session.Root().Path()), session.Root().Path());
  EXPECT_EQ(NormalizeRotation("400"), "360");
  EXPECT_EQ(NormalizeRotation("-20"), "0");
  EXPECT_EQ(NormalizeRotation("44.6"), "45");
  EXPECT_EQ(NormalizeRotation(kOtherDiagonal), kOtherDiagonal);
}

class ValidationTest : public ::testing::Test {
 protected:
  ValidationTest() {
    std::filesystem::create_directories(Path("out"));
    test::PutFile(Path("out/old.pdf"), "%PDF");
    controls_.txtPDFFileName = Path("out/new.pdf");
  }
  std::string Path(const std::string& name) const { return session_.Root() / name; }
  Validation Validate() { return ValidatePrintConfig(controls_, *settings_); }
  void ExpectReturnTo(const Validation& v, const char* tab, const char* box) {
    EXPECT_FALSE(v.valid);
    EXPECT_EQ(v.tab, tab);
    EXPECT_EQ(v.box, box);
  }
  std::string LastMessage() { return ui_->boxes.empty() ? "" : ui_->boxes.back().text; }

  test::Session session_;
  test::ScopedScriptedUi ui_;
  DialogControls controls_;
  DictionaryPtr settings_ = DefaultSettings();
};

TEST_F(ValidationTest, AMissingOrFolderNameIsRefused) {
  for (std::string name : {std::string(), Path("out")}) {
    controls_.txtPDFFileName = name;
    ExpectReturnTo(Validate(), "general", "txtPDFFileName");
    EXPECT_EQ(LastMessage().substr(0, 36), "The output PDF file must be specifie");
    EXPECT_EQ(ui_->boxes.back().title, "QUENTARIS PDF Printer");
    EXPECT_EQ(ui_->boxes.back().style, mb::kOkOnly | mb::kExclamation);
  }
}

TEST_F(ValidationTest, AnExistingFileIsReplacedOnlyWhenThePersonSaysYes) {
  controls_.txtPDFFileName = Path("out/old.pdf");
  ui_->boxAnswers = {mb::kNo};
  ExpectReturnTo(Validate(), "general", "txtPDFFileName");
  ASSERT_EQ(ui_->boxes.size(), 1u);
  EXPECT_EQ(ui_->boxes[0].text, OverwriteQuestion(Path("out/old.pdf")));
  EXPECT_EQ(ui_->boxes[0].style, mb::kYesNoCancel | mb::kExclamation);
  ui_->boxAnswers = {mb::kYes};
  EXPECT_TRUE(Validate().valid);
}

TEST_F(ValidationTest, AConfirmedOrUnguardedFileIsNotAskedAbout) {
  controls_.txtPDFFileName = Path("out/old.pdf");
  Job().confirmedOutputFile = Path("out/old.pdf");
  EXPECT_TRUE(Validate().valid);
  Job().confirmedOutputFile.clear();
  settings_->Set("confirmoverwrite", std::string("NO"));
  EXPECT_TRUE(Validate().valid);
  EXPECT_TRUE(ui_->boxes.empty());
}

TEST_F(ValidationTest, TheOutputFolderMustExist) {
  controls_.txtPDFFileName = Path("missing/new.pdf");
  ExpectReturnTo(Validate(), "general", "txtPDFFileName");
  EXPECT_EQ(LastMessage().substr(0, 33), "The output folder does not exist.");
  controls_.txtPDFFileName = Path("out/new.pdf");
  EXPECT_TRUE(Validate().valid);
}

TEST_F(ValidationTest, TheAppendFileMustExistUnlessItIsTheOutput) {
  controls_.txtAppendFileName = Path("out/missing.pdf");
  ExpectReturnTo(Validate(), "merge", "txtAppendFileName");
  EXPECT_EQ(LastMessage(), "The PDF you want to append does not exist.");
  controls_.txtAppendFileName = " " + controls_.txtPDFFileName + " ";
  EXPECT_TRUE(Validate().valid);
}

TEST_F(ValidationTest, EveryBackgroundFileMustExist) {
  controls_.txtSuperimposeFileName = Path("out/old.pdf") + "<1>" + Path("out/gone.pdf") + "<L>";
  ExpectReturnTo(Validate(), "merge", "txtSuperimposeFileName");
  EXPECT_EQ(LastMessage(), "The PDF you want to use as background does not exist.\r\n\r\n\"" +
                               Path("out/gone.pdf") + "\"");
  controls_.txtSuperimposeFileName = Path("out/old.pdf");
  EXPECT_TRUE(Validate().valid);
}

TEST(Help, AKeyWithoutHelpSaysSoAndNamesTheKey) {
  test::Session session;
  HelpEntry help = HelpFor("nosuchtopic");
  EXPECT_EQ(help.heading, "No Help Available");
  EXPECT_EQ(help.body, "[nosuchtopic]");
}

}  // namespace
}  // namespace gui
