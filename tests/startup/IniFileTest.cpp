#include "startup/IniFile.h"

#include <gtest/gtest.h>

#include "tests/support/TempFolder.h"

namespace gui {
namespace {

using test::GetFile;
using test::PutFile;
using test::TempFolder;

DictionaryPtr Section(const IniFile& ini, const std::string& name) {
  return AsDictionary(ini.Data()->Item(name));
}

TEST(IniFile, ReadsSectionsAndTrimmedEntries) {
  TempFolder folder;
  PutFile(folder / "a.ini",
          "[ PDF Printer ]\r\n  Output = C:\\out.pdf \r\nkey==value\r\n; note=kept\r\n"
          "x=\r\nnoequals\r\n\r\n[Other]\r\nOutput=second\r\n");
  IniFile ini;
  ASSERT_TRUE(ini.Load(folder / "a.ini"));
  EXPECT_EQ(ini.Data()->Keys(), (std::vector<std::string>{"PDF Printer", "Other"}));
  DictionaryPtr section = Section(ini, "PDF Printer");
  EXPECT_EQ(section->Keys(), (std::vector<std::string>{"Output", "key", "; note"}));
  EXPECT_EQ(section->Text("Output"), "C:\\out.pdf");
  EXPECT_EQ(section->Text("key"), "=value");
  EXPECT_EQ(Section(ini, "Other")->Text("Output"), "second");
}

TEST(IniFile, ShortLinesAndEmptyNamesAreIgnored) {
  TempFolder folder;
  PutFile(folder / "a.ini", "[]\r\na=\r\n[S]\r\nab=\r\n =x\r\n   =value\r\n");
  IniFile ini;
  ASSERT_TRUE(ini.Load(folder / "a.ini"));
  EXPECT_EQ(ini.Data()->Keys(), (std::vector<std::string>{"S"}));
  EXPECT_EQ(Section(ini, "S")->Keys(), (std::vector<std::string>{"ab"}));
}

TEST(IniFile, LoneCrAndLfEndLinesToo) {
  TempFolder folder;
  PutFile(folder / "a.ini", "[S]\nfirst=1\rsecond=2\r\nthird=3");
  IniFile ini;
  ASSERT_TRUE(ini.Load(folder / "a.ini"));
  EXPECT_EQ(Section(ini, "S")->Keys(), (std::vector<std::string>{"first", "second", "third"}));
}

TEST(IniFile, DuplicatesMakeTheWholeFileUnreadable) {
  TempFolder folder;
  PutFile(folder / "entry.ini", "[S]\r\nname=1\r\nname=2\r\n");
  PutFile(folder / "section.ini", "[S]\r\n[S]\r\n");
  PutFile(folder / "apart.ini", "[S]\r\nname=1\r\n[T]\r\nname=2\r\n");
  IniFile ini;
  for (const char* name : {"entry.ini", "section.ini"}) {
    EXPECT_FALSE(ini.Load(folder / name)) << name;
    EXPECT_EQ(ini.LastError(), 457);
    EXPECT_EQ(ini.LastErrorMessage(),
              "This key is already associated with an element of this collection");
  }
  EXPECT_TRUE(ini.Load(folder / "apart.ini"));
  EXPECT_EQ(ini.LastError(), 0);
  EXPECT_EQ(ini.LastErrorMessage(), "");
}

TEST(IniFile, MissingOrUnopenableFileFailsWithTheSystemError) {
  TempFolder folder;
  IniFile ini;
  EXPECT_FALSE(ini.Load(folder / "missing.ini"));
  EXPECT_EQ(ini.LastError(), 53);
  EXPECT_EQ(ini.LastErrorMessage(), "File not found");
  EXPECT_FALSE(ini.Load(folder / "no/such.ini"));
  EXPECT_EQ(ini.LastError(), 76);
  EXPECT_FALSE(ini.Load(folder.Path()));
  EXPECT_EQ(ini.LastError(), 75);
  EXPECT_FALSE(ini.Save(folder / "no/such.ini"));
  EXPECT_EQ(ini.LastError(), 76);
}

TEST(IniFile, SaveWritesCrLfTwoSpaceIndentAndEntriesBeforeSections) {
  TempFolder folder;
  IniFile ini;
  DictionaryPtr data = NewDictionary();
  DictionaryPtr section = NewDictionary();
  data->Add("loose", std::string("top"));
  data->Add("PDF Printer", section);
  section->Add("output", std::string("<desktop>\\<title>.pdf"));
  section->Add("empty", std::string());
  data->Add("after", std::string("v"));
  ini.SetData(data);
  ASSERT_TRUE(ini.Save(folder / "out.ini"));
  EXPECT_EQ(GetFile(folder / "out.ini"),
            "  loose=top\r\n[PDF Printer]\r\n  output=<desktop>\\<title>.pdf\r\n  empty=\r\n"
            "  after=v\r\n");
}

TEST(IniFile, SaveReplacesLongerContentAndRoundTrips) {
  TempFolder folder;
  PutFile(folder / "a.ini", std::string(5000, 'x'));
  IniFile ini;
  DictionaryPtr data = NewDictionary();
  DictionaryPtr section = NewDictionary();
  data->Add("S", section);
  section->Add("Name", std::string("a = b"));
  ini.SetData(data);
  ASSERT_TRUE(ini.Save(folder / "a.ini"));
  IniFile again;
  ASSERT_TRUE(again.Load(folder / "a.ini"));
  EXPECT_EQ(Section(again, "S")->Text("Name"), "a = b");
  EXPECT_EQ(GetFile(folder / "a.ini").size(), std::string("[S]\r\n  Name=a = b\r\n").size());
}

TEST(IniFile, BinaryGarbageLoadsAsTheGrammarSays) {
  TempFolder folder;
  std::string garbage;
  for (int i = 0; i < 4096; ++i)
    garbage += static_cast<char>((i * 131) % 256);
  PutFile(folder / "g.ini", "[S]\r\n" + garbage);
  IniFile ini;
  if (!ini.Load(folder / "g.ini")) {
    EXPECT_EQ(ini.LastError(), 457);
  }
}

TEST(IniFile, ResetClearsDataAndError) {
  TempFolder folder;
  IniFile ini;
  EXPECT_FALSE(ini.Load(folder / "missing.ini"));
  EXPECT_NE(ini.Data(), nullptr);
  ini.Reset();
  EXPECT_EQ(ini.Data(), nullptr);
  EXPECT_EQ(ini.LastError(), 0);
}

}  // namespace
}  // namespace gui
