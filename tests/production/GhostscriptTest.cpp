#include "production/modGhostScript.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <tuple>

#include "platform/Clock.h"
#include "production/GhostscriptVersion.h"
#include "production/modEncryption.h"
#include "production/modMerge.h"
#include "production/modSuperimpose.h"
#include "tests/production/GhostscriptTesting.h"
#include "tests/support/Eventually.h"

namespace gui::test {
namespace {

namespace fs = std::filesystem;

TEST(GetGhostscriptTimeout, TakesOnlyAWholeNumberWrittenAsSuch) {
  const std::pair<const char*, int> cases[] = {
      {"60", 60},   {"  60  ", 60}, {"0", 0},      {"-5", -5},         {"", 300},
      {"60s", 300}, {"60.5", 300},  {"60.0", 300}, {"+60", 300},       {"060", 300},
      {"1e2", 300}, {"\t60", 300},  {"abc", 300},  {"9999999999", 300}};
  for (const auto& [text, seconds] : cases)
    EXPECT_EQ(seconds,
              GetGhostscriptTimeout(*SettingsWith({"ghostscripttimeout=" + std::string(text)})))
        << "'" << text << "'";
}

// Installations registered as Ghostscript 8 registers itself, each in a folder of its own named
// for its key "<product>\<version>"; a key ending in "!" has no program in its folder.
class RegistrySearch : public ::testing::Test {
 protected:
  std::string Register(const std::vector<std::string>& keys) {
    std::string sections;
    for (std::string key : keys) {
      bool hasProgram = !key.ends_with("!");
      if (!hasProgram) key.pop_back();
      fs::create_directories(root_ / key);
      if (hasProgram) PutScript(ProgramOf(key), "exit 0");
      sections += RegistrySection("SOFTWARE\\" + key, "GS_DLL", root_ / key + "/gsdll32.so");
    }
    return sections;
  }
  std::string ProgramOf(const std::string& key) { return root_ / key + "/gs"; }
  std::string Find(const std::string& sections) {
    TestRegistry registry(sections);
    return FindGhostscript(*SettingsWith());
  }

