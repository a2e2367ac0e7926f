// A clock for tests: time stands still until the test or a Sleep moves it.
#pragma once

#include <vector>

#include "platform/Clock.h"

namespace quendrel {

class FakeClock : public Clock {
 public:
  // 1 January 2024 00:00:00 on the calendar-date scale.
  static constexpr double DefaultStart = 45292.0 * 86400.0;

  explicit FakeClock(double now = DefaultStart) : now_(now) {}

  double Now() const override { return now_; }
  double MonotonicSeconds() const override { return monotonic_; }
  // Sleeping advances both clocks at once and is remembered, so tests can see the waits.
  void Sleep(double seconds) override {
    sleeps_.push_back(seconds);
    Advance(seconds);
  }

  void Advance(double seconds) {
    now_ += seconds;
    monotonic_ += seconds;
  }
  void SetNow(double now) { now_ = now; }
  const std::vector<double>& Sleeps() const { return sleeps_; }

 private:
  double now_;
  double monotonic_ = 0.0;
  std::vector<double> sleeps_;
};

}  // namespace quendrel
