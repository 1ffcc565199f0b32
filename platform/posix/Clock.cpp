#include "platform/Clock.h"

#include <time.h>

namespace gui::platform {

namespace {
DateTime fixedMoment;
}

DateTime LocalNow() {
  if (fixedMoment.year != 0) return fixedMoment;
  time_t now = time(nullptr);
  struct tm local {};
  localtime_r(&now, &local);
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
          local.tm_hour,        local.tm_min,     local.tm_sec};
}

std::int64_t EpochSeconds() {
  return static_cast<std::int64_t>(time(nullptr));
}

double MonotonicSeconds() {
  struct timespec now {};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

void SleepMilliseconds(int milliseconds) {
  struct timespec pause {
    milliseconds / 1000, static_cast<long>(milliseconds % 1000) * 1000000L
  };
  while (nanosleep(&pause, &pause) != 0) {
  }
}

void FixLocalNowForTesting(const DateTime& moment) {
  fixedMoment = moment;
}

}  // namespace gui::platform
