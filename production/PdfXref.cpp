#include "production/PdfXref.h"

#include <algorithm>
#include <string>

#include "production/PdfStrings.h"

namespace gui {

namespace {

constexpr std::size_t kMostSections = 64;
constexpr std::size_t kMostSubsections = 1 << 14;
constexpr std::size_t kTail = 1 << 12;  // where "startxref" is looked for
constexpr std::uint32_t kWidest = 8;    // bytes of one field of a stream's entry
constexpr std::int64_t kLastNumber = 0xFFFFFFFE;

// A number that can be an offset in the file; 0 when it cannot.
std::uint64_t AsOffset(const PdfFile& file, std::int64_t number) {
  return number > 0 && static_cast<std::uint64_t>(number) < file.Size()
             ? static_cast<std::uint64_t>(number)
             : 0;
}

std::uint64_t OffsetIn(const PdfFile& file, const PdfValue* value) {
  return value && value->IsInteger() ? AsOffset(file, value->number) : 0;
}

std::uint64_t Field(const unsigned char* bytes, std::uint32_t width) {
  std::uint64_t value = 0;
  for (std::uint32_t i = 0; i < width; ++i)
    value = value << 8 | bytes[i];
  return value;
}

}  // namespace

std::uint64_t StartXrefOffset(PdfFile& file) {
  std::uint64_t from = file.Size() > kTail ? file.Size() - kTail : 0;
  std::string tail = file.Read(from, kTail);
  std::size_t at = tail.rfind("startxref");
  if (at == std::string::npos) return 0;
  PdfParser parser(std::string_view(tail).substr(at + 9), 0);
  std::int64_t offset = 0;
  return parser.Integer(offset) ? AsOffset(file, offset) : 0;
}

bool PdfXref::Load(std::uint64_t offset) {
  std::vector<std::uint64_t> visited;
  for (std::uint64_t next = offset; next != 0 && sections_.size() < kMostSections;) {
    if (std::find(visited.begin(), visited.end(), next) != visited.end()) break;
    visited.push_back(next);
    PdfValue trailer;
    if (!ReadSection(next, trailer)) break;
    Merge(trailer);
    next = OffsetIn(file_, trailer.Get("Prev"));
  }
  return !sections_.empty();
}

bool PdfXref::ReadSection(std::uint64_t offset, PdfValue& trailer) {
  Section section;
  if (!ReadTable(offset, section, trailer) && !ReadStream(offset, section, trailer)) return false;
  bool table = !section.stream;
  sections_.push_back(std::move(section));
  // A hybrid file's table leaves its compressed objects to a stream beside it.
  std::uint64_t hidden = table ? OffsetIn(file_, trailer.Get("XRefStm")) : 0;
  Section more;
  PdfValue ignored;
  if (hidden != 0 && ReadStream(hidden, more, ignored)) sections_.push_back(std::move(more));
  return true;
}

bool PdfXref::AddSubsection(Section& section, std::int64_t first, std::int64_t count,
                            std::uint64_t start, std::uint32_t entryBytes) {
  if (first < 0 || count < 0 || first + count - 1 > kLastNumber) return false;
  if (section.subsections.size() >= kMostSubsections) return false;
  section.subsections.push_back(
      {static_cast<std::uint32_t>(first), static_cast<std::uint32_t>(count), start, entryBytes});
  return true;
}

bool PdfXref::ReadTable(std::uint64_t offset, Section& section, PdfValue& trailer) {
  std::string head = file_.Read(offset, 16);
  PdfParser keyword(head, offset);
  if (!keyword.Keyword("xref")) return false;
  std::uint64_t cursor = offset + keyword.Position();
  for (;;) {
    std::string text = file_.Read(cursor, 64);
    PdfParser line(text, cursor);
    std::int64_t first = 0;
    std::int64_t count = 0;
    if (!line.Integer(first) || !line.Integer(count)) break;
    line.SkipBlanks();
    std::uint64_t start = cursor + line.Position();
    // Entries are 20 bytes; some writers end them with a single byte.
    std::string entry = file_.Read(start, 20);
    std::uint32_t entryBytes = entry.size() == 20 && !IsPdfBlank(entry[19]) ? 19 : 20;
    if (!AddSubsection(section, first, count, start, entryBytes)) return false;
    cursor = start + static_cast<std::uint64_t>(count) * entryBytes;
    if (cursor > file_.Size()) return false;
  }
  trailer = ReadTrailerAt(file_, cursor);
  return trailer.kind == PdfValue::Kind::kDictionary;
}

bool PdfXref::ReadStream(std::uint64_t offset, Section& section, PdfValue& trailer) {
  PdfValue stream = ReadObjectAt(file_, offset, kAnyObject);
  const PdfValue* widths = stream.Get("W");
  if (stream.kind != PdfValue::Kind::kStream || !widths || widths->items.size() != 3) return false;
  std::uint32_t rowBytes = 0;
  for (int i = 0; i < 3; ++i) {
    const PdfValue& width = widths->items[i];
    if (!width.IsInteger() || width.number < 0 || width.number > kWidest) return false;
    section.widths[i] = static_cast<std::uint32_t>(width.number);
    rowBytes += section.widths[i];
  }
  section.stream = true;
  section.filter = FilterOf(stream);
  section.dataStart = stream.streamStart;
  std::uint64_t length = OffsetIn(file_, stream.Get("Length"));
  section.dataEnd =
      section.filter.flate || length == 0 ? file_.Size() : stream.streamStart + length;
  std::vector<PdfValue> whole(2);  // [0 Size] when there is no /Index
  whole[0].kind = PdfValue::Kind::kNumber;
  if (const PdfValue* size = stream.Get("Size")) whole[1] = *size;
  const PdfValue* index = stream.Get("Index");
  const std::vector<PdfValue>& ranges = index ? index->items : whole;
  std::uint64_t row = 0;
  for (std::size_t i = 0; i + 1 < ranges.size(); i += 2) {
    const PdfValue& first = ranges[i];
    const PdfValue& count = ranges[i + 1];
    if (!first.IsInteger() || !count.IsInteger()) return false;
    if (!AddSubsection(section, first.number, count.number, row, rowBytes)) return false;
    row += static_cast<std::uint64_t>(count.number);
  }
  stream.kind = PdfValue::Kind::kDictionary;
  trailer = std::move(stream);
  return rowBytes > 0 && section.filter.supported;
}

void PdfXref::Merge(const PdfValue& trailer) {
  trailer_.kind = PdfValue::Kind::kDictionary;
  for (std::size_t i = 0; i + 1 < trailer.items.size(); i += 2) {
    if (!trailer_.Get(trailer.items[i].text)) {
      trailer_.items.push_back(trailer.items[i]);
      trailer_.items.push_back(trailer.items[i + 1]);
    }
  }
}

PdfXrefEntry PdfXref::Find(std::uint32_t number) {
  for (const Section& section : sections_) {
    for (const Subsection& part : section.subsections) {
      if (number < part.first || number - part.first >= part.count) continue;
      PdfXrefEntry entry =
          section.stream ? StreamEntry(section, part, number) : TableEntry(part, number);
      if (entry.type != PdfXrefEntry::Type::kMissing) return entry;
      break;  // a damaged entry: an older section may still know the object
    }
  }
  return {};
}

PdfXrefEntry PdfXref::TableEntry(const Subsection& part, std::uint32_t number) {
  std::uint64_t at = part.start + static_cast<std::uint64_t>(number - part.first) * part.entryBytes;
  std::string text = file_.Read(at, 20);
  PdfParser parser(text, at);
  std::int64_t offset = 0;
  std::int64_t generation = 0;
  PdfXrefEntry entry;
  if (!parser.Integer(offset) || !parser.Integer(generation)) return entry;
  if (parser.Keyword("f")) {
    entry.type = PdfXrefEntry::Type::kFree;
  } else if (parser.Keyword("n")) {
    entry.offset = AsOffset(file_, offset);
    if (entry.offset != 0) entry.type = PdfXrefEntry::Type::kInFile;
  }
  return entry;
}

PdfXrefEntry PdfXref::StreamEntry(const Section& section, const Subsection& part,
                                  std::uint32_t number) {
  const std::uint32_t* widths = section.widths;
  std::uint64_t row = part.start + (number - part.first);
  PdfStreamReader reader(file_, section.dataStart, section.dataEnd, section.filter);
  unsigned char bytes[3 * kWidest];
  PdfXrefEntry entry;
  if (!reader.Skip(row * part.entryBytes) ||
      reader.Read(reinterpret_cast<char*>(bytes), part.entryBytes) < part.entryBytes)
    return entry;
  std::uint64_t type = widths[0] == 0 ? 1 : Field(bytes, widths[0]);
  std::uint64_t second = Field(bytes + widths[0], widths[1]);
  std::uint64_t third = Field(bytes + widths[0] + widths[1], widths[2]);
  if (type == 1 && second > 0 && second < file_.Size()) {
    entry.type = PdfXrefEntry::Type::kInFile;
    entry.offset = second;
  } else if (type == 2 && second <= kLastNumber && third <= kLastNumber) {
    entry.type = PdfXrefEntry::Type::kInStream;
    entry.offset = second;
    entry.index = static_cast<std::uint32_t>(third);
  } else if (type != 1) {
    entry.type = PdfXrefEntry::Type::kFree;  // free, or a type this reader does not know
  }
  return entry;
}

}  // namespace gui
