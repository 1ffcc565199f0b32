#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "production/PdfFile.h"

namespace gui {

// Stands for any object number where the number of an object is not known.
constexpr std::uint32_t kAnyObject = 0xFFFFFFFF;

// One PDF object as read from the file; kNone stands for one that is absent or unreadable.
struct PdfValue {
  enum class Kind : std::uint8_t {
    kNone,
    kNull,
    kBoolean,
    kNumber,
    kString,
    kName,
    kArray,
    kDictionary,
    kReference,
    kStream
  };
  Kind kind = Kind::kNone;
  bool integral = true;
  std::int32_t generation = 0;
  std::int64_t number = 0;  // an integer, a real's integer part, a boolean, an object number
  std::string text;         // a string's bytes, a name without its slash
  // An array's items; a dictionary's (or a stream's) names and values, alternately.
  std::vector<PdfValue> items;
  std::uint64_t streamStart = 0;  // a stream's first byte of data in the file

  bool IsInteger() const { return kind == Kind::kNumber && integral; }
  bool IsName(std::string_view name) const { return kind == Kind::kName && text == name; }
  // A dictionary's or stream's entry; nullptr when it has none.
  const PdfValue* Get(std::string_view key) const;
};

// Reads PDF syntax from bytes that start at a known offset of the file. Nesting and the number of
// values are limited, so hostile bytes cannot exhaust the stack or the memory.
class PdfParser {
 public:
  PdfParser(std::string_view text, std::uint64_t offset) : text_(text), offset_(offset) {}

  PdfValue Value();
  // "N G obj" and its value (a stream with the offset of its data), when it is object `number`.
  PdfValue IndirectObject(std::uint32_t number);
  void SkipBlanks();
  // Skips blanks and comments; true, and past it, when the keyword comes next.
  bool Keyword(std::string_view word);
  // A non-negative integer comes next.
  bool Integer(std::int64_t& value);
  // A value ran into the end of the text: more of the file might complete it.
  bool Truncated() const { return truncated_; }
  std::size_t Position() const { return pos_; }

 private:
  PdfValue Parse(int depth);
  PdfValue Container(int depth, char close, PdfValue::Kind kind);
  bool SkipValue();
  PdfValue Name();
  PdfValue Word();
  void ReferenceAfter(PdfValue& value);
  std::string_view Token();
  PdfValue Fail();

  std::string_view text_;
  std::uint64_t offset_;
  std::size_t pos_ = 0;
  std::size_t values_ = 0;
  bool truncated_ = false;
};

// The indirect object `number` (or kAnyObject) at offset, reading more of the file while it
// runs on; kNone when there is no such object there.
PdfValue ReadObjectAt(PdfFile& file, std::uint64_t offset, std::uint32_t number);
// The dictionary after the keyword "trailer" at offset.
PdfValue ReadTrailerAt(PdfFile& file, std::uint64_t offset);

}  // namespace gui
