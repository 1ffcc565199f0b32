#include "platform/Registry.h"

#include <gtest/gtest.h>

#include "tests/support/ScopedVariable.h"
#include "tests/support/TempFolder.h"

namespace gui::platform {
namespace {

using Kind = RegistryValue::Kind;

const char kSettings[] = R"(SOFTWARE\QUENTARIS\PDF Printer\Settings)";

const char kExport[] = R"(Windows Registry Editor Version 5.00

[HKEY_LOCAL_MACHINE\SOFTWARE\QUENTARIS\PDF Printer\Settings]
@="default text"
"USERTEMP"="C:\\Temp\\\"quoted\""
"timeout"=dword:0000000a
"negative"=dword:ffffffff
"blob"=hex:01,02,ff,\
  10,20
"expand"=hex(2):25,00,54,00,00,00
"multi"=hex(7):41,00,00,00,00,00
"typedText"=hex(1):41,00,fc,00,00,00
"typedBytes"=hex(3):07,08
"typedNumber"=hex(4):05,00,00,00

[HKEY_CURRENT_USER\SOFTWARE\QUENTARIS\PDF Printer\Settings]
"USERTEMP"="per user"
)";

// Points the registry at a file holding the given bytes for the life of the object.
class RegistryFile {
 public:
  explicit RegistryFile(const std::string& bytes)
      : variable_("QUENTARIS_REGISTRY", folder_ / "registry.reg") {
    test::PutFile(folder_ / "registry.reg", bytes);
  }

 private:
  test::TempFolder folder_;
  test::ScopedVariable variable_;
};

RegistryValue Setting(const std::string& name, const std::string& key = kSettings) {
  return ReadRegistryValue(RegistryRoot::LocalMachine, key, name, false);
}

std::string Text(const RegistryValue& value) {
  return value.kind == Kind::Text ? value.text : "<not text>";
}

// The export as regedit writes it: UTF-16 little-endian with a byte-order mark, CR LF.
std::string AsRegeditWritesIt(const std::u16string& text) {
  std::string bytes = "\xFF\xFE";
  for (char16_t unit : text) {
    if (unit == u'\n') bytes += std::string("\r\0", 2);
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

TEST(Registry, ReadsTextNumbersAndBytes) {
  RegistryFile file(kExport);
  EXPECT_EQ("C:\\Temp\\\"quoted\"", Text(Setting("USERTEMP")));
  EXPECT_EQ("default text", Text(Setting("")));
  RegistryValue timeout = Setting("timeout");
  EXPECT_EQ(Kind::Number, timeout.kind);
  EXPECT_EQ(10, timeout.number);
  EXPECT_EQ(-1, Setting("negative").number);
  RegistryValue blob = Setting("blob");
  EXPECT_EQ(Kind::Bytes, blob.kind);
  EXPECT_EQ((std::vector<unsigned char>{1, 2, 255, 16, 32}), blob.bytes);
}

TEST(Registry, ReadsTheHexFormsOfTextBytesAndNumbersAndNoOtherType) {
  RegistryFile file(kExport);
  EXPECT_EQ("A\xC3\xBC", Text(Setting("typedText")));
  EXPECT_EQ((std::vector<unsigned char>{7, 8}), Setting("typedBytes").bytes);
  EXPECT_EQ(5, Setting("typedNumber").number);
  EXPECT_EQ(Kind::Null, Setting("expand").kind);
  EXPECT_EQ(Kind::Null, Setting("multi").kind);
}

TEST(Registry, GivesNullForAMissingKeyOrValue) {
  RegistryFile file(kExport);
  EXPECT_EQ(Kind::Null, Setting("missing").kind);
  EXPECT_EQ(Kind::Null, Setting("USERTEMP", R"(SOFTWARE\QUENTARIS)").kind);
  EXPECT_EQ(Kind::Null, Setting("USERTEMP", R"(SOFTWARE\QUENTARIS\PDF Printer\Settings\Sub)").kind);
  EXPECT_EQ(Kind::Null, ReadRegistryValue(RegistryRoot::Users, kSettings, "USERTEMP", false).kind);
}

TEST(Registry, KeepsTheRootsApartAndIgnoresCaseAndTheView) {
  RegistryFile file(kExport);
  EXPECT_EQ("per user",
            Text(ReadRegistryValue(RegistryRoot::CurrentUser, kSettings, "USERTEMP", false)));
  EXPECT_EQ(10, Setting("TimeOut", R"(software\quentaris\pdf printer\SETTINGS\)").number);
  EXPECT_EQ(10, ReadRegistryValue(RegistryRoot::LocalMachine, kSettings, "timeout", true).number);
}

TEST(Registry, ReadsAUtf16FileAsRegeditWritesIt) {
  RegistryFile file(AsRegeditWritesIt(
      u"Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Q]\n"
      u"\"name\"=\"Gr\u00FC\u00DFe \U0001F600\"\n\"blob\"=hex:01,\\\n  02\n"));
  EXPECT_EQ(
      "Gr\xC3\xBC\xC3\x9F"
      "e \xF0\x9F\x98\x80",
      Text(Setting("name", "SOFTWARE\\Q")));
  EXPECT_EQ((std::vector<unsigned char>{1, 2}), Setting("blob", "SOFTWARE\\Q").bytes);
}

TEST(Registry, PassesOverLinesItCannotRead) {
  using namespace std::string_literals;
  RegistryFile file(
      "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n"
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Q]\r\n"
      "\"good\"=\"kept\"\r\n"
      "\"good\"=\"unterminated\r\n"
      "\"good\"=dword:xyz\r\n"
      "\"good\"=dword:123456789\r\n"
      "\"good\"=hex:1,zz\r\n"
      "\"good\"=hex(\r\n"
      "\"good\"\r\n"
      "\"good\"=\"text\" trailing\r\n"
      "=\"nameless\"\r\n"
      "; a comment\r\n"
      "\x01\xFF garbage \0 with nul\r\n"s
      "\"deleted\"=\"x\"\r\n"
      "\"deleted\"=-\r\n"
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Q\r\n"
      "\"unknownKey\"=dword:00000001\r\n"
      "[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Q]\r\n"
      "\"deletedKey\"=dword:00000001\r\n"
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Q]\r\n"
      "\"tail\"=hex:01,\\");
  EXPECT_EQ("kept", Text(Setting("good", "SOFTWARE\\Q")));
  EXPECT_EQ(Kind::Null, Setting("deleted", "SOFTWARE\\Q").kind);
  EXPECT_EQ(Kind::Null, Setting("unknownKey", "SOFTWARE\\Q").kind);
  EXPECT_EQ(Kind::Null, Setting("deletedKey", "SOFTWARE\\Q").kind);
  EXPECT_EQ((std::vector<unsigned char>{1}), Setting("tail", "SOFTWARE\\Q").bytes);
}

TEST(Registry, IsEmptyWithoutAReadableExportFile) {
  test::TempFolder folder;
  {
    test::ScopedVariable variable("QUENTARIS_REGISTRY", folder / "missing.reg");
    EXPECT_EQ(Kind::Null, Setting("USERTEMP").kind);
  }
  {
    test::ScopedVariable variable("QUENTARIS_REGISTRY", folder.Path());
    EXPECT_EQ(Kind::Null, Setting("USERTEMP").kind);
  }
  RegistryFile withoutHeader(std::string(kExport).substr(std::string(kExport).find('\n')));
  EXPECT_EQ(Kind::Null, Setting("USERTEMP").kind);
}

}  // namespace
}  // namespace gui::platform
