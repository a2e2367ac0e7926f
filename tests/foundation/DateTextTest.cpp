#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <string>

#include "foundation/text/DateText.h"
#include "platform/Clock.h"
#include "platform/FakeClock.h"

namespace quendrel {
namespace {

constexpr double kDay = 86400;

CalendarTime Moment(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
  return CalendarTime{year, month, day, hour, minute, second};
}

TEST(DateTextTest, CalendarScaleStartsOnThirtiethOfDecember1899) {
  const std::pair<CalendarTime, double> cases[] = {
      {Moment(1899, 12, 30), 0},
      {Moment(1899, 12, 31), kDay},
      {Moment(1900, 1, 1), 2 * kDay},
      {Moment(1900, 3, 1), 61 * kDay},  // 1900 was no leap year
      {Moment(2000, 2, 29), 36585 * kDay},
      {Moment(2024, 1, 1, 13, 45, 30), 45292 * kDay + 13 * 3600 + 45 * 60 + 30},
      {Moment(1899, 12, 29, 23, 59, 59), -1},
      {Moment(1800, 1, 1), -36522 * kDay},
      {Moment(9999, 12, 31, 23, 59, 59), 2958466 * kDay - 1},
  };
  for (const auto& [time, seconds] : cases) {
    EXPECT_EQ(CalendarSeconds(time), seconds) << time.Year << "-" << time.Month << "-" << time.Day;
    EXPECT_EQ(CalendarTimeOf(seconds), time) << seconds;
  }
}

TEST(DateTextTest, FractionsAreDroppedAndValuesBeyondTheCalendarHeldToIt) {
  EXPECT_EQ(CalendarTimeOf(45292 * kDay + 59.999), Moment(2024, 1, 1, 0, 0, 59));
  EXPECT_EQ(CalendarTimeOf(-0.5), Moment(1899, 12, 29, 23, 59, 59));
  EXPECT_EQ(CalendarTimeOf(1e300), Moment(9999, 12, 31, 23, 59, 59));
  EXPECT_EQ(CalendarTimeOf(-1e300), Moment(100, 1, 1));
  EXPECT_EQ(CalendarTimeOf(std::numeric_limits<double>::quiet_NaN()), Moment(1899, 12, 30));
  EXPECT_EQ(FormatTimestamp(std::numeric_limits<double>::infinity(), true, false), "12-31-9999 23:59:59.000");
}

TEST(DateTextTest, TimestampsInAllFourForms) {
  const double seconds = CalendarSeconds(Moment(2024, 3, 7, 9, 5, 3)) + 0.123;
  EXPECT_EQ(FormatTimestamp(seconds, false, false), "03-07-2024 09:05:03");
  EXPECT_EQ(FormatTimestamp(seconds, false, true), "03-07-2024\t09:05:03");
  EXPECT_EQ(FormatTimestamp(seconds, true, false), "03-07-2024 09:05:03.123");
  EXPECT_EQ(FormatTimestamp(seconds, true, true), "03-07-2024\t09:05:03.123");
}

TEST(DateTextTest, MillisecondsAreCutToThreeDigits) {
  const double whole = CalendarSeconds(Moment(2024, 12, 31, 23, 59, 59));
  EXPECT_EQ(FormatTimestamp(whole + 0.9996, true, false), "12-31-2024 23:59:59.999");
  for (int ms = 0; ms < 1000; ++ms) {
    const std::string text = FormatTimestamp(whole + ms / 1000.0, true, false);
    ASSERT_EQ(std::stoi(text.substr(text.size() - 3)), ms) << text;
  }
}

TEST(DateTextTest, ShortTextsAreFixedOnEveryMachine) {
  const double seconds = CalendarSeconds(Moment(2025, 11, 2, 17, 4, 9)) + 0.75;
  EXPECT_EQ(ShortDateText(seconds), "11-02-2025");
  EXPECT_EQ(ShortTimeText(seconds), "17:04:09");
}

TEST(DateTextTest, NowComesFromTheClock) {
  FakeClock clock(CalendarSeconds(Moment(2024, 6, 1, 8, 0, 0)) + 0.25);
  SetClock(&clock);
  EXPECT_EQ(FormatTimestamp(NowSeconds(), true, false), "06-01-2024 08:00:00.250");
  clock.Advance(90);
  EXPECT_EQ(FormatTimestamp(NowSeconds(), true, false), "06-01-2024 08:01:30.250");
  SetClock(nullptr);
}

TEST(DateTextTest, ReadsDatesTimesAndBoth) {
  const std::pair<const char*, double> cases[] = {
      {"01-01-2024", CalendarSeconds(Moment(2024, 1, 1))},
      {"2024-02-29", CalendarSeconds(Moment(2024, 2, 29))},
      {" 12/30/1899 ", 0},
      {"03-07-2024 09:05:03", CalendarSeconds(Moment(2024, 3, 7, 9, 5, 3))},
      {"03-07-2024\t9:05", CalendarSeconds(Moment(2024, 3, 7, 9, 5, 0))},
      {"2024-03-07 11:30 PM", CalendarSeconds(Moment(2024, 3, 7, 23, 30, 0))},
      {"13:45:10", 13 * 3600 + 45 * 60 + 10},
      {"12:00 am", 0},
      {"1:15:00 PM", 13 * 3600 + 15 * 60},
  };
  for (const auto& [text, seconds] : cases) {
    EXPECT_EQ(ParseDateText(text), std::optional<double>(seconds)) << '"' << text << '"';
  }
}

TEST(DateTextTest, RejectsTextsThatNameNoRealMoment) {
  for (const char* text : {"", "12", "1.5", "02-30-2024", "02-29-2023", "13-01-2024", "00-10-2024", "1-2",
                           "1-2/2024", "1-2-24", "2024-1-1x", "25:00", "12:60", "12:30:60", "0:30 PM",
                           "13:00 PM", "01-01-202400", "01-01-202412:00", "12:00 XM", "true"}) {
    EXPECT_FALSE(ParseDateText(text).has_value()) << '"' << text << '"';
  }
}

TEST(DateTextTest, ReadsBackWhatItWrites) {
  for (const double seconds : {0.0, 45292 * kDay + 3723.0, CalendarSeconds(Moment(1999, 12, 31, 23, 59, 59))}) {
    EXPECT_EQ(ParseDateText(FormatTimestamp(seconds, false, false)), std::optional<double>(seconds));
    EXPECT_EQ(ParseDateText(FormatTimestamp(seconds, false, true)), std::optional<double>(seconds));
  }
}

}  // namespace
}  // namespace quendrel
