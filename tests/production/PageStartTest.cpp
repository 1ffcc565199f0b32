#include "production/PageStart.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "production/DocumentTrailer.h"
#include "production/modPostScript.h"
#include "production/modSuperimpose.h"
#include "tests/production/GhostscriptTesting.h"
#include "tests/support/PdfContent.h"

namespace gui::test {
namespace {

class PageCountTest : public ::testing::Test {
 protected:
  std::int32_t Count(const std::string& job) {
    PutFile(job_, job);
    return GetPageCount(job_);
  }

  TempFolder folder_;
  std::string job_ = folder_ / "job.ps";
};

// Every producer's line ends count; an embedded EPS's own pages print none.
TEST_F(PageCountTest, CountsThePagesOfTheJobItselfWhateverItsLineEnds) {
  const std::pair<const char*, std::int32_t> cases[] = {
      {"", 0},
      {"%%Page: 1 1", 1},
      {"%!PS\n%%Page: 1 1\nshowpage\n%%Page: 2 2\nshowpage\n", 2},
      {"%!PS\r\n%%Page: 1 1\r\nshowpage\r\n%%Page: 2 2\r\n", 2},
      {"%!PS\r%%Page: 1 1\r%%Page: 2 2\r", 2},
      {"%!PS\n%%page: 1 1\n %%Page: 2 2\n(%%Page: 3 3)\n%%Page:\n", 1},
      {"%%Page: 1 1\n%%BeginDocument: logo.eps\n%%Page: 1 1\n%%EndDocument\n%%Page: 2 2\n", 2},
      {"%%BeginDocument: a\n%%BeginDocument: b\n%%Page: 1 1\n%%EndDocument\n%%Page: x\n"
       "%%EndDocument\n%%Page: 1 1\n%%EndDocument\n%%Page: 2 2\n",
       2},
      {"%%BeginDocument: never ended\n%%Page: 1 1\n", 0}};
  for (const auto& [job, pages] : cases)
    EXPECT_EQ(Count(job), pages) << job;
}

TEST_F(PageCountTest, MarksCutByTheReadBlocksAndVeryLongLines) {
  const std::string marks = "\r\n%%BeginDocument: x\r\n%%Page: 9\n%%EndDocument\r%%Page: 1 1\r\n";
  for (std::size_t before = 0; before <= marks.size(); ++before) {
    std::string job = std::string((1 << 20) - before, 'x') + marks;
    EXPECT_EQ(Count(job), 1) << before;
  }
  EXPECT_EQ(Count(std::string(3 << 20, 'x') + "\n%%Page: 1 1\n" + std::string(3 << 20, '%')), 1);
  EXPECT_EQ("53: File not found", FailureOf([&] { GetPageCount(folder_ / "none.ps"); }));
}

// A job of pages "P1", "P2", ... and two background forms that print "BGONE" and "BGTWO"; the
// result is which background each page of the PDF shows, as "1:BGONE 2:- ...".
class PageStartTest : public RealGhostscriptTest {
 protected:
  std::string Backgrounds(const std::string& superimpose, int pages, const std::string& job = "") {
    settings_->Set("superimpose", superimpose);
    std::vector<std::string> texts;
    for (int page = 1; page <= pages; ++page)
      texts.push_back("P" + std::to_string(page));
    for (int item = 1; item <= 2; ++item) {
      PutFile(folder_ + "/s1_si_" + std::to_string(item) + ".eps",
              "[/_objdef {" + BackgroundFormName(item) +
                  "} /BBox [0 0 600 800] /BP pdfmark\n/Helvetica findfont 20 scalefont setfont "
                  "300 100 moveto (" +
                  (item == 1 ? "BGONE" : "BGTWO") + ") show\n[/EP pdfmark\n");
    }
    std::string pdf = RunMainJob(*settings_, folder_, job.empty() ? PostScriptJob(texts) : job);
    std::string result;
    for (int page = 1; page <= pages; ++page) {
      std::string text = PageText(pdf, page);
      std::string shown = Contains(text, "BGONE")   ? "BGONE"
                          : Contains(text, "BGTWO") ? "BGTWO"
                                                    : "-";
      result += (page > 1 ? " " : "") + std::to_string(page) + ":" + shown;
    }
    return result;
  }
};

TEST_F(PageStartTest, EverySelectionDrawsItsFormUnderExactlyItsPages) {
  const std::tuple<const char*, int, const char*> cases[] = {
      {"a.pdf", 3, "1:BGONE 2:BGONE 3:BGONE"},
      {"a.pdf<L", 3, "1:BGONE 2:BGONE 3:BGONE"},
      {"a.pdf<1", 3, "1:BGONE 2:- 3:-"},
      {"a.pdf<F1", 2, "1:BGONE 2:-"},
      {"a.pdf<L1", 3, "1:- 2:- 3:BGONE"},
      {"a.pdf<2-", 3, "1:- 2:BGONE 3:BGONE"},
      {"a.pdf<L2-", 3, "1:BGONE 2:BGONE 3:-"},
      {"a.pdf<-3", 4, "1:BGONE 2:BGONE 3:BGONE 4:-"},
      {"a.pdf<O", 5, "1:BGONE 2:- 3:BGONE 4:- 5:BGONE"},
      {"a.pdf<E", 4, "1:- 2:BGONE 3:- 4:BGONE"},
      {"a.pdf<LO", 4, "1:- 2:BGONE 3:- 4:BGONE"},
      {"a.pdf<lo", 5, "1:BGONE 2:- 3:BGONE 4:- 5:BGONE"},
      {"a.pdf<le2-", 5, "1:- 2:BGONE 3:- 4:BGONE 5:-"},
      {"a.pdf<OE", 2, "1:BGONE 2:BGONE"},
      {"a.pdf< 2 - 3 ", 4, "1:- 2:BGONE 3:BGONE 4:-"},
      {"a.pdf<3-2", 3, "1:- 2:- 3:-"},
      {"a.pdf<3", 2, "1:- 2:-"},
      {"a.pdf>b.pdf<1", 2, "1:BGTWO 2:BGONE"},
      {"a.pdf<O>b.pdf<E>", 3, "1:BGONE 2:BGTWO 3:BGONE"}};
  for (const auto& [superimpose, pages, shown] : cases)
    EXPECT_EQ(Backgrounds(superimpose, pages), shown) << superimpose;
}

// Pages that no page comment announces still get what is not counted from the end; counted
// from the end, only the pages of the job itself count.
TEST_F(PageStartTest, PagesWithoutCommentsAndEmbeddedDocuments) {
  const std::string bare =
      "%!PS\n/Helvetica findfont 20 scalefont setfont 1 1 3 {72 700 moveto "
      "(P) show 3 string cvs show showpage} for\n";
  EXPECT_EQ(Backgrounds("a.pdf<2-", 3, bare), "1:- 2:BGONE 3:BGONE");
  EXPECT_EQ(Backgrounds("a.pdf<L1", 3, bare), "1:- 2:- 3:-");
  std::string embedded = PostScriptJob({"P1", "P2"});
  embedded.insert(embedded.find("72 700"),
                  "%%BeginDocument: figure.eps\n%%Page: 1 1\n%%Page: 2 2\n%%EndDocument\n");
  EXPECT_EQ(Backgrounds("a.pdf<L1", 2, embedded), "1:- 2:BGONE");
}

// The settings' title and author win over the job's own, PostScript or PDF, and keep every
// character.
TEST_F(RealGhostscriptTest, TrailerInformationWinsAndKeepsEveryCharacter) {
  const std::string title = "Bob’s (Report) – Q3 € “final” 日本語 😀";
  std::string job = PostScriptJob({"Body"});
  job.insert(job.find("%%Pages"), "%%Title: (Job title)\n%%For: (job author)\n");
  MakePdf(job, folder_ + "/job.pdf");
  for (const std::string& input : {job, GetFile(folder_ + "/job.pdf")}) {
    settings_->Set("title", title);
    settings_->Set("author", std::string("Ann \\ Lee"));
    settings_->Set("subject", std::string("Ångström – Über"));
    settings_->Set("keywords", std::string("€; 日本"));
    settings_->Set("creator", std::string("Writer™"));
    std::string pdf = RunMainJob(*settings_, folder_, input);
    EXPECT_EQ(PdfInfo(pdf, "Title"), title);
    EXPECT_EQ(PdfInfo(pdf, "Author"), "Ann \\ Lee");
    EXPECT_EQ(PdfInfo(pdf, "Subject"), "Ångström – Über");
    EXPECT_EQ(PdfInfo(pdf, "Keywords"), "€; 日本");
    EXPECT_EQ(PdfInfo(pdf, "Creator"), "Writer™");
    EXPECT_TRUE(Contains(PdfText(pdf), "Body"));
  }
  EXPECT_EQ(PdfTextString("a(b)\\"), "(a\\(b\\)\\\\)");
  EXPECT_EQ(PdfTextString("é😀"), "<FEFF00E9D83DDE00>");
}

TEST(PageSelection, NumbersAbove32767Overflow) {
  for (const char* place : {"32768", "1-32768", "99999999999999999999"})
    EXPECT_EQ("6: Overflow", FailureOf([&] { ReadPageSelection(place); })) << place;
  EXPECT_EQ(ReadPageSelection("32767").first, 32767);
}

}  // namespace
}  // namespace gui::test
