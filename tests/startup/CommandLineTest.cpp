#include <gtest/gtest.h>

#include "services/Error.h"
#include "startup/JobContext.h"
#include "startup/modInstances.h"
#include "startup/modMain.h"
#include "tests/support/FakeSpooler.h"
#include "tests/support/ScopedVariable.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/Session.h"
#include "ui/HeadlessUi.h"

namespace gui {
namespace {

// The parsed pairs as "key=value|key=value".
std::string Parse(const std::string& text) {
  std::string pairs;
  DictionaryPtr map = ParseParameters(text);
  for (const auto& [key, value] : *map)
    pairs += (pairs.empty() ? "" : "|") + key + "=" + std::get<std::string>(value);
  return pairs;
}

TEST(ParseParameters, ReadsPairsAsThePortMonitorWritesThem) {
  struct Case {
    const char* text;
    const char* pairs;
  } cases[] = {
      {"", ""},
      {"   ", ""},
      {R"(ps="C:\a b, c.ps" printer="PDF Printer [Inv]" doc="x, y" sessionid=42)",
       R"(ps=C:\a b, c.ps|printer=PDF Printer [Inv]|doc=x, y|sessionid=42)"},
      {"a=1,b=2 c=3", "a=1|b=2|c=3"},
      {"-ps=x /doc=y", "ps=x|doc=y"},
      {"PS=x", "PS=x"},
      {"k=a=b", "k=a=b"},
      {R"(msg="say ""hi""")", R"(msg=say "hi")"},
      {R"("quoted key"=v)", "quoted key=v"},
      {R"(msg=" padded ")", "msg=padded"},
      {"flag", "flag="},
      {"ps =x", "ps=|=x"},
      {R"(doc="never closed, still here)", "doc=never closed, still here"},
      {"a=,b=", "a=|b="},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Parse(c.text), c.pairs) << c.text;
}

// Keys differ by case; "-ps" and "ps" are one key, as the program's own run shows.
TEST(ParseParameters, RepeatedKeyRaisesDuplicateKeyError) {
  EXPECT_NO_THROW(ParseParameters("ps=a PS=b"));
  try {
    ParseParameters("ps=a ps=b");
    FAIL();
  } catch (const Error& failure) {
    EXPECT_EQ(failure.Number(), 457);
  }
}

TEST(CommandLineFromArguments, ParsesBackToTheArgumentsGiven) {
  EXPECT_EQ(Parse(CommandLineFromArguments({"ps=/tmp/a b, c.ps", "doc=He said \"no\"", "empty=",
                                            "sessionid=1", "lonely word", "msg=\"quoted\""})),
            R"(ps=/tmp/a b, c.ps|doc=He said "no"|empty=|sessionid=1|lonely word=|msg="quoted")");
  EXPECT_EQ(CommandLineFromArguments({"ps=/tmp/x.ps", "sessionid=7"}), "ps=/tmp/x.ps sessionid=7");
}

TEST(UnescapeMessage, DecodesThePortMonitorsEscapes) {
  EXPECT_EQ(UnescapeMessage(R"(one\ntwo)"), "one\rtwo");
  EXPECT_EQ(UnescapeMessage(R"(one\rtwo)"), "one\ntwo");
  EXPECT_EQ(UnescapeMessage(R"(a\tb\\c\qd\)"), "a\tb\\cqd");
  EXPECT_EQ(UnescapeMessage("plain"), "plain");
}

TEST(GetInstanceName, TakesTheBracketedPartAsAFileName) {
  EXPECT_EQ(GetInstanceName("PDF Printer [Invoices]"), "Invoices");
  EXPECT_EQ(GetInstanceName("PDF Printer [A/B]"), "A_B");
  EXPECT_EQ(GetInstanceName("PDF Printer"), "");
  EXPECT_EQ(GetInstanceName("PDF Printer [open"), "");
  EXPECT_EQ(GetInstanceName("x] PDF [first] [second]"), "first");
  EXPECT_EQ(GetInstanceName("P [dots...]"), "dots");
}

TEST(GetInstances, ListsEachInstanceOfTheVirtualPrintersPortOnceInOrder) {
  test::ScopedFakeSpooler spooler;
  EXPECT_EQ(GetInstances()->Count(), 0u);
  spooler->Add("QUENTARIS_PDF_Printer_Invoices", "QUENTARIS", "QUENTARIS PDF Printer [Invoices]");
  spooler->Add("Office", "FILE:", "Office [Letters]");
  spooler->Add("QUENTARIS_PDF_Printer", "QUENTARIS", "QUENTARIS PDF Printer");
  spooler->Add("QUENTARIS_AB", "QUENTARIS", "QUENTARIS PDF Printer [A/B]");
  spooler->Add("QUENTARIS_Again", "QUENTARIS", "Copy [Invoices]");
  spooler->Add("Bare[Raw]", "QUENTARIS");  // no description: the queue name counts
  spooler->Add("LowerPort", "quentaris", "X [Lower]");
  DictionaryPtr instances = GetInstances();
  EXPECT_EQ(instances->Keys(), (std::vector<std::string>{"Invoices", "", "A_B", "Raw"}));
  EXPECT_EQ(instances->Text("A_B"), "A_B");
}

// A person who picks the instance Invoices; the Options dialog notes whose settings it shows.
class PickingUi : public test::ScriptedUi {
 public:
  std::string SelectInstance() override { return "Invoices"; }
  void ShowOptionsDialog() override { shownFor = Job().printerInstance; }
  std::string shownFor = "<not shown>";
};

TEST(OptionsMode, OpensTheOptionsDialogForThePickedInstance) {
  test::Session session;
  test::ScopedVariable home("HOME", session.Root() / "home");
  auto ui = std::make_unique<PickingUi>();
  PickingUi& picking = *ui;
  InstallUi(std::move(ui));
  EXPECT_EQ(Main(""), 0);
  EXPECT_EQ(picking.shownFor, "Invoices");
  InstallUi(std::make_unique<HeadlessUi>());
}

}  // namespace
}  // namespace gui
