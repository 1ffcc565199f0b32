#include <cups/cups.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>

#include <gtest/gtest.h>

#include "printing/CPrinterInfo.h"
#include "printing/cups/CupsSpooler.h"
#include "startup/modInstances.h"
#include "tests/backend/TestUser.h"
#include "tests/production/GhostscriptTesting.h"
#include "tests/support/FakeSpooler.h"
#include "tests/support/PrivateCups.h"

namespace gui::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kQueueScript = GUI_SOURCE_DIR "/packaging/quentaris-queue.sh";

// Once every file is there and no job file of the user is left, or after half a minute: the
// logs of runs of gui for the user that ended in an error (a run that ends well removes its log
// with its other files).
std::string ErrorLogsOnceDone(const TestUser& user, const std::vector<std::string>& files) {
  std::string logs;
  bool done = false;
  for (int attempt = 0; attempt < 300 && !done; ++attempt) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    logs.clear();
    done =
        std::all_of(files.begin(), files.end(), [](const auto& file) { return fs::exists(file); });
    std::error_code missing;
    for (const auto& entry : fs::directory_iterator(user.JobFolder(), missing)) {
      if (entry.path().extension() == ".log") logs += GetFile(entry.path());
      if (entry.path().extension() == ".ps") done = false;
    }
  }
  return done ? logs : logs + "\n(not every file came, or a job file outlived its run of gui)";
}

// The virtual printer installed in a scheduler of the test's own, printed to with lp by an
// ordinary user, with the real gui behind the backend.
class EndToEnd : public ::testing::Test {
 protected:
  EndToEnd() : cups_(std::string("SetEnv QUENTARIS_GUI ") + GUI_BINARY) {
    cups_.AddBackend("quentaris", QUENTARIS_BACKEND);
    for (const char* instance : {"", "Invoices"}) {
      std::string output;
      EXPECT_EQ(cups_.Client({"env", std::string("QUENTARIS_PPD=") + QUENTARIS_PPD, "sh",
                              kQueueScript, "add", instance},
                             &output),
                0)
          << output;
    }
    std::string settings = user_.Home() + "/.config/QUENTARIS/PDF Printer/";
    std::string common = "showsaveas=never\r\nshowsettings=never\r\nshowpdf=no\r\n";
    user_.Put(settings + "settings.ini",
              "[PDF Printer]\r\n" + common + "output=" + out_ + "/default-<basedocname>.pdf\r\n");
    user_.Put(settings + "settings-Invoices.ini",
              "[PDF Printer]\r\n" + common + "output=" + out_ +
                  "/invoices-<basedocname>.pdf\r\ntitle=Invoice\r\nauthor=Accounts\r\n"
                  "usedefaulttitle=no\r\nusedefaultauthor=no\r\n");
    fs::create_directory(out_);
    chown(out_.c_str(), user_.Uid(), user_.Gid());
  }

  int Print(const std::string& queue, const std::string& file,
            const std::vector<std::string>& options = {}) {
    std::vector<std::string> command = {"lp", "-U", user_.Name(), "-d", queue};
    command.insert(command.end(), options.begin(), options.end());
    command.push_back(file);
    return cups_.Client(command);
  }

