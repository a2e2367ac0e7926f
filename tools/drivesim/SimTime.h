// The simulator's time line: every timed decision takes "now" as an argument, so tests pass
// made-up instants instead of waiting.
#pragma once

#include <chrono>

namespace quendrel {

using SimClock = std::chrono::steady_clock;
using SimTime = SimClock::time_point;
using SimDuration = std::chrono::microseconds;

// Time a line at baudRate needs for byteCount bytes, 10 bits each (8N1); zero when baudRate is 0.
inline SimDuration WireTime(std::size_t byteCount, long baudRate) {
  if (baudRate <= 0) return SimDuration::zero();
  return SimDuration(static_cast<long long>(byteCount) * 10'000'000LL / baudRate);
}

}  // namespace quendrel
