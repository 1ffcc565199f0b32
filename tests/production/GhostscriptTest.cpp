#include "production/modGhostScript.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>

#include "platform/Clock.h"
#include "production/GhostscriptVersion.h"
#include "production/modMerge.h"
#include "production/modSuperimpose.h"
#include "services/Error.h"
#include "services/modFolders.h"
#include "startup/modLog.h"
#include "tests/production/GhostscriptTesting.h"
#include "tests/support/Session.h"
#include "tests/support/StandIn.h"

namespace gui {
namespace {

using test::GetFile;
using test::PutFile;
using Values = test::SettingValues;

long ErrorNumberOf(const std::function<void()>& action, std::string* description = nullptr) {
  try {
    action();
  } catch (const Error& failure) {
    if (description) *description = failure.Description();
    return failure.Number();
  }
  return 0;
}

TEST(GetGhostscriptTimeout, TakesOnlyAWholeNumberWrittenAsSuch) {
  const struct {
    const char* text;
    int seconds;
  } cases[] = {{"60", 60},   {"  60  ", 60}, {"0", 0},      {"-5", -5},         {"", 300},
               {"60s", 300}, {"60.5", 300},  {"60.0", 300}, {"+60", 300},       {"060", 300},
               {"1e2", 300}, {"\t60", 300},  {"abc", 300},  {"9999999999", 300}};
  for (const auto& c : cases) {
    DictionaryPtr settings = test::SettingsWith({{"ghostscripttimeout", c.text}});
    EXPECT_EQ(c.seconds, GetGhostscriptTimeout(*settings)) << "'" << c.text << "'";
  }
  EXPECT_EQ(300, GetGhostscriptTimeout(*test::SettingsWith()));
}

// Installations registered as Ghostscript 8 registers itself, each in a folder of its own.
class RegistrySearch : public ::testing::Test {
 protected:
  struct Installation {
    std::string product;
    std::string version;
    bool hasProgram;
  };

  std::string Register(const std::vector<Installation>& installations) {
    std::string sections;
    for (const Installation& installation : installations) {
      std::string folder = root_ / (installation.product + " " + installation.version);
      std::filesystem::create_directories(folder);
      if (installation.hasProgram) test::PutScript(folder + "/gs", "exit 0");
      sections +=
          test::RegistrySection("SOFTWARE\\" + installation.product + "\\" + installation.version,
                                "GS_DLL", folder + "/gsdll32.so");
    }
    return sections;
  }

  std::string ProgramOf(const std::string& product, const std::string& version) {
    return root_ / (product + " " + version + "/gs");
  }

  std::string Find(const std::string& sections) {
    test::TestRegistry registry(sections);
    return FindGhostscript(*test::SettingsWith());
  }

