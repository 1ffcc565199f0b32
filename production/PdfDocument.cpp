#include "production/PdfDocument.h"

namespace gui {

namespace {

constexpr int kDeepest = 8;
constexpr std::size_t kLongestHeader = 1 << 20;  // the numbers and offsets of an object stream
constexpr std::size_t kFirstRead = 1 << 12;
constexpr std::size_t kLongestObject = 1 << 20;

// Finds the offset of `number` in an object stream's header, preferring the place the
// cross-reference entry names; -1 when the header does not list it.
std::int64_t OffsetInHeader(std::string_view header, std::uint32_t number, std::uint32_t index) {
  PdfParser parser(header, 0);
  std::int64_t found = -1;
  for (std::uint32_t place = 0;; ++place) {
    std::int64_t object = 0;
    std::int64_t offset = 0;
    if (!parser.Integer(object) || !parser.Integer(offset)) return found;
    if (object != number) continue;
    if (place == index) return offset;
    if (found < 0) found = offset;
  }
}

// Reads one value from a stream, taking more of it while the value runs on.
PdfValue ValueFrom(PdfStreamReader& reader) {
  std::string text = reader.ReadText(kFirstRead);
  for (;;) {
    PdfParser parser(text, 0);
    PdfValue value = parser.Value();
    if (!parser.Truncated() || text.size() >= kLongestObject) return value;
    std::string more = reader.ReadText(text.size() * 4);
    if (more.empty()) return value;
    text += more;
  }
}

}  // namespace

// A startxref that misses its section is the usual damage: the scan finds the section itself.
PdfDocument::PdfDocument(PdfFile& file) : file_(file), xref_(file) {
  bool loaded = xref_.Load(StartXrefOffset(file_));
  if (loaded) trailer_ = xref_.Trailer();
  if (trailer_.Get("Root")) return;
  scan_ = std::make_unique<PdfScan>(file_);
  if (!loaded && xref_.Load(scan_->LastXref())) trailer_ = xref_.Trailer();
  if (!trailer_.Get("Root")) trailer_ = scan_->Trailer();
}

PdfValue PdfDocument::Object(std::uint32_t number) {
  if (depth_ >= kDeepest) return {};
  ++depth_;
  PdfValue value = Located(number);
  --depth_;
  return value;
}

PdfValue PdfDocument::Located(std::uint32_t number) {
  PdfXrefEntry entry = xref_.Find(number);
  PdfValue value;
  if (entry.type == PdfXrefEntry::Type::kFree) return value;
  if (entry.type == PdfXrefEntry::Type::kInFile) value = ReadObjectAt(file_, entry.offset, number);
  if (entry.type == PdfXrefEntry::Type::kInStream) value = Compressed(number, entry);
  return value.kind == PdfValue::Kind::kNone ? Scanned(number) : value;
}

PdfValue PdfDocument::Compressed(std::uint32_t number, const PdfXrefEntry& entry) {
  auto streamNumber = static_cast<std::uint32_t>(entry.offset);
  if (streamNumber == number) return {};
  PdfValue stream = Object(streamNumber);
  const PdfValue* first = stream.Get("First");
  if (stream.kind != PdfValue::Kind::kStream || !first || !first->IsInteger() ||
      first->number < 0 || static_cast<std::uint64_t>(first->number) > kLongestHeader)
    return {};
  PdfStreamReader reader(file_, stream.streamStart, StreamEnd(stream), FilterOf(stream));
  auto headerBytes = static_cast<std::size_t>(first->number);
  std::string header = reader.ReadText(headerBytes);
  std::int64_t offset = OffsetInHeader(header, number, entry.index);
  if (header.size() < headerBytes || offset < 0 || !reader.Skip(static_cast<std::uint64_t>(offset)))
    return {};
  return ValueFrom(reader);
}

PdfValue PdfDocument::Scanned(std::uint32_t number) {
  if (!scan_) scan_ = std::make_unique<PdfScan>(file_);
  std::uint64_t offset = scan_->OffsetOf(number);
  return offset == 0 ? PdfValue() : ReadObjectAt(file_, offset, number);
}

PdfValue PdfDocument::Resolve(const PdfValue* value) {
  if (!value) return {};
  if (value->kind != PdfValue::Kind::kReference) return *value;
  if (value->number > 0xFFFFFFFE) return {};
  return Object(static_cast<std::uint32_t>(value->number));
}

// Flate data ends by itself; raw data ends after its length, or at the end of the file.
std::uint64_t PdfDocument::StreamEnd(const PdfValue& stream) {
  PdfFilter filter = FilterOf(stream);
  if (filter.flate || depth_ >= kDeepest) return file_.Size();
  ++depth_;
  PdfValue length = Resolve(stream.Get("Length"));
  --depth_;
  if (!length.IsInteger() || length.number < 0) return file_.Size();
  return stream.streamStart + static_cast<std::uint64_t>(length.number);
}

std::string PdfDocument::StreamData(const PdfValue& stream, std::size_t most) {
  if (stream.kind != PdfValue::Kind::kStream) return {};
  PdfStreamReader reader(file_, stream.streamStart, StreamEnd(stream), FilterOf(stream));
  return reader.ReadText(most);
}

}  // namespace gui
