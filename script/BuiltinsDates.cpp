#include <cmath>

#include "script/BuiltinSupport.h"
#include "script/Convert.h"
#include "script/DateTime.h"
#include "script/ScriptErrors.h"
#include "script/Utf8.h"

namespace gui::script {

namespace {

using builtins::CurrentYear;
using builtins::IsNull;
using builtins::LongOr;
using namespace datetime;

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

// Seconds since 30 December 1899 at midnight.
std::int64_t AbsoluteSeconds(double serial) {
  return DayNumber(serial) * 86400 + SecondOfDay(serial);
}

double FromAbsoluteSeconds(std::int64_t seconds) {
  std::int64_t days = FloorDiv(seconds, 86400);
  return JoinSerial(days, seconds - days * 86400);
}

Variant CheckedDate(double serial) {
  if (!InRange(serial)) ThrowError(vberr::kInvalidCall);
  return Variant::Date(serial);
}

// 1 to 7, Sunday when the argument is left out or 0 (the system's first day).
int FirstDay(const Args& a, std::size_t i) {
  std::int32_t first = LongOr(a, i, 1);
  if (first < 0 || first > 7) ThrowError(vberr::kInvalidCall);
  return first == 0 ? 1 : first;
}

int WeekdayFrom(std::int64_t dayNumber, int firstDay) {
  return (WeekdayOf(dayNumber) - firstDay + 7) % 7 + 1;
}

double DateArgument(Runtime& r, const Variant& value) {
  return ToDate(value, CurrentYear(r));
}

double NowSerial(Runtime& r) {
  LocalDateTime now = r.clock();
  return JoinSerial(DaysFromCivil(now.year, now.month, now.day),
                    now.hour * 3600 + now.minute * 60 + now.second);
}

Variant Now(Runtime& r, const Args&) {
  return Variant::Date(NowSerial(r));
}
Variant Today(Runtime& r, const Args&) {
  return Variant::Date(JoinSerial(DayNumber(NowSerial(r)), 0));
}
Variant TimeOfDay(Runtime& r, const Args&) {
  return Variant::Date(JoinSerial(0, SecondOfDay(NowSerial(r))));
}

Variant Timer(Runtime& r, const Args&) {
  LocalDateTime now = r.clock();
  double seconds = now.hour * 3600.0 + now.minute * 60.0 + now.second + now.millisecond / 1000.0;
  return Variant::Single(static_cast<float>(seconds));
}

template <int DateParts::*Field>
Variant Part(Runtime& r, const Args& a) {
  if (IsNull(a, 0)) return Variant::Null();
  return Variant::Integer(static_cast<std::int16_t>(SplitSerial(DateArgument(r, a[0])).*Field));
}

Variant Weekday(Runtime& r, const Args& a) {
  int first = FirstDay(a, 1);
  if (IsNull(a, 0)) return Variant::Null();
  return Variant::Integer(
      static_cast<std::int16_t>(WeekdayFrom(DayNumber(DateArgument(r, a[0])), first)));
}

Variant MonthNameOf(Runtime&, const Args& a) {
  std::int32_t month = ToLong(a[0]);
  if (month < 1 || month > 12) ThrowError(vberr::kInvalidCall);
  return Variant::String(MonthName(month, builtins::Given(a, 1) && ToBool(a[1])));
}

Variant WeekdayNameOf(Runtime&, const Args& a) {
  std::int32_t day = ToLong(a[0]);
  int first = FirstDay(a, 2);
  if (day < 1 || day > 7) ThrowError(vberr::kInvalidCall);
  return Variant::String(
      WeekdayName((day - 1 + first - 1) % 7 + 1, builtins::Given(a, 1) && ToBool(a[1])));
}

Variant DateSerial(Runtime&, const Args& a) {
  std::int64_t year = WindowYear(ToLong(a[0]));
  std::int64_t months = year * 12 + ToLong(a[1]) - 1;
  std::int64_t day = ToLong(a[2]);
  if (std::llabs(months) > 1000000 || std::llabs(day) > 10000000) ThrowError(vberr::kInvalidCall);
  std::int64_t days = DaysFromCivil(FloorDiv(months, 12),
                                    static_cast<int>(months - FloorDiv(months, 12) * 12) + 1, 1);
  return CheckedDate(JoinSerial(days + day - 1, 0));
}

Variant TimeSerial(Runtime&, const Args& a) {
  std::int64_t seconds =
      std::int64_t{ToLong(a[0])} * 3600 + std::int64_t{ToLong(a[1])} * 60 + ToLong(a[2]);
  return CheckedDate(FromAbsoluteSeconds(seconds));
}

Variant DateValue(Runtime& r, const Args& a) {
  if (IsNull(a, 0)) return Variant::Null();
  return Variant::Date(JoinSerial(DayNumber(DateArgument(r, a[0])), 0));
}

Variant TimeValue(Runtime& r, const Args& a) {
  if (IsNull(a, 0)) return Variant::Null();
  return Variant::Date(JoinSerial(0, SecondOfDay(DateArgument(r, a[0]))));
}

std::string Interval(const Variant& value) {
  return utf8::Lower(ToText(value));
}

double AddMonths(double serial, std::int64_t months) {
  DateParts p = SplitSerial(serial);
  std::int64_t total = std::int64_t{p.year} * 12 + p.month - 1 + months;
  std::int64_t year = FloorDiv(total, 12);
  int month = static_cast<int>(total - year * 12) + 1;
  if (year < 100 || year > 9999) ThrowError(vberr::kInvalidCall);
  int day = std::min(p.day, DaysInMonth(year, month));
  return JoinSerial(DaysFromCivil(year, month, day), SecondOfDay(serial));
}

Variant DateAdd(Runtime& r, const Args& a) {
  std::string unit = Interval(a[0]);
  double number = ToDouble(a[1]);
  if (std::fabs(number) > 1e9) ThrowError(vberr::kInvalidCall);
  std::int64_t n = static_cast<std::int64_t>(RoundHalfEven(number));
  if (IsNull(a, 2)) return Variant::Null();
  double serial = DateArgument(r, a[2]);
  if (unit == "yyyy") return CheckedDate(AddMonths(serial, n * 12));
  if (unit == "q") return CheckedDate(AddMonths(serial, n * 3));
  if (unit == "m") return CheckedDate(AddMonths(serial, n));
  std::int64_t step = unit == "y" || unit == "d" || unit == "w" ? 86400
                      : unit == "ww"                            ? 7 * 86400
                      : unit == "h"                             ? 3600
                      : unit == "n"                             ? 60
                      : unit == "s"                             ? 1
                                                                : 0;
  if (step == 0) ThrowError(vberr::kInvalidCall);
  return CheckedDate(FromAbsoluteSeconds(AbsoluteSeconds(serial) + n * step));
}

std::int64_t StartOfWeek(std::int64_t dayNumber, int firstDay) {
  return dayNumber - (WeekdayFrom(dayNumber, firstDay) - 1);
}

Variant DateDiff(Runtime& r, const Args& a) {
  std::string unit = Interval(a[0]);
  int first = FirstDay(a, 3);
  if (IsNull(a, 1) || IsNull(a, 2)) return Variant::Null();
  double from = DateArgument(r, a[1]);
  double to = DateArgument(r, a[2]);
  DateParts p = SplitSerial(from);
  DateParts q = SplitSerial(to);
  std::int64_t result = 0;
  if (unit == "yyyy") {
    result = q.year - p.year;
  } else if (unit == "q") {
    result = (q.year * 4 + (q.month - 1) / 3) - (p.year * 4 + (p.month - 1) / 3);
  } else if (unit == "m") {
    result = (q.year * 12 + q.month) - (p.year * 12 + p.month);
  } else if (unit == "y" || unit == "d") {
    result = DayNumber(to) - DayNumber(from);
  } else if (unit == "w") {
    result = (DayNumber(to) - DayNumber(from)) / 7;
  } else if (unit == "ww") {
    result = (StartOfWeek(DayNumber(to), first) - StartOfWeek(DayNumber(from), first)) / 7;
  } else if (unit == "h" || unit == "n" || unit == "s") {
    std::int64_t size = unit == "h" ? 3600 : unit == "n" ? 60 : 1;
    result = FloorDiv(AbsoluteSeconds(to), size) - FloorDiv(AbsoluteSeconds(from), size);
  } else {
    ThrowError(vberr::kInvalidCall);
  }
  if (result < INT32_MIN || result > INT32_MAX) ThrowError(vberr::kOverflow);
  return Variant::Long(static_cast<std::int32_t>(result));
}

// The first day of week 1 of a year under the given rule (1: the week of 1 January,
// 2: the first week with four days, 3: the first full week).
std::int64_t FirstWeekStart(std::int64_t year, int firstDay, int rule) {
  std::int64_t jan1 = DaysFromCivil(year, 1, 1);
  std::int64_t offset = WeekdayFrom(jan1, firstDay) - 1;
  if (rule == 2) return offset <= 3 ? jan1 - offset : jan1 + 7 - offset;
  if (rule == 3) return offset == 0 ? jan1 : jan1 + 7 - offset;
  return jan1 - offset;
}

std::int64_t WeekOfYear(std::int64_t dayNumber, int year, int firstDay, int rule) {
  std::int64_t start = FirstWeekStart(year, firstDay, rule);
  if (dayNumber < start) start = FirstWeekStart(year - 1, firstDay, rule);
  return (dayNumber - start) / 7 + 1;
}

Variant DatePart(Runtime& r, const Args& a) {
  std::string unit = Interval(a[0]);
  int first = FirstDay(a, 2);
  std::int32_t rule = LongOr(a, 3, 1);
  if (rule < 0 || rule > 3) ThrowError(vberr::kInvalidCall);
  if (IsNull(a, 1)) return Variant::Null();
  double serial = DateArgument(r, a[1]);
  DateParts p = SplitSerial(serial);
  std::int64_t day = DayNumber(serial);
  std::int64_t value = 0;
  if (unit == "yyyy")
    value = p.year;
  else if (unit == "q")
    value = (p.month - 1) / 3 + 1;
  else if (unit == "m")
    value = p.month;
  else if (unit == "y")
    value = day - DaysFromCivil(p.year, 1, 1) + 1;
  else if (unit == "d")
    value = p.day;
  else if (unit == "w")
    value = WeekdayFrom(day, first);
  else if (unit == "ww")
    value = WeekOfYear(day, p.year, first, rule == 0 ? 1 : rule);
  else if (unit == "h")
    value = p.hour;
  else if (unit == "n")
    value = p.minute;
  else if (unit == "s")
    value = p.second;
  else
    ThrowError(vberr::kInvalidCall);
  return Variant::Integer(static_cast<std::int16_t>(value));
}

constexpr Builtin kDates[] = {
    {"date", "Date", 0, 0, Today},
    {"dateadd", "DateAdd", 3, 3, DateAdd},
    {"datediff", "DateDiff", 3, 5, DateDiff},
    {"datepart", "DatePart", 2, 4, DatePart},
    {"dateserial", "DateSerial", 3, 3, DateSerial},
    {"datevalue", "DateValue", 1, 1, DateValue},
    {"day", "Day", 1, 1, Part<&DateParts::day>},
    {"hour", "Hour", 1, 1, Part<&DateParts::hour>},
    {"minute", "Minute", 1, 1, Part<&DateParts::minute>},
    {"month", "Month", 1, 1, Part<&DateParts::month>},
    {"monthname", "MonthName", 1, 2, MonthNameOf},
    {"now", "Now", 0, 0, Now},
    {"second", "Second", 1, 1, Part<&DateParts::second>},
    {"time", "Time", 0, 0, TimeOfDay},
    {"timer", "Timer", 0, 0, Timer},
    {"timeserial", "TimeSerial", 3, 3, TimeSerial},
    {"timevalue", "TimeValue", 1, 1, TimeValue},
    {"weekday", "Weekday", 1, 2, Weekday},
    {"weekdayname", "WeekdayName", 1, 3, WeekdayNameOf},
    {"year", "Year", 1, 1, Part<&DateParts::year>},
};

}  // namespace

std::span<const Builtin> DateBuiltins() {
  return kDates;
}

}  // namespace gui::script
