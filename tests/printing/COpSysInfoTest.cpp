#include "printing/COpSysInfo.h"

#include <gtest/gtest.h>
#include <sys/utsname.h>

#include <cstdlib>

namespace gui {
namespace {

constexpr std::int32_t kWin9x = 1;
constexpr std::int32_t kNT = 2;

COpSysInfo Windows(std::int32_t platformId, std::int32_t major, std::int32_t minor,
                   std::int32_t build = 0) {
  platform::OsVersionRecord record;
  record.platformId = platformId;
  record.majorVersion = major;
  record.minorVersion = minor;
  record.buildNumber = build;
  return COpSysInfo(record);
}

TEST(COpSysInfo, NamesXPAndItsPredecessorsAndSuccessors) {
  COpSysInfo xp = Windows(kNT, 5, 1, 2600);
  EXPECT_TRUE(xp.IsWinNT() && xp.IsWin2K() && xp.IsWinXP());
  EXPECT_FALSE(xp.IsWin2003() || xp.IsWinVista() || xp.IsWin9x());
  EXPECT_EQ("Windows XP", xp.Platform());
  EXPECT_EQ("Windows XP v5.1, Build 2600", xp.Version());

  COpSysInfo seven = Windows(kNT, 6, 1, 7601);
  EXPECT_TRUE(seven.IsWinVista() && seven.IsWin2003() && seven.IsWinXP());
  EXPECT_EQ("Windows Vista", seven.Platform());

  COpSysInfo w2000 = Windows(kNT, 5, 0, 2195);
  EXPECT_TRUE(w2000.IsWin2K());
  EXPECT_FALSE(w2000.IsWinXP());
  EXPECT_EQ("Windows 2000", w2000.Platform());

  EXPECT_EQ("Windows Server 2003", Windows(kNT, 5, 2).Platform());
  EXPECT_EQ("Windows NT", Windows(kNT, 4, 0).Platform());
}

TEST(COpSysInfo, ReadsTheWindows95FamilyFromTheLowWordOfTheBuild) {
  COpSysInfo me = Windows(kWin9x, 4, 90, (4 << 24) | (90 << 16) | 3000);
  EXPECT_TRUE(me.IsWinME() && me.IsWin98() && me.IsWin95() && me.IsWin9x());
  EXPECT_FALSE(me.IsWinNT());
  EXPECT_EQ(3000, me.BuildNumber());
  EXPECT_EQ("Windows Me", me.Platform());

  COpSysInfo w98 = Windows(kWin9x, 4, 10, (4 << 24) | (10 << 16) | 2222);
  EXPECT_EQ("Windows 98", w98.Platform());
  EXPECT_FALSE(w98.IsWinME());

  COpSysInfo highWord = Windows(kWin9x, 4, 0, 0x0400C000);
  EXPECT_EQ(-16384, highWord.BuildNumber());
  EXPECT_FALSE(highWord.IsWinME());
  EXPECT_EQ("Windows 95", highWord.Platform());
}

TEST(COpSysInfo, SetsNoFlagForAnotherPlatform) {
  platform::OsVersionRecord record;
  record.platformId = 3;
  record.majorVersion = 6;
  COpSysInfo other(record);
  EXPECT_FALSE(other.IsWinNT() || other.IsWin2K() || other.IsWinXP() || other.IsWin2003() ||
               other.IsWinVista() || other.IsWin9x());
  EXPECT_EQ("", other.Platform());
  EXPECT_EQ(" v6.0, Build 0", other.Version());
}

TEST(COpSysInfo, DecodesProductTypeSuitesAndServicePack) {
  platform::OsVersionRecord record;
  record.platformId = kNT;
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
  record.csdVersion = std::string("\0Service Pack 1", 15);
  EXPECT_EQ("", COpSysInfo(record).CSDVersion());
}

TEST(COpSysInfo, DescribesThisSystemByItsKernel) {
  utsname names{};
  ASSERT_EQ(0, uname(&names));
  COpSysInfo live;
  EXPECT_FALSE(live.IsWinNT() || live.IsWin9x() || live.IsWinXP());
  EXPECT_EQ(names.sysname, live.Platform());
  EXPECT_EQ(std::atoi(names.release), live.MajorVersion());
  EXPECT_EQ(0, live.PlatformID());
  EXPECT_EQ(std::string(names.sysname) + " v" + std::to_string(live.MajorVersion()) + "." +
                std::to_string(live.MinorVersion()) + ", Build " +
                std::to_string(live.BuildNumber()),
            live.Version());
}

}  // namespace
}  // namespace gui
