#include "production/PdfScan.h"

#include <algorithm>
#include <string>

#include "production/PdfStrings.h"

namespace gui {

namespace {

constexpr std::uint64_t kScannedEnd = 32u << 20;  // at each end of the file
constexpr std::size_t kChunk = 1 << 20;
constexpr std::size_t kOverlap = 64;  // longer than any "N G obj" header
constexpr std::size_t kMostObjects = 1 << 18;
constexpr std::size_t kPeek = 256;  // the start of an object looked at for its type

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Moves back over blanks, then over one to ten digits; false when they are not there.
bool BackOverNumber(std::string_view chunk, std::size_t& at) {
  std::size_t blanksEnd = at;
  while (at > 0 && IsPdfBlank(chunk[at - 1]))
    --at;
  std::size_t digitsEnd = at;
  while (at > 0 && IsDigit(chunk[at - 1]) && digitsEnd - at < 10)
    --at;
  return at < blanksEnd && at < digitsEnd;
}

// The start of "N G" right before obj, or npos when the text there is no object header.
std::size_t HeaderStart(std::string_view chunk, std::size_t obj) {
  std::size_t at = obj;
  if (!BackOverNumber(chunk, at) || !BackOverNumber(chunk, at)) return std::string_view::npos;
  if (at > 0 && !IsPdfBlank(chunk[at - 1]) && !IsPdfDelimiter(chunk[at - 1]))
    return std::string_view::npos;
  return at;
}

bool NamesType(std::string_view start, std::string_view type) {
  std::size_t at = start.find(type);
  std::size_t after = at + type.size();
  return at != std::string_view::npos &&
         (after == start.size() || IsPdfBlank(start[after]) || IsPdfDelimiter(start[after]));
}

}  // namespace

PdfScan::PdfScan(PdfFile& file) {
  std::uint64_t size = file.Size();
  std::uint64_t tailStart = size > 2 * kScannedEnd ? size - kScannedEnd : 0;
  std::uint64_t headEnd = std::min(size, kScannedEnd);
  for (std::uint64_t offset = 0; offset < size; offset += kChunk) {
    if (offset >= headEnd && offset < tailStart) offset = tailStart;
    // Each chunk starts early enough to hold the header of an "obj" at its first position.
    std::uint64_t from = offset >= kOverlap ? offset - kOverlap : 0;
    std::string chunk = file.Read(from, offset - from + kChunk + kOverlap);
    ScanChunk(chunk, from, offset - from);
  }
  std::stable_sort(objects_.begin(), objects_.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  CompleteTrailer(file);
}

void PdfScan::ScanChunk(std::string_view chunk, std::uint64_t offset, std::size_t first) {
  std::size_t end = std::min(chunk.size(), first + kChunk);
  for (std::size_t at = chunk.find("obj", first); at < end; at = chunk.find("obj", at + 3)) {
    std::size_t after = at + 3;
    if (after < chunk.size() && !IsPdfBlank(chunk[after]) && !IsPdfDelimiter(chunk[after])) {
      continue;
    }
    Record(chunk, at, offset);
  }
  for (std::size_t at = chunk.find("trailer", first); at < end; at = chunk.find("trailer", at + 7))
    lastTrailer_ = offset + at;
  // "xref" that begins a line, not the end of "startxref".
  for (std::size_t at = chunk.find("xref", first); at < end; at = chunk.find("xref", at + 4)) {
    if (at > 0 && (chunk[at - 1] == '\r' || chunk[at - 1] == '\n')) lastXrefTable_ = offset + at;
  }
}

void PdfScan::Record(std::string_view chunk, std::size_t obj, std::uint64_t offset) {
  std::size_t start = HeaderStart(chunk, obj);
  if (start == std::string_view::npos || (start == 0 && offset != 0)) return;
  if (objects_.size() >= kMostObjects) return;
  PdfParser parser(chunk.substr(start, obj - start), 0);
  std::int64_t number = 0;
  if (!parser.Integer(number) || number > 0xFFFFFFFE) return;
  auto object = static_cast<std::uint32_t>(number);
  objects_.emplace_back(object, offset + start);
  std::string_view body = chunk.substr(obj + 3, kPeek);
  if (NamesType(body, "/XRef")) lastXrefStream_ = offset + start;
  if (NamesType(body, "/Catalog")) lastCatalog_ = object;
}

void PdfScan::CompleteTrailer(PdfFile& file) {
  if (lastTrailer_ != 0) trailer_ = ReadTrailerAt(file, lastTrailer_);
  if (trailer_.kind != PdfValue::Kind::kDictionary && lastXrefStream_ != 0) {
    trailer_ = ReadObjectAt(file, lastXrefStream_, kAnyObject);
  }
  trailer_.kind = PdfValue::Kind::kDictionary;
  if (!trailer_.Get("Root") && lastCatalog_ != 0) {
    PdfValue root;
    root.kind = PdfValue::Kind::kName;
    root.text = "Root";
    PdfValue reference;
    reference.kind = PdfValue::Kind::kReference;
    reference.number = lastCatalog_;
    trailer_.items.push_back(std::move(root));
    trailer_.items.push_back(std::move(reference));
  }
}

std::uint64_t PdfScan::OffsetOf(std::uint32_t number) const {
  auto found = std::upper_bound(objects_.begin(), objects_.end(), number,
                                [](std::uint32_t n, const auto& entry) { return n < entry.first; });
  if (found == objects_.begin() || std::prev(found)->first != number) return 0;
  return std::prev(found)->second;
}

}  // namespace gui
