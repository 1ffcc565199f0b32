#pragma once

#include <chrono>
#include <functional>
#include <thread>

namespace gui::test {

// Whether something that another process brings about comes true within so many seconds.
inline bool Eventually(const std::function<bool()>& condition, int seconds = 30) {
  for (int attempt = 0; attempt < seconds * 10; ++attempt) {
    if (condition()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return condition();
}

}  // namespace gui::test