  test::TempFolder root_;
  test::StandInPath path_;  // no gs on the PATH unless a test puts one there
};

TEST_F(RegistrySearch, AHigherMinorVersionWinsBeforeTheProductOrder) {
  const struct {
    std::vector<Installation> installed;
    std::string product, version;  // the expected one; empty: none
  } cases[] = {
      {{{"GPL Ghostscript", "8.54", true}, {"AFPL Ghostscript", "8.60", true}},
       "AFPL Ghostscript",
       "8.60"},
      {{{"AFPL Ghostscript", "8.54", true}, {"GPL Ghostscript", "8.54", true}},
       "GPL Ghostscript",
       "8.54"},
      {{{"GPL Ghostscript", "8.100", true}, {"GPL Ghostscript", "8.99", true}},
       "GPL Ghostscript",
       "8.100"},
      // Minor 5 is the key 8.5; a registered folder without the program is passed over.
      {{{"GPL Ghostscript", "8.71", false}, {"AFPL Ghostscript", "8.5", true}},
       "AFPL Ghostscript",
       "8.5"},
      {{{"GPL Ghostscript", "9.05", true},
        {"GPL Ghostscript", "8.00", true},
        {"GPL Ghostscript", "8.05", true},
        {"GPL Ghostscript", "7.07", true}},
       "",
       ""},
  };
  for (const auto& c : cases) {
    std::string expected = c.product.empty() ? "" : ProgramOf(c.product, c.version);
    EXPECT_EQ(expected, Find(Register(c.installed))) << c.product << " " << c.version;
  }
}

TEST_F(RegistrySearch, TheGhostscriptFolderSettingComesFirstAndStillSearchesWithoutTheProgram) {
  std::string installed = Register({{"GPL Ghostscript", "8.54", true}});
  std::string own = root_ / "own";
  std::filesystem::create_directories(own);
  std::string empty = root_ / "empty";
  std::filesystem::create_directories(empty);
  test::PutScript(own + "/gs", "exit 0");

  EXPECT_EQ(own + "/gs", Find(installed + test::GhostscriptFolderSection(own + "//")));
  EXPECT_EQ(ProgramOf("GPL Ghostscript", "8.54"),
            Find(installed + test::GhostscriptFolderSection(empty)));
}

TEST_F(RegistrySearch, FallsBackToThePathAndElseFindsNothing) {
  EXPECT_EQ("", Find(""));
  path_.Put("gs", "exit 0");
  EXPECT_EQ(path_ / "gs", Find(""));
  EXPECT_EQ(ProgramOf("AFPL Ghostscript", "8.54"),
            Find(Register({{"AFPL Ghostscript", "8.54", true}})));
}

TEST(GhostscriptDialect, IsModernFromVersion9AndAskedOncePerProgram) {
  test::TempFolder folder;
  const struct {
    const char* answer;
    GhostscriptDialect dialect;
  } cases[] = {{"8.54", GhostscriptDialect::Legacy},
               {"9.05", GhostscriptDialect::Modern},
               {"10.00.0", GhostscriptDialect::Modern},
               {"", GhostscriptDialect::Legacy},
               {"GPL Ghostscript", GhostscriptDialect::Legacy}};
  int number = 0;
  for (const auto& c : cases) {
    std::string program = folder / ("gs" + std::to_string(++number));
    test::PutScript(program, "echo asked >> '" + folder.Path() + "/asked" + std::to_string(number) +
                                 "'\necho '" + c.answer + "'");
    EXPECT_EQ(c.dialect, GetGhostscriptDialect(program)) << c.answer;
    EXPECT_EQ(c.dialect, GetGhostscriptDialect(program)) << c.answer;
    EXPECT_EQ("asked\n", GetFile(folder / ("asked" + std::to_string(number))));
  }
  test::PutScript(folder / "failing", "echo 10.0; exit 1");
  EXPECT_EQ(GhostscriptDialect::Legacy, GetGhostscriptDialect(folder / "failing"));
  EXPECT_EQ(GhostscriptDialect::Legacy, GetGhostscriptDialect(""));
}

TEST(GhostscriptVersion, IsAskedAgainOnlyOnceTheProgramHasChanged) {
  test::Session session;
  test::TempFolder folder;
  std::string program = folder / "gs";
  auto install = [&](const std::string& answer) {
    test::PutScript(program, "echo asked >> '" + folder.Path() + "/asked'\n" + answer);
  };
  auto asked = [&] { return GetFile(folder / "asked").size() / 6; };
  install("echo 9.05");
  EXPECT_EQ("9.05", GhostscriptVersion(program));
  EXPECT_EQ("9.05", GhostscriptVersion(program));
  EXPECT_EQ(1u, asked());
  install("echo 10.00.0");
  EXPECT_EQ("10.00.0", GhostscriptVersion(program));
  EXPECT_EQ(2u, asked());
  // A program that gives no answer is asked each time.
  install("exit 1");
  EXPECT_EQ("", GhostscriptVersion(program));
  EXPECT_EQ("", GhostscriptVersion(program));
  EXPECT_EQ(4u, asked());
  EXPECT_EQ("", GhostscriptVersion(folder / "missing"));
}

// Parameter files are compared byte for byte with the golden files of each dialect.
class ParameterFiles : public ::testing::Test {
 protected:
  // The dialect is asked once per program, so each version has a folder of its own.
  void UseVersion(const std::string& version) {
    std::string folder = folder_ / ("gs-" + version);
    std::filesystem::create_directories(folder);
    test::PutStandInGhostscript(folder + "/gs", version, "exit 0");
    path_.reset();
    path_.emplace("PATH", folder);
  }

  std::string MainFile(const DictionaryPtr& settings) {
    std::string file = folder_ / "s1_params.gs";
    WriteGhostscriptParams(file, "/tmp/q/s1_patched.ps", "/tmp/q/s1_printer.pdf",
                           "/tmp/q/s1_header.ps", *settings);
    return file;
  }

