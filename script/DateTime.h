#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Dates as VBScript keeps them: days since 30 December 1899, the fraction being the time of day
// (for days before that date the fraction still counts forward from midnight). Texts follow the
// English (United States) conventions.
namespace gui::script::datetime {

struct DateParts {
  int year = 1899;
  int month = 12;
  int day = 30;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// Days between 30 December 1899 and a date of the proleptic Gregorian calendar.
std::int64_t DaysFromCivil(std::int64_t year, int month, int day);
DateParts SplitSerial(double serial);
// The serial of a day number and a time of day in seconds (0 to 86399).
double JoinSerial(std::int64_t days, std::int64_t seconds);
// Whole days and seconds of the day of a serial, the seconds rounded as VBScript shows them.
std::int64_t DayNumber(double serial);
std::int64_t SecondOfDay(double serial);
// True for years 100 to 9999, the range VBScript dates cover.
bool InRange(double serial);
int DaysInMonth(std::int64_t year, int month);
// 1 for Sunday to 7 for Saturday.
int WeekdayOf(std::int64_t dayNumber);
// Two-digit years: 0 to 29 are 2000 to 2029, 30 to 99 are 1930 to 1999.
std::int64_t WindowYear(std::int64_t year);

// A date or time written as VBScript accepts it ("3/3/2007", "2007-03-03", "March 3, 2007",
// "7:05:09 PM", both together); a date without a year takes `currentYear`.
std::optional<double> Parse(std::string_view text, int currentYear);

std::string ShortDate(double serial);    // 3/3/2007
std::string LongDate(double serial);     // Saturday, March 03, 2007
std::string LongTime(double serial);     // 7:05:09 AM
std::string ShortTime(double serial);    // 07:05
std::string GeneralDate(double serial);  // date, time or both, as CStr shows them

std::string MonthName(int month, bool abbreviate);
std::string WeekdayName(int weekday, bool abbreviate);

}  // namespace gui::script::datetime
