#include "platform/Clock.h"

#include <chrono>
#include <ctime>
#include <thread>

#include "platform/ZoneOffsetCache.h"

namespace quendrel {
namespace {

// Days from the calendar-date scale's day 0 (30 December 1899) to the Unix epoch.
constexpr double kEpochDay = 25569.0;
constexpr double kSecondsPerDay = 86400.0;

Clock* installedClock = nullptr;

// One a thread: the clock is read from any thread, and a cache of its own needs no lock.
ZoneOffsetCache& ThreadZoneOffsets() {
  thread_local ZoneOffsetCache cache;
  return cache;
}

}  // namespace

Clock::~Clock() = default;

double SystemClock::Now() const {
  const auto now = std::chrono::system_clock::now();
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch());
  const std::time_t seconds = static_cast<std::time_t>(ms.count() / 1000);
  // The scale counts local time, so the zone's offset (and summer time) is added in.
  const auto offset = static_cast<double>(ThreadZoneOffsets().OffsetAt(seconds));
  const double localSeconds = static_cast<double>(seconds) + offset;
  return kEpochDay * kSecondsPerDay + localSeconds + static_cast<double>(ms.count() % 1000) / 1000.0;
}

double SystemClock::MonotonicSeconds() const {
  const auto since = std::chrono::steady_clock::now().time_since_epoch();
  return std::chrono::duration<double>(since).count();
}

void SystemClock::Sleep(double seconds) {
  if (seconds <= 0.0) return;
  std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

Clock& SystemClockInstance() {
  static SystemClock clock;
  return clock;
}

Clock& CurrentClock() { return installedClock ? *installedClock : SystemClockInstance(); }

void SetClock(Clock* clock) { installedClock = clock; }

}  // namespace quendrel
