#include "ui/HeadlessUi.h"

#include <iostream>

namespace gui {

int HeadlessUi::MessageBox(const std::string& text, int style, const std::string& title) {
  std::cerr << title << ": " << text << std::endl;
  switch (style & 7) {
    case mb::kYesNo:
      return mb::kNo;
    case mb::kOkCancel:
    case mb::kYesNoCancel:
    case mb::kRetryCancel:
      return mb::kCancel;
    default:
      return mb::kOk;
  }
}

}  // namespace gui
