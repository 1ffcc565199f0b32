#include "startup/SessionFiles.h"

#include <gtest/gtest.h>

namespace gui {
namespace {

TEST(SessionFiles, ASessionClaimsItsOwnNamesOnly) {
  for (const char* name :
       {"1.ps", "1.pdf", "1_printer.log", "1_printer.pdf", "1_params.gs", "1_params.out",
        "1_me_param.out", "1_si_12.eps", "1_si_full_3.eps", "1_si_param_3.out", "1_si_2.ps"}) {
    EXPECT_TRUE(IsSessionFile(name, "1")) << name;
  }
  // Sessions whose ids begin with 1, and names no session makes.
  for (const char* name : {"10_printer.log", "10.ps", "1-2_printer.log", "1-2.pdf", "1_2_header.ps",
                           "1_2.ps", "1_si_x.eps", "1_si_.eps", "1_header.ps.bak", "1.", "1.p-s",
                           "1", "ghostscript.version", ".quentaris-8c2a.part"}) {
    EXPECT_FALSE(IsSessionFile(name, "1")) << name;
  }
}

// A run without a session id is the Options dialog or a message: its own log and nothing else.
TEST(SessionFiles, WithoutASessionIdOnlyTheNamesOfThatRun) {
  EXPECT_TRUE(IsSessionFile("_printer.log", ""));
  for (const char* name : {"1_printer.log", "1.ps", ".ps", "ghostscript.version"})
    EXPECT_FALSE(IsSessionFile(name, "")) << name;
}

}  // namespace
}  // namespace gui
