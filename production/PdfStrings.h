#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace gui {

// Character classes of PDF syntax; HexDigit gives -1 for a character that is none.
bool IsPdfBlank(char c);
bool IsPdfDelimiter(char c);
int HexDigit(char c);

// The bytes of the literal string whose "(" is at pos, which then moves past its ")": escapes,
// octal codes, nested parentheses and line continuations decoded. An unclosed string runs to the
// end of the text; closed, when given, tells which it was.
std::string LiteralStringAt(std::string_view text, std::size_t& pos, bool* closed = nullptr);
// The bytes of the hex string whose "<" is at pos, which then moves past its ">"; blanks are
// skipped and a last odd digit counts as followed by 0. Unchanged pos and "" when it is none.
std::string HexStringAt(std::string_view text, std::size_t& pos);

// UTF-16 big-endian bytes (without their byte-order mark) as UTF-8; an odd last byte is dropped.
std::string Utf16BeToUtf8(std::string_view bytes);
// A PDF text string as UTF-8: UTF-16BE or UTF-8 after their byte-order marks, bytes that are
// valid UTF-8 as they are, else PDFDocEncoding.
std::string PdfTextToUtf8(std::string_view bytes);

}  // namespace gui