  // Whether the scheduler came to have no unfinished job.
  bool WaitForQueues() {
    for (int attempt = 0; attempt < 300; ++attempt) {
      std::string jobs;
      cups_.Client({"lpstat", "-o"}, &jobs);
      if (jobs.empty()) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
  }

  TestUser user_;
  PrivateCups cups_;
  std::string out_ = user_.Home() + "/out";
};

// The default printer is kept in the user's options file, which CUPS finds by HOME when it
// first starts: the test's own folder, not root's.
TEST_F(EndToEnd, PrintersAreReadAndControlledThroughTheScheduler) {
  ScopedVariable home("HOME", cups_.Root());
  cupsSetServer(cups_.Socket().c_str());
  InstallSpooler(std::make_unique<CupsSpooler>());
  EXPECT_EQ(GetInstances()->Keys(), (std::vector<std::string>{"", "Invoices"}));
  CPrinterInfo invoices;
  invoices.SetDeviceName("QUENTARIS_PDF_Printer_Invoices");
  EXPECT_EQ(invoices.PortName(), "QUENTARIS");
  EXPECT_EQ(invoices.Comment(), "QUENTARIS PDF Printer [Invoices]");
  EXPECT_EQ(invoices.StatusText(), "Ready");
  EXPECT_EQ(invoices.DevMode().PaperSize(), 9);
  EXPECT_FALSE(invoices.IsToFile());
  EXPECT_TRUE(invoices.IsLocal());

  CPrinterInfo printer;
  printer.SetDeviceName("QUENTARIS_PDF_Printer");
  EXPECT_TRUE(printer.ControlPause());
  EXPECT_TRUE(printer.IsPaused());
  ASSERT_EQ(
      Print("QUENTARIS_PDF_Printer", GUI_SOURCE_DIR "/samples/report.ps", {"-t", "Held report"}),
      0);
  printer.Refresh();
  ASSERT_EQ(printer.Jobs().Count(), 1u);
  EXPECT_EQ(printer.Jobs().Item(1).Document(), "Held report");
  std::uint32_t id = printer.Jobs().Item(1).JobId();
  EXPECT_TRUE(printer.Jobs().ControlPause(id)) << printer.Jobs().GetPrinterError();
  printer.Refresh();
  ASSERT_EQ(printer.Jobs().Count(), 1u) << cups_.ErrorLog();
  EXPECT_TRUE(printer.Jobs().Item(1).IsPaused());
  EXPECT_TRUE(printer.Jobs().ControlCancel(id));
  printer.Refresh();
  EXPECT_EQ(printer.Jobs().Count(), 0u);
  EXPECT_TRUE(printer.ControlResume());
  EXPECT_FALSE(printer.IsPaused());
  EXPECT_EQ(printer.GetPrinterError(), 0);
  printer.SetIsDefault(true);
  EXPECT_TRUE(printer.IsDefault());
  EXPECT_FALSE(invoices.IsDefault());
  InstallSpooler(std::make_unique<FakeSpooler>());
  cupsSetServer(nullptr);
}

// The raw job goes first: once it is cancelled, the queue goes on with the next.
TEST_F(EndToEnd, JobsBecomePdfsWithTheirInstancesSettingsAndARawJobNotPostScriptIsCancelled) {
  std::string pdfJob = user_.Home() + "/report.pdf";
  MakePdf(GetFile(GUI_SOURCE_DIR "/samples/report.ps"), pdfJob);
  user_.Put(user_.Home() + "/note.txt", "Just a note\n");
  ASSERT_EQ(Print("QUENTARIS_PDF_Printer", user_.Home() + "/note.txt", {"-o", "raw"}), 0);
  ASSERT_EQ(Print("QUENTARIS_PDF_Printer", GUI_SOURCE_DIR "/samples/report.ps"), 0);
  ASSERT_EQ(Print("QUENTARIS_PDF_Printer_Invoices", pdfJob), 0);
  EXPECT_TRUE(WaitForQueues()) << cups_.ErrorLog();
  EXPECT_TRUE(Contains(cups_.ErrorLog(), "The job is not PostScript"));
  std::string plain = out_ + "/default-report.pdf";
  std::string invoice = out_ + "/invoices-report.pdf";
  std::string errorLogs = ErrorLogsOnceDone(user_, {plain, invoice});
  ASSERT_TRUE(fs::exists(plain) && fs::exists(invoice)) << errorLogs << cups_.ErrorLog();
  EXPECT_EQ(errorLogs, "");
  EXPECT_EQ(PdfInfo(plain, "Title"), "Quarterly Report");
  EXPECT_EQ(PdfInfo(plain, "Author"), "Ann Lee");
  EXPECT_EQ(PdfInfo(plain, "Pages"), "2");
  EXPECT_EQ(PdfInfo(invoice, "Title"), "Invoice");
  EXPECT_EQ(PdfInfo(invoice, "Author"), "Accounts");
  EXPECT_EQ(PdfInfo(invoice, "Pages"), "2");
}

}  // namespace
}  // namespace gui::test
