#include "production/DocumentTrailer.h"

#include <cstdint>

#include "platform/OutputFile.h"
#include "production/modPostScript.h"
#include "script/Utf8.h"

namespace gui {

namespace {

bool IsPlainAscii(const std::string& text) {
  for (char c : text) {
    if (c < 0x20 || c > 0x7E) return false;
  }
  return true;
}

void AppendUnit(std::string& hex, std::uint32_t unit) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  for (int shift = 12; shift >= 0; shift -= 4)
    hex += kDigits[(unit >> shift) & 0xF];
}

}  // namespace

std::string PdfTextString(const std::string& utf8) {
  if (IsPlainAscii(utf8)) {
    std::string literal = "(";
    for (char c : utf8) {
      if (c == '\\' || c == '(' || c == ')') literal += '\\';
      literal += c;
    }
    return literal + ")";
  }
  std::string hex = "<FEFF";
  for (std::size_t pos = 0; pos < utf8.size();) {
    std::uint32_t code = script::utf8::Decode(utf8, pos);
    if (code >= 0x10000) {
      code -= 0x10000;
      AppendUnit(hex, 0xD800 + (code >> 10));
      AppendUnit(hex, 0xDC00 + (code & 0x3FF));
    } else {
      AppendUnit(hex, code);
    }
  }
  return hex + ">";
}

void WriteDocumentTrailer(const std::string& file, Dictionary& settings) {
  std::string text = "% The settings' document information wins over the job's own\r\n[";
  for (const auto& [entry, value] : DocumentInformationEntries(settings))
    text += " /" + entry + " " + PdfTextString(value) + "\r\n";
  text += "/DOCINFO pdfmark\r\n" + DocumentView(settings);
  platform::OutputFile out(file);
  out.Write(text);
  out.Close();
}

}  // namespace gui