  TempFolder root_;
  StandInPath path_;  // no gs on the PATH unless a test puts one there
};

TEST_F(RegistrySearch, AHigherMinorVersionWinsBeforeTheProductOrder) {
  // The index of the installation found; -1: none.
  const std::pair<std::vector<std::string>, int> cases[] = {
      {{"GPL Ghostscript\\8.54", "AFPL Ghostscript\\8.60"}, 1},
      {{"AFPL Ghostscript\\8.54", "GPL Ghostscript\\8.54"}, 1},
      {{"GPL Ghostscript\\8.100", "GPL Ghostscript\\8.99"}, 0},
      // Minor 5 is the key 8.5; a registered folder without the program is passed over.
      {{"GPL Ghostscript\\8.71!", "AFPL Ghostscript\\8.5"}, 1},
      {{"GPL Ghostscript\\9.05", "GPL Ghostscript\\8.00", "GPL Ghostscript\\8.05",
        "GPL Ghostscript\\7.07"},
       -1}};
  for (const auto& [keys, found] : cases)
    EXPECT_EQ(found < 0 ? "" : ProgramOf(keys[found]), Find(Register(keys))) << keys[0];
}

TEST_F(RegistrySearch, TheFolderSettingComesFirstThenTheInstallationsThenThePath) {
  std::string installed = Register({"GPL Ghostscript\\8.54"});
  std::string own = root_ / "own";
  fs::create_directories(root_ / "empty");
  fs::create_directories(own);
  PutScript(own + "/gs", "exit 0");
  EXPECT_EQ(own + "/gs", Find(installed + GhostscriptFolderSection(own + "//")));
  // A folder without the program still searches on.
  EXPECT_EQ(ProgramOf("GPL Ghostscript\\8.54"),
            Find(installed + GhostscriptFolderSection(root_ / "empty")));
  EXPECT_EQ("", Find(""));
  path_.Put("gs", "exit 0");
  EXPECT_EQ(path_ / "gs", Find(""));
  EXPECT_EQ(ProgramOf("GPL Ghostscript\\8.54"), Find(installed));
}

// The version is kept in the session's folder until the program file changes; the dialect of
// each program is kept for as long as the process runs.
TEST(GhostscriptVersion, IsAskedAgainOnlyOnceTheProgramHasChangedAndGivesTheDialect) {
  using enum GhostscriptDialect;
  Session session;
  TempFolder folder;
  auto install = [&](const std::string& program, const std::string& answer) {
    PutScript(program, "echo asked >> '" + program + ".asked'\n" + answer);
  };
  auto asked = [&](const std::string& program) { return GetFile(program + ".asked").size() / 6; };
  std::string program = folder / "gs";
  install(program, "echo 9.05");
  EXPECT_EQ("9.05", GhostscriptVersion(program));
  EXPECT_EQ("9.05", GhostscriptVersion(program));
  EXPECT_EQ(1u, asked(program));
  install(program, "echo 10.00.0");
  EXPECT_EQ("10.00.0", GhostscriptVersion(program));
  EXPECT_EQ(2u, asked(program));
  // A program that gives no answer is asked each time.
  install(program, "exit 1");
  EXPECT_EQ("", GhostscriptVersion(program));
  EXPECT_EQ("", GhostscriptVersion(program));
  EXPECT_EQ(4u, asked(program));
  EXPECT_EQ("", GhostscriptVersion(folder / "missing"));

  const std::pair<const char*, GhostscriptDialect> cases[] = {
      {"8.54", Legacy}, {"9.05", Modern}, {"10.00.0", Modern}, {"", Legacy}, {"GPL", Legacy}};
  int number = 0;
  for (const auto& [answer, dialect] : cases) {
    program = folder / ("gs" + std::to_string(++number));
    install(program, "echo '" + std::string(answer) + "'");
    EXPECT_EQ(dialect, GetGhostscriptDialect(program)) << answer;
    EXPECT_EQ(dialect, GetGhostscriptDialect(program)) << answer;
    EXPECT_EQ(1u, asked(program)) << answer;
  }
  install(folder / "failing", "echo 10.0; exit 1");
  EXPECT_EQ(Legacy, GetGhostscriptDialect(folder / "failing"));
  EXPECT_EQ(Legacy, GetGhostscriptDialect(""));
}

void WriteMainParams(Dictionary& settings, const std::string& file) {
  WriteGhostscriptParams(file, "/tmp/q/s1_patched.ps", "/tmp/q/s1_printer.pdf",
                         "/tmp/q/s1_header.ps", settings);
}

// Each file is compared byte for byte with the golden file of its run and dialect.
TEST(ParameterFiles, AreTheGoldenOnesOfEachRunAndNeverWrittenThroughALink) {
  TempFolder folder;
  TestRegistry registry;
  SettingValues secured = {"target=Prepress", "ownerpassword=owner", "userpassword=user",
                           "keylength=128", "permissions=61636"};
  SettingValues merged = secured;
  merged.push_back("mergefile=/tmp/q/other.pdf");
  const SettingValues printer = {"target=Printer", "ownerpassword=owner"};
  const std::tuple<std::string, SettingValues, std::string> cases[] = {
      {"8.54", {}, "main_legacy"},
      {"8.54", secured, "main_legacy_target_encryption"},
      {"10.00.0", {}, "main_modern"},
      {"10.00.0", secured, "main_modern_target_encryption"},
      // A merge file, set even where none exists, keeps the encryption lines out.
      {"10.00.0", {"mergefile=/no/such.pdf", "ownerpassword=o"}, "main_modern"},
      {"10.00.0", merged, "main_modern_target"},
      // A user password alone encrypts nothing.
      {"10.00.0", {"userpassword=user"}, "main_modern"},
      {"8.54", {}, "eps_legacy"},
      {"10.00.0", {}, "eps_modern"},
      // The merge keeps the preset as stored.
      {"8.54", printer, "merge_legacy"},
      {"10.00.0", printer, "merge_modern"}};
  std::string file = folder / "s1_params.gs";
  for (const auto& [version, values, golden] : cases) {
    // The dialect is asked once per program, so each version has a folder of its own.
    fs::create_directories(folder / version);
    PutStandInGhostscript(folder / version + "/gs", version, "exit 0");
    ScopedVariable path("PATH", folder / version);
    DictionaryPtr settings = SettingsWith(values);
    if (golden.starts_with("eps"))
      WriteEpsParams(*settings, file, "/tmp/q/letterhead.pdf", "/tmp/q/s1_si_full_1.eps");
    else if (golden.starts_with("merge"))
      EXPECT_TRUE(WriteMergeParams(*settings, file, {"/tmp/q/s1_printer.pdf", "/tmp/q/other.pdf"},
                                   "/tmp/q/s1_merge.pdf"));
    else
      WriteMainParams(*settings, file);
    EXPECT_EQ(Golden(golden + ".gs"), GetFile(file)) << golden;
  }

  // The encryption values go in bare for version 8, only those set; later versions take them
  // whole in quotes, a final backslash before a continued line.
  EXPECT_EQ("-sOwnerPassword#owner\r\n-dEncryptionR#3\r\n",
            EncryptionParams(*SettingsWith({"ownerpassword=owner"}), GhostscriptDialect::Legacy));
  EXPECT_EQ("-sOwnerPassword#two words\r\n-sUserPassword#\"q\"\r\n-dEncryptionR#3\r\n",
            EncryptionParams(*SettingsWith({"ownerpassword=two words", "userpassword=\"q\""}),
                             GhostscriptDialect::Legacy));
  EXPECT_EQ("-sOwnerPassword=\"a \\\"b\\\\\r\n\"\r\n-dEncryptionR#3\r\n",
            EncryptionParams(*SettingsWith({"ownerpassword=a \"b\\"}), GhostscriptDialect::Modern));

  // The passwords are for the user alone.
  WriteMainParams(*SettingsWith(secured), file);
  EXPECT_EQ(fs::perms::owner_read | fs::perms::owner_write, fs::status(file).permissions());
  PutFile(folder / "elsewhere.txt", "untouched");
  fs::remove(file);
  fs::create_symlink(folder / "elsewhere.txt", file);
  EXPECT_NE("", FailureOf([&] { WriteMainParams(*SettingsWith(secured), file); }));
  EXPECT_EQ("untouched", GetFile(folder / "elsewhere.txt"));
}

// Ghostscript stand-ins that record how they were run, in place of the real one. The result
// they are to make is "result.pdf" in the temporary folder.
class RunWithStandIn : public RealGhostscriptTest {
 protected:
  void PutGhostscript(const std::string& body) {
    PutStandInGhostscript(path_ / "gs", "10.00.0", body);
  }
  std::string Run(const std::string& paramFile, const SettingValues& settings = {},
                  const std::vector<std::string>& outsidePdfs = {}) {
    return FailureOf(
        [&] { RunGhostscript(*SettingsWith(settings), paramFile, result_, outsidePdfs); });
  }

