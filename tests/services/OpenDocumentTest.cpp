#include <gtest/gtest.h>

#include "services/modShell.h"
#include "tests/support/StandIn.h"

namespace gui {
namespace {

TEST(OpenDocument, AnEmptyPathAsksNobody) {
  test::StandInPath path;
  path.Put("xdg-open", "printf called > \"" + (path / "called") + "\"");
  EXPECT_EQ(std::nullopt, OpenDocument(""));
  EXPECT_FALSE(std::filesystem::exists(path / "called"));
}

TEST(OpenDocument, IsTrueWhenTheShellOpensThePath) {
  test::StandInPath path;
  path.Put("xdg-open", "exit 0");
  EXPECT_EQ(std::optional<bool>(true), OpenDocument("/tmp/some file.pdf"));
  path.Put("xdg-open", "exit 3");
  EXPECT_EQ(std::optional<bool>(false), OpenDocument("/tmp/some file.pdf"));
}

}  // namespace
}  // namespace gui
