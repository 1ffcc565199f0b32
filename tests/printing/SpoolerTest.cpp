#include "printing/Spooler.h"

#include <gtest/gtest.h>

#include "printing/cups/CupsSpooler.h"
#include "tests/support/FakeSpooler.h"

namespace gui {
namespace {

TEST(Spooler, TheSystemSpoolerLoadsFromItsLibraryOnFirstUseOnly) {
  test::ScopedFakeSpooler restore;
  LoadSystemSpoolerOnFirstUse();
  EXPECT_NE(dynamic_cast<CupsSpooler*>(&TheSpooler()), nullptr);
  // A spooler installed before the first use wins.
  LoadSystemSpoolerOnFirstUse();
  test::FakeSpooler::Install();
  EXPECT_NE(dynamic_cast<test::FakeSpooler*>(&TheSpooler()), nullptr);
}

}  // namespace
}  // namespace gui