  test::TempFolder folder_;
  test::TestRegistry registry_;
  std::optional<test::ScopedVariable> path_;
};

TEST_F(ParameterFiles, MainRunInBothDialects) {
  Values secured = {{"target", "Prepress"},
                    {"ownerpassword", "owner"},
                    {"userpassword", "user"},
                    {"keylength", "128"},
                    {"permissions", "61636"}};
  Values merged = secured;
  merged.push_back({"mergefile", "/tmp/q/other.pdf"});
  const struct {
    const char* version;
    Values settings;
    const char* golden;
  } cases[] = {
      {"8.54", {}, "main_legacy.gs"},
      {"8.54", secured, "main_legacy_target_encryption.gs"},
      {"10.00.0", {}, "main_modern.gs"},
      {"10.00.0", secured, "main_modern_target_encryption.gs"},
      // With a merge file set the encryption lines stay out.
      {"10.00.0",
       {{"mergefile", "/tmp/q/other.pdf"}, {"ownerpassword", "owner"}},
       "main_modern.gs"},
      {"10.00.0", merged, "main_modern_target.gs"},
      // A user password alone encrypts nothing.
      {"10.00.0", {{"userpassword", "user"}}, "main_modern.gs"},
  };
  for (const auto& c : cases) {
    UseVersion(c.version);
    EXPECT_EQ(test::Golden(c.golden), GetFile(MainFile(test::SettingsWith(c.settings))))
        << c.golden;
  }
}

TEST_F(ParameterFiles, AreWrittenForTheUserAloneAndNeverThroughALink) {
  UseVersion("10.00.0");
  struct stat info {};
  ASSERT_EQ(0, stat(MainFile(test::SettingsWith({{"ownerpassword", "secret"}})).c_str(), &info));
  EXPECT_EQ(0600u, info.st_mode & 0777);

  std::string elsewhere = folder_ / "elsewhere.txt";
  PutFile(elsewhere, "untouched");
  std::filesystem::remove(folder_ / "s1_params.gs");
  std::filesystem::create_symlink(elsewhere, folder_ / "s1_params.gs");
  EXPECT_NE(0, ErrorNumberOf([&] { MainFile(test::SettingsWith({{"ownerpassword", "secret"}})); }));
  EXPECT_EQ("untouched", GetFile(elsewhere));
}

// Ghostscript stand-ins that record how they were run.
class RunWithStandIn : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = GetTempFolder();
    ASSERT_FALSE(folder_.empty());
    paramFile_ = folder_ + "/s1_params.gs";
    PutFile(paramFile_, "-q\r\n");
  }

  void PutGhostscript(const std::string& body) {
    test::PutStandInGhostscript(path_ / "gs", "10.00.0", body);
  }

  std::string Run(const DictionaryPtr& settings, const std::string& paramFile) {
    std::string description;
    long number = ErrorNumberOf([&] { RunGhostscript(*settings, paramFile); }, &description);
    return std::to_string(number) + ": " + description;
  }

  std::string Log() { return GetFile(LogFileName()); }

  test::Session session_;
  test::TestRegistry registry_;
  test::StandInPath path_;
  std::string folder_;
  std::string paramFile_;
};

TEST_F(RunWithStandIn, PassesTheParameterFileInTheProgramsFolderAndRemovesTheOutput) {
  PutGhostscript("printf '%s\\n' \"$@\" > '" + (path_ / "args") + "'\npwd -P > '" +
                 (path_ / "cwd") + "'");
  EXPECT_EQ("0: ", Run(test::SettingsWith(), paramFile_));
  EXPECT_EQ("@" + paramFile_ + "\n", GetFile(path_ / "args"));
  std::filesystem::path programFolder = std::filesystem::path(path_ / "gs").parent_path();
  EXPECT_EQ(std::filesystem::canonical(programFolder).string() + "\n", GetFile(path_ / "cwd"));
  EXPECT_FALSE(std::filesystem::exists(folder_ + "/s1_params.out"));
  EXPECT_EQ("", Log());
}

TEST_F(RunWithStandIn, KeepsTheOutputForTheDebugMarkerAndLogsWarningsOfASuccess) {
  PutGhostscript("echo '   **** Warning: repaired'");
  EXPECT_EQ("0: ", Run(test::SettingsWith(), paramFile_));
  EXPECT_FALSE(std::filesystem::exists(folder_ + "/s1_params.out"));
  EXPECT_NE(std::string::npos,
            Log().find(": Ghostscript output:\r\n   **** Warning: repaired\n\r\n"));

  PutFile(ProgramFolder() + "/debug.txt", "");
  EXPECT_EQ("0: ", Run(test::SettingsWith(), paramFile_));
  EXPECT_EQ("   **** Warning: repaired\n", GetFile(folder_ + "/s1_params.out"));
}

TEST_F(RunWithStandIn, ReplacesEveryGsOfTheParameterFileNameForTheOutput) {
  std::string folder = folder_ + "/run.gs.d";
  std::filesystem::create_directories(folder);
  std::filesystem::create_directories(folder_ + "/run.out.d");
  PutFile(folder + "/s1_params.gs", "-q\r\n");
  PutFile(ProgramFolder() + "/debug.txt", "");
  PutGhostscript("echo written");
  EXPECT_EQ("0: ", Run(test::SettingsWith(), folder + "/s1_params.gs"));
  EXPECT_EQ("written\n", GetFile(folder_ + "/run.out.d/s1_params.out"));
}

