#include "platform/Registry.h"

#include <gtest/gtest.h>

#include "tests/support/ScopedVariable.h"
#include "tests/support/TempFolder.h"

namespace gui::platform {
namespace {

using Kind = RegistryValue::Kind;

const char kKey[] = R"(SOFTWARE\Q)";

// The registry read from a file of the test's own.
class RegistryTest : public ::testing::Test {
 protected:
  void Write(const std::string& bytes) { test::PutFile(folder_ / "registry.reg", bytes); }

  test::TempFolder folder_;
  test::ScopedVariable variable_{"QUENTARIS_REGISTRY", folder_ / "registry.reg"};
};

RegistryValue Value(const std::string& name, const std::string& key = kKey,
                    RegistryRoot root = RegistryRoot::LocalMachine) {
  return ReadRegistryValue(root, key, name, false);
}

// A value as the program sees it: its text, "#" and its number, "x" and its bytes, or "-".
std::string Shown(const RegistryValue& value) {
  std::string bytes = "x";
  for (int byte : value.bytes)
    bytes += " " + std::to_string(byte);
  if (value.kind == Kind::Number) return "#" + std::to_string(value.number);
  return value.kind == Kind::Text ? value.text : value.kind == Kind::Bytes ? bytes : "-";
}

TEST_F(RegistryTest, ReadsTextNumbersAndBytesInEveryFormRegeditWrites) {
  Write(R"(Windows Registry Editor Version 5.00

[HKEY_LOCAL_MACHINE\SOFTWARE\Q]
@="default"
"path"="C:\\Temp\\\"quoted\""
"ten"=dword:0000000a
"negative"=dword:ffffffff
"blob"=hex:01,02,ff,\
  10,20
"typedText"=hex(1):41,00,fc,00,00,00
"typedNumber"=hex(4):05,00,00,00
"expand"=hex(2):25,00,00,00
"multi"=hex(7):41,00,00,00,00,00

[HKEY_CURRENT_USER\SOFTWARE\Q]
"path"="per user"
)");
  std::string shown;
  for (const char* name : {"", "path", "ten", "negative", "blob", "typedText", "typedNumber",
                           "expand", "multi", "missing"})
    shown += Shown(Value(name)) + "|";
  EXPECT_EQ(shown, "default|C:\\Temp\\\"quoted\"|#10|#-1|x 1 2 255 16 32|A\xC3\xBC|#5|-|-|-|");
  EXPECT_EQ("-", Shown(Value("path", R"(SOFTWARE\Q\Sub)")));
  EXPECT_EQ("per user", Shown(Value("path", kKey, RegistryRoot::CurrentUser)));
  EXPECT_EQ("-", Shown(Value("path", kKey, RegistryRoot::Users)));
  EXPECT_EQ("#10", Shown(Value("TEN", R"(software\q\)")));
  EXPECT_EQ("#10", Shown(ReadRegistryValue(RegistryRoot::LocalMachine, kKey, "ten", true)));
}

TEST_F(RegistryTest, IsEmptyWithoutAReadableFileAndReadsUtf16WithCrLfAsRegeditWritesIt) {
  EXPECT_EQ("-", Shown(Value("good")));  // no file yet
  Write("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Q]\n\"good\"=\"x\"\n");
  EXPECT_EQ("-", Shown(Value("good")));  // no header
  std::u16string text =
      u"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Q]\r\n"
      u"\"name\"=\"Gr\u00FC\u00DFe \U0001F600\"\r\n\"blob\"=hex:01,\\\r\n  02\r\n";
  std::string bytes = "\xFF\xFE";
  for (char16_t unit : text)
    bytes += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
  Write(bytes);
  EXPECT_EQ(
      "Gr\xC3\xBC\xC3\x9F"
      "e \xF0\x9F\x98\x80",
      Shown(Value("name")));
  EXPECT_EQ("x 1 2", Shown(Value("blob")));
  test::ScopedVariable folder("QUENTARIS_REGISTRY", folder_.Path());
  EXPECT_EQ("-", Shown(Value("name")));  // a folder, not a file
}

TEST_F(RegistryTest, PassesOverLinesItCannotRead) {
  using namespace std::string_literals;
  Write(
      "\xEF\xBB\xBFWindows Registry Editor Version 5.00\n"
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Q]\n"
      "\"good\"=\"kept\"\n"
      "\"good\"=\"unterminated\n"
      "\"good\"=dword:xyz\n"
      "\"good\"=dword:123456789\n"
      "\"good\"=hex:1,zz\n"
      "\"good\"=hex(\n"
      "\"good\"\n"
      "\"good\"=\"text\" trailing\n"
      "=\"nameless\"\n"
      "\x01\xFF garbage \0 with nul\n"s
      "\"deleted\"=\"x\"\n"
      "\"deleted\"=-\n"
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Q\n"
      "\"unknownKey\"=dword:00000001\n"
      "[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Q]\n"
      "\"deletedKey\"=dword:00000001\n"
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Q]\n"
      "\"tail\"=hex:01,\\");
  EXPECT_EQ("kept|-|-|-|x 1", Shown(Value("good")) + "|" + Shown(Value("deleted")) + "|" +
                                  Shown(Value("unknownKey")) + "|" + Shown(Value("deletedKey")) +
                                  "|" + Shown(Value("tail")));
}

TEST(Registry, KnowsWhichKeysExistAndSeesTheFileChange) {
  test::TempFolder folder;
  test::ScopedVariable variable("QUENTARIS_REGISTRY", folder / "registry.reg");
  EXPECT_FALSE(RegistryKeyExists(RegistryRoot::LocalMachine, "SOFTWARE", false));
  test::PutFile(folder / "registry.reg",
                "Windows Registry Editor Version 5.00\n"
                "[HKEY_LOCAL_MACHINE\\SOFTWARE\\GPL Ghostscript\\8.54]\n"
                "[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Gone]\n");
  for (const char* key : {"SOFTWARE", "software\\gpl ghostscript",
                          "SOFTWARE\\GPL Ghostscript\\8.54\\", "SOFTWARE\\GPL Ghostscript\\8.54"})
    EXPECT_TRUE(RegistryKeyExists(RegistryRoot::LocalMachine, key, true)) << key;
  for (const char* key : {"SOFTWARE\\GPL", "SOFTWARE\\Gone", "SOFTWARE\\GPL Ghostscript\\8.5"})
    EXPECT_FALSE(RegistryKeyExists(RegistryRoot::LocalMachine, key, false)) << key;
  EXPECT_FALSE(RegistryKeyExists(RegistryRoot::CurrentUser, "SOFTWARE", false));
  // A rewritten file is read again, however soon.
  test::PutFile(
      folder / "registry.reg",
      "Windows Registry Editor Version 5.00\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Q]\n\"v\"=\"2\"\n");
  EXPECT_EQ("2", Shown(Value("v")));
  EXPECT_FALSE(RegistryKeyExists(RegistryRoot::LocalMachine, "SOFTWARE\\GPL Ghostscript", false));
}

}  // namespace
}  // namespace gui::platform
