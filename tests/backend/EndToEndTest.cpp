#include <cups/cups.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>

#include <gtest/gtest.h>

#include "printing/CPrinterInfo.h"
#include "printing/cups/CupsSpooler.h"
#include "startup/modInstances.h"
#include "tests/backend/Eventually.h"
#include "tests/backend/TestUser.h"
#include "tests/production/GhostscriptTesting.h"
#include "tests/support/FakeSpooler.h"
#include "tests/support/PrivateCups.h"

namespace gui::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kQueueScript = GUI_SOURCE_DIR "/packaging/quentaris-queue.sh";

// Once every file is there and no job file is left in the folder, or after half a minute: the
// logs of runs of gui for the user that ended in an error (a run that ends well removes its log
// with its other files).
std::string ErrorLogsOnceDone(const std::string& jobFolder, const std::vector<std::string>& files) {
  std::string logs;
  bool done = false;
  for (int attempt = 0; attempt < 300 && !done; ++attempt) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    logs.clear();
    done =
        std::all_of(files.begin(), files.end(), [](const auto& file) { return fs::exists(file); });
    std::error_code missing;
    for (const auto& entry : fs::directory_iterator(jobFolder, missing)) {
      if (entry.path().extension() == ".log") logs += GetFile(entry.path());
      if (entry.path().extension() == ".ps" || entry.path().extension() == ".pdf") done = false;
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
    return Eventually([this] {
      std::string jobs;
      cups_.Client({"lpstat", "-o"}, &jobs);
      return jobs.empty();
    });
  }

  // The states of the queue's finished jobs, and the listing that shows their last messages.
  std::vector<ipp_jstate_t> FinishedJobs(const std::string& queue, std::string& listing) {
    cups_.Client({"lpstat", "-W", "completed", "-l", "-o", queue}, &listing);
    cupsSetServer(cups_.Socket().c_str());
    cups_job_t* jobs = nullptr;
    int count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, queue.c_str(), 0, CUPS_WHICHJOBS_COMPLETED);
    std::vector<ipp_jstate_t> states;
    for (int i = 0; i < count; ++i)
      states.push_back(jobs[i].state);
    cupsFreeJobs(count, jobs);
    cupsSetServer(nullptr);
    return states;
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
  EXPECT_TRUE(Contains(cups_.ErrorLog(), "The job is neither PostScript nor PDF"));
  std::string plain = out_ + "/default-report.pdf";
  std::string invoice = out_ + "/invoices-report.pdf";
  std::string errorLogs = ErrorLogsOnceDone(user_.JobFolder(), {plain, invoice});
  ASSERT_TRUE(fs::exists(plain) && fs::exists(invoice)) << errorLogs << cups_.ErrorLog();
  EXPECT_EQ(errorLogs, "");
  EXPECT_EQ(PdfInfo(plain, "Title"), "Quarterly Report");
  EXPECT_EQ(PdfInfo(plain, "Author"), "Ann Lee");
  EXPECT_EQ(PdfInfo(plain, "Pages"), "2");
  EXPECT_EQ(PdfInfo(invoice, "Title"), "Invoice");
  EXPECT_EQ(PdfInfo(invoice, "Author"), "Accounts");
  EXPECT_EQ(PdfInfo(invoice, "Pages"), "2");
  EXPECT_EQ(fs::status(plain).permissions(), fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(fs::status(invoice).permissions(), fs::perms::owner_read | fs::perms::owner_write);
}

// Without a desktop session nobody sees gui's error box: the job ends aborted, with it.
TEST_F(EndToEnd, AJobThatMakesNoPdfIsAbortedWithGuisMessage) {
  std::string broken = user_.Home() + "/broken.ps";
  user_.Put(broken, "%!PS-Adobe-3.0\n%%EndComments\nquentaris_undefined_operator\nshowpage\n");
  ASSERT_EQ(Print("QUENTARIS_PDF_Printer", broken), 0);
  ASSERT_TRUE(WaitForQueues()) << cups_.ErrorLog();
  std::string listing;
  EXPECT_EQ(FinishedJobs("QUENTARIS_PDF_Printer", listing),
            std::vector<ipp_jstate_t>{IPP_JSTATE_ABORTED});
  std::string message = "QUENTARIS PDF Printer: An error occured. Error ";
  EXPECT_TRUE(Contains(listing, "Status: " + message)) << listing;
  EXPECT_TRUE(Contains(listing, "/undefined in quentaris_undefined_operator")) << listing;
  EXPECT_TRUE(Contains(cups_.ErrorLog(), message));
  EXPECT_TRUE(fs::is_empty(out_));
}

TEST_F(EndToEnd, ATemporaryFolderPlantedByAnotherUserIsPassedOver) {
  TestUser other("b");
  fs::create_directory(user_.SharedTempFolder());
  chown(user_.SharedTempFolder().c_str(), other.Uid(), other.Gid());
  ASSERT_EQ(Print("QUENTARIS_PDF_Printer", GUI_SOURCE_DIR "/samples/report.ps"), 0);
  std::string plain = out_ + "/default-report.pdf";
  std::string errorLogs = ErrorLogsOnceDone(user_.CacheJobFolder(), {plain});
  ASSERT_TRUE(fs::exists(plain)) << errorLogs << cups_.ErrorLog();
  EXPECT_EQ(errorLogs, "");
  EXPECT_TRUE(fs::is_empty(user_.SharedTempFolder()));
  EXPECT_EQ(fs::status(plain).permissions(), fs::perms::owner_read | fs::perms::owner_write);
}

// A filter that hands on the start of the job and then takes its time keeps the backend
// receiving until the job is cancelled.
TEST_F(EndToEnd, AJobCancelledWhileItIsReceivedLeavesNoFile) {
  TempFolder filters;
  fs::permissions(filters.Path(), fs::perms::owner_all | fs::perms::others_exec);
  std::string slow = filters / "slow";
  PutScript(slow, "head -c 6000\nexec sleep 300");
  fs::permissions(slow, fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
  std::string ppd = GetFile(QUENTARIS_PPD);
  std::string passThrough = "application/postscript 0 -\"";
  ASSERT_TRUE(Contains(ppd, passThrough));
  ppd.replace(ppd.find(passThrough), passThrough.size(), "application/postscript 0 " + slow + "\"");
  PutFile(filters / "slow.ppd", ppd);
  ASSERT_EQ(cups_.Client({"lpadmin", "-p", "Slow", "-E", "-v", "quentaris:/", "-P",
                          filters / "slow.ppd", "-o", "printer-error-policy=abort-job"}),
            0);
  ASSERT_EQ(Print("Slow", GUI_SOURCE_DIR "/samples/report.ps"), 0);
  EXPECT_TRUE(Eventually([&] {
    return fs::exists(user_.JobFolder()) && FileNames(user_.JobFolder()).size() == 1;
  })) << cups_.ErrorLog();
  EXPECT_EQ(cups_.Client({"cancel", "-a", "Slow"}), 0);
  EXPECT_TRUE(WaitForQueues());
  EXPECT_TRUE(Eventually([&] {
    return !fs::exists(user_.JobFolder()) || FileNames(user_.JobFolder()).empty();
  })) << cups_.ErrorLog();
  EXPECT_TRUE(fs::is_empty(out_));
}

}  // namespace
}  // namespace gui::test