TEST_F(RunWithStandIn, AFailureRaises1007WithTheOutputAndLogsIt) {
  PutGhostscript("echo 'to standard output'\necho 'Error: /undefined in foo' >&2\nexit 3");
  std::string output = "to standard output\nError: /undefined in foo\n";
  EXPECT_EQ("1007: An error occured while running Ghostscript\r\n\r\n" + output,
            Run(test::SettingsWith(), paramFile_));
  EXPECT_NE(std::string::npos, Log().find(": Ghostscript returned exit code 3\r\n"
                                          "Ghostscript output:\r\n" +
                                          output + "\r\n"));
  EXPECT_TRUE(std::filesystem::exists(folder_ + "/s1_params.out"));
}

TEST_F(RunWithStandIn, AMissingGhostscriptRaises1005AndWritesNothing) {
  EXPECT_EQ("1005: Unable to locate Ghostscript installation.",
            Run(test::SettingsWith(), paramFile_));
  EXPECT_FALSE(std::filesystem::exists(folder_ + "/s1_params.out"));
}

// The stand-in records its process id and sleeps on as that very process.
TEST_F(RunWithStandIn, ATimeOutRaises1008AndLeavesGhostscriptRunning) {
  std::string pidFile = path_ / "pid";
  PutGhostscript("echo $$ > '" + pidFile + "'\nexec /bin/sleep 30");
  EXPECT_EQ("1008: Ghostscript timed out",
            Run(test::SettingsWith({{"ghostscripttimeout", "1"}}), paramFile_));
  for (int i = 0; i < 200 && GetFile(pidFile).empty(); ++i)
    platform::SleepMilliseconds(25);
  int pid = std::atoi(GetFile(pidFile).c_str());
  ASSERT_GT(pid, 0);
  std::string stat = GetFile("/proc/" + std::to_string(pid) + "/stat");
  ASSERT_FALSE(stat.empty());
  EXPECT_EQ(std::string::npos, stat.find(") Z "));
  kill(pid, SIGKILL);
}

using RealMainRun = test::RealGhostscriptTest;

// The header runs first: its document information reaches the PDF.
TEST_F(RealMainRun, MakesThePdfOfHeaderAndJob) {
  settings_->Set("target", "Prepress");
  std::string pdf = test::RunMainJob(*settings_, folder_, test::PostScriptJob({"First", "Second"}),
                                     "%!PS\n[ /Title (From the header) /DOCINFO pdfmark\n");
  EXPECT_EQ("2", test::PdfInfo(pdf, "Pages"));
  EXPECT_EQ("From the header", test::PdfInfo(pdf, "Title"));
  EXPECT_EQ("1.6", test::PdfInfo(pdf, "PDF version"));
  std::string text = test::PdfText(pdf);
  EXPECT_LT(text.find("First"), text.find("Second"));
  EXPECT_FALSE(std::filesystem::exists(folder_ + "/s1_params.out"));
  EXPECT_EQ("", Log());
}

// Every run of a job in such a folder: background, main run and merge. The working folder is
// a link's folder, so anything the command interpreter ran would land there.
TEST_F(RealMainRun, AHostileFolderNameWorksForEveryRunAndRunsNothingElse) {
  test::TempFolder programFolder;
  std::filesystem::create_symlink("/usr/bin/gs", programFolder / "gs");
  test::TestRegistry registry(test::GhostscriptFolderSection(programFolder.Path()));
  std::string folder = folder_ + "/a b \"q\" $(touch made1) `touch made2` \\x \xC3\xBC #";
  std::filesystem::create_directories(folder);
  std::string other = folder + "/other \"1\".pdf";
  test::MakePdf(test::PostScriptJob({"Other"}), other);
  settings_->Set("superimpose", other);
  std::string base = folder + "/s1";
  CreateBackgroundEps(*settings_, base + "_si_#.eps", base + "_si_full_#.eps",
                      base + "_si_param_#.gs");
  std::string job = test::PostScriptJob({"Hostile"});
  job.insert(job.find("72 700 moveto"), test::GetFile(base + "_si_1.eps"));
  std::string pdf = test::RunMainJob(*settings_, folder, job);
  WriteMergeParams(*settings_, base + "_me_param.gs", pdf, other, base + "_merge.pdf");
  RunGhostscript(*settings_, base + "_me_param.gs");

  EXPECT_EQ("2", test::PdfInfo(base + "_merge.pdf", "Pages"));
  std::string text = test::PdfText(base + "_merge.pdf");
  EXPECT_LT(text.find("Hostile"), text.rfind("Other"));
  EXPECT_NE(text.find("Other"), text.rfind("Other")) << "the background shows on page 1";
  for (const char* made : {"made1", "made2"}) {
    EXPECT_FALSE(std::filesystem::exists(programFolder / made));
    EXPECT_FALSE(std::filesystem::exists(folder_ + "/" + made));
    EXPECT_FALSE(std::filesystem::exists(made));
  }
}

}  // namespace
}  // namespace gui
