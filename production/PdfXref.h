#pragma once

#include <cstdint>
#include <vector>

#include "production/PdfFile.h"
#include "production/PdfStream.h"
#include "production/PdfSyntax.h"

namespace gui {

struct PdfXrefEntry {
  enum class Type : std::uint8_t { kMissing, kFree, kInFile, kInStream };
  Type type = Type::kMissing;
  std::uint64_t offset = 0;  // in the file; for kInStream the number of the object stream
  std::uint32_t index = 0;   // the place in the object stream
};

// The cross-reference sections of a PDF, newest first: classic tables and streams, along the
// /Prev chain of incremental updates. Entries are looked up in the file when asked for, so
// memory stays small whatever the number of objects.
class PdfXref {
 public:
  explicit PdfXref(PdfFile& file) : file_(file) {}

  // Reads the sections from the one at offset back; false when not even that one can be read.
  bool Load(std::uint64_t offset);
  PdfXrefEntry Find(std::uint32_t number);
  // The trailers merged: a newer section's entry wins.
  const PdfValue& Trailer() const { return trailer_; }

 private:
  struct Subsection {
    std::uint32_t first = 0;
    std::uint32_t count = 0;
    std::uint64_t start = 0;  // the first entry: its offset in the file, or its row in a stream
    std::uint32_t entryBytes = 20;
  };
  struct Section {
    std::vector<Subsection> subsections;
    bool stream = false;
    std::uint32_t widths[3] = {};
    PdfFilter filter;
    std::uint64_t dataStart = 0;
    std::uint64_t dataEnd = 0;
  };

  bool ReadSection(std::uint64_t offset, PdfValue& trailer);
  bool ReadTable(std::uint64_t offset, Section& section, PdfValue& trailer);
  bool ReadStream(std::uint64_t offset, Section& section, PdfValue& trailer);
  bool AddSubsection(Section& section, std::int64_t first, std::int64_t count, std::uint64_t start,
                     std::uint32_t entryBytes);
  PdfXrefEntry TableEntry(const Subsection& part, std::uint32_t number);
  PdfXrefEntry StreamEntry(const Section& section, const Subsection& part, std::uint32_t number);
  void Merge(const PdfValue& trailer);

  PdfFile& file_;
  std::vector<Section> sections_;
  PdfValue trailer_;
};

// The offset that "startxref" at the end of the file names; 0 when there is none.
std::uint64_t StartXrefOffset(PdfFile& file);

}  // namespace gui
