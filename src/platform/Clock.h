// Wall-clock time, a monotonic timer and sleeping, injectable so that waits and timeouts run
// instantly under test.
#pragma once

namespace quendrel {

class Clock {
 public:
  virtual ~Clock();
  // Local time in seconds on the calendar-date scale (day 0 = 30 December 1899), with the
  // milliseconds as fraction.
  virtual double Now() const = 0;
  // Seconds from an arbitrary start that never jump backwards; for measuring intervals.
  virtual double MonotonicSeconds() const = 0;
  virtual void Sleep(double seconds) = 0;
};

// The real clock of the machine.
class SystemClock : public Clock {
 public:
  double Now() const override;
  double MonotonicSeconds() const override;
  void Sleep(double seconds) override;
};

Clock& SystemClockInstance();

// The clock code should ask when it is not handed one; the system clock until SetClock
// installs another. SetClock(nullptr) restores the system clock; the caller keeps ownership.
Clock& CurrentClock();
void SetClock(Clock* clock);

}  // namespace quendrel
