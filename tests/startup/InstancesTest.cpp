#include "startup/modInstances.h"

#include <gtest/gtest.h>

#include "startup/JobContext.h"
#include "startup/modMain.h"
#include "tests/support/FakeSpooler.h"
#include "tests/support/ScopedVariable.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/Session.h"
#include "ui/HeadlessUi.h"

namespace gui {
namespace {

TEST(GetInstances, ListsEachInstanceOfTheVirtualPrintersPortOnceInOrder) {
  test::ScopedFakeSpooler spooler;
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

TEST(GetInstances, NoPrintersNoInstances) {
  test::ScopedFakeSpooler spooler;
  EXPECT_EQ(GetInstances()->Count(), 0u);
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
