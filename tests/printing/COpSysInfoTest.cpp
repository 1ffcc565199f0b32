#include "printing/COpSysInfo.h"

#include <gtest/gtest.h>
#include <sys/utsname.h>

#include <cstdlib>

namespace gui {
namespace {

constexpr std::int32_t kWin9x = 1;
constexpr std::int32_t kNT = 2;

platform::OsVersionRecord Os(std::int32_t id, std::int32_t major, std::int32_t minor,
                             std::int32_t build = 0) {
  platform::OsVersionRecord os;
  std::tie(os.platformId, os.majorVersion, os.minorVersion, os.buildNumber) =
      std::tie(id, major, minor, build);
  return os;
}

TEST(COpSysInfo, DecodesTheWindowsRecordAndDescribesThisSystemByItsKernel) {
  COpSysInfo xp(Os(kNT, 5, 1, 2600));
  EXPECT_TRUE(xp.IsWinNT() && xp.IsWin2K() && xp.IsWinXP());
  EXPECT_FALSE(xp.IsWin2003() || xp.IsWinVista() || xp.IsWin9x());
  EXPECT_EQ("Windows XP v5.1, Build 2600", xp.Version());
  COpSysInfo seven(Os(kNT, 6, 1));
  EXPECT_TRUE(seven.IsWin2003() && seven.IsWinXP());
  EXPECT_EQ("Windows Vista", seven.Platform());
  COpSysInfo w2000(Os(kNT, 5, 0));
  EXPECT_FALSE(w2000.IsWinXP());
  EXPECT_EQ("Windows 2000", w2000.Platform());
  // Windows 95 and its successors keep the build in the low word.
  COpSysInfo me(Os(kWin9x, 4, 90, (4 << 24) | (90 << 16) | 3000));
  EXPECT_TRUE(me.IsWinME() && me.IsWin9x());
  EXPECT_EQ("Windows Me v4.90, Build 3000", me.Version());
  COpSysInfo negativeLowWord(Os(kWin9x, 4, 0, 0x0400C000));
  EXPECT_EQ(-16384, negativeLowWord.BuildNumber());
  EXPECT_EQ("Windows 95", negativeLowWord.Platform());
  // Product type, suites and service pack.
  platform::OsVersionRecord record = Os(kNT, 5, 2);
  record.suiteMask = 2 | 16 | 128;
  record.csdVersion = std::string("  Service Pack 3 \0stale", 23);
  const char* names[] = {"Unknown", "NT Workstation", "Domain Controller", "NT Server", ""};
  for (int type = 0; type <= 4; ++type) {
    record.productType = type;
    EXPECT_EQ(names[type], COpSysInfo(record).ProductTypeName());
  }
  COpSysInfo info(record);
  EXPECT_TRUE(info.HasAS() && info.HasTS() && info.HasDC());
  EXPECT_FALSE(info.HasSBS() || info.HasBO() || info.HasSBSr());
  EXPECT_EQ("Service Pack 3", info.CSDVersion());
  // This system is described by its kernel.
  utsname kernel{};
  ASSERT_EQ(0, uname(&kernel));
  COpSysInfo live;
  EXPECT_FALSE(live.IsWinNT() || live.IsWin9x());
  EXPECT_EQ(std::atoi(kernel.release), live.MajorVersion());
  EXPECT_EQ(std::string(kernel.sysname) + " v" + std::to_string(live.MajorVersion()) + ".",
            live.Version().substr(0, live.Version().find('.') + 1));
}

}  // namespace
}  // namespace gui
