#include "startup/IniFile.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "services/Error.h"
#include "services/modObjects.h"
#include "tests/support/Raised.h"
#include "tests/support/TempFolder.h"

namespace gui {
namespace {

using test::GetFile;
using test::PutFile;

using test::Raised;

TEST(Dictionary, KeepsOrderAddsMissingKeysOnReadAndRefusesPresentOnes) {
  DictionaryPtr map = NewDictionary();
  for (const char* key : {"b", "a", "c", "B"})
    map->Add(key, std::string(key));
  map->Set("b", std::string("changed"));
  map->Set("d", std::string("4"));
  map->Remove("a");
  map->Add("a", std::string("again"));
  EXPECT_EQ(map->Text("missing"), "");
  EXPECT_EQ(map->Keys(), (std::vector<std::string>{"b", "c", "B", "d", "a", "missing"}));
  EXPECT_EQ(map->Text("b") + map->Text("c") + map->Text("d") + map->Text("a"), "changedc4again");
  EXPECT_FALSE(map->Exists("C"));
  Error failure = Raised([&] { map->Add("c", std::string("again")); });
  EXPECT_EQ(failure.Number(), 457);
  EXPECT_EQ(failure.Description(),
            "This key is already associated with an element of this collection");
  EXPECT_EQ(map->Text("c"), "c");
  map->Set("section", NewDictionary());
  EXPECT_EQ(map->Text("section"), "") << "a map has no text";
}

TEST(CreateObjectChecked, NamesTheComponentAndItsFailureInDecimalAndHex) {
  Error unknown = Raised([] { CreateObjectChecked("No.Such.Component"); });
  EXPECT_EQ(unknown.Number(), 429);
  EXPECT_EQ(unknown.Description(), "Error creating object: No.Such.Component");
  RegisterComponent("Test.Failing", []() -> std::any { throw Error(70, "Permission denied"); });
  Error failing = Raised([] { CreateObjectChecked("Test.Failing"); });
  EXPECT_EQ(failing.Number(), 70);
  EXPECT_EQ(failing.Description(),
            "Error creating object: Test.Failing. Error 70 (0x46): Permission denied");
}

// Loaded data on one line: " name=value" for each entry, "[name]" before each section's entries.
std::string Dump(const Dictionary& data) {
  std::string out;
  for (const auto& [name, value] : data) {
    if (DictionaryPtr section = AsDictionary(value)) {
      out += "[" + name + "]" + Dump(*section);
    } else {
      out += " " + name + "=" + std::get<std::string>(value);
    }
  }
  return out;
}

class IniFileTest : public ::testing::Test {
 protected:
  // The data of a file holding the bytes, or "error <number>".
  std::string Read(const std::string& bytes) {
    PutFile(folder_ / "a.ini", bytes);
    if (!ini_.Load(folder_ / "a.ini")) return "error " + std::to_string(ini_.LastError());
    return Dump(*ini_.Data());
  }

