#include "services/modMacros.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/Clock.h"
#include "services/Error.h"
#include "services/modFolders.h"
#include "services/modLocalize.h"
#include "services/modSystem.h"
#include "startup/JobContext.h"
#include "tests/support/ScopedVariable.h"
#include "tests/support/Session.h"

namespace gui {
namespace {

class MacrosTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetMacrosForTesting();
    LoadLabels();
    platform::FixLocalNowForTesting({2007, 3, 3, 7, 5, 9});
    Job().documentInfo = NewDictionary();
    Job().documentInfo->Set("title", std::string("Q1: results/final?"));
    Job().documentInfo->Set("author", std::string("Ann <Lee>"));
    Job().documentName = "C:\\Docs\\report.final.doc";
    std::filesystem::create_directories(home_ + "/Desktop");
  }
  void TearDown() override {
    platform::FixLocalNowForTesting({});
    ResetMacrosForTesting();
  }

  test::Session session_;
  std::string home_ = session_.Root() / "home";
  test::ScopedVariable homeVariable_{"HOME", home_};
  // A replacement is never scanned for macros again.
  test::ScopedVariable value_{"QUENTARIS_TEST_VALUE", "a/b:c<date>"};
};

TEST_F(MacrosTest, ExpandsBuiltInMacros) {
  struct Case {
    const char* text;
    bool safe;
    std::string expected;
  } cases[] = {
      {"<date>_<time>", true, "2007-03-03_07.05.09"},
      {"<Date>", false, "<Date>"},
      {"<title>", false, "Q1: results/final?"},
      {"<title>", true, "Q1_ results_final_"},
      {"<author>", true, "Ann _Lee_"},
      {"<docname>", false, "C:\\Docs\\report.final.doc"},
      {"<docname>", true, "C__Docs_report.final.doc"},
      {"<basedocname>", false, "report.final"},
      {"<username>@<computername>", false, CurrentUserName() + "@" + CurrentComputerName()},
      {"<ENV:QUENTARIS_TEST_VALUE>", true, "a/b:c<date>"},
      {"<env:NO_SUCH_VARIABLE_SET>", false, ""},
      {"<desktop>/<title>.pdf", true, home_ + "/Desktop/Q1_ results_final_.pdf"},
      {"plain text", true, "plain text"},
      {"a < b", true, "a < b"},
      {"x<y<date>z", false, "x<y<date>z"},
      {"<>", false, "<>"},
      {"<date><date>", false, "2007-03-032007-03-03"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ExpandMacros(c.text, c.safe), c.expected) << c.text << " safe=" << c.safe;
}

TEST_F(MacrosTest, GuidIsTheSameForTheWholeRun) {
  std::string first = ExpandMacros("<guid>-<guid>", false);
  EXPECT_EQ(first.size(), 36u * 2 + 1);
  EXPECT_EQ(first.substr(0, 36), first.substr(37));
  EXPECT_EQ(ExpandMacros("<guid>", true), first.substr(0, 36));
}

TEST_F(MacrosTest, MacroListNamesTheTwelveInOrderWithDescriptions) {
  DictionaryPtr list = GetMacroList();
  EXPECT_EQ(list->Keys(), (std::vector<std::string>{"date", "time", "docname", "basedocname",
                                                    "username", "computername", "author", "title",
                                                    "guid", "personal", "desktop", "env:TEMP"}));
  EXPECT_EQ(list->Text("date"), "Date (yyyy-mm-dd)");
  EXPECT_EQ(list->Text("time"), "Time (hh.mm.ss)");
  EXPECT_EQ(list->Text("desktop"), "User's desktop");
  EXPECT_EQ(list->Text("env:TEMP"), "Value of environment variable TEMP");
}

class ScriptMacrosTest : public MacrosTest {
 protected:
  void Script(const std::string& name, const std::string& code) {
    std::filesystem::create_directories(session_.Root() / "program/macros");
    test::PutFile(session_.Root() / "program/macros/" + name, code);
  }
};

TEST_F(ScriptMacrosTest, EvaluatesExpressionsAgainstTheMacroRegionsOfTheFiles) {
  Script("b-clean.vbs",
         "Function CleanTitle(t)\r\n  CleanTitle = Replace(Trim(t), \" \", \"_\")\r\nEnd "
         "Function\r\n");
  // Only the code after the region marker is loaded.
  Script("a-stamp.vbs",
         "this line would not compile\r\nrem -- macro region begins\r\nConst Prefix = "
         "\"INV\"\r\nFunction Stamp()\r\n  Stamp = Prefix & \"-\" & "
         "Year(Now)\r\nEnd Function\r\n");
  EXPECT_EQ(ExpandMacros("<vbs:Stamp()>/<VBS:CleanTitle(\"  a b \")>.pdf", true),
            "INV-2007/a_b.pdf");
  EXPECT_EQ(ExpandMacros("<Vbs:Null>|<vbs:1+1>", false), "|2");
}

TEST_F(ScriptMacrosTest, FileThatDoesNotCompileStopsTheLoading) {
  Script("1-good.vbs", "Function Good()\r\n  Good = \"g\"\r\nEnd Function\r\n");
  Script("2-bad.vbs", "Function Bad()\r\n  Bad = (1 +\r\nEnd Function\r\n");
  Script("3-later.vbs", "Function Later()\r\n  Later = 1\r\nEnd Function\r\n");
  std::string bad = session_.Root() / "program/macros/2-bad.vbs";
  try {
    EvalScriptMacro("Good()");
    FAIL() << "a file that does not compile must be reported";
  } catch (const Error& failure) {
    EXPECT_EQ(failure.Description().rfind(
                  "Error adding macro source code from file '" + bad + "'.\r\n\r\n", 0),
              0u)
        << failure.Description();
    EXPECT_NE(failure.Description().find("\r\nLine 2 position "), std::string::npos)
        << failure.Description();
    EXPECT_NE(failure.Description().find("\r\n  Bad = (1 +"), std::string::npos);
  }
  EXPECT_EQ(EvalScriptMacro("Good()"), "g");
  EXPECT_THROW(EvalScriptMacro("Later()"), Error);
}

// Without a macros folder and without document information, the macros that need neither work.
TEST_F(ScriptMacrosTest, ErrorsReachTheCaller) {
  Job().documentInfo.reset();
  auto number = [](const char* text) {
    try {
      ExpandMacros(text, true);
    } catch (const Error& failure) {
      return failure.Number();
    }
    return 0L;
  };
  EXPECT_EQ(number("<title>"), 91);
  EXPECT_EQ(number("<vbs:1/0>"), 11);
  EXPECT_EQ(ExpandMacros("<date>", true), "2007-03-03");
  EXPECT_EQ(ExpandMacros("<vbs:\"no folder\">", true), "no folder");
}

}  // namespace
}  // namespace gui
