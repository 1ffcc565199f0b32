#include "script/DateTime.h"

#include <cmath>

namespace gui::script::datetime {

namespace {

constexpr const char* kMonths[12] = {"January",   "February", "March",    "April",
                                     "May",       "June",     "July",     "August",
                                     "September", "October",  "November", "December"};
constexpr const char* kWeekdays[7] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                      "Thursday", "Friday", "Saturday"};
constexpr std::int64_t kDaysFrom1970 = 25569;
constexpr double kFirstSerial = -657434.0;  // 1 January 100
constexpr double kLastSerial = 2958466.0;   // 1 January 10000

std::string TwoDigits(int value) {
  std::string text = std::to_string(value);
  return text.size() < 2 ? "0" + text : text;
}

std::string Hour12(const DateParts& p, bool padded) {
  int hour = p.hour % 12 == 0 ? 12 : p.hour % 12;
  return (padded ? TwoDigits(hour) : std::to_string(hour)) + ":" + TwoDigits(p.minute) + ":" +
         TwoDigits(p.second) + (p.hour < 12 ? " AM" : " PM");
}

}  // namespace

std::int64_t DaysFromCivil(std::int64_t year, int month, int day) {
  year -= month <= 2;
  std::int64_t era = (year >= 0 ? year : year - 399) / 400;
  std::int64_t yoe = year - era * 400;
  std::int64_t doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468 + kDaysFrom1970;
}

std::int64_t DayNumber(double serial) {
  std::int64_t days = static_cast<std::int64_t>(std::trunc(serial));
  double fraction = std::fabs(serial - static_cast<double>(days));
  if (std::llround(fraction * 86400.0) >= 86400) days += serial < 0 ? -1 : 1;
  return days;
}

std::int64_t SecondOfDay(double serial) {
  double fraction = std::fabs(serial - std::trunc(serial));
  std::int64_t seconds = std::llround(fraction * 86400.0);
  return seconds >= 86400 ? 0 : seconds;
}

DateParts SplitSerial(double serial) {
  std::int64_t z = DayNumber(serial) - kDaysFrom1970 + 719468;
  std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  std::int64_t doe = z - era * 146097;
  std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  std::int64_t mp = (5 * doy + 2) / 153;
  DateParts p;
  p.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  p.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  p.year = static_cast<int>(yoe + era * 400 + (p.month <= 2));
  std::int64_t seconds = SecondOfDay(serial);
  p.hour = static_cast<int>(seconds / 3600);
  p.minute = static_cast<int>(seconds / 60 % 60);
  p.second = static_cast<int>(seconds % 60);
  return p;
}

double JoinSerial(std::int64_t days, std::int64_t seconds) {
  double fraction = static_cast<double>(seconds) / 86400.0;
  return days >= 0 ? static_cast<double>(days) + fraction : static_cast<double>(days) - fraction;
}

bool InRange(double serial) {
  return serial > kFirstSerial - 1 && serial < kLastSerial;
}

int DaysInMonth(std::int64_t year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

int WeekdayOf(std::int64_t dayNumber) {
  return static_cast<int>(((dayNumber + 6) % 7 + 7) % 7) + 1;
}

std::int64_t WindowYear(std::int64_t year) {
  if (year >= 0 && year < 30) return year + 2000;
  if (year >= 30 && year < 100) return year + 1900;
  return year;
}

std::string ShortDate(double serial) {
  DateParts p = SplitSerial(serial);
  return std::to_string(p.month) + "/" + std::to_string(p.day) + "/" + std::to_string(p.year);
}

std::string LongDate(double serial) {
  DateParts p = SplitSerial(serial);
  return std::string(kWeekdays[WeekdayOf(DayNumber(serial)) - 1]) + ", " + kMonths[p.month - 1] +
         " " + TwoDigits(p.day) + ", " + std::to_string(p.year);
}

std::string LongTime(double serial) {
  return Hour12(SplitSerial(serial), false);
}

std::string ShortTime(double serial) {
  DateParts p = SplitSerial(serial);
  return TwoDigits(p.hour) + ":" + TwoDigits(p.minute);
}

std::string GeneralDate(double serial) {
  bool hasDate = DayNumber(serial) != 0;
  bool hasTime = SecondOfDay(serial) != 0;
  if (hasDate && hasTime) return ShortDate(serial) + " " + LongTime(serial);
  if (hasDate) return ShortDate(serial);
  return LongTime(serial);
}

std::string MonthName(int month, bool abbreviate) {
  std::string name = kMonths[month - 1];
  return abbreviate ? name.substr(0, 3) : name;
}

std::string WeekdayName(int weekday, bool abbreviate) {
  std::string name = kWeekdays[weekday - 1];
  return abbreviate ? name.substr(0, 3) : name;
}

}  // namespace gui::script::datetime
