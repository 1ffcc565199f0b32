#include "platform/Registry.h"

#include <gtest/gtest.h>

#include "tests/support/ScopedVariable.h"
#include "tests/support/TempFolder.h"

namespace gui::platform {
namespace {

using Kind = RegistryValue::Kind;
using Bytes = std::vector<unsigned char>;

const char kKey[] = R"(SOFTWARE\Q)";

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

RegistryValue Value(const std::string& name, const std::string& key = kKey,
                    RegistryRoot root = RegistryRoot::LocalMachine) {
  return ReadRegistryValue(root, key, name, false);
}

std::string Text(const RegistryValue& value) {
  return value.kind == Kind::Text ? value.text : "<not text>";
}

TEST(Registry, ReadsTextNumbersAndBytesInEveryFormRegeditWrites) {
  RegistryFile file(R"(Windows Registry Editor Version 5.00

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
  EXPECT_EQ("default", Text(Value("")));
  EXPECT_EQ("C:\\Temp\\\"quoted\"", Text(Value("path")));
  EXPECT_EQ(10, Value("ten").number);
  EXPECT_EQ(-1, Value("negative").number);
  EXPECT_EQ(Kind::Bytes, Value("blob").kind);
  EXPECT_EQ((Bytes{1, 2, 255, 16, 32}), Value("blob").bytes);
  EXPECT_EQ("A\xC3\xBC", Text(Value("typedText")));
  EXPECT_EQ(5, Value("typedNumber").number);
  EXPECT_EQ(Kind::Null, Value("expand").kind);
  EXPECT_EQ(Kind::Null, Value("multi").kind);
  EXPECT_EQ(Kind::Null, Value("missing").kind);
  EXPECT_EQ(Kind::Null, Value("path", R"(SOFTWARE\Q\Sub)").kind);
  EXPECT_EQ("per user", Text(Value("path", kKey, RegistryRoot::CurrentUser)));
  EXPECT_EQ(Kind::Null, Value("path", kKey, RegistryRoot::Users).kind);
  EXPECT_EQ(10, Value("TEN", R"(software\q\)").number);
  EXPECT_EQ(10, ReadRegistryValue(RegistryRoot::LocalMachine, kKey, "ten", true).number);
}

TEST(Registry, ReadsAUtf16FileWithCrLfAsRegeditWritesIt) {
  std::u16string text =
      u"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Q]\r\n"
      u"\"name\"=\"Gr\u00FC\u00DFe \U0001F600\"\r\n\"blob\"=hex:01,\\\r\n  02\r\n";
  std::string bytes = "\xFF\xFE";
  for (char16_t unit : text)
    bytes += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
  RegistryFile file(bytes);
  EXPECT_EQ(
      "Gr\xC3\xBC\xC3\x9F"
      "e \xF0\x9F\x98\x80",
      Text(Value("name")));
  EXPECT_EQ((Bytes{1, 2}), Value("blob").bytes);
}

TEST(Registry, PassesOverLinesItCannotRead) {
  using namespace std::string_literals;
  RegistryFile file(
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
  EXPECT_EQ("kept", Text(Value("good")));
  EXPECT_EQ(Kind::Null, Value("deleted").kind);
  EXPECT_EQ(Kind::Null, Value("unknownKey").kind);
  EXPECT_EQ(Kind::Null, Value("deletedKey").kind);
  EXPECT_EQ((Bytes{1}), Value("tail").bytes);
}

TEST(Registry, IsEmptyWithoutAReadableExportFile) {
  test::TempFolder folder;
  for (const std::string& path : {folder / "missing.reg", folder.Path()}) {
    test::ScopedVariable variable("QUENTARIS_REGISTRY", path);
    EXPECT_EQ(Kind::Null, Value("good").kind) << path;
  }
  RegistryFile withoutHeader("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Q]\n\"good\"=\"x\"\n");
  EXPECT_EQ(Kind::Null, Value("good").kind);
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
  EXPECT_EQ("2", Text(Value("v")));
  EXPECT_FALSE(RegistryKeyExists(RegistryRoot::LocalMachine, "SOFTWARE\\GPL Ghostscript", false));
}

}  // namespace
}  // namespace gui::platform
