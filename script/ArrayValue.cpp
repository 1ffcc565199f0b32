#include <utility>

#include "script/ArrayValue.h"
#include "script/Limits.h"
#include "script/ScriptErrors.h"

namespace gui::script {

namespace {

std::size_t CellCount(const std::vector<std::int32_t>& upper) {
  std::size_t count = upper.empty() ? 0 : 1;
  for (std::int32_t bound : upper) {
    if (bound < -1) ThrowError(vberr::kSubscript);
    std::size_t extent = static_cast<std::size_t>(bound) + 1;
    if (extent != 0 && count > limits::kMaxLiveBytes / sizeof(Variant) / extent) {
      ThrowError(vberr::kOutOfMemory);
    }
    count *= extent;
  }
  return count;
}

}  // namespace

ArrayValue::ArrayValue(std::vector<std::int32_t> upperBounds, bool fixed)
    : upper_(std::move(upperBounds)), fixed_(fixed) {
  std::size_t count = CellCount(upper_);
  ChargeMemory(count * sizeof(Variant));
  cells_.resize(count);
}

ArrayValue::ArrayValue(const ArrayValue& other) : upper_(other.upper_), fixed_(other.fixed_) {
  ChargeMemory(other.cells_.size() * sizeof(Variant));
  try {
    cells_ = other.cells_;
  } catch (...) {
    ReleaseMemory(other.cells_.size() * sizeof(Variant));
    throw;
  }
}

ArrayValue::~ArrayValue() {
  ReleaseMemory(cells_.size() * sizeof(Variant));
}

std::shared_ptr<ArrayValue> ArrayValue::FromCells(std::vector<Variant> cells) {
  auto array = std::make_shared<ArrayValue>(
      std::vector<std::int32_t>{static_cast<std::int32_t>(cells.size()) - 1}, false);
  array->cells_ = std::move(cells);
  return array;
}

std::size_t ArrayValue::Offset(const std::vector<std::int32_t>& indexes) const {
  if (indexes.size() != upper_.size()) ThrowError(vberr::kSubscript);
  std::size_t offset = 0;
  for (std::size_t d = upper_.size(); d-- > 0;) {
    if (indexes[d] < 0 || indexes[d] > upper_[d]) ThrowError(vberr::kSubscript);
    offset = offset * (static_cast<std::size_t>(upper_[d]) + 1) + indexes[d];
  }
  return offset;
}

void ArrayValue::Resize(std::vector<std::int32_t> upperBounds, bool preserve) {
  if (preserve && !upper_.empty()) {
    if (upperBounds.size() != upper_.size()) ThrowError(vberr::kSubscript);
    for (std::size_t d = 0; d + 1 < upper_.size(); ++d) {
      if (upperBounds[d] != upper_[d]) ThrowError(vberr::kSubscript);
    }
  }
  std::size_t count = CellCount(upperBounds);
  std::size_t old = cells_.size();
  if (count > old) ChargeMemory((count - old) * sizeof(Variant));
  if (!preserve) cells_.clear();
  cells_.resize(count);
  if (count < old) ReleaseMemory((old - count) * sizeof(Variant));
  upper_ = std::move(upperBounds);
}

}  // namespace gui::script
