#include "printing/CPrinterInfo.h"

#include <gtest/gtest.h>

#include "services/Error.h"
#include "tests/support/FakeSpooler.h"

namespace gui {
namespace {

class CPrinterInfoTest : public ::testing::Test {
 protected:
  // Reads the printer again and describes it: port, comment, status and display name.
  std::string Read(const std::string& name) {
    printer_.SetDeviceName(name);
    return printer_.PortName() + "|" + printer_.Comment() + "|" + printer_.StatusText() + "|" +
           printer_.DisplayName();
  }

  test::ScopedFakeSpooler spooler_;
  CPrinterInfo printer_;
};

TEST_F(CPrinterInfoTest, ReadsThePrinterAndSetsItAsDefaultThroughTheSpooler) {
  PrinterRecord& local = spooler_->Add("Laser", "FILE:", "Second floor");
  local.status = 32768;
  local.attributes = spool::kAttributeLocal | spool::kAttributeShared;
  EXPECT_EQ(Read("Laser"), "FILE:|Second floor|Initializing|Laser");
  EXPECT_TRUE(printer_.IsToFile() && printer_.IsLocal() && printer_.IsShared() &&
              !printer_.IsNetwork());
  EXPECT_FALSE(printer_.IsDefault());
  printer_.SetIsDefault(true);
  EXPECT_TRUE(printer_.IsDefault());
  EXPECT_EQ(printer_.GetPrinterError(), 0);
  spooler_->commandError = 1234;
  EXPECT_FALSE(printer_.ControlPause());
  EXPECT_EQ(printer_.GetPrinterError(), 1234);

  // A network printer is shown with its server.
  PrinterRecord& remote = spooler_->Add("laser", "IPP");
  remote.serverName = "\\\\srv";
  remote.printerName = "\\\\srv\\laser";
  remote.attributes = spool::kAttributeNetwork;
  EXPECT_EQ(Read("laser"), "IPP||Ready|laser on srv");
  remote.attributes = spool::kAttributeLocal;
  printer_.Refresh();
  EXPECT_EQ(printer_.DisplayName(), "laser");
}

TEST_F(CPrinterInfoTest, StatusNamesTheWholeValueOrTheSpoolersError) {
  EXPECT_EQ(Read("Laser"), "||client-error-not-found|Laser");
  EXPECT_EQ(printer_.GetPrinterError(), test::FakeSpooler::kUnknownPrinter);
  PrinterRecord& record = spooler_->Add("Laser", "USB");
  for (auto [status, text] : std::vector<std::pair<std::uint32_t, std::string>>{
           {0, "Ready"}, {1, "Paused"}, {3, "3"}, {16777216, "Power Save Mode"}, {0xABC, "ABC"}}) {
    record.status = status;
    printer_.SetDeviceName("Laser");
    EXPECT_EQ(printer_.StatusText(), text) << status;
  }
  record.status = 129;
  printer_.Refresh();
  EXPECT_TRUE(printer_.IsOffline() && printer_.IsPaused());
  spooler_->readError = 4242;
  EXPECT_EQ(Read("Laser"), "||Error (4242) not defined.|Laser");
}

JobRecord Job(std::uint32_t id, std::uint32_t status, std::uint32_t priority = 50,
              const char* statusText = "") {
  JobRecord job;
  std::tie(job.jobId, job.status, job.priority, job.statusText) =
      std::tie(id, status, priority, statusText);
  return job;
}

TEST(CPrinterJobs, NameTheirStatusKeepTheLargestSizeSeenAndMovePastTheirNeighbours) {
  // A job's status text is the spooler's or built from its bits.
  using namespace spool;
  auto text = [](std::uint32_t status, const char* told = "") {
    return CPrinterJobInfo(Job(1, status, 50, told)).StatusText();
  };
  EXPECT_EQ(text(kJobPaused | kJobError), "Error");
  EXPECT_EQ(text(kJobError | kJobPrinting | kJobOffline), "Error - Offline - Printing...");
  EXPECT_EQ(text(kJobSpooling | kJobBlocked), "Spooling... - Cannot Print");
  EXPECT_EQ(text(0), "");
  EXPECT_EQ(text(kJobError, "Connecting to printer"), "Connecting to printer");

  test::ScopedFakeSpooler spooler;
  spooler->Add("Laser", "USB");
  spooler->jobs["Laser"] = {Job(7, 0, 60), Job(8, 0, 50), Job(9, 0, 1)};
  spooler->jobs["Laser"][0].size = 5000;
  CPrinterJobs jobs;
  jobs.SetDeviceName("Laser");
  ASSERT_EQ(jobs.Count(), 3u);
  spooler->jobs["Laser"][0].size = 100;
  jobs.Refresh();
  EXPECT_EQ(jobs.Item(1).Size(), 100u);
  EXPECT_EQ(jobs.Item(1).SizeMax(), 5000u);
  EXPECT_THROW(jobs.Item(4), Error);
  EXPECT_TRUE(jobs.PositionMoveUp(8));
  EXPECT_EQ(spooler->priorities[8], 61u);
  EXPECT_TRUE(jobs.PositionMoveDown(8));
  EXPECT_EQ(spooler->priorities[8], 1u);  // never below the lowest priority
  EXPECT_TRUE(jobs.PositionMoveUp(7));    // already first: nothing to do
  EXPECT_EQ(spooler->priorities.count(7), 0u);
  EXPECT_FALSE(jobs.PositionMoveUp(99));  // an unknown job
}

}  // namespace
}  // namespace gui
