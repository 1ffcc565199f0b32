#include "production/DocumentProperties.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/Identity.h"
#include "services/modDocumentInfo.h"
#include "services/modMacros.h"
#include "services/modSystem.h"
#include "services/modText.h"
#include "startup/JobContext.h"
#include "startup/modConfig.h"
#include "tests/production/GhostscriptTesting.h"
#include "tests/support/TestUser.h"

namespace gui::test {
namespace {

// Lines end at CR or CR LF; "%%Title:" twice, "%%title:", a "%%For:" line holding a lone LF
// and "%%Page: 0 0" after it, comments after the header's end.
const std::string kJob =
    "%!PS-Adobe-3.0\r\n%%Title: Old title\r\n%%title: lower case stays\r"
    "%%For: Old author\n%%Page: 0 0 joined by a lone LF\r\n%%Title:second\r\n%%Pages: 4\r\n"
    "%%EndComments\r\n%%Page: 1 1\r\n(page one) show\r\n%%Title: after the first page\r\n"
    "%%For: after the first page\r\n%%Page: 2 2\r(page two) show\n(same line) show\r\n\r\n"
    "%%Page:3 3\r\n(page three) show\r\n%%Page:\r\n%%PageTrailer\r\n%%EOF";

class DocumentPropertiesTest : public ::testing::Test {
 protected:
  // "title|author|creationdate" of a job.
  std::string Read(const std::string& job) {
    PutFile(job_, job);
    DictionaryPtr properties = ReadDocumentProperties(job_);
    return properties->Text("title") + "|" + properties->Text("author") + "|" +
           properties->Text("creationdate");
  }

  TempFolder folder_;
  std::string job_ = folder_ / "job.ps";
};

// Any case, any place in the header and the first 1000 lines, LF-joined pieces too; the last
// one wins.
TEST_F(DocumentPropertiesTest, DocumentPropertiesComeFromTheFirstThousandLines) {
  EXPECT_EQ(Read(kJob), "second|Old author|");
  EXPECT_EQ(Read("%!PS\n%%TITLE:  (Lf) \n%%creationDate: (D:2024)\n%%For:x"), "Lf|x|D:2024");
  std::string lines;
  for (int line = 1; line < 1000; ++line)
    lines += line % 2 ? "x\r\n" : "y\r";
  EXPECT_EQ(Read(lines + "%%Title: last\r%%For: beyond\r"), "last||");
  // A line end, or its CR LF, cut by the reader's block.
  const std::string marks = "\r\n%%Title: t\r\n%%For: a\r";
  for (std::size_t before = 0; before <= marks.size(); ++before)
    EXPECT_EQ(Read(std::string((1 << 16) - before, 'x') + marks), "t|a|") << before;
}

// What CUPS's filters and Windows drivers write: PostScript strings with octal escapes in UTF-8
// or Windows-1252, and unquoted text in either. The strings' escapes are PdfStringsTest's.
TEST_F(DocumentPropertiesTest, CommentsWrittenAsPostScriptStringsAreDecoded) {
  struct Case {
    std::string comment;
    std::string value;
  } cases[] = {
      {"%%Title: (Report \\(draft\\) \\303\\274)", "Report (draft) \u00fc"},
      {"%%Title: (Caf\\351 \\200 5 \\226 \\223q\\224)", "Caf\u00e9 \u20ac 5 \u2013 \u201cq\u201d"},
      {"%%Title: (outer (inner) end) ignored after", "outer (inner) end"},
      {"%%Title: ( padded )", "padded"},
      {"%%Title: <FEFF00DC0062006500720020D83DDE00>", "\u00dcber \U0001F600"},
      {"%%Title: <feff0041> more", "A"},
      {"%%Title: <draft>", "<draft>"},
      {"%%Title: Caf\xE9 \x80", "Caf\u00e9 \u20ac"},
      {"%%Title: Caf\xC3\xA9 \xE2\x82\xAC", "Caf\u00e9 \u20ac"},
      {"%%Title: J\\374rgen", "J\\374rgen"},
      {"%%tItLe: (report.odt)", "report"},
      {"%%Title: (Version 1.2)", "Version 1.2"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Read("%!PS-Adobe-3.0\n" + c.comment + "\n%%EndComments\n"), c.value + "||")
        << c.comment;
  }
  EXPECT_EQ(Read("%!PS\r\n%%For: (alice)\r\n%%CreationDate: (D:20240101\\051)\r\n"),
            "|alice|D:20240101)");
}

// A job after its header comments, with an EPS figure placed on its first page that carries
// comments of its own, as LibreOffice and dvips place one; its lines end as given.
std::string JobWithFigure(const std::vector<std::string>& header, const std::string& lineEnd) {
  std::string job;
  for (const std::string& line : header)
    job += line + "\n";
  job +=
      "%%BeginProlog\n/bd {bind def} bind def\n%%EndProlog\n%%Page: 1 1\n%%BeginPageSetup\nsave\n"
      "%%EndPageSetup\n/Helvetica findfont 12 scalefont setfont 72 720 moveto (Figure 1) show\n"
      "gsave 72 400 translate /showpage {} def\n%%BeginDocument: fig.eps\n"
      "%!PS-Adobe-3.0 EPSF-3.0\n%%Title: fig.eps\n%%Creator: Inkscape 1.2\n%%For: Figure Maker\n"
      "%%CreationDate: Tue Jan  1 00:00:00 2019\n%%BoundingBox: 0 0 100 100\n%%EndComments\n"
      "0 0 100 100 rectfill\n%%EOF\n%%EndDocument\ngrestore\nrestore showpage\n%%PageTrailer\n"
      "%%Trailer\n%%Pages: 1\n%%EOF\n";
  return ReplaceAll(job, "\n", lineEnd);
}

// Only the job's own header counts, whatever the line ends: the figure's comments describe the
// figure, also when the job has none of its own.
TEST_F(DocumentPropertiesTest, AnEmbeddedFiguresCommentsAreNotTheJobs) {
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"%!PS-Adobe-3.0", "%%BoundingBox: 0 0 595 842", "%%Creator: LibreOffice 7.4",
        "%%For: Ann Smith", "%%CreationDate: Mon Mar  4 10:00:00 2024", "%%Title: Quarterly report",
        "%%Pages: (atend)", "%%EndComments"},
       "Quarterly report|Ann Smith|Mon Mar  4 10:00:00 2024"},
      {{"%!PS-Adobe-3.0", "%%BoundingBox: 0 0 595 842", "%%Creator: LibreOffice 7.4",
        "%%For: Ann Smith", "%%Pages: (atend)", "%%EndComments"},
       "|Ann Smith|"},
      {{"%!PS-Adobe-2.0", "%%Creator: dvips(k) 2022.1 Copyright 2022 Radical Eye Software",
        "%%Title: paper.dvi", "%%CreationDate: Mon Mar  4 10:00:00 2024", "%%Pages: 1",
        "%%DocumentFonts: CMR10 CMBX12", "%%EndComments", "%DVIPSWebPage: (www.radicaleye.com)"},
       "paper.dvi||Mon Mar  4 10:00:00 2024"},
      {{"%!PS-Adobe-2.0", "%%Creator: dvips(k) 2022.1", "%%Pages: 1", "%%EndComments"}, "||"}};
  const std::pair<const char*, const char*> lineEnds[] = {
      {"\n", "LF"}, {"\r\n", "CR LF"}, {"\r", "CR"}};
  for (const auto& [lineEnd, name] : lineEnds) {
    for (const auto& [header, expected] : cases)
      EXPECT_EQ(Read(JobWithFigure(header, lineEnd)), expected) << name;
  }
}

