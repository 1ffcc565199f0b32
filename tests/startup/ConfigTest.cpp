#include "startup/modConfig.h"

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "services/Error.h"
#include "services/modFolders.h"
#include "services/modLocalize.h"
#include "services/modMacros.h"
#include "startup/JobContext.h"
#include "startup/modLog.h"
#include "tests/support/Raised.h"
#include "tests/support/ScopedVariable.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/Session.h"

namespace gui {
namespace {

namespace fs = std::filesystem;
using test::GetFile;
using test::PutFile;

// A new settings file, byte for byte.
std::string NewSettingsFile() {
  return GetFile(std::string(GUI_SOURCE_DIR) + "/tests/startup/golden/settings-new.ini");
}

using test::Raised;

class ConfigTest : public ::testing::Test {
 protected:
  ConfigTest() { Job().documentInfo = NewDictionary(); }
  DictionaryPtr Load(bool ignoreRunOnce = false) {
    std::string fileName;
    return LoadConfig(ignoreRunOnce, fileName);
  }
  std::string Program(const std::string& name) const { return session_.Root() / "program/" + name; }
  bool Logged(const std::string& text) const {
    return GetFile(LogFileName()).find(text) != std::string::npos;
  }

  test::Session session_;
  test::ScopedVariable appData_{"APPDATA", session_.Root() / "appdata"};
  std::string data_ = GetDataFolder();
};

std::vector<std::pair<std::string, std::string>> Entries(const Dictionary& settings) {
  std::vector<std::pair<std::string, std::string>> entries;
  for (const auto& [key, value] : settings)
    entries.emplace_back(key, std::get<std::string>(value));
  return entries;
}

TEST_F(ConfigTest, MissingSettingsFileIsCreatedWithTheDefaults) {
  std::string fileName;
  DictionaryPtr settings = LoadConfig(false, fileName);
  EXPECT_EQ(fileName, data_ + "/settings.ini");
  EXPECT_EQ(GetFile(fileName), NewSettingsFile());
  EXPECT_EQ(Entries(*settings), Entries(*DefaultSettings()));
  EXPECT_EQ(EmptySettings()->Count(), 25u);
  for (const std::string& line : {": Look for settings in " + data_ + "/runonce.ini\r\n",
                                  ": Look for settings in " + data_ + "/settings.ini\r\n",
                                  ": Load settings from " + data_ + "/settings.ini\r\n"})
    EXPECT_TRUE(Logged(line)) << line;
}

TEST_F(ConfigTest, LayersUserFileOverDefaultsAndAReadableGlobalFileOverBoth) {
  PutFile(data_ + "/settings.ini",
          "[PDF Printer]\r\nShowSettings=always\r\nOutput=/out/x.pdf\r\nExtra=1\r\n[Other]\r\n"
          "target=ignored\r\n");
  PutFile(Program("global.ini"), "[PDF Printer]\r\nSHOWSETTINGS=never\r\n");
  DictionaryPtr settings = Load();
  EXPECT_EQ(settings->Text("showsettings"), "never");
  EXPECT_EQ(settings->Text("output"), "/out/x.pdf");
  EXPECT_EQ(settings->Text("extra"), "1");
  EXPECT_EQ(settings->Text("target"), "");
  EXPECT_EQ(settings->Keys().front(), "afterprintprogram");
  // An unreadable global file is passed over silently.
  PutFile(Program("global.ini"), "[PDF Printer]\r\ntitle=a\r\ntitle=b\r\n");
  EXPECT_EQ(Load()->Text("showsettings"), "always");
}

// What an editor wrote is read as meant and left as it was; only a save writes the program's form.
TEST_F(ConfigTest, MarkedFilesOtherLineEndsAndSectionsInOtherCaseAreReadAsMeant) {
  const std::string written =
      "\xEF\xBB\xBF[pdf printer]\nOwnerPassword=s3cret\nOutput=/out/x.pdf\n";
  PutFile(data_ + "/settings.ini", written);
  PutFile(Program("global.ini"), "\xEF\xBB\xBF[Pdf Printer]\r\nshowpdf=no\r\n");
  DictionaryPtr settings = Load();
  EXPECT_EQ(settings->Text("ownerpassword"), "s3cret");
  EXPECT_EQ(settings->Text("output"), "/out/x.pdf");
  EXPECT_EQ(settings->Text("showpdf"), "no");
  EXPECT_EQ(GetFile(data_ + "/settings.ini"), written);
  EXPECT_FALSE(fs::exists(data_ + "/settings.ini.bak"));
  EXPECT_FALSE(Logged("No [PDF Printer] section"));

  PutFile(data_ + "/runonce.ini", "[PDF PRINTER]\rTitle=once\r");
  EXPECT_EQ(Load()->Text("title"), "once");

  ASSERT_TRUE(WriteConfig(data_ + "/settings.ini", Load(true)));
  std::string saved = GetFile(data_ + "/settings.ini");
  EXPECT_EQ(saved.rfind("[PDF Printer]\r\n  afterprintprogram=\r\n", 0), 0u) << saved;
  EXPECT_NE(saved.find("\r\n  ownerpassword=s3cret\r\n"), std::string::npos) << saved;
}

TEST_F(ConfigTest, InstanceHasFilesOfItsOwn) {
  Job().printerInstance = "Invoices";
  EXPECT_EQ(RunOnceFileName(), data_ + "/runonce-Invoices.ini");
  EXPECT_EQ(SettingsFileName(), data_ + "/settings-Invoices.ini");
  EXPECT_EQ(GlobalFileName(), Program("global-Invoices.ini"));
  PutFile(Program("global-Invoices.ini"), "[PDF Printer]\r\ntitle=invoice\r\n");
  EXPECT_EQ(Load()->Text("title"), "invoice");
  EXPECT_TRUE(fs::exists(data_ + "/settings-Invoices.ini"));
}

TEST_F(ConfigTest, RunOnceFileServesOneJobAndTheOptionsDialogNever) {
  PutFile(data_ + "/settings.ini", "[PDF Printer]\r\ntitle=settings\r\n");
  PutFile(data_ + "/runonce.ini", "[PDF Printer]\r\ntitle=once\r\n");
  EXPECT_EQ(Load(true)->Text("title"), "settings");
  std::string fileName;
  EXPECT_EQ(LoadConfig(false, fileName)->Text("title"), "once");
  EXPECT_EQ(fileName, data_ + "/runonce.ini");
  for (const auto& entry : fs::directory_iterator(data_))
    EXPECT_EQ(entry.path().filename().string().find("runonce"), std::string::npos);
  EXPECT_EQ(Load()->Text("title"), "settings");
  EXPECT_TRUE(Logged(": Remove runonce.ini\r\n"));
}

TEST_F(ConfigTest, RunOnceFileIsClaimedByExactlyOneOfManyJobs) {
  PutFile(data_ + "/settings.ini", "[PDF Printer]\r\ntitle=settings\r\n");
  PutFile(data_ + "/runonce.ini", "[PDF Printer]\r\ntitle=once\r\n");
  std::vector<pid_t> jobs;
  for (int i = 0; i < 8; ++i)
    if (jobs.emplace_back(fork()) == 0) _exit(Load()->Text("title") == "once" ? 1 : 0);
  int loaded = 0, once = 0;
  for (pid_t job : jobs) {
    int status = 0;
    waitpid(job, &status, 0);
    loaded += WIFEXITED(status);
    once += WIFEXITED(status) && WEXITSTATUS(status) == 1;
  }
  EXPECT_EQ(loaded, 8);
  EXPECT_EQ(once, 1);
}

TEST_F(ConfigTest, RunOnceFileThatCannotBeLoadedStaysAndTheSettingsFileServes) {
  PutFile(data_ + "/settings.ini", "[PDF Printer]\r\ntitle=settings\r\n");
  const std::string broken = "[PDF Printer]\r\ntitle=a\r\ntitle=b\r\n";
  PutFile(data_ + "/runonce.ini", broken);
  for (int job = 0; job < 2; ++job) {
    std::string fileName;
    EXPECT_EQ(LoadConfig(false, fileName)->Text("title"), "settings");
    EXPECT_EQ(fileName, data_ + "/settings.ini");
  }
  EXPECT_EQ(GetFile(data_ + "/runonce.ini"), broken);
  int files = 0;
  for (const auto& entry : fs::directory_iterator(data_))
    files += entry.is_regular_file();
  EXPECT_EQ(files, 2) << "nothing but the two files";
  EXPECT_TRUE(
      Logged(": Unable to load settings. Error 457: This key is already associated with "
             "an element of this collection. The run-once file '" +
             data_ + "/runonce.ini' is left as it is and the settings file is used.\r\n"));
  EXPECT_FALSE(Logged("Remove runonce.ini"));
}

TEST_F(ConfigTest, MissingSectionIsRepairedForSettingsButNotForRunOnce) {
  PutFile(data_ + "/settings.ini", "[Something else]\r\na=b\r\n");
  EXPECT_EQ(Load()->Text("output"), "<desktop>/<title>.pdf");
  EXPECT_EQ(GetFile(data_ + "/settings.ini"), NewSettingsFile());
  EXPECT_EQ(GetFile(data_ + "/settings.ini.bak"), "[Something else]\r\na=b\r\n");
  EXPECT_TRUE(
      Logged("No [PDF Printer] section found in the settings file '" + data_ + "/settings.ini'."));
  EXPECT_TRUE(Logged(": The settings file '" + data_ + "/settings.ini' is kept as '" + data_ +
                     "/settings.ini.bak'.\r\n"));
  // The newest backup replaces an older one; an instance keeps its own.
  PutFile(data_ + "/settings.ini", "[PDF Printr]\r\nownerpassword=typo\r\n");
  Load();
  EXPECT_EQ(GetFile(data_ + "/settings.ini.bak"), "[PDF Printr]\r\nownerpassword=typo\r\n");
  Job().printerInstance = "Invoices";
  PutFile(data_ + "/settings-Invoices.ini", "ownerpassword=loose\r\n");
  Load();
  EXPECT_EQ(GetFile(data_ + "/settings-Invoices.ini.bak"), "ownerpassword=loose\r\n");
  EXPECT_EQ(GetFile(data_ + "/settings-Invoices.ini"), NewSettingsFile());
  Job().printerInstance.clear();

  PutFile(data_ + "/runonce.ini", "no sections at all\r\n");
  EXPECT_EQ(Load()->Text("showpdf"), "ask");
  EXPECT_FALSE(fs::exists(data_ + "/runonce.ini"));
}

TEST_F(ConfigTest, UnreadableSettingsRaise1002AfterLoggingItAndUnwritableOnes1004) {
  PutFile(data_ + "/settings.ini", "[PDF Printer]\r\ntitle=a\r\nTitle=b\r\ntitle=c\r\n");
  Error failure = Raised([&] { Load(); });
  EXPECT_EQ(failure.Number(), 1002);
  EXPECT_EQ(failure.Description(),
            "Unable to load settings. Error 457: This key is already associated with an "
            "element of this collection");
  EXPECT_EQ(failure.Source().rfind("LoadConfig::", 0), 0u);
  EXPECT_TRUE(Logged(": Unable to load settings. Error 457"));
  EXPECT_EQ(GetFile(data_ + "/settings.ini"), "[PDF Printer]\r\ntitle=a\r\nTitle=b\r\ntitle=c\r\n");
  EXPECT_FALSE(fs::exists(data_ + "/settings.ini.bak"));
  // Without its backup a file is not repaired.
  fs::create_directories(data_ + "/settings.ini.bak/blocked");
  PutFile(data_ + "/settings.ini", "title=no section\r\n");
  failure = Raised([&] { Load(); });
  EXPECT_EQ(failure.Number(), 1004);
  EXPECT_EQ(failure.Description().rfind(
                "Error writing settings file '" + data_ + "/settings.ini.bak'. Error 75: ", 0),
            0u)
      << failure.Description();
  EXPECT_EQ(GetFile(data_ + "/settings.ini"), "title=no section\r\n");
  fs::remove(data_ + "/settings.ini");
  fs::create_directories(data_ + "/settings.ini/blocked");
  failure = Raised([&] { Load(); });
  EXPECT_EQ(failure.Number(), 1004);
  EXPECT_EQ(failure.Description().rfind(
                "Error writing settings file '" + data_ + "/settings.ini'. Error 75: ", 0),
            0u)
      << failure.Description();
  EXPECT_EQ(failure.Source().rfind("LoadConfig::WriteConfig::", 0), 0u) << failure.Source();
}

TEST_F(ConfigTest, WriteConfigKeepsOnlyThePrinterSectionInOrder) {
  PutFile(data_ + "/settings.ini", "[Other]\r\nkeep=no\r\n[PDF Printer]\r\nb=2\r\na=1\r\n");
  std::string fileName;
  DictionaryPtr settings = LoadConfig(true, fileName);
  ASSERT_TRUE(WriteConfig(fileName, settings));
  std::string text = GetFile(fileName);
  EXPECT_EQ(text.find("[Other]"), std::string::npos);
  EXPECT_EQ(text.rfind("  b=2\r\n  a=1\r\n"), text.size() - 14);
}

TEST_F(ConfigTest, FailedWriteLeavesThePreviousFileWhole) {
  PutFile(data_ + "/settings.ini", NewSettingsFile());
  pid_t writer = fork();
  if (writer == 0) {
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit = {200, 200};
    setrlimit(RLIMIT_FSIZE, &limit);
    DictionaryPtr settings = DefaultSettings();
    settings->Set("title", std::string(5000, 'x'));
    Error failure = Raised([&] { WriteConfig(data_ + "/settings.ini", settings); });
    bool diskFull = failure.Description().find("Error 61: Disk full") != std::string::npos;
    _exit(failure.Number() == 1004 && diskFull ? 0 : 1);
  }
  int status = 0;
  waitpid(writer, &status, 0);
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(GetFile(data_ + "/settings.ini"), NewSettingsFile());
  int files = 0;
  for (const auto& entry : fs::directory_iterator(data_))
    files += entry.is_regular_file();
  EXPECT_EQ(files, 1) << "no temporary file is left behind";
}

TEST_F(ConfigTest, LargeFileLoads) {
  std::string big = "[PDF Printer]\r\n";
  for (int i = 0; i < 100000; ++i)
    big += "name" + std::to_string(i) + "=value\r\n";
  PutFile(data_ + "/settings.ini", big);
  EXPECT_EQ(Load()->Text("name99999"), "value");
}

TEST_F(ConfigTest, ConfirmOverwriteIsOnUnlessNoOrZero) {
  Dictionary settings;
  EXPECT_TRUE(ConfirmOverwriteEnabled(settings));
  for (std::string value : {"yes", "", "false", "NO", "No", "0"}) {
    settings.Set("confirmoverwrite", value);
    bool off = value == "NO" || value == "No" || value == "0";
    EXPECT_EQ(ConfirmOverwriteEnabled(settings), !off) << value;
  }
}

TEST_F(ConfigTest, OverwriteQuestionNamesTheFile) {
  EXPECT_EQ(OverwriteQuestion("/a/b.pdf"),
            "The PDF file already exists.\r\n\r\n/a/b.pdf\r\n\r\nDo you want to overwrite it?");
  std::string labels;
  for (char c : std::string("L94=Die Datei %1 gibt es. Ersetzen?"))
    labels += {c, '\0'};
  PutFile(Program("labels.txt"), labels);
  LoadLabels();
  EXPECT_EQ(OverwriteQuestion("/a/b.pdf"), "Die Datei /a/b.pdf gibt es. Ersetzen?");
  fs::remove(Program("labels.txt"));
  LoadLabels();
}

TEST_F(ConfigTest, SettingMacrosPutTheDocumentsTitleAndAuthorIn) {
  ResetMacrosForTesting();
  Job().documentInfo->Set("title", std::string("Q1: results"));
  Job().documentInfo->Set("author", std::string("Doc Author"));
  DictionaryPtr settings = DefaultSettings();
  settings->Set("output", std::string("\\\\srv\\<title>\\x.pdf"));
  settings->Set("author", std::string("Configured"));
  settings->Set("title", std::string("Mine <title>"));
  settings->Set("usedefaulttitle", std::string("NO"));
  settings->Set("subject", std::string("<title>"));
  ApplySettingMacros(*settings);
  EXPECT_EQ(settings->Text("output"), "//srv/Q1_ results/x.pdf");
  EXPECT_EQ(settings->Text("author"), "Doc Author");
  EXPECT_EQ(settings->Text("title"), "Mine Q1: results");
  EXPECT_EQ(settings->Text("subject"), "Q1: results");
}

TEST_F(ConfigTest, ProgramFolderDisablesTheOptionsDialogAndMarksDebugging) {
  EXPECT_FALSE(IsOptionsDialogDisabled());
  PutFile(Program("global.ini"), "[PDF Printer]\r\ndisableoptiondialog=  Yes \r\n");
  EXPECT_TRUE(IsOptionsDialogDisabled());
  EXPECT_FALSE(DebugMarkerExists());
  PutFile(Program("debug.txt"), "");
  EXPECT_TRUE(DebugMarkerExists());
}

// GetJobConfig with a scripted user and global settings for the job.
class JobConfigTest : public ConfigTest {
 protected:
  JobConfigTest() { Job().documentInfo->Set("title", std::string("Report")); }
  void Global(const std::string& entries) {
    PutFile(Program("global.ini"), "[PDF Printer]\r\n" + entries);
  }

