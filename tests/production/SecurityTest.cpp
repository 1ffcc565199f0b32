#include <gtest/gtest.h>

#include <filesystem>

#include "tests/production/GhostscriptTesting.h"
#include "tests/production/ProgramFolder.h"

namespace gui {
namespace {

namespace fs = std::filesystem;
using test::GetFile;
using test::PutFile;

using SecurityTest = test::ProgramFolderTest;

// The title reaches the PostScript header and the file name, the document name the progress
// text; neither may leave its string in either language.
TEST_F(SecurityTest, HostileTitleAndDocumentNameStayText) {
  const std::string title = "a) (b $(touch pwned) ;touch pwned2; `touch pwned3` \\ 'q' \"r\"";
  std::string job = test::PostScriptJob({"Page"});
  PutFile(root_ / "job.ps", job.insert(job.find("%%Pages"), "%%Title: " + title + "\n"));
  Settings("output=" + Out("<title>.pdf") + "\r\n");
  test::ProgramResult result =
      Print(root_ / "job.ps", "hostile", {}, "$(touch pwned4);`touch pwned5`.odt");
  ASSERT_EQ(result.exitCode, 0) << result.errorOutput;
  std::vector<fs::path> made(fs::directory_iterator(Out("")), fs::directory_iterator());
  ASSERT_EQ(made.size(), 1u);
  EXPECT_EQ(test::PdfInfo(made[0], "Title"), title);
  for (const std::string& folder : {root_.Path(), Out(""), root_ / "program", Temp(),
                                    fs::current_path().string(), std::string("/usr/bin")}) {
    for (const char* name : {"pwned", "pwned2", "pwned3", "pwned4", "pwned5"})
      EXPECT_FALSE(fs::exists(folder + "/" + name)) << folder << "/" << name;
  }
}

// A link planted in the temporary folder under each name the job writes there in turn.
TEST_F(SecurityTest, PlantedLinksAreNeverWrittenThrough) {
  fs::create_directories(Temp());
  fs::permissions(root_ / "runtime/QUENTARIS", fs::perms::owner_all);
  fs::permissions(Temp(), fs::perms::owner_all);
  std::string target = root_ / "target";
  Settings("output=" + Out("x.pdf") + "\r\n");
  for (const char* suffix :
       {"_patched.ps", "_header.ps", "_params.gs", "_params.out", "_printer.pdf", "_printer.log"}) {
    PutFile(target, "untouched");
    fs::create_symlink(target, Temp(std::string("planted") + suffix));
    test::ProgramResult result = Print(GUI_SOURCE_DIR "/samples/report.ps", "planted");
    EXPECT_EQ(GetFile(target), "untouched") << suffix << "\n" << result.errorOutput;
    fs::remove(Temp(std::string("planted") + suffix));
  }
}

}  // namespace
}  // namespace gui
