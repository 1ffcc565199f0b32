#include <cctype>
#include <vector>

#include "script/DateTime.h"

namespace gui::script::datetime {

namespace {

enum class ItemKind { Number, Month, Weekday, Am, Pm, Colon, Separator };

struct Item {
  ItemKind kind;
  std::int64_t value = 0;
  int digits = 0;
};

constexpr const char* kMonthPrefixes[12] = {"jan", "feb", "mar", "apr", "may", "jun",
                                            "jul", "aug", "sep", "oct", "nov", "dec"};
constexpr const char* kMonthNames[12] = {"january",   "february", "march",    "april",
                                         "may",       "june",     "july",     "august",
                                         "september", "october",  "november", "december"};
constexpr const char* kWeekdayNames[7] = {"sunday",   "monday", "tuesday", "wednesday",
                                          "thursday", "friday", "saturday"};

// A name matches when it is a prefix of at least three letters of the full name.
bool Abbreviates(const std::string& word, const char* name) {
  std::string full = name;
  return word.size() >= 3 && word.size() <= full.size() && full.compare(0, word.size(), word) == 0;
}

std::optional<Item> ReadWord(const std::string& word) {
  if (word == "am" || word == "a") return Item{ItemKind::Am};
  if (word == "pm" || word == "p") return Item{ItemKind::Pm};
  for (int m = 0; m < 12; ++m) {
    if (Abbreviates(word, kMonthNames[m]) || word == kMonthPrefixes[m]) {
      return Item{ItemKind::Month, m + 1};
    }
  }
  for (const char* day : kWeekdayNames) {
    if (Abbreviates(word, day)) return Item{ItemKind::Weekday};
  }
  return std::nullopt;
}

std::optional<std::vector<Item>> Tokenize(std::string_view text) {
  std::vector<Item> items;
  std::size_t i = 0;
  while (i < text.size()) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (std::isdigit(c)) {
      Item item{ItemKind::Number};
      for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        if (item.digits++ > 8) return std::nullopt;
        item.value = item.value * 10 + (text[i] - '0');
      }
      items.push_back(item);
    } else if (std::isalpha(c)) {
      std::string word;
      for (; i < text.size() && std::isalpha(static_cast<unsigned char>(text[i])); ++i) {
        word += static_cast<char>(std::tolower(static_cast<unsigned char>(text[i])));
      }
      std::optional<Item> item = ReadWord(word);
      if (!item) return std::nullopt;
      items.push_back(*item);
    } else if (c == ':') {
      items.push_back(Item{ItemKind::Colon});
      ++i;
    } else if (c == '/' || c == '-' || c == '.' || c == ',') {
      items.push_back(Item{ItemKind::Separator});
      ++i;
    } else if (c == ' ' || c == '\t') {
      ++i;
    } else {
      return std::nullopt;
    }
  }
  return items;
}

bool IsNumber(const std::vector<Item>& items, std::size_t i) {
  return i < items.size() && items[i].kind == ItemKind::Number;
}

bool Is(const std::vector<Item>& items, std::size_t i, ItemKind kind) {
  return i < items.size() && items[i].kind == kind;
}

// Takes the time out of the items ("7:05", "7:05:09 PM", "7 PM"); nullopt when it is malformed.
std::optional<std::int64_t> TakeTime(std::vector<Item>& items, bool& found) {
  for (std::size_t i = 0; i < items.size(); ++i) {
    bool colon = IsNumber(items, i) && Is(items, i + 1, ItemKind::Colon);
    bool meridian =
        IsNumber(items, i) && (Is(items, i + 1, ItemKind::Am) || Is(items, i + 1, ItemKind::Pm));
    if (!colon && !meridian) continue;
    std::int64_t parts[3] = {items[i].value, 0, 0};
    std::size_t end = i + 1;
    for (int p = 1; p < 3 && Is(items, end, ItemKind::Colon); ++p) {
      if (!IsNumber(items, end + 1)) return std::nullopt;
      parts[p] = items[end + 1].value;
      end += 2;
    }
    int meridianKind = Is(items, end, ItemKind::Am) ? 1 : Is(items, end, ItemKind::Pm) ? 2 : 0;
    if (meridianKind != 0) ++end;
    if (parts[1] > 59 || parts[2] > 59) return std::nullopt;
    if (meridianKind != 0 && parts[0] > 12) return std::nullopt;
    if (parts[0] > 23) return std::nullopt;
    std::int64_t hour = meridianKind == 0 ? parts[0] : parts[0] % 12 + (meridianKind == 2 ? 12 : 0);
    items.erase(items.begin() + static_cast<std::ptrdiff_t>(i),
                items.begin() + static_cast<std::ptrdiff_t>(end));
    found = true;
    return hour * 3600 + parts[1] * 60 + parts[2];
  }
  found = false;
  return 0;
}

