#pragma once

#include <cstdint>
#include <functional>
#include <memory>

namespace gui::script {

class ErrObject;

// A moment of the local clock, as the script sees it through Now, Date, Time and Timer.
struct LocalDateTime {
  int year = 2000;
  int month = 1;
  int day = 1;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
};

using Clock = std::function<LocalDateTime()>;

// The local time of the system clock.
LocalDateTime SystemLocalTime();

// What built-in functions share with the engine: the clock, the random sequence and Err.
struct Runtime {
  Runtime();

  Clock clock = SystemLocalTime;
  // Rnd's 24-bit sequence, started where VBScript starts it.
  std::uint32_t rndSeed = 0x50000;
  float lastRnd = 0.0f;
  std::shared_ptr<ErrObject> err;
};

}  // namespace gui::script