// A job without "%%EndComments" is read to its 1000th line, past its figures, which may nest.
TEST_F(DocumentPropertiesTest, FiguresAreSkippedWhereverTheyAreAndHoweverDeep) {
  EXPECT_EQ(Read("%!PS\n%%For: Ann\n%%BeginDocument: a.eps\n%%Title: a\n"
                 "%%BeginDocument: b.eps\n%%Title: b\n%%EndComments\n%%EndDocument\n"
                 "%%For: a's author\n%%EndDocument\n%%Title: the job's\n%%EndComments\n"
                 "%%Title: after the header\n"),
            "the job's|Ann|");
  // An end fence without its start hides nothing.
  EXPECT_EQ(Read("%!PS\r%%EndDocument\r%%Title: kept\r%%BeginDocument\r%%Title: no\r"), "kept||");
}

TEST_F(DocumentPropertiesTest, PdfJobsAreReadByTheirContentWhateverTheirName) {
  std::string pdf = folder_ / "report.pdf";
  MakePdf("%!PS\n[/Title (report.odt) /Author (Ann) /DOCINFO pdfmark showpage\n", pdf);
  EXPECT_EQ(Read(GetFile(pdf)).substr(0, 15), "report|Ann|D:20");
  // Without information the map stays empty: fallbacks belong to the settings and macros.
  PutFile(job_, "%PDF-1.4\n1 0 obj << /Pages 2 0 R >> endobj\ntrailer << /Root 1 0 R >>\n");
  EXPECT_EQ(ReadDocumentProperties(job_)->Count(), 0u);
}

