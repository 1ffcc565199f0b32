#include "printing/CPrinterInfo.h"

#include <gtest/gtest.h>

#include "services/Error.h"
#include "tests/support/FakeSpooler.h"

namespace gui {
namespace {

using test::ScopedFakeSpooler;

TEST(CPrinterInfo, ReadsThePrinterAndNamesItsState) {
  ScopedFakeSpooler spooler;
  PrinterRecord& record = spooler->Add("Laser", "FILE:", "Second floor");
  record.status = 32768;
  record.attributes = spool::kAttributeLocal | spool::kAttributeShared;
  CPrinterInfo printer;
  printer.SetDeviceName("Laser");
  EXPECT_EQ(printer.PortName(), "FILE:");
  EXPECT_EQ(printer.Comment(), "Second floor");
  EXPECT_TRUE(printer.IsToFile());
  EXPECT_TRUE(printer.IsLocal() && printer.IsShared());
  EXPECT_FALSE(printer.IsNetwork());
  EXPECT_EQ(printer.StatusText(), "Initializing");
  EXPECT_EQ(printer.DisplayName(), "Laser");
}

TEST(CPrinterInfo, StatusIsComparedAsAWholeValue) {
  ScopedFakeSpooler spooler;
  PrinterRecord& record = spooler->Add("Laser", "USB");
  CPrinterInfo printer;
  for (auto [status, text] : std::vector<std::pair<std::uint32_t, std::string>>{
           {0, "Ready"}, {1, "Paused"}, {3, "3"}, {16777216, "Power Save Mode"}, {0xABC, "ABC"}}) {
    record.status = status;
    printer.SetDeviceName("Laser");
    EXPECT_EQ(printer.StatusText(), text) << status;
  }
  record.status = 129;
  printer.Refresh();
  EXPECT_TRUE(printer.IsOffline() && printer.IsPaused());
}

TEST(CPrinterInfo, AnUnknownPrinterReadsEmptyAndKeepsTheSpoolersError) {
  ScopedFakeSpooler spooler;
  CPrinterInfo printer;
  printer.SetDeviceName("Nowhere");
  EXPECT_EQ(printer.PortName(), "");
  EXPECT_EQ(printer.GetPrinterError(), test::FakeSpooler::kUnknownPrinter);
  EXPECT_EQ(printer.StatusText(), "client-error-not-found");
  spooler->Add("Nowhere", "USB");
  spooler->readError = 4242;
  printer.Refresh();
  EXPECT_EQ(printer.PortName(), "");
  EXPECT_EQ(printer.StatusText(), "Error (4242) not defined.");
}

TEST(CPrinterInfo, ANetworkPrinterIsShownWithItsServer) {
  ScopedFakeSpooler spooler;
  PrinterRecord& record = spooler->Add("laser", "IPP");
  record.serverName = "\\\\srv";
  record.printerName = "\\\\srv\\laser";
  record.attributes = spool::kAttributeNetwork;
  CPrinterInfo printer;
  printer.SetDeviceName("laser");
  EXPECT_EQ(printer.DisplayName(), "laser on srv");
  record.attributes = spool::kAttributeLocal;
  printer.Refresh();
  EXPECT_EQ(printer.DisplayName(), "laser");
}

TEST(CPrinterInfo, DefaultPrinterIsSetThroughTheSpoolerAndFailuresAreKept) {
  ScopedFakeSpooler spooler;
  spooler->Add("Laser", "USB");
  CPrinterInfo printer;
  printer.SetDeviceName("Laser");
  EXPECT_FALSE(printer.IsDefault());
  printer.SetIsDefault(true);
  EXPECT_TRUE(printer.IsDefault());
  EXPECT_EQ(printer.GetPrinterError(), 0);
  spooler->commandError = 1234;
  EXPECT_FALSE(printer.ControlPause());
  EXPECT_EQ(printer.GetPrinterError(), 1234);
}

JobRecord Job(std::uint32_t id, std::uint32_t status, std::uint32_t priority = 50) {
  JobRecord job;
  job.jobId = id;
  job.status = status;
  job.priority = priority;
  return job;
}

TEST(CPrinterJobInfo, StatusTextIsTheSpoolersOrBuiltFromTheBits) {
  EXPECT_EQ(CPrinterJobInfo(Job(1, spool::kJobPaused | spool::kJobError)).StatusText(), "Error");
  EXPECT_EQ(CPrinterJobInfo(Job(1, spool::kJobError | spool::kJobPrinting | spool::kJobOffline))
                .StatusText(),
            "Error - Offline - Printing...");
  EXPECT_EQ(CPrinterJobInfo(Job(1, spool::kJobSpooling | spool::kJobBlocked)).StatusText(),
            "Spooling... - Cannot Print");
  EXPECT_EQ(CPrinterJobInfo(Job(1, 0)).StatusText(), "");
  JobRecord told = Job(1, spool::kJobError);
  told.statusText = "Connecting to printer";
  EXPECT_EQ(CPrinterJobInfo(told).StatusText(), "Connecting to printer");
}

TEST(CPrinterJobs, KeepsTheLargestSizeSeenAndMovesJobsPastTheirNeighbours) {
  ScopedFakeSpooler spooler;
  spooler->Add("Laser", "USB");
  JobRecord first = Job(7, 0, 60);
  first.size = 5000;
  spooler->jobs["Laser"] = {first, Job(8, 0, 50), Job(9, 0, 1)};
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
  EXPECT_FALSE(jobs.ControlCancel(99) && jobs.PositionMoveUp(99));
}

}  // namespace
}  // namespace gui
