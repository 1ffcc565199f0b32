#pragma once

#include <cstdint>

namespace gui::platform {

struct DateTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

DateTime LocalNow();
std::int64_t EpochSeconds();
double MonotonicSeconds();
void SleepMilliseconds(int milliseconds);
// Tests fix the local clock; a year of 0 returns to the real one.
void FixLocalNowForTesting(const DateTime& moment);

}  // namespace gui::platform
