#include "production/modPostScript.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <exception>
#include <string_view>
#include <vector>

#include "platform/Files.h"
#include "platform/OutputFile.h"
#include "production/modSuperimpose.h"
#include "production/modWatermark.h"
#include "services/Error.h"
#include "services/modFiles.h"
#include "services/modFolders.h"
#include "services/modText.h"
#include "services/modWindows1252.h"
#include "ui/UserInterface.h"

namespace gui {

namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr std::size_t kBlockSize = 1 << 20;
// Only a line's first bytes decide what happens to it; "%%Title:" is the longest mark.
constexpr std::size_t kHeadSize = 8;
constexpr int kLinesPerEvents = 1000;
constexpr std::int32_t kMostPages = 32767;
constexpr const char* kMakerWebAddress = "https://www.quentaris.com";

bool StartsWith(std::string_view text, std::string_view mark) {
  return text.substr(0, mark.size()) == mark;
}

// A cheap first test: most lines are no DSC comment and need no comparison with the marks.
bool IsComment(std::string_view head) {
  return head.size() >= 2 && head[0] == '%' && head[1] == '%';
}

bool IsPageLine(std::string_view head) {
  return StartsWith(head, "%%Page:");
}

// Hands the lines of a job to a visitor while holding one block of it: Begin receives a line's
// first bytes (up to kHeadSize) and answers whether it wants the rest, Rest receives the rest in
// pieces, End the line's end as read (CR, CR LF, or nothing at the end of the file), and Flush
// comes before the bytes handed over are reused. A line ends at CR or CR LF; a lone LF stays
// inside the line.
template <typename Visitor>
class LineScanner {
 public:
  explicit LineScanner(Visitor& visitor) : visitor_(visitor) {}

  void Scan(platform::InputFile& job) {
    std::vector<char> block(kBlockSize);
    while (std::size_t got = job.Read(block.data(), block.size()))
      Feed(block.data(), block.data() + got);
    if (part_ == Part::Head) Begin({head_, headSize_});
    if (part_ != Part::Start) visitor_.End({});
    visitor_.Flush();
  }

 private:
  enum class Part { Start, Head, Body, Skip };

  void Feed(const char* p, const char* end) {
    if (afterCr_ && *p == '\n') ++p;
    afterCr_ = false;
    while (p < end) {
      const char* cr = static_cast<const char*>(std::memchr(p, '\r', end - p));
      const char* stop = cr ? cr : end;
      if (part_ == Part::Start || part_ == Part::Head) {
        p = TakeHead(p, stop, cr != nullptr);
        if (part_ == Part::Head) break;  // the block ended inside the head
      }
      if (part_ == Part::Body && stop > p) visitor_.Rest({p, static_cast<std::size_t>(stop - p)});
      if (!cr) break;
      p = EndLine(cr, end);
    }
    visitor_.Flush();
  }

  // Hands over the head of the line that runs from p to stop; a head cut by the block's end is
  // kept in head_ until the next block completes it.
  const char* TakeHead(const char* p, const char* stop, bool lineEnds) {
    auto length = static_cast<std::size_t>(stop - p);
    if (part_ == Part::Start && (length >= kHeadSize || lineEnds)) {
      Begin({p, std::min(length, kHeadSize)});
      return p + std::min(length, kHeadSize);
    }
    if (part_ == Part::Start) visitor_.Flush();  // head_ may still be waiting to be written
    part_ = Part::Head;
    while (p < stop && headSize_ < kHeadSize)
      head_[headSize_++] = *p++;
    if (headSize_ < kHeadSize && !lineEnds) return p;
    Begin({head_, headSize_});
    headSize_ = 0;
    return p;
  }

  void Begin(std::string_view head) { part_ = visitor_.Begin(head) ? Part::Body : Part::Skip; }

  const char* EndLine(const char* cr, const char* end) {
    const char* next = cr + 1;
    if (next == end) {
      afterCr_ = true;
    } else if (*next == '\n') {
      ++next;
    }
    visitor_.End({cr, static_cast<std::size_t>(next - cr)});
    part_ = Part::Start;
    return next;
  }

  Visitor& visitor_;
  Part part_ = Part::Start;
  char head_[kHeadSize] = {};
  std::size_t headSize_ = 0;
  bool afterCr_ = false;
};

template <typename Visitor>
void ScanLines(platform::InputFile& job, Visitor& visitor) {
  LineScanner<Visitor>(visitor).Scan(job);
}

class PageCounter {
 public:
  bool Begin(std::string_view head) {
    if (IsComment(head) && IsPageLine(head)) {
      if (pages_ == INT32_MAX) throw RuntimeError(err::kOverflow);
      ++pages_;
    }
    return false;
  }
  void Rest(std::string_view) {}
  void End(std::string_view) {}
  void Flush() {}
  std::int32_t Pages() const { return pages_; }

