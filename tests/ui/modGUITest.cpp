#include "ui/modGUI.h"

#include "tests/ui/DialogTesting.h"
#include "ui/modSharedGUI.h"

namespace gui::test {
namespace {

const std::string kDiagonal = "Lower left corner to Upper right corner";
const std::string kOtherDiagonal = "Upper left corner to Lower right corner";

// Expects each case ("typed>kept", separated by "|") to be normalised as given.
void ExpectNormalised(const std::function<std::string(const std::string&)>& normalize,
                      const std::string& cases) {
  for (const QString& c : QString::fromStdString(cases).split('|')) {
    QStringList typedAndKept = c.split('>');
    EXPECT_EQ(normalize(typedAndKept[0].toStdString()), typedAndKept[1].toStdString())
        << "\"" << c.toStdString() << "\"";
  }
}

TEST(Binding, SwitchesListsAndRotationShowTheStoredValueAndWriteItNormalised) {
  // Per key: each stored value, what its control shows (a check box as 0 or 1, a list its index,
  // the rotation a caption or the angle) and what is written back.
  const std::pair<std::string, std::string> cases[] = {
      {"confirmoverwrite", ">1 yes|0>0 no|NO>0 no"},
      {"target", "Printer>3 printer|glossy>0 default|prepress>4 prepress"},
      {"showpdf", ">0 ask|ASK>0 ask|maybe>0 ask|Yes>1 yes|no>2 no"},
      {"showsaveas", "nofile>0 nofile|ALWAYS>1 always|never>2 never"},
      {"showsettings", ">0 always|Never>1 never"},
      {"suppresserrors", ">0 no|maybe>0 no|Yes>1 yes|No>0 no"},
      {"usedefaultauthor", ">1 yes|no>0 no"},
      {"usedefaulttitle", "NO>0 no"},
      {"mergeposition", "top>1 top|bottom>0 bottom"},
      {"keylength", "40>0 40|>1 128"},
      {"watermarkrotation", "C2C>" + kDiagonal + " c2c|>" + kDiagonal + " c2c|-c2c>" +
                                kOtherDiagonal + " -c2c|45>45 45|45.50deg>45.5 45.5"},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const std::string& key = cases[i].first;
    SCOPED_TRACE(key);
    ExpectNormalised(
        [&](const std::string& stored) {
          DictionaryPtr settings = SettingsOf(key + "=" + stored);
          DialogControls s = LoadOptionsControls(*settings);
          // The switches and lists of the keys above, in their order; then the rotation.
          int controls[] = {s.chkConfirmOverwrite, s.cbQuality,          s.optShowPDF,
                            s.optShowDialog,       s.rbShowSettings,     s.chkSuppressErrors,
                            s.chkUseDefaultAuthor, s.chkUseDefaultTitle, s.cbAppendPosition,
                            s.cbKeyLength};
          std::string shown =
              i < std::size(controls) ? std::to_string(controls[i]) : s.cbWatermarkRotation;
          ReadOptionsControls(s, *settings);
          return shown + " " + settings->Text(key);
        },
        cases[i].second);
  }
}

TEST(Binding, TextsLoadTrimmedReadBackAsTypedAndKeysAreWrittenInTheirOrder) {
  DialogControls c = LoadOptionsControls(*SettingsOf(
      "output= /tmp/a.pdf |author= Ann |title=T|subject=S|keywords=K|watermarktext= Draft |"
      "watermarksize=6|watermarktransparency=85|mergefile=m.pdf|superimpose=b.pdf<1>|"
      "ownerpassword=o|userpassword=u"));
  EXPECT_EQ(c.txtPDFFileName + "|" + c.txtAuthor + "|" + c.txtTitle + c.txtSubject + c.txtKeywords +
                "|" + c.txtWatermarkText + "|" + c.txtWatermarkSize + "|" +
                c.txtWatermarkTransparency + "|" + c.txtAppendFileName + "|" +
                c.txtSuperimposeFileName + "|" + c.txtOwnerPassword + c.txtUserPassword,
            "/tmp/a.pdf|Ann|TSK|Draft|6|85|m.pdf|b.pdf<1>|ou");

  c = DialogControls();
  c.txtPDFFileName = " /tmp/out.pdf ";
  c.txtAuthor = " Ann ";
  c.txtWatermarkText = " Draft ";
  c.txtWatermarkSize = "12.50";
  c.cbQuality = -1;
  c.cbWatermarkRotation = "  ";
  DictionaryPtr s = NewDictionary();
  ReadOptionsControls(c, *s);
  EXPECT_EQ(Values(*s,
                   "output author watermarktext watermarksize watermarktransparency target "
                   "permissions usedefaulttitle watermarkrotation"),
            "/tmp/out.pdf|Ann| Draft |12.5||||yes|c2c");
  c.txtWatermarkText = "   ";
  c.cbWatermarkRotation = "abc";
  ReadOptionsControls(c, *s);
  EXPECT_EQ(Values(*s, "watermarktext watermarkrotation"), "|0");

  // Options writes its keys in their order after the stored ones.
  s = DefaultSettings();
  ReadOptionsControls(LoadOptionsControls(*s), *s);
  std::vector<std::string> keys = s->Keys();
  EXPECT_EQ(Joined({keys.end() - 5, keys.end()}),
            "showsaveas|showsettings|suppresserrors|usedefaultauthor|usedefaulttitle");
}

TEST(Permissions, StoredValuesShowInTheThreeControlsAndReadBack) {
  // Each value shows as the switch (+ or -), the print choice and the copy switch, and reads
  // back as the value after the space.
  ExpectNormalised(
      [](const std::string& value) {
        PermissionControls c = LoadPermissions(value);
        return (c.set ? "+" : "-") + std::to_string(c.print) + (c.copy ? "+ " : "- ") +
               ReadPermissions(c);
      },
      ">-2+ |0>-2+ |61632>+0- 61632|61636>+1- 61636|63700>+2+ 63700|63680>+0- 61632|"
      "61648>+0+ 61648");
  EXPECT_EQ(ReadPermissions({true, 1, true}), std::to_string(61632 + 4 + 16));
}

TEST(PrintConfigBinding, ReadBackCompletesTheNameAndKeepsOrDefaultsTheWatermark) {
  DictionaryPtr s = SettingsOf(
      "watermarksize=9|watermarktransparency=40|showpdf=ask|confirmoverwrite=No|"
      "showsaveas=always");
  DialogControls c = LoadPrintConfigControls(*s);
  EXPECT_TRUE(c.chkShowPDF);
  c.chkShowPDF = false;
  c.txtPDFFileName = " report ";
  c.txtWatermarkSize = "";
  c.txtWatermarkTransparency = " ";
  ReadPrintConfigControls(c, *s);
  EXPECT_EQ(c.txtPDFFileName, "report.pdf");
  // Keys without a control in this dialog are left alone.
  EXPECT_EQ(Values(*s,
                   "output showpdf watermarksize watermarktransparency permissions "
                   "confirmoverwrite showsaveas"),
            "report.pdf|no|9|85||No|always");
  EXPECT_FALSE(s->Exists("usedefaultauthor"));
  // Only yes and ask open the PDF, so only they show the box checked.
  for (const char* opensNothing : {"showpdf=No", "showpdf=", "showpdf=maybe"})
    EXPECT_FALSE(LoadPrintConfigControls(*SettingsOf(opensNothing)).chkShowPDF) << opensNothing;
  EXPECT_TRUE(LoadPrintConfigControls(*SettingsOf("showpdf=YES")).chkShowPDF);
}

class ValidationTest : public DialogTest {
 protected:
  ValidationTest() {
    std::filesystem::create_directories(Path("out"));
    PutFile(Path("out/old.pdf"), "%PDF");
    controls_.txtPDFFileName = Path("out/new.pdf");
  }
  // Validates, expecting a refusal that returns to the box on the tab, and gives the message.
  std::string Refusal(const char* tab, const char* box) {
    Validation v = ValidatePrintConfig(controls_, *settings_);
    EXPECT_FALSE(v.valid);
    EXPECT_EQ(v.tab + "|" + v.box, std::string(tab) + "|" + box);
    return ui_->boxes.empty() ? "" : ui_->boxes.back().text;
  }
  bool Valid() { return ValidatePrintConfig(controls_, *settings_).valid; }

