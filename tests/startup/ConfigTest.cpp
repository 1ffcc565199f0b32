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

class ConfigTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_appdata_ = std::getenv("APPDATA") ? std::getenv("APPDATA") : "";
    setenv("APPDATA", (session_.Root() / "appdata").c_str(), 1);
    data_ = GetDataFolder();
    Job().documentInfo = NewDictionary();
  }
  void TearDown() override {
    if (saved_appdata_.empty()) {
      unsetenv("APPDATA");
    } else {
      setenv("APPDATA", saved_appdata_.c_str(), 1);
    }
  }
  DictionaryPtr Load(bool ignoreRunOnce = false) {
    std::string fileName;
    return LoadConfig(ignoreRunOnce, fileName);
  }
  std::string Program(const std::string& name) const { return session_.Root() / "program/" + name; }

  test::Session session_;
  std::string saved_appdata_;
  std::string data_;
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
  EXPECT_EQ(settings->Count(), 26u);
  EXPECT_EQ(EmptySettings()->Count(), 25u);
  std::string log = GetFile(LogFileName());
  EXPECT_NE(log.find(": Look for settings in " + data_ + "/runonce.ini\r\n"), std::string::npos);
  EXPECT_NE(log.find(": Look for settings in " + data_ + "/settings.ini\r\n"), std::string::npos);
  EXPECT_NE(log.find(": Load settings from " + data_ + "/settings.ini\r\n"), std::string::npos);
}

TEST_F(ConfigTest, LayersUserFileOverDefaultsAndGlobalFileOverBoth) {
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
}

TEST_F(ConfigTest, UnreadableGlobalFileIsPassedOverSilently) {
  PutFile(data_ + "/settings.ini", "[PDF Printer]\r\ntitle=mine\r\n");
  PutFile(Program("global.ini"), "[PDF Printer]\r\ntitle=a\r\ntitle=b\r\n");
  EXPECT_EQ(Load()->Text("title"), "mine");
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
  EXPECT_TRUE(fs::is_empty(data_) == false);
  for (const auto& entry : fs::directory_iterator(data_)) {
    EXPECT_EQ(entry.path().filename().string().find("runonce"), std::string::npos);
  }
  EXPECT_EQ(Load()->Text("title"), "settings");
  EXPECT_NE(GetFile(LogFileName()).find(": Remove runonce.ini\r\n"), std::string::npos);
}

TEST_F(ConfigTest, RunOnceFileIsClaimedByExactlyOneOfManyJobs) {
  PutFile(data_ + "/settings.ini", "[PDF Printer]\r\ntitle=settings\r\n");
  PutFile(data_ + "/runonce.ini", "[PDF Printer]\r\ntitle=once\r\n");
  int results[2];
  ASSERT_EQ(pipe(results), 0);
  std::vector<pid_t> jobs;
  for (int i = 0; i < 8; ++i) {
    pid_t job = fork();
    if (job == 0) {
      char answer = Load()->Text("title") == "once" ? 'o' : 's';
      _exit(write(results[1], &answer, 1) == 1 ? 0 : 1);
    }
    jobs.push_back(job);
  }
  close(results[1]);
  std::string answers;
  char answer;
  while (read(results[0], &answer, 1) == 1)
    answers += answer;
  for (pid_t job : jobs)
    waitpid(job, nullptr, 0);
  EXPECT_EQ(answers.size(), 8u);
  EXPECT_EQ(std::count(answers.begin(), answers.end(), 'o'), 1) << answers;
}

TEST_F(ConfigTest, MissingSectionIsRepairedForSettingsButNotForRunOnce) {
  PutFile(data_ + "/settings.ini", "[Something else]\r\na=b\r\n");
  EXPECT_EQ(Load()->Text("output"), "<desktop>/<title>.pdf");
  EXPECT_EQ(GetFile(data_ + "/settings.ini"), NewSettingsFile());
  std::string log = GetFile(LogFileName());
  EXPECT_NE(
      log.find("No [PDF Printer] section found in the settings file '" + data_ + "/settings.ini'."),
      std::string::npos);

  PutFile(data_ + "/runonce.ini", "no sections at all\r\n");
  EXPECT_EQ(Load()->Text("showpdf"), "ask");
  EXPECT_FALSE(fs::exists(data_ + "/runonce.ini"));
}

