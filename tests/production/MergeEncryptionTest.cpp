#include <gtest/gtest.h>

#include <filesystem>

#include "production/modEncryption.h"
#include "production/modGhostScript.h"
#include "production/modMerge.h"
#include "services/Error.h"
#include "tests/production/GhostscriptTesting.h"

namespace gui {
namespace {

using Values = test::SettingValues;

TEST(EncryptionParams, FollowTheOwnerPasswordAndWriteEveryValueBare) {
  const struct {
    Values settings;
    bool enabled;
    const char* lines;
  } cases[] = {
      {{}, false, ""},
      {{{"userpassword", "user"}}, false, ""},
      {{{"ownerpassword", "owner"}}, true, "-sOwnerPassword#owner\r\n-dEncryptionR#3\r\n"},
      {{{"ownerpassword", "o"},
        {"userpassword", "u"},
        {"keylength", "40"},
        {"permissions", "61632"}},
       true,
       "-sOwnerPassword#o\r\n-sUserPassword#u\r\n-dEncryptionR#3\r\n-dKeyLength#40\r\n"
       "-dPermissions#61632\r\n"},
      {{{"ownerpassword", "two words"}, {"userpassword", "\"q\""}},
       true,
       "-sOwnerPassword#two words\r\n-sUserPassword#\"q\"\r\n-dEncryptionR#3\r\n"},
  };
  for (const auto& c : cases) {
    DictionaryPtr settings = test::SettingsWith(c.settings);
    EXPECT_EQ(c.enabled, EncryptionEnabled(*settings)) << c.lines;
    if (c.enabled) {
      EXPECT_EQ(c.lines, EncryptionParams(*settings));
    }
  }
}

TEST(MergeEnabled, WhenAMergeFileIsSetWhetherOrNotItExists) {
  EXPECT_FALSE(MergeEnabled(*test::SettingsWith({})));
  EXPECT_FALSE(MergeEnabled(*test::SettingsWith({{"mergefile", ""}})));
  EXPECT_TRUE(MergeEnabled(*test::SettingsWith({{"mergefile", "/no/such/file.pdf"}})));
}

TEST(WriteMergeParams, KeepsThePresetAsStoredInBothDialects) {
  test::TempFolder folder;
  test::TestRegistry registry;
  for (const char* version : {"8.54", "10.00.0"}) {
    std::string programFolder = folder / version;
    std::filesystem::create_directories(programFolder);
    test::PutStandInGhostscript(programFolder + "/gs", version, "exit 0");
    test::ScopedVariable path("PATH", programFolder);
    std::string file = folder / "s1_me_param.gs";
    DictionaryPtr settings =
        test::SettingsWith({{"target", "Printer"}, {"ownerpassword", "owner"}});
    EXPECT_TRUE(WriteMergeParams(*settings, file, "/tmp/q/s1_printer.pdf", "/tmp/q/other.pdf",
                                 "/tmp/q/s1_merge.pdf"));
    std::string golden = std::string("merge_") + (version[0] == '8' ? "legacy" : "modern") + ".gs";
    EXPECT_EQ(test::Golden(golden), test::GetFile(file)) << golden;
  }
}

using RealEncryption = test::RealGhostscriptTest;

TEST_F(RealEncryption, GivesThePasswordsAndPermissionsAsIntended) {
  const struct {
    Values settings;
    const char* userPassword;
    const char* bits;
  } cases[] = {
      {{{"ownerpassword", "owner"},
        {"userpassword", "user"},
        {"keylength", "128"},
        {"permissions", "61636"}},
       "user",
       "128"},
      {{{"ownerpassword", "owner"}, {"keylength", "40"}, {"permissions", "61636"}}, "", "40"},
  };
  for (const auto& c : cases) {
    DictionaryPtr settings = test::SettingsWith(c.settings);
    std::string pdf = test::RunMainJob(*settings, folder_, test::PostScriptJob({"Secret"}));
    std::string report =
        test::CaptureOutput("qpdf", {"--show-encryption", "--password=owner", pdf});
    for (std::string line : {std::string("R = 3\n"), std::string("P = 61636\n"),
                             "User password = " + std::string(c.userPassword) + "\n",
                             std::string("Supplied password is owner password\n"),
                             std::string("print low resolution: allowed\n"),
                             std::string("print high resolution: not allowed\n"),
                             std::string("modify anything: not allowed\n"),
                             std::string("extract for any purpose: not allowed\n")})
      EXPECT_NE(std::string::npos, report.find(line)) << line << report;
    std::string json =
        test::CaptureOutput("qpdf", {"--json", "--json-key=encrypt", "--password=owner", pdf});
    EXPECT_NE(std::string::npos, json.find("\"bits\": " + std::string(c.bits) + ",")) << json;
  }
}

class RealMerge : public test::RealGhostscriptTest {
 protected:
  std::string Merge(const std::string& first, const std::string& second) {
    std::string paramFile = folder_ + "/s1_me_param.gs";
    std::string output = folder_ + "/s1_merge.pdf";
    WriteMergeParams(*settings_, paramFile, first, second, output);
    RunGhostscript(*settings_, paramFile);
    return output;
  }
};

TEST_F(RealMerge, PutsThePagesInTheOrderGiven) {
  std::string printed = folder_ + "/s1_printer.pdf";
  std::string other = folder_ + "/other.pdf";
  test::MakePdf(test::PostScriptJob({"PrintedOne", "PrintedTwo"}), printed);
  test::MakePdf(test::PostScriptJob({"MergedOne"}), other);
  settings_->Set("target", "printer");

  std::string merged = Merge(printed, other);
  EXPECT_EQ("3", test::PdfInfo(merged, "Pages"));
  std::string text = test::PdfText(merged);
  EXPECT_LT(text.find("PrintedOne"), text.find("PrintedTwo"));
  EXPECT_LT(text.find("PrintedTwo"), text.find("MergedOne"));

  text = test::PdfText(Merge(other, printed));
  EXPECT_LT(text.find("MergedOne"), text.find("PrintedOne"));
  EXPECT_LT(text.find("PrintedOne"), text.find("PrintedTwo"));
  EXPECT_EQ("", Log());
}

TEST_F(RealMerge, AMergeFileThatIsNoPdfRaises1007AndIsLeftAlone) {
  std::string printed = folder_ + "/s1_printer.pdf";
  std::string other = folder_ + "/other.pdf";
  test::MakePdf(test::PostScriptJob({"Printed"}), printed);
  test::PutFile(other, "this is no PDF at all\n");
  try {
    Merge(other, printed);
    ADD_FAILURE() << "no error";
  } catch (const Error& failure) {
    EXPECT_EQ(err::kGhostscriptFailed, failure.Number());
    EXPECT_EQ(0u, failure.Description().find("An error occured while running Ghostscript\r\n\r\n"));
  }
  EXPECT_NE(std::string::npos, Log().find("Ghostscript returned exit code 1\r\n"));
  EXPECT_EQ("this is no PDF at all\n", test::GetFile(other));
}

}  // namespace
}  // namespace gui
