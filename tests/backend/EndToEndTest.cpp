#include <cups/cups.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "printing/CPrinterInfo.h"
#include "printing/cups/CupsSpooler.h"
#include "startup/modInstances.h"
#include "tests/production/GhostscriptTesting.h"
#include "tests/support/Eventually.h"
#include "tests/support/FakeSpooler.h"
#include "tests/support/PdfContent.h"
#include "tests/support/PrivateCups.h"
#include "tests/support/TestUser.h"

namespace gui::test {
namespace {

namespace fs = std::filesystem;

const std::string kQueue = "QUENTARIS_PDF_Printer";
const std::string kReport = GUI_SOURCE_DIR "/samples/report.ps";

// The virtual printer installed in a scheduler of the test's own, printed to with lp by an
// ordinary user, with the real gui behind the backend.
class EndToEnd : public ::testing::Test {
 protected:
  EndToEnd() : cups_(std::string("SetEnv QUENTARIS_GUI ") + GUI_BINARY) {
    cups_.AddBackend("quentaris", QUENTARIS_BACKEND);
    EXPECT_EQ(cups_.AddPrinterQueue(), "");
    EXPECT_EQ(cups_.AddPrinterQueue("Invoices"), "");
    user_.Settings("", {"output=" + out_ + "/default-<basedocname>.pdf"});
    user_.Settings("Invoices", {"output=" + out_ + "/invoices-<basedocname>.pdf", "title=Invoice",
                                "author=Accounts", "usedefaulttitle=no", "usedefaultauthor=no"});
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
    return Eventually([this] { return cups_.Idle(); });
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
  std::string out_ = user_.Folder(user_.Home() + "/out");
};

// The default printer is kept in the user's options file, which CUPS finds by HOME when it
// first starts: the test's own folder, not root's.
TEST_F(EndToEnd, PrintersAreReadAndControlledThroughTheScheduler) {
  ScopedVariable home("HOME", cups_.Root());
  cupsSetServer(cups_.Socket().c_str());
  InstallSpooler(std::make_unique<CupsSpooler>());
  EXPECT_EQ(GetInstances()->Keys(), (std::vector<std::string>{"", "Invoices"}));
  CPrinterInfo invoices;
  invoices.SetDeviceName(kQueue + "_Invoices");
  EXPECT_EQ(invoices.PortName(), "QUENTARIS");
  EXPECT_EQ(invoices.Comment(), "QUENTARIS PDF Printer [Invoices]");
  EXPECT_EQ(invoices.StatusText(), "Ready");
  EXPECT_EQ(invoices.DevMode().PaperSize(), 9);
  EXPECT_FALSE(invoices.IsToFile());
  EXPECT_TRUE(invoices.IsLocal());

  CPrinterInfo printer;
  printer.SetDeviceName(kQueue);
  EXPECT_TRUE(printer.ControlPause());
  EXPECT_TRUE(printer.IsPaused());
  ASSERT_EQ(Print(kQueue, kReport, {"-t", "Held report"}), 0);
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

// The raw job goes first: once it is cancelled, the queue goes on with the next. PDF reaches
// the backend through pdftopdf, PostScript through pstops, as they came.
TEST_F(EndToEnd, JobsBecomePdfsWithTheirInstancesSettingsAndARawJobNotPostScriptIsCancelled) {
  std::string pdfJob = user_.Home() + "/report.pdf";
  MakePdf(GetFile(kReport), pdfJob);
  user_.Put(user_.Home() + "/note.txt", "Just a note\n");
  ASSERT_EQ(Print(kQueue, user_.Home() + "/note.txt", {"-o", "raw"}), 0);
  ASSERT_EQ(Print(kQueue, kReport), 0);
  ASSERT_EQ(Print(kQueue + "_Invoices", pdfJob), 0);
  EXPECT_TRUE(WaitForQueues()) << cups_.ErrorLog();
  std::string log = cups_.ErrorLog();
  EXPECT_TRUE(Contains(log, "The job is neither PostScript nor PDF"));
  EXPECT_TRUE(Contains(log, "pdftopdf (application/pdf to application/vnd.cups-pdf"));
  EXPECT_TRUE(Contains(log, "pstops (application/postscript to application/vnd.cups-postscript"));
  EXPECT_FALSE(Contains(log, "gstopdf"));
  std::string plain = out_ + "/default-report.pdf";
  std::string invoice = out_ + "/invoices-report.pdf";
  EXPECT_EQ(TestUser::PdfsOnceDone({plain, invoice}, user_.JobFolder()), "") << log;
  EXPECT_EQ(TitleAuthorPages(plain), "Quarterly Report|Ann Lee|2");
  EXPECT_EQ(TitleAuthorPages(invoice), "Invoice|Accounts|2");
  EXPECT_TRUE(user_.OwnsAlone(plain));
  EXPECT_TRUE(user_.OwnsAlone(invoice));
}

// Without a desktop session nobody sees gui's error box: the job ends aborted, with it.
TEST_F(EndToEnd, AJobThatMakesNoPdfIsAbortedWithGuisMessage) {
  std::string broken = user_.Home() + "/broken.ps";
  user_.Put(broken, "%!PS-Adobe-3.0\n%%EndComments\nquentaris_undefined_operator\nshowpage\n");
  ASSERT_EQ(Print(kQueue, broken), 0);
  ASSERT_TRUE(WaitForQueues()) << cups_.ErrorLog();
  std::string listing;
  EXPECT_EQ(FinishedJobs(kQueue, listing), std::vector<ipp_jstate_t>{IPP_JSTATE_ABORTED});
  std::string message = "QUENTARIS PDF Printer: An error occured. Error ";
  EXPECT_TRUE(Contains(listing, "Status: " + message)) << listing;
  EXPECT_TRUE(Contains(listing, "/undefined in quentaris_undefined_operator")) << listing;
  EXPECT_TRUE(Contains(cups_.ErrorLog(), message));
  EXPECT_TRUE(fs::is_empty(out_));
}

TEST_F(EndToEnd, ATemporaryFolderPlantedByAnotherUserIsPassedOver) {
  TestUser other("b");
  other.Folder(user_.SharedTempFolder());
  ASSERT_EQ(Print(kQueue, kReport), 0);
  std::string plain = out_ + "/default-report.pdf";
  EXPECT_EQ(TestUser::PdfsOnceDone({plain}, user_.CacheJobFolder()), "") << cups_.ErrorLog();
  EXPECT_TRUE(fs::is_empty(user_.SharedTempFolder()));
  EXPECT_TRUE(user_.OwnsAlone(plain));
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
  ASSERT_EQ(Print("Slow", kReport), 0);
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
