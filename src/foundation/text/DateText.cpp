#include "foundation/text/DateText.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>

#include "platform/Clock.h"

namespace quendrel {

namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

// Days from 30 December 1899 in the proleptic Gregorian calendar (era arithmetic after H. Hinnant).
std::int64_t DayNumber(int year, int month, int day) {
  const std::int64_t y = year - (month <= 2 ? 1 : 0);
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t yearOfEra = y - era * 400;
  const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  constexpr std::int64_t kDaysFrom0000To18991230 = 693959;
  return era * 146097 + dayOfEra + 60 - kDaysFrom0000To18991230;
}

void SetDate(std::int64_t dayNumber, CalendarTime& time) {
  constexpr std::int64_t kDaysFrom0000To18991230 = 693959;
  const std::int64_t z = dayNumber + kDaysFrom0000To18991230 - 60;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const std::int64_t dayOfEra = z - era * 146097;
  const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const std::int64_t monthIndex = (5 * dayOfYear + 2) / 153;
  time.Day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
  time.Month = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
  time.Year = static_cast<int>(yearOfEra + era * 400 + (time.Month <= 2 ? 1 : 0));
}

int DaysInMonth(int year, int month) {
  constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

// The texts are appended to one string in place: a scan writes a stamp on every line it logs.
void AppendZeroPadded(std::string& text, long long value, std::size_t width) {
  std::array<char, 24> digits{};
  const char* end = std::to_chars(digits.data(), digits.data() + digits.size(), value).ptr;
  const auto count = static_cast<std::size_t>(end - digits.data());
  if (count < width) text.append(width - count, '0');
  text.append(digits.data(), count);
}

void AppendDate(std::string& text, const CalendarTime& t) {
  AppendZeroPadded(text, t.Month, 2);
  text += '-';
  AppendZeroPadded(text, t.Day, 2);
  text += '-';
  AppendZeroPadded(text, t.Year, 4);
}

void AppendTime(std::string& text, const CalendarTime& t) {
  AppendZeroPadded(text, t.Hour, 2);
  text += ':';
  AppendZeroPadded(text, t.Minute, 2);
  text += ':';
  AppendZeroPadded(text, t.Second, 2);
}

// Reads the pieces of a date or time text left to right; every method leaves the position alone on failure.
class DateScanner {
 public:
  explicit DateScanner(std::string_view text) : text_(text) {}

  std::optional<int> Number(std::size_t minDigits, std::size_t maxDigits) {
    std::size_t end = position_;
    while (end < text_.size() && text_[end] >= '0' && text_[end] <= '9') ++end;
    const std::size_t count = end - position_;
    if (count < minDigits || count > maxDigits) return std::nullopt;
    int value = 0;
    for (; position_ < end; ++position_) value = value * 10 + (text_[position_] - '0');
    return value;
  }
  bool Take(char c) {
    if (position_ >= text_.size() || text_[position_] != c) return false;
    ++position_;
    return true;
  }
  bool TakeWord(std::string_view word) {
    if (text_.size() - position_ < word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
      if (std::toupper(static_cast<unsigned char>(text_[position_ + i])) != word[i]) return false;
    }
    position_ += word.size();
    return true;
  }
  std::size_t SkipBlanks() {
    const std::size_t start = position_;
    while (position_ < text_.size() && (text_[position_] == ' ' || text_[position_] == '\t')) ++position_;
    return position_ - start;
  }
  bool AtEnd() const { return position_ >= text_.size(); }
  char Current() const { return AtEnd() ? '\0' : text_[position_]; }
  std::size_t Position() const { return position_; }
  void Restore(std::size_t position) { position_ = position; }

 private:
  std::string_view text_;
  std::size_t position_ = 0;
};

bool ReadDate(DateScanner& scan, CalendarTime& time) {
  const std::size_t start = scan.Position();
  const auto first = scan.Number(1, 4);
  const char separator = scan.Current();
  if (!first || (separator != '-' && separator != '/')) {
    scan.Restore(start);
    return false;
  }
  scan.Take(separator);
  const bool yearFirst = scan.Position() - start == 5;
  const auto second = scan.Number(1, 2);
  const bool secondSeparator = second && scan.Take(separator);
  const auto third = secondSeparator ? (yearFirst ? scan.Number(1, 2) : scan.Number(4, 4)) : std::nullopt;
  if (!third || (!yearFirst && *first > 99)) {
    scan.Restore(start);
    return false;
  }
  time.Year = yearFirst ? *first : *third;
  time.Month = yearFirst ? *second : *first;
  time.Day = yearFirst ? *third : *second;
  return time.Month >= 1 && time.Month <= 12 && time.Day >= 1 && time.Day <= DaysInMonth(time.Year, time.Month);
}

bool ReadTime(DateScanner& scan, CalendarTime& time) {
  const auto hour = scan.Number(1, 2);
  if (!hour || !scan.Take(':')) return false;
  const auto minute = scan.Number(2, 2);
  if (!minute) return false;
  std::optional<int> second = 0;
  if (scan.Take(':')) second = scan.Number(2, 2);
  if (!second) return false;
  const std::size_t beforeMarker = scan.Position();
  scan.SkipBlanks();
  const bool am = scan.TakeWord("AM");
  const bool pm = !am && scan.TakeWord("PM");
  if (!am && !pm) scan.Restore(beforeMarker);
  if ((am || pm) && (*hour < 1 || *hour > 12)) return false;
  time.Hour = am || pm ? *hour % 12 + (pm ? 12 : 0) : *hour;
  time.Minute = *minute;
  time.Second = *second;
  return time.Hour <= 23 && time.Minute <= 59 && time.Second <= 59;
}

}  // namespace

double NowSeconds() { return NowSeconds(CurrentClock()); }

double NowSeconds(const Clock& clock) { return clock.Now(); }

double CalendarSeconds(const CalendarTime& time) {
  const std::int64_t whole = DayNumber(time.Year, time.Month, time.Day) * kSecondsPerDay + time.Hour * 3600 +
                             time.Minute * 60 + time.Second;
  return static_cast<double>(whole);
}

CalendarTime CalendarTimeOf(double seconds) {
  // Held to 1 January 100 .. 31 December 9999, the dates the program's files can hold, so no garbage
  // value can overflow the day arithmetic.
  constexpr double kFirst = -657434.0 * kSecondsPerDay;
  constexpr double kLast = 2958466.0 * kSecondsPerDay - 1;
  if (std::isnan(seconds)) seconds = 0;
  const auto whole = static_cast<std::int64_t>(std::clamp(std::floor(seconds), kFirst, kLast));
  const std::int64_t day = whole >= 0 ? whole / kSecondsPerDay : -((-whole + kSecondsPerDay - 1) / kSecondsPerDay);
  const std::int64_t secondOfDay = whole - day * kSecondsPerDay;
  CalendarTime time;
  SetDate(day, time);
  time.Hour = static_cast<int>(secondOfDay / 3600);
  time.Minute = static_cast<int>(secondOfDay / 60 % 60);
  time.Second = static_cast<int>(secondOfDay % 60);
  return time;
}

std::string FormatTimestamp(double seconds, bool withMilliseconds, bool tabSeparated) {
  const CalendarTime time = CalendarTimeOf(seconds);
  std::string text;
  text.reserve(23);
  AppendDate(text, time);
  text += tabSeparated ? '\t' : ' ';
  AppendTime(text, time);
  if (!withMilliseconds) return text;
  // The fraction of a date-scale double carries noise below a microsecond: settle it there before cutting,
  // or 0.123 would show as 122.
  const double fraction = std::isfinite(seconds) ? seconds - std::floor(seconds) : 0.0;
  const auto microseconds = static_cast<long long>(std::llround(fraction * 1e6));
  const long long milliseconds = std::min(999LL, microseconds / 1000);
  text += '.';
  AppendZeroPadded(text, milliseconds, 3);
  return text;
}

std::string ShortDateText(double seconds) {
  std::string text;
  AppendDate(text, CalendarTimeOf(seconds));
  return text;
}

std::string ShortTimeText(double seconds) {
  std::string text;
  AppendTime(text, CalendarTimeOf(seconds));
  return text;
}

std::optional<double> ParseDateText(std::string_view text) {
  DateScanner scan(text);
  scan.SkipBlanks();
  CalendarTime time;
  const std::size_t start = scan.Position();
  const bool hasDate = ReadDate(scan, time);
  if (!hasDate && scan.Position() != start) return std::nullopt;
  if (hasDate) {
    const std::size_t blanks = scan.SkipBlanks();
    if (scan.AtEnd()) return CalendarSeconds(time);
    if (blanks == 0) return std::nullopt;
  }
  if (!ReadTime(scan, time)) return std::nullopt;
  scan.SkipBlanks();
  if (!scan.AtEnd()) return std::nullopt;
  return CalendarSeconds(time);
}

}  // namespace quendrel
