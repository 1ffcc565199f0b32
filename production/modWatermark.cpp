#include "production/modWatermark.h"

#include <charconv>
#include <cmath>

#include "services/modConvert.h"
#include "services/modMacros.h"
#include "services/modText.h"
#include "services/modWindows1252.h"
#include "startup/modConfig.h"

namespace gui {

namespace {

const std::string kCrLf = "\r\n";

std::size_t SkipDigits(const std::string& text, std::size_t pos) {
  while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9')
    ++pos;
  return pos;
}

// Ghostscript's pdfwrite turns each page towards the direction most of its characters run in
// (AutoRotatePages): it counts every character that show paints or stringwidth measures, by the
// nearest quarter turn, the exact diagonals apart. The watermark's own count would tip that
// guess, so this added line measures its text once more in each of the other four directions:
// every direction gains the same and the page's own text decides as it does without a watermark.
std::string NeutralOrientationLine(const std::string& rotation) {
  return "/watermarkvotes {theWatermark {dup stringwidth pop pop stringwidth pop pop} forall} "
         "bind def /watermark {//watermark exec gsave getsheetscal sizefont " +
         rotation +
         " dup dup 90 div floor 90 mul sub 45 eq {pop 4 {90 rotate watermarkvotes} repeat} "
         "{gsave 45 rotate watermarkvotes grestore rotate 3 {90 rotate watermarkvotes} repeat} "
         "ifelse grestore} bind def";
}

}  // namespace

std::string DefaultSetting(const std::string& name) {
  return DefaultSettings()->Text(name);
}

double LeadingNumber(const std::string& text) {
  std::size_t pos = text.find_first_not_of(" \t");
  if (pos == std::string::npos) return 0;
  bool negative = text[pos] == '-';
  if (text[pos] == '-' || text[pos] == '+') ++pos;
  std::size_t start = pos;
  pos = SkipDigits(text, pos);
  if (pos < text.size() && text[pos] == '.') pos = SkipDigits(text, pos + 1);
  double value = 0;
  auto parsed =
      std::from_chars(text.data() + start, text.data() + pos, value, std::chars_format::fixed);
  if (parsed.ec != std::errc()) return 0;
  return negative ? -value : value;
}

std::int32_t WatermarkSize(Dictionary& settings) {
  std::string text = settings.Text("watermarksize");
  std::int32_t size = ToLongSafe(text);
  if (std::to_string(size) != TrimSpaces(text)) size = ToLongSafe(DefaultSetting("watermarksize"));
  if (size > 100) return 100;
  return size < 0 ? 0 : size;
}

bool WatermarkEnabled(Dictionary& settings) {
  return !settings.Text("watermarktext").empty() && WatermarkSize(settings) > 0;
}

// The gray is cut from the percentage's three last digits; a fractional percentage (50.5) is
// rounded to a whole one first, halves to even, so that the cut still yields a number.
std::string WatermarkGray(Dictionary& settings) {
  std::string text = settings.Text("watermarktransparency");
  if (TrimSpaces(text).empty()) text = DefaultSetting("watermarktransparency");
  double percent = LeadingNumber(text);
  if (percent < 0 || percent > 100) percent = 0;
  std::string digits = "000" + std::to_string(ToLongSafe(percent));
  digits = digits.substr(digits.size() - 3);
  return digits.substr(0, 1) + "." + digits.substr(1);
}

std::string WatermarkRotation(Dictionary& settings) {
  std::string text = TrimSpaces(settings.Text("watermarkrotation"));
  if (text.empty()) text = DefaultSetting("watermarkrotation");
  std::string lower = LowerCase(text);
  if (lower == "c2c") return "corner2corner";
  if (lower == "-c2c") return "corner2corner -1 mul";
  // Rounding before the remainder keeps a huge angle from overflowing a whole number.
  double degrees = std::fmod(std::nearbyint(LeadingNumber(text)), 360.0);
  return std::to_string(static_cast<long long>(degrees));
}

std::string PSTextLines(const std::string& text) {
  std::string escaped = ReplaceAll(ToWindows1252(text), "\\", "\\\\");
  escaped = ReplaceAll(ReplaceAll(escaped, "(", "\\("), ")", "\\)");
  return "(" + ReplaceAll(escaped, kCrLf, ")" + kCrLf + "(") + ")";
}

std::string WatermarkProgram(Dictionary& settings) {
  std::string rotation = WatermarkRotation(settings);
  const std::string lines[] = {
      "/theWatermark {[" + PSTextLines(ExpandMacros(settings.Text("watermarktext"), false)) +
          "]} def",
      "/globalScaleFactor {" + std::to_string(WatermarkSize(settings)) + "} def",
      "/grayScale {" + WatermarkGray(settings) + "} def",
      "/interLinearSpacing {0.5} def",
      "/getmidpage {currentpagedevice /PageSize get dup 0 get exch 1 get exch 2 div exch 2 div} "
      "bind def",
      "/corner2corner {currentpagedevice /PageSize get dup 0 get exch 1 get exch atan} bind def",
      "/getsheetscal {currentpagedevice /PageSize get 0 get 72 div globalScaleFactor mul} bind "
      "def",
      "/sizefont {/Helvetica-Bold-ISOLatin1 findfont exch scalefont setfont} bind def",
      "/showcenterjust {dup stringwidth pop 2 div neg 0 rmoveto show} bind def",
      "/numwatermarklines {theWatermark length} bind def",
      "/watermark {gsave newpath getmidpage moveto " + rotation +
          " rotate 0 getsheetscal 2 div neg rmoveto",
      "  0 numwatermarklines 1 sub getsheetscal mul interLinearSpacing mul rmoveto getsheetscal "
      "sizefont",
      "  grayScale setgray theWatermark {gsave showcenterjust grestore 0 2 getsheetscal mul "
      "interLinearSpacing mul",
      "  neg rmoveto} forall",
      " grestore} bind def",
      NeutralOrientationLine(rotation),
  };
  std::string program;
  for (const std::string& line : lines)
    program += line + kCrLf;
  return program;
}

}  // namespace gui
