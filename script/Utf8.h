#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Character-level helpers for the UTF-8 text the engine holds. A character is a lead byte with the
// continuation bytes after it, so slicing never splits a sequence, even in malformed text.
namespace gui::script::utf8 {

std::size_t CharCount(std::string_view text);
// The byte offset of a 0-based character index; the text's size when the index is past its end.
std::size_t ByteOffset(std::string_view text, std::size_t charIndex);
// The characters [start, start + count) (0-based, clamped to the text).
std::string_view Slice(std::string_view text, std::size_t start, std::size_t count);
// The code point at `pos`, which moves past it; a malformed byte reads as itself.
std::uint32_t Decode(std::string_view text, std::size_t& pos);
void Append(std::string& out, std::uint32_t codePoint);
// Whether the bytes are well-formed UTF-8.
bool IsValid(std::string_view text);
std::string Upper(std::string_view text);
std::string Lower(std::string_view text);
// The Windows-1252 code of a code point (63, "?", when it has none) and back.
int ToAnsi(std::uint32_t codePoint);
std::uint32_t FromAnsi(int code);

}  // namespace gui::script::utf8
