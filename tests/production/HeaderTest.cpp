#include <gtest/gtest.h>

#include <string>

#include "production/modPostScript.h"
#include "startup/JobContext.h"
#include "tests/production/GhostscriptTesting.h"
#include "tests/support/Session.h"
#include "tests/support/TempFolder.h"

namespace gui::test {
namespace {

DictionaryPtr Settings(std::initializer_list<std::pair<const char*, const char*>> values) {
  DictionaryPtr settings = NewDictionary();
  for (const auto& [key, value] : values)
    settings->Set(key, std::string(value));
  return settings;
}

std::string Header(Dictionary& settings) {
  TempFolder folder;
  EXPECT_TRUE(WritePostScriptHeader(folder / "h.ps", settings));
  return GetFile(folder / "h.ps");
}

TEST(HeaderTest, EveryDocumentEntryThumbnailsZoomAndLatin1Codes) {
  DictionaryPtr settings = Settings({{"usethumbs", "YES"},
                                     {"zoom", "150"},
                                     {"creationdate", "D:20240102030405"},
                                     {"moddate", "D:20240203040506"},
                                     {"creator", "Writer (x) [y] {z} \\ back"},
                                     {"title", "Café – Ärger (draft"},
                                     {"subject", "日本 subject ©"},
                                     {"keywords", "one, two; € ™"},
                                     {"author", "Jürgen Weiß"},
                                     {"watermarktext", ""}});
  EXPECT_EQ(Header(*settings), Golden("header_full.ps"));
}

TEST(HeaderTest, WatermarkProgramFollowsTheFontsWithItsMacrosExpandedAsWritten) {
  Session session;
  Job().documentName = "a/b:c";  // file-name cleaning would turn it into a_b_c
  DictionaryPtr settings =
      Settings({{"usethumbs", "no"},
                {"zoom", "75.5"},
                {"title", "Report"},
                {"author", ""},
                {"watermarktext", "CONFIDENTIAL\r\nDoc <docname> (v2) \\ é\rx"},
                {"watermarksize", "8"},
                {"watermarktransparency", "50.5"},
                {"watermarkrotation", "-C2C"}});
  EXPECT_EQ(Header(*settings), Golden("header_watermark.ps"));
}

TEST(HeaderTest, ZoomIsTheFitViewUnlessTheTextStartsWithANumberOtherThanZero) {
  const std::pair<const char*, const char*> cases[] = {{"0", "[/Fit]"},
                                                       {"", "[/Fit]"},
                                                       {"abc", "[/Fit]"},
                                                       {"75", "[/XYZ null null 0.75]"},
                                                       {"100", "[/XYZ null null 1]"},
                                                       {" 33 percent", "[/XYZ null null 0.33]"},
                                                       {"-50", "[/XYZ null null -0.5]"},
                                                       {"12.5", "[/XYZ null null 0.125]"},
                                                       {"0.001", "[/XYZ null null 0.00001]"}};
  for (const auto& [zoom, view] : cases) {
    DictionaryPtr settings = Settings({{"zoom", zoom}});
    EXPECT_NE(Header(*settings).find("\r\n  /Page 1 /View " + std::string(view) + "\r\n"),
              std::string::npos)
        << zoom;
  }
}

TEST(HeaderTest, EscapedTextIsWindows1252WithOctalCodesAndQuestionMarksForTheRest) {
  EXPECT_EQ(EscapePSText("a\\b(c)[d]{e}"), "a\\\\b\\(c\\)\\[d\\]\\{e\\}");
  EXPECT_EQ(EscapePSText("é"), "\\351");
  EXPECT_EQ(EscapePSText("€‚ÿ\u00A0"), "\\200\\202\\377\\240");
  EXPECT_EQ(EscapePSText("日本語 🙂"), "??? ?");
  // A byte that is no UTF-8 is taken as Windows-1252 already; one undefined there is "?".
  EXPECT_EQ(EscapePSText("caf\xE9 \x81 \xC0\xAF"), "caf\\351 ? \\300\\257");
  EXPECT_EQ(EscapePSText(""), "");
}

TEST(HeaderTest, AFileThatCannotBeWrittenAnswersFalse) {
  TempFolder folder;
  DictionaryPtr settings = NewDictionary();
  EXPECT_FALSE(WritePostScriptHeader(folder / "missing/h.ps", *settings));
  EXPECT_FALSE(WritePostScriptHeader(folder.Path(), *settings));
}

}  // namespace
}  // namespace gui::test
