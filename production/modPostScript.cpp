#include "production/modPostScript.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <exception>
#include <string_view>
#include <vector>

#include "platform/Files.h"
#include "production/EmbeddedDocuments.h"
#include "production/modWatermark.h"
#include "services/Error.h"
#include "services/modFiles.h"
#include "services/modFolders.h"
#include "services/modText.h"
#include "services/modWindows1252.h"

namespace gui {

namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr std::size_t kBlockSize = 1 << 20;
// Only a line's first bytes decide whether it counts; "%%BeginDocument" is the longest mark.
constexpr std::size_t kHeadSize = 16;
constexpr const char* kMakerWebAddress = "https://www.quentaris.com";

// Counts the page comments of the job itself: a document embedded between "%%BeginDocument"
// and "%%EndDocument" (an EPS figure) brings its own, which print no page. A line ends at CR,
// LF or CR LF, whatever the producer wrote.
class PageCounter {
 public:
  // Examines the block's lines; answers how many bytes at its end are the start of a line too
  // short to judge yet, which the next block must begin with.
  std::size_t Feed(const char* begin, const char* end, bool atEnd) {
    const char* p = begin;
    nextCr_ = nextLf_ = nullptr;
    for (;;) {
      if (lineStart_) {
        if (static_cast<std::size_t>(end - p) < kHeadSize && !atEnd) return end - p;
        Examine({p, std::min<std::size_t>(end - p, kHeadSize)});
      }
      const char* stop = NextBreak(p, end);
      lineStart_ = stop != end;
      if (!lineStart_) return 0;
      p = stop + 1;
    }
  }

  std::int32_t Pages() const { return pages_; }

 private:
  const char* NextBreak(const char* p, const char* end) {
    if (nextCr_ < p) nextCr_ = Find(p, end, '\r');
    if (nextLf_ < p) nextLf_ = Find(p, end, '\n');
    return std::min(nextCr_, nextLf_);
  }

  static const char* Find(const char* p, const char* end, char c) {
    const void* found = std::memchr(p, c, end - p);
    return found ? static_cast<const char*>(found) : end;
  }

  void Examine(std::string_view head) {
    if (head.size() < 2 || head[0] != '%' || head[1] != '%') return;
    if (embedded_.IsJobLine(head) && head.starts_with("%%Page:")) {
      if (pages_ == INT32_MAX) throw RuntimeError(err::kOverflow);
      ++pages_;
    }
  }

  const char* nextCr_ = nullptr;
  const char* nextLf_ = nullptr;
  bool lineStart_ = true;
  EmbeddedDocuments embedded_;
  std::int32_t pages_ = 0;
};

// The lines of the header after the document information: an ISO Latin-1 encoding for
// interpreters without one, a copy of it made Windows-1252 (its apostrophe, hyphen and grave, and
// its glyphs at 0x80-0x9F; the job may use the system's ISOLatin1Encoding, so that stays as it
// is), the procedure that re-encodes a font with it, the re-encoded standard fonts.
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
    "/QuentarisWinAnsiEncoding ISOLatin1Encoding 256 array copy",
    "dup 8#047 /quotesingle put dup 8#055 /hyphen put dup 8#140 /grave put",
    "dup 8#200 [/Euro /.notdef /quotesinglbase /florin /quotedblbase /ellipsis /dagger",
    "/daggerdbl /circumflex /perthousand /Scaron /guilsinglleft /OE /.notdef /Zcaron /.notdef",
    "/.notdef /quoteleft /quoteright /quotedblleft /quotedblright /bullet /endash /emdash",
    "/tilde /trademark /scaron /guilsinglright /oe /.notdef /zcaron /Ydieresis] putinterval def",
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
    "  { exch pop QuentarisWinAnsiEncoding exch }",
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
  std::string text = "[";
  for (const auto& [entry, value] : DocumentInformationEntries(settings))
    text.append("/").append(entry).append(" (").append(EscapePSText(value)).append(")\r\n");
  return text;
}

std::string HeaderText(Dictionary& settings) {
  std::string text = DocumentView(settings) + "% Document information\r\n";
  text += DocumentInformation(settings);
  for (const char* line : kEncodingAndFonts)
    text.append(line).append(kCrLf);
  if (WatermarkEnabled(settings)) text += WatermarkProgram(settings);
  return text;
}

}  // namespace

std::string DocumentView(Dictionary& settings) {
  std::string text = "[ \r\n";
  if (LowerCase(settings.Text("usethumbs")) == "yes") text += "  /PageMode /UseThumbs\r\n";
  text.append(ZoomLine(settings.Text("zoom"))).append(kCrLf);
  return text + "  /DOCVIEW\r\npdfmark\r\n";
}

std::vector<std::pair<std::string, std::string>> DocumentInformationEntries(Dictionary& settings) {
  static const struct {
    const char* entry;
    const char* key;  // null for the producer
  } kEntries[] = {{"CreationDate", "creationdate"},
                  {"ModDate", "moddate"},
                  {"Creator", "creator"},
                  {"Producer", nullptr},
                  {"Title", "title"},
                  {"Subject", "subject"},
                  {"Keywords", "keywords"},
                  {"Author", "author"}};
  std::vector<std::pair<std::string, std::string>> entries;
  for (const auto& item : kEntries) {
    std::string value =
        item.key ? settings.Text(item.key) : kProductName + " / " + kMakerWebAddress;
    if (!value.empty()) entries.emplace_back(item.entry, value);
  }
  return entries;
}

std::int32_t GetPageCount(const std::string& jobFile) {
  platform::InputFile job(jobFile);
  PageCounter counter;
  std::vector<char> block(kHeadSize + kBlockSize);
  std::size_t carried = 0;
  for (;;) {
    std::size_t got = job.Read(block.data() + carried, kBlockSize);
    const char* end = block.data() + carried + got;
    carried = counter.Feed(block.data(), end, got == 0);
    if (got == 0) return counter.Pages();
    std::memmove(block.data(), end - carried, carried);
  }
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
