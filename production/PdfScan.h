#pragma once

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

#include "production/PdfFile.h"
#include "production/PdfSyntax.h"

namespace gui {

// What a search of the file for "N G obj" finds, for a PDF whose cross-reference data cannot be
// used. The search covers the first and the last bytes of a large file and records a limited
// number of objects.
class PdfScan {
 public:
  explicit PdfScan(PdfFile& file);

  // Where the last definition of the object begins; 0 when none was seen.
  std::uint64_t OffsetOf(std::uint32_t number) const;
  // The last trailer, completed from a cross-reference stream or a catalog found on the way.
  const PdfValue& Trailer() const { return trailer_; }
  // Where the last cross-reference table or stream begins; 0 when none was seen.
  std::uint64_t LastXref() const { return std::max(lastXrefTable_, lastXrefStream_); }

 private:
  void ScanChunk(std::string_view chunk, std::uint64_t offset, std::size_t first);
  void Record(std::string_view chunk, std::size_t obj, std::uint64_t offset);
  void CompleteTrailer(PdfFile& file);

  std::vector<std::pair<std::uint32_t, std::uint64_t>> objects_;
  std::uint64_t lastTrailer_ = 0;
  std::uint64_t lastXrefTable_ = 0;
  std::uint64_t lastXrefStream_ = 0;
  std::uint32_t lastCatalog_ = 0;
  PdfValue trailer_;
};

}  // namespace gui