 private:
  std::int32_t pages_ = 0;
};

std::int16_t ToPageNumber(std::int32_t pages) {
  if (pages > kMostPages) throw RuntimeError(err::kOverflow);
  return static_cast<std::int16_t>(pages);
}

// Writes the job line by line with CR LF; before the first page it replaces the title and
// author comments, after each page comment it inserts the page's background and watermark.
class Patcher {
 public:
  Patcher(Dictionary& settings, DictionaryPtr backgrounds, platform::OutputFile& patched)
      // Ghostscript takes these comments over the header's document information and reads them
      // as single-byte text, as it reads the header's strings.
      : title_("%%Title: " + ToWindows1252(settings.Text("title"))),
        author_("%%For: " + ToWindows1252(settings.Text("author"))),
        watermark_(WatermarkEnabled(settings)),
        backgrounds_(std::move(backgrounds)),
        patched_(patched) {}

  bool Begin(std::string_view head) {
    if (--linesUntilEvents_ == 0) {
      linesUntilEvents_ = kLinesPerEvents;
      Ui().ProcessEvents();
    }
    onPage_ = false;
    if (IsComment(head)) {
      if (page_ == 0 && StartsWith(head, "%%Title:")) return Replace(title_);
      if (page_ == 0 && StartsWith(head, "%%For:")) return Replace(author_);
      if (IsPageLine(head)) CountPage();
    }
    Emit(head);
    return true;
  }

  void Rest(std::string_view piece) { Emit(piece); }

  void End(std::string_view ending) {
    Emit(ending == kCrLf ? ending : kCrLf);
    if (onPage_) InsertPageStart();
  }

  void Flush() {
    patched_.Write(pending_);
    pending_ = {};
  }

 private:
  // Pieces that follow each other in memory are written as one, so that an unchanged run of
  // lines ended by CR LF goes out as it came in.
  void Emit(std::string_view bytes) {
    if (pending_.data() + pending_.size() == bytes.data()) {
      pending_ = {pending_.data(), pending_.size() + bytes.size()};
    } else {
      Flush();
      pending_ = bytes;
    }
  }

  void CountPage() {
    if (page_ == kMostPages) throw RuntimeError(err::kOverflow);
    ++page_;
    onPage_ = true;
  }

  bool Replace(const std::string& line) {
    Emit(line);
    return false;
  }

  void InsertPageStart() {
    bool inserted = backgrounds_ && CopyBackground(backgrounds_->Text(std::to_string(page_)));
    if (watermark_) {
      Emit("gsave watermark grestore\r\n");
      inserted = true;
    }
    if (inserted) Emit(kCrLf);
  }

  // Streams the page description into the patched file; true when it had any content.
  bool CopyBackground(const std::string& epsFile) {
    if (epsFile.empty()) return false;
    platform::FileStatus status = platform::StatusOf(epsFile);
    if (!status.exists || status.isFolder) throw RuntimeError(err::kFileNotFound);
    Flush();
    return patched_.Append(epsFile) > 0;
  }

  const std::string title_;
  const std::string author_;
  const bool watermark_;
  const DictionaryPtr backgrounds_;
  platform::OutputFile& patched_;
  std::string_view pending_;
  int linesUntilEvents_ = kLinesPerEvents;
  std::int16_t page_ = 0;
  bool onPage_ = false;
};

// The lines of the header after the document information: an ISO Latin-1 encoding for
// interpreters without one, the procedure that re-encodes a font, the re-encoded standard fonts.
constexpr const char* kEncodingAndFonts[] = {
    "mark",
    "/ISOLatin1Encoding",
    "8#000 1 8#054 {StandardEncoding exch get} for",
    "/minus",
    "8#056 1 8#217 {StandardEncoding exch get} for",
    "/dotlessi",
    "8#301 1 8#317 {StandardEncoding exch get} for",
    "/space /exclamdown /cent /sterling /currency /yen /brokenbar /section",
    "/dieresis /copyright /ordfeminine /guillemotleft /logicalnot /hyphen",
    "/registered /macron /degree /plusminus /twosuperior /threesuperior /acute",
    "/mu /paragraph /periodcentered /cedilla /onesuperior /ordmasculine",
    "/guillemotright /onequarter /onehalf /threequarters /questiondown /Agrave",
    "/Aacute /Acircumflex /Atilde /Adieresis /Aring /AE /Ccedilla /Egrave /Eacute",
    "/Ecircumflex /Edieresis /Igrave /Iacute /Icircumflex /Idieresis /Eth /Ntilde",
    "/Ograve /Oacute /Ocircumflex /Otilde /Odieresis /multiply /Oslash /Ugrave",
    "/Uacute /Ucircumflex /Udieresis /Yacute /Thorn /germandbls /agrave /aacute",
    "/acircumflex /atilde /adieresis /aring /ae /ccedilla /egrave /eacute",
    "/ecircumflex /edieresis /igrave /iacute /icircumflex /idieresis /eth /ntilde",
    "/ograve /oacute /ocircumflex /otilde /odieresis /divide /oslash /ugrave",
    "/uacute /ucircumflex /udieresis /yacute /thorn /ydieresis",
    "/ISOLatin1Encoding where not {256 array astore def} if",
    "cleartomark",
    "",
    "/makeISOEncoded",
    "{ findfont /curfont exch def",
    "  /newfont curfont maxlength dict def",
    "  /ISOLatin1 (-ISOLatin1) def",
    "  /curfontname curfont /FontName get dup length string cvs def",
    "  /newfontname curfontname length ISOLatin1 length add string",
    " dup 0                  curfontname putinterval",
    " dup curfontname length ISOLatin1   putinterval",
    "  def",
    "  curfont",
    "  { exch dup /FID ne",
    "{ dup /Encoding eq",
    "  { exch pop ISOLatin1Encoding exch }",
    "  if",
    "  dup /FontName eq",
    "  { exch pop newfontname exch }",
    "  if",
    "  exch newfont 3 1 roll put",
    "}",
    "{ pop pop }",
    "ifelse",
    "  }",
    "  forall",
    "  newfontname newfont definefont",
    "} def",
    "/Times-Roman makeISOEncoded pop",
    "/Times-Bold makeISOEncoded pop",
    "/Times-Italic makeISOEncoded pop",
    "/Times-BoldItalic makeISOEncoded pop",
    "/Helvetica makeISOEncoded pop",
    "/Helvetica-Bold makeISOEncoded pop",
    "/Helvetica-Oblique makeISOEncoded pop",
    "/Helvetica-BoldOblique makeISOEncoded pop",
    "/DOCINFO pdfmark",
};

// A number in its shortest decimal form, always with a period.
std::string ShortestDecimal(double value) {
  char text[400];
  auto written = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed);
  return std::string(text, written.ptr);
}

