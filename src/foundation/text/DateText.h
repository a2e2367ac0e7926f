// Dates and times on the calendar-date scale (seconds since 30 December 1899, local time) and their texts.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quendrel {

class Clock;

// One moment of the local calendar, to the whole second.
struct CalendarTime {
  int Year = 1899;
  int Month = 12;
  int Day = 30;
  int Hour = 0;
  int Minute = 0;
  int Second = 0;

  friend bool operator==(const CalendarTime&, const CalendarTime&) = default;
};

// The current local date and time in calendar-date seconds with the clock's milliseconds as the fraction.
// The first form asks the current clock (CurrentClock), the second the one it is handed.
double NowSeconds();
double NowSeconds(const Clock& clock);

// Calendar-date seconds of a moment (day 0 is 30 December 1899, so 1 January 1900 is 2 × 86400).
double CalendarSeconds(const CalendarTime& time);

// The moment of the whole part of calendar-date seconds (any fraction is dropped, not rounded). Values
// beyond the years 100 to 9999 are held to them, and NaN reads as day 0.
CalendarTime CalendarTimeOf(double seconds);

// The whole part of the seconds as "mm-dd-yyyy hh:mm:ss" (24-hour clock), or with a tab in place of the
// blank; withMilliseconds appends "." and the fraction's milliseconds, cut (not rounded) to three digits.
std::string FormatTimestamp(double seconds, bool withMilliseconds, bool tabSeparated);

// The program's short date and time texts: "mm-dd-yyyy" and "hh:mm:ss", the same on every machine.
std::string ShortDateText(double seconds);
std::string ShortTimeText(double seconds);

// Reads a date, a time or both: "mm-dd-yyyy", "mm/dd/yyyy" or "yyyy-mm-dd", then optionally blanks and
// "h:mm" or "h:mm:ss" with an optional "AM"/"PM"; a time alone lies on day 0. Outer blanks are ignored.
// Gives calendar-date seconds, or nothing when the text is not such a date or names no real day.
std::optional<double> ParseDateText(std::string_view text);

}  // namespace quendrel