  StandInPath path_;
  std::string paramFile_ = folder_ + "/s1_params.gs";
  std::string result_ = folder_ + "/result.pdf";
  // What the stand-ins write for a PDF that Ghostscript finished.
  std::string writeResult_ =
      "printf '%%PDF-1.4\\n1 0 obj\\n<<>>\\nendobj\\ntrailer\\n<<>>\\n"
      "startxref\\n9\\n%%%%EOF\\n' > '" +
      result_ + "'\n";
};

// The output file is named for the parameter file, its ".gs" ending replaced; only the debug
// marker keeps it.
TEST_F(RunWithStandIn, RunsOnTheParameterFileInTheProgramsFolderAndLogsTheWarningsOfASuccess) {
  PutGhostscript("printf '%s\\n' \"$@\" > '" + (path_ / "args") + "'\npwd -P > '" +
                 (path_ / "cwd") + "'\n" + writeResult_ + "echo '   **** Warning: repaired'");
  EXPECT_EQ("", Run(paramFile_));
  EXPECT_EQ("@" + paramFile_ + "\n", GetFile(path_ / "args"));
  EXPECT_EQ(fs::canonical(fs::path(path_ / "gs").parent_path()).string() + "\n",
            GetFile(path_ / "cwd"));
  EXPECT_FALSE(fs::exists(folder_ + "/s1_params.out"));
  EXPECT_TRUE(fs::exists(result_));
  EXPECT_TRUE(Contains(Log(), ": Ghostscript output:\r\n   **** Warning: repaired\n\r\n"));

  std::string odd = folder_ + "/a.gs b=1 %d.gs";
  fs::create_directories(odd);
  PutFile(ProgramFolder() + "/debug.txt", "");
  EXPECT_EQ("", Run(odd + "/s1.gs_params.gs"));
  EXPECT_EQ("   **** Warning: repaired\n", GetFile(odd + "/s1.gs_params.out"));
}

// Each way a run fails removes what it made, keeps Ghostscript's words in the log and raises
// 1007 with them: an exit code, an error that Ghostscript ends with 0 (a full disk), a result
// cut short, and an input that wants its password.
TEST_F(RunWithStandIn, EveryFailureRaises1007WithGhostscriptsWordsAndRemovesTheResult) {
  const std::string incomplete = "printf '%%PDF-1.4\\n1 0 obj\\n<<' > '" + result_ + "'\n";
  // Of the PDFs from outside only the one that is encrypted is named.
  std::string open = folder_ + "/open.pdf";
  std::string locked = folder_ + "/locked.pdf";
  MakePdf(PostScriptJob({"Letterhead"}), open);
  CaptureOutput("/usr/bin/qpdf", {"--encrypt", "user", "owner", "256", "--", open, locked});
  const std::tuple<std::string, std::string, std::string> cases[] = {
      {writeResult_ + "echo 'Error: /undefined in foo' >&2\nexit 3", "Error: /undefined in foo\n",
       ""},
      {writeResult_ + "echo 'GPL Ghostscript 10.00.0: ERROR: ioerror (-12) on closing pdfwrite "
                      "device.'",
       "GPL Ghostscript 10.00.0: ERROR: ioerror (-12) on closing pdfwrite device.\n", ""},
      {incomplete, "", "The file '" + result_ + "' that Ghostscript wrote is incomplete.\r\n\r\n"},
      {"exit 0", "", ""},
      {writeResult_ + "echo '   **** This file requires a password for access.'\necho '   **** "
                      "Error: Couldn'\\''t initialise file.'",
       "   **** This file requires a password for access.\n   **** Error: Couldn't initialise "
       "file.\n",
       "The PDF file '" + locked +
           "' is protected by a password. Ghostscript cannot read "
           "it.\r\n\r\n"}};
  for (const auto& [body, output, explanation] : cases) {
    PutGhostscript(body);
    EXPECT_EQ("1007: An error occured while running Ghostscript\r\n\r\n" + explanation + output,
              Run(paramFile_, {}, {open, locked}))
        << body;
    EXPECT_FALSE(fs::exists(result_)) << body;
    EXPECT_TRUE(Contains(Log(), "Ghostscript output:\r\n" + output + "\r\n")) << body;
    EXPECT_EQ(output, GetFile(folder_ + "/s1_params.out")) << body;
  }
  EXPECT_TRUE(Contains(Log(), "Ghostscript returned exit code 3\r\n"));
}

// The stand-in starts a helper of its own, as Ghostscript's children would be, and waits.
TEST_F(RunWithStandIn, ATimeOutRaises1008AndEndsGhostscriptWithWhatItStarted) {
  std::string pidFile = path_ / "pids";
  PutGhostscript(writeResult_ + "/bin/sleep 30 &\necho $$ $! > '" + pidFile + "'\nwait");
  EXPECT_EQ("1008: Ghostscript timed out", Run(paramFile_, {"ghostscripttimeout=1"}));
  EXPECT_FALSE(fs::exists(result_));
  std::istringstream pids(GetFile(pidFile));
  for (int pid = 0; pids >> pid;) {
    bool gone = Eventually([&] { return kill(pid, 0) != 0; });
    EXPECT_TRUE(gone) << pid;
    if (!gone) kill(pid, SIGKILL);
  }
}

// Background, main run with its header and merge of one job, in a folder whose name holds
// every shell metacharacter. The working folder is a link's folder, so anything the command
// interpreter ran would land there.
TEST_F(RealGhostscriptTest, EveryRunMakesItsPdfInAHostileFolderAndRunsNothingElse) {
  TempFolder programFolder;
  fs::create_symlink("/usr/bin/gs", programFolder / "gs");
  TestRegistry registry(GhostscriptFolderSection(programFolder.Path()));
  std::string folder = folder_ + "/a b \"q\" $(touch made1) `touch made2` \\x \xC3\xBC # = %d.gs";
  fs::create_directories(folder);
  std::string other = folder + "/other \"1\".pdf";
  MakePdf(PostScriptJob({"Other"}), other);
  settings_->Set("superimpose", other + "<1");
  settings_->Set("target", "prepress");  // the merge run takes it as written
  std::string base = folder + "/s1";
  CreateBackgroundEps(*settings_, base + "_si_#.eps", base + "_si_full_#.eps",
                      base + "_si_param_#.gs");
  std::string job = PostScriptJob({"Hostile", "Second"});
  // The header runs first: its document information reaches the PDF.
  std::string pdf =
      RunMainJob(*settings_, folder, job, "%!PS\n[ /Title (From the header) /DOCINFO pdfmark\n");
  EXPECT_EQ("From the header", PdfInfo(pdf, "Title"));
  EXPECT_EQ("1.6", PdfInfo(pdf, "PDF version"));
  WriteMergeParams(*settings_, base + "_me_param.gs", {pdf, other}, base + "_merge.pdf");
  RunGhostscript(*settings_, base + "_me_param.gs", base + "_merge.pdf");

  EXPECT_EQ("3", PdfInfo(base + "_merge.pdf", "Pages"));
  std::string text = PdfText(base + "_merge.pdf");
  EXPECT_LT(text.find("Hostile"), text.find("Second"));
  EXPECT_LT(text.find("Other"), text.find("Second")) << "the background shows on page 1";
  EXPECT_LT(text.find("Second"), text.rfind("Other"));
  EXPECT_EQ("", Log());
  for (const char* made : {"made1", "made2"}) {
    EXPECT_FALSE(fs::exists(programFolder / made));
    EXPECT_FALSE(fs::exists(folder_ + "/" + made));
    EXPECT_FALSE(fs::exists(made));
  }
}

// Passwords keep every character: blanks, a tab, "=", quotes, "%", non-ASCII text and a final
// backslash among them.
TEST_F(RealGhostscriptTest, EncryptionGivesThePasswordsKeyLengthAndPermissionsAsSet) {
  const std::tuple<std::string, std::string, const char*> cases[] = {
      {"owner", "user", "128"},
      {"owner", "", "40"},
      {"o w=n \"q\" %d \\", "\xC3\xBC\tu \\\"x\\", "128"}};
  for (const auto& [ownerPassword, userPassword, bits] : cases) {
    DictionaryPtr settings =
        SettingsWith({"ownerpassword=" + ownerPassword, "userpassword=" + userPassword,
                      "keylength=" + std::string(bits), "permissions=61636"});
    std::string pdf = RunMainJob(*settings, folder_, PostScriptJob({"Secret"}));
    std::string report =
        CaptureOutput("qpdf", {"--show-encryption", "--password=" + ownerPassword, pdf});
    for (const std::string& line : std::vector<std::string>{
             "R = 3\n", "P = 61636\n", "User password = " + userPassword + "\n",
             "Supplied password is owner password\n"})
      EXPECT_TRUE(Contains(report, line)) << line << report;
    std::string json =
        CaptureOutput("qpdf", {"--json", "--json-key=encrypt", "--password=" + ownerPassword, pdf});
    EXPECT_TRUE(Contains(json, "\"bits\": " + std::string(bits) + ",")) << json;
  }
}

// The golden files give the order of the inputs. A merge file that is no PDF fails and is
// left alone.
TEST_F(RealGhostscriptTest, MergePutsThePagesInTheOrderGivenAndFailsOnAFileThatIsNoPdf) {
  std::string printed = folder_ + "/s1_printer.pdf";
  std::string other = folder_ + "/other.pdf";
  MakePdf(PostScriptJob({"PrintedOne", "PrintedTwo"}), printed);
  MakePdf(PostScriptJob({"MergedOne"}), other);
  settings_->Set("target", "printer");
  auto merge = [&](const std::string& first, const std::string& second) {
    WriteMergeParams(*settings_, folder_ + "/s1_me_param.gs", {first, second}, folder_ + "/m.pdf");
    RunGhostscript(*settings_, folder_ + "/s1_me_param.gs", folder_ + "/m.pdf");
    return PdfText(folder_ + "/m.pdf");
  };
  std::string text = merge(printed, other);
  EXPECT_EQ("3", PdfInfo(folder_ + "/m.pdf", "Pages"));
  EXPECT_LT(text.find("PrintedOne"), text.find("PrintedTwo"));
  EXPECT_LT(text.find("PrintedTwo"), text.find("MergedOne"));
  EXPECT_EQ("", Log());

  PutFile(other, "this is no PDF at all\n");
  std::string failure = FailureOf([&] { merge(other, printed); });
  EXPECT_EQ(0u, failure.find("1007: An error occured while running Ghostscript\r\n\r\n"));
  EXPECT_TRUE(Contains(Log(), "Ghostscript returned exit code 1\r\n"));
  EXPECT_EQ("this is no PDF at all\n", GetFile(other));
}

}  // namespace
}  // namespace gui::test
