#pragma once

#include <string>

namespace gui::script {

// A number rounded to a count of decimals from its 15 significant digits, the precision
// VBScript's own rounding and formatting work with (so 2.675 counts as exactly 2.675).
struct DecimalText {
  bool negative = false;
  std::string integer;   // digits, "0" when there are none
  std::string fraction;  // exactly the requested count of digits

  bool IsZero() const;
  // The text read back as a number.
  double Value() const;
};

// Ties go to the even digit when `halfEven`, else away from zero.
DecimalText ToDecimal(double value, int decimals, bool halfEven);

}  // namespace gui::script