TEST(TitleWithoutDocumentExtensionTest, OnlyABareFileNameLosesItsExtension) {
  struct Case {
    const char* title;
    const char* expected;
  } cases[] = {
      {"report.odt", "report"},
      {"Q3 plan.docx", "Q3 plan"},
      {"notes.txt", "notes"},
      {"photo.PNG", "photo"},
      {"archive.2024.pdf", "archive.2024"},
      {"Version 1.2", "Version 1.2"},
      {"Microsoft Word - report.docx", "Microsoft Word - report.docx"},
      {"/home/ann/report.odt", "/home/ann/report.odt"},
      {"C:\\Docs\\report.doc", "C:\\Docs\\report.doc"},
      {"setup.exe", "setup.exe"},
      {".odt", ".odt"},
      {"report.", "report."},
      {"", ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(TitleWithoutDocumentExtension(c.title), c.expected) << c.title;
}

// The settings and the macros of a job whose document may lack a title or an author.
class FallbackTest : public ::testing::Test {
 protected:
  FallbackTest() {
    std::filesystem::create_directories(home_ + "/Desktop");
    ResetMacrosForTesting();
    Job().documentInfo = NewDictionary();
  }
  void Document(const std::string& title, const std::string& author, const std::string& name) {
    if (!title.empty()) Job().documentInfo->Set("title", title);
    if (!author.empty()) Job().documentInfo->Set("author", author);
    Job().documentName = name;
  }

  Session session_;
  std::string home_ = session_.Root() / "home";
  ScopedVariable homeVariable_{"HOME", home_};
  std::string user_ = AuthorOrFallback("");
};

TEST_F(FallbackTest, EmptyTitlesAndAuthorsFallBackToTheJobAndTheUser) {
  ASSERT_FALSE(user_.empty());
  struct Case {
    const char* title;  // the document's
    const char* author;
    const char* name;      // the job's
    const char* settings;  // name=value, separated by blanks
    std::string output;    // the file's name on the desktop
    std::string expected;  // title|author
  } cases[] = {
      {"", "", "report.odt", "", "report.pdf", "report|" + user_},
      {"", "", "(stdin)", "", "Untitled.pdf", "Untitled|" + user_},
      {"", "", "", "", "Untitled.pdf", "Untitled|" + user_},
      {"Doc", "Ann", "report.odt", "", "Doc.pdf", "Doc|Ann"},
      {"", "", "x.odt", "title=Mine author=ACME", "x.pdf", "Mine|ACME"},
      {"Doc", "Ann", "", "title=Mine author=ACME usedefaulttitle=no usedefaultauthor=NO", "Doc.pdf",
       "Mine|ACME"},
      {"Doc", "Ann", "x.odt", "usedefaulttitle=no usedefaultauthor=no", "Doc.pdf", "x|" + user_},
  };
  for (const Case& c : cases) {
    Job().documentInfo = NewDictionary();
    Document(c.title, c.author, c.name);
    DictionaryPtr settings = DefaultSettings();
    std::istringstream entries(c.settings);
    for (std::string entry; entries >> entry;)
      settings->Set(entry.substr(0, entry.find('=')), entry.substr(entry.find('=') + 1));
    ApplySettingMacros(*settings);
    EXPECT_EQ(settings->Text("output"), home_ + "/Desktop/" + c.output) << c.name;
    EXPECT_EQ(settings->Text("title") + "|" + settings->Text("author"), c.expected) << c.name;
    EXPECT_EQ(Job().documentInfo->Text("title"), c.title) << "the map keeps the document's own";
  }
}

TEST_F(FallbackTest, TitleAndAuthorMacrosFallBackToo) {
  Document("", "", "Q3 plan.docx");
  EXPECT_EQ(ExpandMacros("<title>|<author>", false), "Q3 plan|" + user_);
  Document("A/B", "Ann", "");
  EXPECT_EQ(ExpandMacros("<title>|<author>", true), "A_B|Ann");
}

// Runs the action in a child process under another account; what it returns.
std::string AsUser(uid_t user, const std::function<std::string()>& action) {
  int ends[2];
  if (pipe(ends) != 0) return "no pipe";
  pid_t child = fork();
  if (child == 0) {
    close(ends[0]);
    std::string text = seteuid(user) == 0 ? action() : "no seteuid";
    _exit(write(ends[1], text.data(), text.size()) == static_cast<ssize_t>(text.size()) ? 0 : 1);
  }
  close(ends[1]);
  std::string text;
  char buffer[256];
  for (ssize_t got; (got = read(ends[0], buffer, sizeof buffer)) > 0;)
    text.append(buffer, static_cast<std::size_t>(got));
  close(ends[0]);
  int status = 0;
  waitpid(child, &status, 0);
  return text;
}

TEST(UserFullNameTest, IsTheUserDatabasesNameUpToTheFirstComma) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to add accounts";
  TestUser named("a", "Zo\u00eb Adams,Room 4,555-1234");
  TestUser bare("b");
  // The login name, as CUPS's text filter writes it, counts as no author.
  EXPECT_EQ(AsUser(named.Uid(),
                   [] {
                     return platform::UserFullName() + "|" + AuthorOrFallback("") + "|" +
                            AuthorOrFallback(CurrentUserName());
                   }),
            "Zo\u00eb Adams|Zo\u00eb Adams|Zo\u00eb Adams");
  EXPECT_EQ(AsUser(bare.Uid(), [] { return platform::UserFullName() + "|"; }), "|");
}

}  // namespace
}  // namespace gui::test
