#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "production/modMakePDF.h"
#include "production/modPostScript.h"
#include "tests/production/GhostscriptTesting.h"
#include "tests/support/ScriptedUi.h"

namespace gui::test {
namespace {

// Lines end at CR or CR LF; "%%Title:" twice, "%%title:", a "%%For:" line holding a lone LF
// and "%%Page: 0 0" after it, comments after the first page, pages 1 to 4, no final line end.
const std::string kJob =
    "%!PS-Adobe-3.0\r\n%%Title: Old title\r\n%%title: lower case stays\r"
    "%%For: Old author\n%%Page: 0 0 joined by a lone LF\r\n%%Title:second\r\n%%Pages: 4\r\n"
    "%%EndComments\r\n%%Page: 1 1\r\n(page one) show\r\n%%Title: after the first page\r\n"
    "%%For: after the first page\r\n%%Page: 2 2\r(page two) show\n(same line) show\r\n\r\n"
    "%%Page:3 3\r\n(page three) show\r\n%%Page:\r\n%%PageTrailer\r\n%%EOF";

// The job's lines split the plain way, to compare with the streaming reader.
std::vector<std::string> ReferenceLines(const std::string& job) {
  std::vector<std::string> lines;
  std::string line;
  for (std::size_t i = 0; i < job.size(); ++i) {
    if (job[i] != '\r') {
      line += job[i];
      continue;
    }
    lines.push_back(std::move(line));
    line.clear();
    if (i + 1 < job.size() && job[i + 1] == '\n') ++i;
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

bool IsPage(const std::string& line) {
  return line.rfind("%%Page:", 0) == 0;
}

// The patch with a watermark, title "T" and author "A".
std::string ReferencePatch(const std::string& job) {
  std::string out;
  bool beforePages = true;
  for (std::string line : ReferenceLines(job)) {
    if (beforePages && line.rfind("%%Title:", 0) == 0) line = "%%Title: T";
    if (beforePages && line.rfind("%%For:", 0) == 0) line = "%%For: A";
    out += line + "\r\n";
    if (IsPage(line)) out += "gsave watermark grestore\r\n\r\n";
    beforePages = beforePages && !IsPage(line);
  }
  return out;
}

class PostScriptPatchTest : public ::testing::Test {
 protected:
  std::string Patch(const std::string& job, const std::string& epsPattern = "") {
    PutFile(job_, job);
    PatchPostScriptFile(*settings_, epsPattern, patched_, job_);
    return GetFile(patched_);
  }

  std::string PatchError(const std::string& job, const std::string& patched) {
    return FailureOf(
        [&] { PatchPostScriptFile(*settings_, folder_ / "s1_si_#.eps", patched, job); });
  }

  void ExpectSameAsReference(const std::string& job) {
    settings_->Set("watermarktext", std::string("W"));
    EXPECT_EQ(Patch(job), ReferencePatch(job));
    std::vector<std::string> lines = ReferenceLines(job);
    EXPECT_EQ(GetPageCount(job_), std::count_if(lines.begin(), lines.end(), IsPage));
  }

  TempFolder folder_;
  std::string job_ = folder_ / "job.ps";
  std::string patched_ = folder_ / "s1_patched.ps";
  DictionaryPtr settings_ = SettingsWith({"title=T", "author=A"});
};

// Without backgrounds and watermark only comments and line ends change.
TEST_F(PostScriptPatchTest, BackgroundsAndWatermarkAfterEachPageComment) {
  settings_->Set("title", std::string("New title"));
  settings_->Set("author", std::string("Ann Ærø"));  // as Windows-1252, as Ghostscript reads it
  EXPECT_EQ(Patch(kJob), Golden("patched_plain.ps"));
  settings_->Set("watermarktext", std::string("Draft"));
  settings_->Set("superimpose", std::string("one.pdf<1>two.pdf<3"));
  PutFile(folder_ / "s1_si_1.eps", "% background one\r\n0.9 setgray\r\n");
  PutFile(folder_ / "s1_si_2.eps", "% background two\n");
  EXPECT_EQ(Patch(kJob, folder_ / "s1_si_#.eps"), Golden("patched_backgrounds_watermark.ps"));
  EXPECT_EQ(GetFile(job_), kJob);
  EXPECT_EQ(GetPageCount(job_), 4);
}

TEST_F(PostScriptPatchTest, EmptyPagelessAndLfOnlyJobs) {
  settings_->Set("watermarktext", std::string("W"));
  EXPECT_EQ(Patch(""), "");
  EXPECT_EQ(GetPageCount(job_), 0);
  EXPECT_EQ(Patch("%%Title: x\r\n%%For: y\rshowpage\n"),
            "%%Title: T\r\n%%For: A\r\nshowpage\n\r\n");
  // With LF only the whole job is one line: nothing is replaced, no page is seen.
  const std::string lfOnly = "%!PS\n%%Title: x\n%%Page: 1 1\nshowpage\n";
  EXPECT_EQ(Patch(lfOnly), lfOnly + "\r\n");
  EXPECT_EQ(GetPageCount(job_), 0);
  EXPECT_EQ(Patch("%%Page: 1\r%%Page: 2\r"), ReferencePatch("%%Page: 1\r%%Page: 2\r"));
}

// The streaming reader agrees with the plain split of the lines.
TEST_F(PostScriptPatchTest, MarksAndLineEndsAcrossReadBlocksAndGarbagePassThrough) {
  const std::string marks =
      "\r\n%%Title: old\r%%For: old\r\n%%Page: 1 1\r\n%%Title: kept\r\n%%Page: 2 2\rend";
  for (std::size_t boundary : {std::size_t{1} << 16, std::size_t{1} << 20}) {
    for (std::size_t before = 0; before <= marks.size(); ++before) {
      std::string job = std::string(boundary - before, 'x') + marks;
      ExpectSameAsReference(job);
      if (HasFailure()) FAIL() << "marks " << before << " bytes before " << boundary;
    }
  }

  // Garbage, and lines of megabytes.
  std::mt19937 random(7);
  const char alphabet[] = "%%Page:Title:For:\r\n\r\r\n\0xyz\xff";
  std::string job;
  while (job.size() < (3 << 20)) {
    job += random() % 64 == 0 ? std::string("\r%%Page: 9\r\n")
                              : std::string(1, alphabet[random() % (sizeof alphabet - 1)]);
    if (random() % 4096 == 0) job += std::string(random() % (1 << 16), static_cast<char>(random()));
  }
  job += std::string(12 << 20, '\n') + "%%Page: tail";
  ExpectSameAsReference(job);
}

TEST_F(PostScriptPatchTest, TheSixteenBitPageNumberOverflowsAbove32767Pages) {
  std::string job;
  for (int page = 0; page < 32767; ++page)
    job += "%%Page:\r";
  PutFile(job_, job);
  EXPECT_EQ(PatchError(job_, patched_), "");
  PutFile(job_, job + "%%Page: 32768\r\n");
  EXPECT_EQ(PatchError(job_, patched_), "6: Overflow");
  EXPECT_EQ(GetPageCount(job_), 32768);
  settings_->Set("superimpose", std::string("a.pdf<1"));  // the page count is too large already
  EXPECT_EQ(PatchError(job_, patched_), "6: Overflow");
}

TEST_F(PostScriptPatchTest, MissingFilesRaiseTheRuntimeErrors) {
  EXPECT_EQ(PatchError(folder_ / "none.ps", patched_), "53: File not found");
  EXPECT_FALSE(std::ifstream(patched_).good());  // the job is opened first
  PutFile(job_, "%%Page: 1 1\r\n");
  EXPECT_EQ(PatchError(job_, folder_ / "missing/patched.ps"), "76: Path not found");
  settings_->Set("superimpose", std::string("a.pdf<1"));
  EXPECT_EQ(PatchError(job_, patched_), "53: File not found");  // its page description was not made
}

TEST_F(PostScriptPatchTest, EventsAreProcessedEveryThousandLines) {
  ScopedScriptedUi ui;
  Patch(std::string(2999, '\r'));
  EXPECT_EQ(ui->eventsProcessed, 2);
  Patch(std::string(3000, '\r'));
  EXPECT_EQ(ui->eventsProcessed, 5);
}

}  // namespace
}  // namespace gui::test
