#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "script/Variant.h"

namespace gui::script {

// An array of variants with lower bounds 0; the first subscript varies fastest, so that
// ReDim Preserve (which may change only the last bound) keeps the cells where they are.
class ArrayValue {
 public:
  // Raises "Subscript out of range" for bounds below -1 and "Out of memory" past the limits.
  ArrayValue(std::vector<std::int32_t> upperBounds, bool fixed);
  ArrayValue(const ArrayValue& other);
  ArrayValue& operator=(const ArrayValue&) = delete;
  ~ArrayValue();

  static std::shared_ptr<ArrayValue> FromCells(std::vector<Variant> cells);

  int Dimensions() const { return static_cast<int>(upper_.size()); }
  std::int32_t Upper(int dimension) const { return upper_[dimension]; }
  bool Fixed() const { return fixed_; }
  void SetFixed(bool fixed) { fixed_ = fixed; }
  std::vector<Variant>& Cells() { return cells_; }
  const std::vector<Variant>& Cells() const { return cells_; }
  // Raises "Subscript out of range" for a wrong count or an index outside the bounds.
  Variant& At(const std::vector<std::int32_t>& indexes) { return cells_[Offset(indexes)]; }
  const Variant& At(const std::vector<std::int32_t>& indexes) const {
    return cells_[Offset(indexes)];
  }
  void Resize(std::vector<std::int32_t> upperBounds, bool preserve);

 private:
  std::size_t Offset(const std::vector<std::int32_t>& indexes) const;

  std::vector<std::int32_t> upper_;
  std::vector<Variant> cells_;
  bool fixed_;
};

}  // namespace gui::script
