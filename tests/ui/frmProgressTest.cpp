#include "ui/qt/ProgressNotice.h"

#include <QLabel>
#include <QProgressBar>

#include "tests/ui/DialogTesting.h"
#include "ui/HeadlessUi.h"
#include "ui/qt/frmProgress.h"

namespace gui {
namespace {

using test::Child;

class ProgressTest : public test::DialogTest {};

TEST_F(ProgressTest, AStepOutlastingTheDelayShowsTheDocumentAndAMovingBar) {
  ProgressNotice notice(0);
  notice.Begin("Quarterly report.doc");
  EXPECT_EQ(notice.Window(), nullptr);
  notice.Poll();
  ASSERT_NE(notice.Window(), nullptr);
  EXPECT_TRUE(notice.Window()->isVisible());
  EXPECT_EQ(Child<QLabel>(notice.Window(), "lblDocument")->text(), "Quarterly report.doc");
  auto* bar = Child<QProgressBar>(notice.Window(), "barProgress");
  EXPECT_EQ(bar->minimum(), bar->maximum());
  EXPECT_EQ(notice.Window()->windowTitle(), "QUENTARIS PDF Printer");
  test::KeepScreenshot(notice.Window(), "frmProgress");
  notice.End();
  EXPECT_EQ(notice.Window(), nullptr);
}

TEST_F(ProgressTest, AShortStepShowsNothing) {
  ProgressNotice notice(3600 * 1000);
  notice.Begin("quick.doc");
  notice.Poll();
  EXPECT_EQ(notice.Window(), nullptr);
  notice.End();
  notice.Poll();
  EXPECT_EQ(notice.Window(), nullptr);
}

TEST_F(ProgressTest, HeadlessShowsNoWindow) {
  HeadlessUi headless;
  int before = QApplication::topLevelWidgets().size();
  headless.BeginProgress("job.doc");
  headless.ProcessEvents();
  headless.EndProgress();
  EXPECT_EQ(QApplication::topLevelWidgets().size(), before);
  EXPECT_THROW(headless.ShowOptionsDialog(), Error);
}

}  // namespace
}  // namespace gui