  test::TempFolder folder_;
  IniFile ini_;
};

TEST_F(IniFileTest, ReadsTrimmedSectionsAndEntries) {
  struct Case {
    const char* bytes;
    const char* data;
  } cases[] = {
      {"[ PDF Printer ]\r\n  Output = C:\\out.pdf \r\nkey==value\r\n; note=kept\r\nx=\r\n"
       "noequals\r\n\r\n[Other]\r\nOutput=second\r\n",
       "[PDF Printer] Output=C:\\out.pdf key==value ; note=kept[Other] Output=second"},
      // Lines shorter than three characters and entries without a name are dropped.
      {"[]\r\na=\r\n[S]\r\nab=\r\n =x\r\n   =value\r\n", "[S] ab="},
      {"[S]\nfirst=1\rsecond=2\r\nthird=3", "[S] first=1 second=2 third=3"},
      {"[S]\r\nname=1\r\n[T]\r\nname=2\r\n", "[S] name=1[T] name=2"},
      {"[S]\r\nname=1\r\nname=2\r\n", "error 457"},
      {"[S]\r\n[S]\r\n", "error 457"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Read(c.bytes), c.data) << c.bytes;
  EXPECT_EQ(ini_.LastErrorMessage(),
            "This key is already associated with an element of this collection");
  Read("[S]\r\n");
  EXPECT_EQ(ini_.LastError(), 0);
  EXPECT_EQ(ini_.LastErrorMessage(), "");
  std::string garbage = "[S]\r\n";
  for (int i = 0; i < 4096; ++i)
    garbage += static_cast<char>((i * 131) % 256);
  std::string data = Read(garbage);
  EXPECT_TRUE(data.rfind("[S]", 0) == 0 || data == "error 457") << "binary garbage reads as lines";
}

// Files as other editors write them: marked as UTF-8 or UTF-16, with LF or CR line ends.
TEST_F(IniFileTest, ByteOrderMarksAndAnyLineEndsReadAsTheText) {
  const std::string utf8 = "\xEF\xBB\xBF";
  std::string utf16 = "\xFF\xFE";  // "ä" is U+00E4, the low byte first
  for (char c : std::string("[S]\r\npass=p\xE4ss\r\n"))
    utf16 += {c, '\0'};
  struct Case {
    std::string bytes;
    const char* data;
  } cases[] = {
      {utf8 + "[PDF Printer]\r\nOutput=/x.pdf\r\n", "[PDF Printer] Output=/x.pdf"},
      {utf8 + "a=1\n[S]\nb=2\n", " a=1[S] b=2"},
      {"[S]\rb=2\r\rc=3\r", "[S] b=2 c=3"},
      {utf16, "[S] pass=p\xC3\xA4ss"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Read(c.bytes), c.data) << c.bytes;
}

// As on Windows, a section is one whatever the letter case of its name; entries keep theirs.
TEST_F(IniFileTest, SectionNamesAreOneInAnyLetterCase) {
  EXPECT_EQ(Read("pdf printer=loose\r\n[pdf PRINTER]\r\nOutput=/x.pdf\r\n[Other]\r\na=1\r\n"),
            " pdf printer=loose[pdf PRINTER] Output=/x.pdf[Other] a=1");
  ASSERT_NE(ini_.Section("PDF Printer"), nullptr);
  EXPECT_EQ(ini_.Section("PDF Printer")->Text("Output"), "/x.pdf");
  EXPECT_EQ(ini_.Section("OTHER")->Text("a"), "1");
  EXPECT_EQ(ini_.Section("PDF"), nullptr);
  EXPECT_EQ(Read("[PDF Printer]\r\na=1\r\n[pdf printer]\r\nb=2\r\n"), "error 457");
  EXPECT_EQ(ini_.LastErrorMessage(),
            "This key is already associated with an element of this collection");
  ini_.Reset();
  EXPECT_EQ(ini_.Section("PDF Printer"), nullptr);
}

TEST_F(IniFileTest, MissingOrUnopenableFileFailsWithTheSystemError) {
  EXPECT_FALSE(ini_.Load(folder_ / "missing.ini"));
  EXPECT_EQ(ini_.LastError(), 53);
  EXPECT_EQ(ini_.LastErrorMessage(), "File not found");
  EXPECT_FALSE(ini_.Load(folder_ / "no/such.ini"));
  EXPECT_EQ(ini_.LastError(), 76);
  EXPECT_FALSE(ini_.Load(folder_.Path()));
  EXPECT_EQ(ini_.LastError(), 75);
  EXPECT_FALSE(ini_.Save(folder_ / "no/such.ini"));
  EXPECT_EQ(ini_.LastError(), 76);
  EXPECT_NE(ini_.Data(), nullptr);
  ini_.Reset();
  EXPECT_EQ(ini_.Data(), nullptr);
  EXPECT_EQ(ini_.LastError(), 0);
}

TEST_F(IniFileTest, SaveReplacesTheFileWithCrLfLinesIndentedAndEntriesBeforeSections) {
  PutFile(folder_ / "a.ini", std::string(5000, 'x'));
  DictionaryPtr data = NewDictionary();
  DictionaryPtr section = NewDictionary();
  data->Add("loose", std::string("top"));
  data->Add("PDF Printer", section);
  section->Add("output", std::string("<desktop>\\<title>.pdf"));
  section->Add("empty", std::string());
  section->Add("Name", std::string("a = b"));
  data->Add("after", std::string("v"));
  ini_.SetData(data);
  ASSERT_TRUE(ini_.Save(folder_ / "a.ini"));
  EXPECT_EQ(GetFile(folder_ / "a.ini"),
            "  loose=top\r\n[PDF Printer]\r\n  output=<desktop>\\<title>.pdf\r\n  empty=\r\n"
            "  Name=a = b\r\n  after=v\r\n");
  // Settings hold passwords: the file is the user's alone.
  EXPECT_EQ(std::filesystem::status(folder_ / "a.ini").permissions(),
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  // Read back, the entry written after the section falls into it.
  EXPECT_EQ(Read(GetFile(folder_ / "a.ini")),
            " loose=top[PDF Printer] output=<desktop>\\<title>.pdf empty= Name=a = b after=v");
}

}  // namespace
}  // namespace gui
