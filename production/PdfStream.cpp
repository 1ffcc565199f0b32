#include "production/PdfStream.h"

#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace gui {

namespace {

constexpr std::uint64_t kMostDecoded = 256u << 20;
constexpr std::int64_t kLongestRow = 1 << 16;
constexpr std::size_t kChunk = 1 << 14;

// The only entry of a one-item array, or the value itself.
const PdfValue* Single(const PdfValue* value) {
  if (value && value->kind == PdfValue::Kind::kArray) {
    return value->items.size() == 1 ? &value->items[0] : nullptr;
  }
  return value;
}

std::int64_t Parameter(const PdfValue* parameters, const char* key, std::int64_t fallback) {
  const PdfValue* value = parameters ? parameters->Get(key) : nullptr;
  return value && value->IsInteger() ? value->number : fallback;
}

void SetPredictor(const PdfValue* parameters, PdfFilter& filter) {
  std::int64_t predictor = Parameter(parameters, "Predictor", 1);
  if (predictor == 1) return;
  std::int64_t colors = Parameter(parameters, "Colors", 1);
  std::int64_t bits = Parameter(parameters, "BitsPerComponent", 8);
  std::int64_t columns = Parameter(parameters, "Columns", 1);
  filter.png = predictor >= 10 && predictor <= 15;
  if (!filter.png || colors < 1 || colors > 32 || bits < 1 || bits > 16 || columns < 1 ||
      columns > kLongestRow) {
    filter.supported = false;
    return;
  }
  filter.rowBytes = static_cast<std::size_t>((colors * bits * columns + 7) / 8);
  filter.bytesPerPixel = static_cast<std::size_t>(std::max<std::int64_t>(1, colors * bits / 8));
}

int Paeth(int left, int up, int upLeft) {
  int estimate = left + up - upLeft;
  int toLeft = std::abs(estimate - left);
  int toUp = std::abs(estimate - up);
  int toUpLeft = std::abs(estimate - upLeft);
  if (toLeft <= toUp && toLeft <= toUpLeft) return left;
  return toUp <= toUpLeft ? up : upLeft;
}

// Undoes one PNG filter on a row; false for an unknown filter type.
bool Unfilter(int type, unsigned char* row, const unsigned char* above, std::size_t size,
              std::size_t step) {
  for (std::size_t i = 0; i < size; ++i) {
    int left = i >= step ? row[i - step] : 0;
    int upLeft = i >= step ? above[i - step] : 0;
    int add = 0;
    switch (type) {
      case 0:
        break;
      case 1:
        add = left;
        break;
      case 2:
        add = above[i];
        break;
      case 3:
        add = (left + above[i]) / 2;
        break;
      case 4:
        add = Paeth(left, above[i], upLeft);
        break;
      default:
        return false;
    }
    row[i] = static_cast<unsigned char>(row[i] + add);
  }
  return true;
}

}  // namespace

PdfFilter FilterOf(const PdfValue& stream) {
  PdfFilter filter;
  const PdfValue* name = Single(stream.Get("Filter"));
  if (!name || name->kind == PdfValue::Kind::kNull) return filter;
  filter.flate = name->IsName("FlateDecode");
  filter.supported = filter.flate;
  if (filter.flate) SetPredictor(Single(stream.Get("DecodeParms")), filter);
  return filter;
}

struct PdfStreamReader::Inflater {
  z_stream zip{};
  bool done = false;
  char input[kChunk];
};

PdfStreamReader::PdfStreamReader(PdfFile& file, std::uint64_t start, std::uint64_t end,
                                 const PdfFilter& filter)
    : file_(file), position_(start), end_(std::min(end, file.Size())), filter_(filter) {
  if (filter_.flate) {
    inflater_ = std::make_unique<Inflater>();
    inflater_->done = inflateInit(&inflater_->zip) != Z_OK;
  }
  if (filter_.png) {
    row_.assign(filter_.rowBytes + 1, 0);
    previous_.assign(filter_.rowBytes, 0);
    rowPosition_ = row_.size();
  }
}

PdfStreamReader::~PdfStreamReader() {
  if (inflater_) inflateEnd(&inflater_->zip);
}

std::size_t PdfStreamReader::Raw(char* out, std::size_t size) {
  if (position_ >= end_) return 0;
  size = static_cast<std::size_t>(std::min<std::uint64_t>(size, end_ - position_));
  std::size_t got = file_.Read(position_, out, size);
  position_ += got;
  return got;
}

std::size_t PdfStreamReader::Inflate(char* out, std::size_t size) {
  if (!inflater_) return Raw(out, size);
  Inflater& state = *inflater_;
  z_stream& zip = state.zip;
  zip.next_out = reinterpret_cast<Bytef*>(out);
  zip.avail_out = static_cast<uInt>(size);
  while (zip.avail_out > 0 && !state.done) {
    if (zip.avail_in == 0) {
      zip.next_in = reinterpret_cast<Bytef*>(state.input);
      zip.avail_in = static_cast<uInt>(Raw(state.input, kChunk));
      if (zip.avail_in == 0) break;
    }
    int result = inflate(&zip, Z_NO_FLUSH);
    if (result != Z_OK) state.done = true;  // the end of the data, or damage
  }
  return size - zip.avail_out;
}

std::size_t PdfStreamReader::InflateFully(char* out, std::size_t size) {
  std::size_t done = 0;
  while (done < size) {
    std::size_t got = Inflate(out + done, size - done);
    if (got == 0) break;
    done += got;
  }
  return done;
}

bool PdfStreamReader::NextRow() {
  if (InflateFully(reinterpret_cast<char*>(row_.data()), row_.size()) < row_.size()) return false;
  if (!Unfilter(row_[0], row_.data() + 1, previous_.data(), filter_.rowBytes,
                filter_.bytesPerPixel))
    return false;
  std::memcpy(previous_.data(), row_.data() + 1, filter_.rowBytes);
  rowPosition_ = 1;
  return true;
}

std::size_t PdfStreamReader::Read(char* out, std::size_t size) {
  if (!filter_.supported || decoded_ >= kMostDecoded) return 0;
  size = static_cast<std::size_t>(std::min<std::uint64_t>(size, kMostDecoded - decoded_));
  std::size_t done = 0;
  if (!filter_.png) {
    done = InflateFully(out, size);
  }
  while (filter_.png && done < size) {
    if (rowPosition_ == row_.size() && !NextRow()) break;
    std::size_t part = std::min(size - done, row_.size() - rowPosition_);
    std::memcpy(out + done, row_.data() + rowPosition_, part);
    rowPosition_ += part;
    done += part;
  }
  decoded_ += done;
  return done;
}

bool PdfStreamReader::Skip(std::uint64_t count) {
  char scratch[kChunk];
  while (count > 0) {
    std::size_t got =
        Read(scratch, static_cast<std::size_t>(std::min<std::uint64_t>(count, kChunk)));
    if (got == 0) return false;
    count -= got;
  }
  return true;
}

std::string PdfStreamReader::ReadText(std::size_t most) {
  std::string text;
  char chunk[kChunk];
  while (text.size() < most) {
    std::size_t got = Read(chunk, std::min(kChunk, most - text.size()));
    if (got == 0) break;
    text.append(chunk, got);
  }
  return text;
}

}  // namespace gui
