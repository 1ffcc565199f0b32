#include "script/Runtime.h"

#include <chrono>
#include <ctime>

#include "script/ErrObject.h"

namespace gui::script {

LocalDateTime SystemLocalTime() {
  auto now = std::chrono::system_clock::now();
  std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  auto millis =
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  std::tm local = *std::localtime(&seconds);
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,           local.tm_hour,
          local.tm_min,         local.tm_sec,     static_cast<int>(millis)};
}

Runtime::Runtime() : err(std::make_shared<ErrObject>()) {}

}  // namespace gui::script