std::string ZoomLine(const std::string& zoom) {
  double percent = LeadingNumber(zoom);
  if (percent == 0) return "  /Page 1 /View [/Fit]";
  return "  /Page 1 /View [/XYZ null null " + ShortestDecimal(percent / 100) + "]";
}

std::string DocumentInformation(Dictionary& settings) {
  static const struct {
    const char* entry;
    const char* key;  // null for the producer
  } kEntries[] = {{"/CreationDate (", "creationdate"},
                  {"/ModDate (", "moddate"},
                  {"/Creator (", "creator"},
                  {"/Producer (", nullptr},
                  {"/Title (", "title"},
                  {"/Subject (", "subject"},
                  {"/Keywords (", "keywords"},
                  {"/Author (", "author"}};
  std::string text = "[";
  for (const auto& item : kEntries) {
    std::string value =
        item.key ? settings.Text(item.key) : kProductName + " / " + kMakerWebAddress;
    if (!value.empty()) text.append(item.entry).append(EscapePSText(value)).append(")\r\n");
  }
  return text;
}

std::string HeaderText(Dictionary& settings) {
  std::string text = "[ \r\n";
  if (LowerCase(settings.Text("usethumbs")) == "yes") text += "  /PageMode /UseThumbs\r\n";
  text.append(ZoomLine(settings.Text("zoom"))).append(kCrLf);
  text += "  /DOCVIEW\r\npdfmark\r\n% Document information\r\n";
  text += DocumentInformation(settings);
  for (const char* line : kEncodingAndFonts)
    text.append(line).append(kCrLf);
  if (WatermarkEnabled(settings)) text += WatermarkProgram(settings);
  return text;
}

}  // namespace

std::int32_t GetPageCount(const std::string& jobFile) {
  platform::InputFile job(jobFile);
  PageCounter counter;
  ScanLines(job, counter);
  return counter.Pages();
}

void PatchPostScriptFile(Dictionary& settings, const std::string& epsPattern,
                         const std::string& patchedFile, const std::string& jobFile) {
  DictionaryPtr backgrounds;
  if (SuperimposeEnabled(settings)) {
    backgrounds = BuildBackgroundPages(settings, epsPattern, ToPageNumber(GetPageCount(jobFile)));
  }
  platform::InputFile job(jobFile);
  platform::OutputFile patched(patchedFile);
  Patcher patcher(settings, backgrounds, patched);
  ScanLines(job, patcher);
  patched.Close();
}

std::string EscapePSText(const std::string& value) {
  static constexpr std::string_view kEscaped = "\\()[]{}";
  std::string escaped;
  for (char c : ToWindows1252(value)) {
    auto code = static_cast<unsigned char>(c);
    if (code > 127) {
      escaped += '\\';
      escaped += static_cast<char>('0' + (code >> 6));
      escaped += static_cast<char>('0' + ((code >> 3) & 7));
      escaped += static_cast<char>('0' + (code & 7));
    } else {
      if (kEscaped.find(c) != std::string_view::npos) escaped += '\\';
      escaped += c;
    }
  }
  return escaped;
}

bool WritePostScriptHeader(const std::string& headerFile, Dictionary& settings) {
  try {
    WriteTextFile(headerFile, HeaderText(settings));
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace gui