  DialogControls controls_;
  DictionaryPtr settings_ = DefaultSettings();
};

TEST_F(ValidationTest, RefusesWhatCannotBeWrittenOrMergedAndAsksBeforeReplacing) {
  controls_.txtPDFFileName = Path("out/old.pdf");
  ui_->boxAnswers = {mb::kNo};
  EXPECT_EQ(Refusal("general", "txtPDFFileName"), OverwriteQuestion(Path("out/old.pdf")));
  ASSERT_EQ(ui_->boxes.size(), 1u);
  EXPECT_EQ(ui_->boxes[0].style, mb::kYesNoCancel | mb::kExclamation);
  ui_->boxAnswers = {mb::kYes};
  EXPECT_TRUE(Valid());
  // Chosen in Save As already, or with the question switched off: not asked again.
  Job().confirmedOutputFile = Path("out/old.pdf");
  EXPECT_TRUE(Valid());
  Job().confirmedOutputFile.clear();
  settings_->Set("confirmoverwrite", std::string("NO"));
  EXPECT_TRUE(Valid());
  EXPECT_EQ(ui_->boxes.size(), 2u);

  for (std::string name : {std::string(), Path("out")}) {
    controls_.txtPDFFileName = name;
    EXPECT_EQ(Refusal("general", "txtPDFFileName").substr(0, 36),
              "The output PDF file must be specifie");
    EXPECT_EQ(ui_->boxes.back().title, "QUENTARIS PDF Printer");
    EXPECT_EQ(ui_->boxes.back().style, mb::kOkOnly | mb::kExclamation);
  }
  controls_.txtPDFFileName = Path("missing/new.pdf");
  EXPECT_EQ(Refusal("general", "txtPDFFileName").substr(0, 33),
            "The output folder does not exist.");
  controls_.txtPDFFileName = Path("out/new.pdf");
  controls_.txtAppendFileName = Path("out/missing.pdf");
  EXPECT_EQ(Refusal("merge", "txtAppendFileName"), "The PDF you want to append does not exist.");
  // Appending to the output itself is allowed, though it does not exist yet.
  controls_.txtAppendFileName = " " + controls_.txtPDFFileName + " ";
  controls_.txtSuperimposeFileName = Path("out/old.pdf") + "<1>" + Path("out/gone.pdf") + "<L>";
  EXPECT_EQ(Refusal("merge", "txtSuperimposeFileName"),
            "The PDF you want to use as background does not exist.\r\n\r\n\"" +
                Path("out/gone.pdf") + "\"");
  controls_.txtSuperimposeFileName = Path("out/old.pdf");
  EXPECT_TRUE(Valid());
}

TEST(modSharedGUI, ListsHaveTheirFixedOrderAndFirstSelectionAndMacrosLineUp) {
  auto joined = [](const ListItems& list) {
    return Joined(list.captions) + " @" + std::to_string(list.selected);
  };
  EXPECT_EQ(joined(FillQualityList()), "Default|Screen|Ebook|Printer|Prepress @0");
  EXPECT_EQ(Joined(QualityList()->Keys()), "default|screen|ebook|printer|prepress");
  EXPECT_EQ(Joined(FillKeyLengthList().captions), "40|128");
  EXPECT_EQ(Joined(FillPrintPermissionList().captions), "not allowed|low quality|high quality");
  EXPECT_EQ(Joined(FillAppendPositionList().captions), "Bottom|Top");
  EXPECT_EQ(joined(FillRotationList()), kDiagonal + "|" + kOtherDiagonal + " @-1");
  Session session;
  std::vector<std::string> entries = MacroListEntries();
  ASSERT_GE(entries.size(), 12u);
  EXPECT_EQ(entries[0].substr(0, 23), "<date>" + std::string(10, ' ') + "\tDate (");
  EXPECT_EQ(entries[8].find('\t'), entries[0].find('\t'));
  EXPECT_EQ(MacroAt(0), "<date>");
  EXPECT_EQ(MacroAt(static_cast<int>(entries.size())), "");
  EXPECT_EQ(MacroAt(-1), "");
}

TEST(modSharedGUI, BoxesAreCompletedWhenLeftAndThePreviewFollowsTheTransparency) {
  Session session;
  const std::string folder = session.Root().Path();
  ExpectNormalised(CompletePdfFileName, "report>report.pdf|a.PDF>a.PDF|>|" + folder + ">" + folder);
  ExpectNormalised(NormalizeRotation,
                   "400>360|-20>0|44.6>45|" + kOtherDiagonal + ">" + kOtherDiagonal);
  // The leading number in shortest form.
  ExpectNormalised(NumericText, "45>45| 12.50 >12.5|-20deg>-20|abc>0|-0>0");
  // Only whole numbers from 0 to 100.
  ExpectNormalised(NormalizeWatermarkSize,
                   " 40 >40|0>0|100>100|12.5>|abc>|150>|-1>|40pt>|040>|   >");
  // Clamped to 0..100; other text cleared.
  ExpectNormalised(NormalizeWatermarkTransparency, "50>50|150>100|150%>100|-5>0|50%>|12.5>|abc>|>");
  // The preview grey runs from black to white.
  QStringList greys;
  for (const char* transparency : {"0", "100", "50", "250", "-3", "", "85"})
    greys << QString::number(TransparencyPreviewColor(transparency), 16);
  // 2.55 * 50 falls just below 127.5; an empty box shows the default of 85.
  EXPECT_EQ(greys.join(' '), "0 ffffff 7f7f7f ffffff 0 d9d9d9 d9d9d9");
}

}  // namespace
}  // namespace gui::test
