// The system clock must speak the calendar-date scale in local time; the fake clock must let
// waits pass without waiting; the installed clock must be swappable.
#include "platform/Clock.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ctime>

#include "platform/FakeClock.h"

namespace quendrel {
namespace {

TEST(SystemClockTest, NowIsLocalTimeOnTheCalendarDateScale) {
  const std::time_t before = std::time(nullptr);
  const double now = SystemClockInstance().Now();
  std::tm local{};
  localtime_r(&before, &local);
  // Day 25569 of the scale is 1 January 1970.
  const double expected = 25569.0 * 86400.0 + static_cast<double>(before) +
                          static_cast<double>(local.tm_gmtoff);
  EXPECT_NEAR(now, expected, 2.0);
  const double secondOfDay = std::fmod(now, 86400.0);
  EXPECT_NEAR(secondOfDay, local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec, 2.0);
}

TEST(SystemClockTest, MonotonicSecondsNeverGoBack) {
  const double first = SystemClockInstance().MonotonicSeconds();
  SystemClockInstance().Sleep(0.0);
  SystemClockInstance().Sleep(-1.0);
  EXPECT_GE(SystemClockInstance().MonotonicSeconds(), first);
}

TEST(FakeClockTest, SleepAdvancesBothClocksAndIsRemembered) {
  FakeClock clock(1000.0);
  clock.Sleep(0.5);
  clock.Sleep(2.0);
  EXPECT_DOUBLE_EQ(clock.Now(), 1002.5);
  EXPECT_DOUBLE_EQ(clock.MonotonicSeconds(), 2.5);
  EXPECT_EQ(clock.Sleeps(), (std::vector<double>{0.5, 2.0}));
  clock.SetNow(5.0);
  clock.Advance(1.0);
  EXPECT_DOUBLE_EQ(clock.Now(), 6.0);
  EXPECT_DOUBLE_EQ(clock.MonotonicSeconds(), 3.5);
}

TEST(CurrentClockTest, InstalledClockReplacesTheSystemClockUntilRemoved) {
  EXPECT_EQ(&CurrentClock(), &SystemClockInstance());
  FakeClock clock;
  SetClock(&clock);
  EXPECT_DOUBLE_EQ(CurrentClock().Now(), FakeClock::DefaultStart);
  SetClock(nullptr);
  EXPECT_EQ(&CurrentClock(), &SystemClockInstance());
}

}  // namespace
}  // namespace quendrel
