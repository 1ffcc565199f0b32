#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "production/PdfFile.h"
#include "production/PdfScan.h"
#include "production/PdfSyntax.h"
#include "production/PdfXref.h"

namespace gui {

// The objects of a PDF, found through its cross-reference data, or by a scan of the file when
// that data is damaged; each is read from the file when it is asked for.
class PdfDocument {
 public:
  explicit PdfDocument(PdfFile& file);

  const PdfValue& Trailer() const { return trailer_; }
  // The object; kNone when it is missing, free or unreadable.
  PdfValue Object(std::uint32_t number);
  // The value itself, or the object that a reference names.
  PdfValue Resolve(const PdfValue* value);
  // Up to `most` bytes of a stream's decoded data.
  std::string StreamData(const PdfValue& stream, std::size_t most);

 private:
  PdfValue Located(std::uint32_t number);
  PdfValue Compressed(std::uint32_t number, const PdfXrefEntry& entry);
  PdfValue Scanned(std::uint32_t number);
  std::uint64_t StreamEnd(const PdfValue& stream);

  PdfFile& file_;
  PdfXref xref_;
  std::unique_ptr<PdfScan> scan_;
  PdfValue trailer_;
  int depth_ = 0;  // objects being read inside one another, as a stream's length may ask for
};

}  // namespace gui