  test::ScopedScriptedUi ui_;
  DictionaryPtr settings_;
};

TEST_F(JobConfigTest, AsksForTheNameOnlyWhenOutputIsAFolder) {
  std::string folder = session_.Root() / "out";
  fs::create_directories(folder);
  Global("output=" + folder + "\r\nshowsaveas=nofile\r\nconfirmoverwrite=No\r\n");
  ui_->saveAsAnswers = {folder + "/chosen.pdf"};
  EXPECT_TRUE(GetJobConfig(settings_));
  ASSERT_EQ(ui_->saveAsCalls.size(), 1u);
  EXPECT_EQ(ui_->saveAsCalls[0].proposed, folder);
  EXPECT_FALSE(ui_->saveAsCalls[0].confirmOverwrite);
  EXPECT_TRUE(ui_->saveAsCalls[0].bringToFront);
  EXPECT_EQ(settings_->Text("output"), folder + "/chosen.pdf");
  EXPECT_EQ(Job().confirmedOutputFile, folder + "/chosen.pdf");
  EXPECT_EQ(ui_->printConfigShown, 1);
  Global("output=" + session_.Root() / "<title>.pdf\r\nshowsaveas=nofile\r\n");
  EXPECT_TRUE(GetJobConfig(settings_));
  EXPECT_EQ(ui_->saveAsCalls.size(), 1u) << "no question for a name the output gives";
  EXPECT_EQ(settings_->Text("output"), session_.Root() / "Report.pdf");
}

TEST_F(JobConfigTest, CancelledSaveAsEmptiesTheOutputOnlyWithoutTheCreatePdfDialog) {
  Global("showsaveas=always\r\nshowsettings=never\r\n");
  EXPECT_TRUE(GetJobConfig(settings_));
  EXPECT_EQ(settings_->Text("output"), "");
  EXPECT_TRUE(ui_->boxes.empty()) << "no question about opening a PDF that will not be made";
  // Before the Create PDF dialog, the output stays for the dialog to show.
  Global("output=/x/y.pdf\r\nshowsaveas=always\r\n");
  EXPECT_TRUE(GetJobConfig(settings_));
  EXPECT_EQ(settings_->Text("output"), "/x/y.pdf");
  // The Create PDF dialog decides whether there is a job.
  ui_->acceptPrintConfig = false;
  EXPECT_FALSE(GetJobConfig(settings_));
  EXPECT_EQ(ui_->printConfigShown, 2);
}

TEST_F(JobConfigTest, WithoutDialogAsksWhetherToOpenThePdfAndSetsTheJobsSwitches) {
  Global(
      "output=/x/y.pdf\r\nshowsettings=NEVER\r\nshowpdf=ask\r\n"
      "suppresserrors=YES\r\ndebug=yes\r\n");
  ui_->boxAnswers = {mb::kNo};
  EXPECT_TRUE(GetJobConfig(settings_));
  EXPECT_EQ(settings_->Text("showpdf"), "ask");
  ASSERT_EQ(ui_->boxes.size(), 1u);
  EXPECT_EQ(ui_->boxes[0].text, "Do you want to open the PDF document?\r\n\r\n/x/y.pdf");
  EXPECT_EQ(ui_->boxes[0].style, mb::kYesNo | mb::kQuestion);

  ui_->boxAnswers = {mb::kYes};
  EXPECT_TRUE(GetJobConfig(settings_));
  EXPECT_EQ(settings_->Text("showpdf"), "yes");
  EXPECT_TRUE(Job().suppressErrors);
  EXPECT_TRUE(Job().debug);
}

}  // namespace
}  // namespace gui
