#include <gtest/gtest.h>

#include "printing/modCupsAttributes.h"

namespace gui {
namespace {

TEST(CupsAttributes, PortIsTheUrisSchemeAndStatesAndReasonsBecomeStatusBits) {
  // The port is the device URI's scheme in upper case.
  EXPECT_EQ(PortFromDeviceUri("quentaris:/"), "QUENTARIS");
  EXPECT_EQ(PortFromDeviceUri("file:///dev/null"), "FILE:");
  EXPECT_EQ(PortFromDeviceUri("ipp://printer.local/ipp/print"), "IPP");
  EXPECT_EQ(PortFromDeviceUri(""), "");
  EXPECT_EQ(PortFromDeviceUri("no scheme"), "");
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
  EXPECT_EQ(devMode.deviceName + "|" + devMode.formName, "Laser|iso_a4_210x297mm");
  // Copies, paper, orientation, duplex, colour, resolution and pages per sheet.
  EXPECT_EQ(
      (std::vector<int>{devMode.copies, devMode.paperSize, devMode.orientation, devMode.duplex,
                        devMode.color, devMode.printQuality, devMode.yResolution, devMode.nup}),
      (std::vector<int>{3, 9, 2, 3, 1, 600, 300, 2}));
  DevModeRecord plain =
      DevModeFromOptions({{"PageSize", "Letter"}, {"orientation-requested", "3"}}, "P");
  EXPECT_EQ((std::vector<int>{plain.copies, plain.paperSize, plain.orientation}),
            (std::vector<int>{1, 1, 1}));
  EXPECT_EQ(plain.fields & 0x1000, 0);  // no duplex asked, none claimed
}

}  // namespace
}  // namespace gui
