#pragma once

#include <functional>

#include "services/Error.h"

namespace gui::test {

// The error an action raises; number 0 when it raises none.
inline Error Raised(const std::function<void()>& action) {
  try {
    action();
  } catch (const Error& failure) {
    return failure;
  }
  return Error(0, "");
}

}  // namespace gui::test
