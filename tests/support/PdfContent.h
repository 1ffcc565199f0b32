#pragma once

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "tests/production/GhostscriptTesting.h"

// What a PDF holds, read by the poppler tools and qpdf, for tests that check content.
namespace gui::test {

// Makes a PDF from PostScript with the real Ghostscript, every font embedded as applications
// embed theirs (Ghostscript's default leaves out the standard fonts).
inline void MakeEmbeddedPdf(const std::string& postScript, const std::string& pdfFile) {
  MakePdf("<< /NeverEmbed [] >> setdistillerparams\n" + postScript, pdfFile);
}

// The text of one page, as pdftotext reads it.
inline std::string PageText(const std::string& pdf, int page) {
  std::string number = std::to_string(page);
  return CaptureOutput("pdftotext", {"-f", number, "-l", number, pdf, "-"});
}

// The words of a text in their order; blanks, line and page breaks only separate them.
inline std::vector<std::string> Words(const std::string& text) {
  std::vector<std::string> words;
  std::istringstream stream(text);
  for (std::string word; stream >> word;)
    words.push_back(word);
  return words;
}

// The same words sorted, for pages whose reading order another drawing may change.
inline std::vector<std::string> SortedWords(const std::string& text,
                                            const std::vector<std::string>& without = {}) {
  std::vector<std::string> words = Words(text);
  std::erase_if(words, [&](const std::string& word) {
    return std::find(without.begin(), without.end(), word) != without.end();
  });
  std::sort(words.begin(), words.end());
  return words;
}

// pdffonts' lines of fonts that are not embedded; "" when every font is, or there is none. The
// report of a missing or broken file has no table and is returned whole.
inline std::string UnembeddedFonts(const std::string& pdf) {
  std::istringstream report(CaptureOutput("pdffonts", {pdf}));
  std::string line;
  std::string unembedded;
  if (!std::getline(report, line) || line.rfind("name", 0) != 0) return report.str();
  std::getline(report, line);  // the dashes under the heads
  while (std::getline(report, line)) {
    // The last five columns are emb, sub, uni and the object's number and generation; the name
    // and the type before them may hold blanks.
    std::vector<std::string> columns = Words(line);
    if (columns.size() < 5 || columns[columns.size() - 5] != "yes") unembedded += line + "\n";
  }
  return unembedded;
}

// Whether pdfimages lists a picture of this many pixels, however it is drawn on its page.
inline bool HasImage(const std::string& pdf, int width, int height) {
  std::istringstream report(CaptureOutput("pdfimages", {"-list", pdf}));
  for (std::string line; std::getline(report, line);) {
    std::vector<std::string> columns = Words(line);
    if (columns.size() > 4 && columns[2] == "image" && columns[3] == std::to_string(width) &&
        columns[4] == std::to_string(height))
      return true;
  }
  return false;
}

// "title|author|pages" of a PDF, as pdfinfo reads them.
inline std::string TitleAuthorPages(const std::string& pdf) {
  return PdfInfo(pdf, "Title") + "|" + PdfInfo(pdf, "Author") + "|" + PdfInfo(pdf, "Pages");
}

// qpdf's structural check: "" when it finds nothing wrong, else its report.
inline std::string QpdfProblems(const std::string& pdf) {
  std::string report = CaptureOutput("qpdf", {"--check", pdf});
  return Contains(report, "No syntax or stream encoding errors found") &&
                 !Contains(report, "WARNING")
             ? ""
             : report;
}

}  // namespace gui::test