TEST_F(ConfigTest, UnreadableSettingsRaise1002AfterLoggingIt) {
  PutFile(data_ + "/settings.ini", "[PDF Printer]\r\ntitle=a\r\nTitle=b\r\ntitle=c\r\n");
  try {
    Load();
    FAIL();
  } catch (const Error& failure) {
    EXPECT_EQ(failure.Number(), 1002);
    EXPECT_EQ(failure.Description(),
              "Unable to load settings. Error 457: This key is already associated with an "
              "element of this collection");
    EXPECT_EQ(failure.Source().rfind("LoadConfig::", 0), 0u);
  }
  EXPECT_NE(GetFile(LogFileName()).find(": Unable to load settings. Error 457"), std::string::npos);
}

TEST_F(ConfigTest, UnwritableSettingsRaise1004ThroughLoadConfig) {
  fs::create_directories(data_ + "/settings.ini/blocked");
  try {
    Load();
    FAIL();
  } catch (const Error& failure) {
    EXPECT_EQ(failure.Number(), 1004);
    EXPECT_EQ(failure.Description().rfind(
                  "Error writing settings file '" + data_ + "/settings.ini'. Error 75: ", 0),
              0u)
        << failure.Description();
    EXPECT_EQ(failure.Source().rfind("LoadConfig::WriteConfig::", 0), 0u) << failure.Source();
  }
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
    struct rlimit limit {
      200, 200
    };
    setrlimit(RLIMIT_FSIZE, &limit);
    DictionaryPtr settings = DefaultSettings();
    settings->Set("title", std::string(5000, 'x'));
    try {
      WriteConfig(data_ + "/settings.ini", settings);
    } catch (const Error& failure) {
      _exit(failure.Number() == 1004 &&
                    failure.Description().find("Error 61: Disk full") != std::string::npos
                ? 0
                : 2);
    }
    _exit(1);
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

TEST_F(ConfigTest, LargeAndGarbageFilesLoadOrFailCleanly) {
  std::string big = "[PDF Printer]\r\n";
  for (int i = 0; i < 100000; ++i)
    big += "name" + std::to_string(i) + "=value\r\n";
  PutFile(data_ + "/settings.ini", big);
  EXPECT_EQ(Load()->Text("name99999"), "value");
  std::string garbage = "[PDF Printer]\r\n";
  for (int i = 0; i < 10000; ++i)
    garbage += static_cast<char>((i * 7919) % 256);
  PutFile(data_ + "/settings.ini", garbage);
  try {
    Load();
  } catch (const Error& failure) {
    EXPECT_EQ(failure.Number(), 1002);
  }
}

TEST_F(ConfigTest, ConfirmOverwriteIsOnUnlessNoOrZero) {
  struct Case {
    const char* value;
    bool enabled;
  } cases[] = {{"yes", true}, {"", true},   {"NO", false},
               {"No", false}, {"0", false}, {"false", true}};
  for (const Case& c : cases) {
    Dictionary settings;
    settings.Set("confirmoverwrite", std::string(c.value));
    EXPECT_EQ(ConfirmOverwriteEnabled(settings), c.enabled) << c.value;
  }
  Dictionary missing;
  EXPECT_TRUE(ConfirmOverwriteEnabled(missing));
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

TEST_F(ConfigTest, OptionsDialogCanBeDisabled) {
  EXPECT_FALSE(IsOptionsDialogDisabled());
  PutFile(Program("global.ini"), "[PDF Printer]\r\ndisableoptiondialog=  Yes \r\n");
  EXPECT_TRUE(IsOptionsDialogDisabled());
}

TEST_F(ConfigTest, DebugMarkerIsAFileInTheProgramFolder) {
  EXPECT_FALSE(DebugMarkerExists());
  PutFile(Program("debug.txt"), "");
  EXPECT_TRUE(DebugMarkerExists());
}

}  // namespace
}  // namespace gui