struct DateFields {
  std::int64_t year = 0;
  std::int64_t month = 0;
  std::int64_t day = 0;
  int yearDigits = 4;
};

std::optional<DateFields> WithMonthName(const std::vector<Item>& numbers, int month,
                                        int currentYear) {
  DateFields f;
  f.month = month;
  if (numbers.size() == 2) {
    bool yearFirst = numbers[0].value > 31 || numbers[0].digits > 2;
    f.year = numbers[yearFirst ? 0 : 1].value;
    f.yearDigits = numbers[yearFirst ? 0 : 1].digits;
    f.day = numbers[yearFirst ? 1 : 0].value;
  } else if (numbers.size() == 1) {
    bool isDay = numbers[0].value <= 31 && numbers[0].digits <= 2;
    f.year = isDay ? currentYear : numbers[0].value;
    f.yearDigits = isDay ? 4 : numbers[0].digits;
    f.day = isDay ? numbers[0].value : 1;
  } else {
    return std::nullopt;
  }
  return f;
}

std::optional<DateFields> NumbersOnly(const std::vector<Item>& n, int currentYear) {
  DateFields f;
  if (n.size() == 3) {
    bool yearFirst = n[0].digits > 2 || n[0].value > 31;
    const Item& y = yearFirst ? n[0] : n[2];
    f = {y.value, n[yearFirst ? 1 : 0].value, n[yearFirst ? 2 : 1].value, y.digits};
  } else if (n.size() == 2) {
    if (n[1].digits > 2 || n[1].value > 31) {
      f = {n[1].value, n[0].value, 1, n[1].digits};
    } else {
      f = {currentYear, n[0].value, n[1].value, 4};
    }
  } else {
    return std::nullopt;
  }
  if (f.month > 12 && f.day <= 12) std::swap(f.month, f.day);
  return f;
}

std::optional<std::int64_t> DayOf(const DateFields& f) {
  std::int64_t year = f.yearDigits <= 2 ? WindowYear(f.year) : f.year;
  if (year < 100 || year > 9999 || f.month < 1 || f.month > 12 || f.day < 1) return std::nullopt;
  if (f.day > DaysInMonth(year, static_cast<int>(f.month))) return std::nullopt;
  return DaysFromCivil(year, static_cast<int>(f.month), static_cast<int>(f.day));
}

}  // namespace

std::optional<double> Parse(std::string_view text, int currentYear) {
  std::optional<std::vector<Item>> items = Tokenize(text);
  if (!items) return std::nullopt;
  bool hasTime = false;
  std::optional<std::int64_t> seconds = TakeTime(*items, hasTime);
  if (!seconds) return std::nullopt;
  std::vector<Item> numbers;
  int month = 0;
  for (const Item& item : *items) {
    if (item.kind == ItemKind::Number) numbers.push_back(item);
    if (item.kind == ItemKind::Month) {
      if (month != 0) return std::nullopt;
      month = static_cast<int>(item.value);
    }
    if (item.kind == ItemKind::Am || item.kind == ItemKind::Pm || item.kind == ItemKind::Colon) {
      return std::nullopt;
    }
  }
  if (numbers.empty() && month == 0) {
    if (!hasTime) return std::nullopt;
    return JoinSerial(0, *seconds);
  }
  std::optional<DateFields> fields =
      month != 0 ? WithMonthName(numbers, month, currentYear) : NumbersOnly(numbers, currentYear);
  if (!fields) return std::nullopt;
  std::optional<std::int64_t> day = DayOf(*fields);
  if (!day) return std::nullopt;
  return JoinSerial(*day, *seconds);
}

}  // namespace gui::script::datetime
