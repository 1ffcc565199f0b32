#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "production/PdfFile.h"
#include "production/PdfSyntax.h"

namespace gui {

// How a stream's data is encoded: raw, or Flate with or without a PNG predictor.
struct PdfFilter {
  bool supported = true;
  bool flate = false;
  bool png = false;
  std::size_t rowBytes = 0;       // one row of predicted data, without its filter-type byte
  std::size_t bytesPerPixel = 1;  // the distance a PNG predictor looks back
};

PdfFilter FilterOf(const PdfValue& stream);

// A stream's data decoded on the fly from the file, with constant memory whatever its size; the
// decoded bytes are limited too, so a compressed bomb ends early.
class PdfStreamReader {
 public:
  PdfStreamReader(PdfFile& file, std::uint64_t start, std::uint64_t end, const PdfFilter& filter);
  ~PdfStreamReader();
  PdfStreamReader(const PdfStreamReader&) = delete;
  PdfStreamReader& operator=(const PdfStreamReader&) = delete;

  // Up to size decoded bytes; fewer only at the end of the data or where it is damaged.
  std::size_t Read(char* out, std::size_t size);
  // Passes over count decoded bytes; false when the data ends first.
  bool Skip(std::uint64_t count);
  std::string ReadText(std::size_t most);

 private:
  struct Inflater;

  std::size_t Raw(char* out, std::size_t size);
  std::size_t Inflate(char* out, std::size_t size);
  std::size_t InflateFully(char* out, std::size_t size);
  bool NextRow();

  PdfFile& file_;
  std::uint64_t position_;
  std::uint64_t end_;
  PdfFilter filter_;
  std::unique_ptr<Inflater> inflater_;
  std::uint64_t decoded_ = 0;
  std::vector<unsigned char> row_;
  std::vector<unsigned char> previous_;
  std::size_t rowPosition_ = 0;
};

}  // namespace gui
