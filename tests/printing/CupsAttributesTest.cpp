#include <gtest/gtest.h>

#include "printing/modCupsAttributes.h"

namespace gui {
namespace {

TEST(CupsAttributes, PortIsTheDeviceUrisSchemeInUpperCase) {
  EXPECT_EQ(PortFromDeviceUri("quentaris:/"), "QUENTARIS");
  EXPECT_EQ(PortFromDeviceUri("file:///dev/null"), "FILE:");
  EXPECT_EQ(PortFromDeviceUri("ipp://printer.local/ipp/print"), "IPP");
  EXPECT_EQ(PortFromDeviceUri(""), "");
  EXPECT_EQ(PortFromDeviceUri("no scheme"), "");
}

TEST(CupsAttributes, PrinterStateAndReasonsBecomeStatusBits) {
  EXPECT_EQ(PrinterStatusFromCups(3, {"none"}), 0u);
  EXPECT_EQ(PrinterStatusFromCups(4, {}), spool::kPrinterPrinting);
  EXPECT_EQ(PrinterStatusFromCups(5, {"paused"}), spool::kPrinterPaused);
  EXPECT_EQ(PrinterStatusFromCups(3, {"toner-low-report", "media-jam-error", "offline-report"}),
            spool::kPrinterTonerLow | spool::kPrinterPaperJam | spool::kPrinterOffline);
  EXPECT_EQ(JobStatusFromCups(4, {"job-hold-until-specified"}), spool::kJobPaused);
  EXPECT_EQ(JobStatusFromCups(5, {"job-printing", "printer-stopped"}),
            spool::kJobPrinting | spool::kJobBlocked);
  EXPECT_EQ(JobStatusFromCups(9, {}), spool::kJobPrinted);
}

TEST(CupsAttributes, JobOptionsBecomeDeviceSettings) {
  DevModeRecord devMode = DevModeFromOptions({{"copies", "3"},
                                              {"media", "iso_a4_210x297mm"},
                                              {"orientation-requested", "landscape"},
                                              {"sides", "two-sided-short-edge"},
                                              {"print-color-mode", "monochrome"},
                                              {"printer-resolution", "600x300dpi"},
                                              {"number-up", "2"}},
                                             "Laser");
  EXPECT_EQ(devMode.deviceName, "Laser");
  EXPECT_EQ(devMode.copies, 3);
  EXPECT_EQ(devMode.paperSize, 9);
  EXPECT_EQ(devMode.formName, "iso_a4_210x297mm");
  EXPECT_EQ(devMode.orientation, 2);
  EXPECT_EQ(devMode.duplex, 3);
  EXPECT_EQ(devMode.color, 1);
  EXPECT_EQ(devMode.printQuality, 600);
  EXPECT_EQ(devMode.yResolution, 300);
  EXPECT_EQ(devMode.nup, 2);
  DevModeRecord plain =
      DevModeFromOptions({{"PageSize", "Letter"}, {"orientation-requested", "3"}}, "P");
  EXPECT_EQ(plain.copies, 1);
  EXPECT_EQ(plain.paperSize, 1);
  EXPECT_EQ(plain.orientation, 1);
  EXPECT_EQ(plain.fields & 0x1000, 0);  // no duplex asked, none claimed
}

}  // namespace
}  // namespace gui
