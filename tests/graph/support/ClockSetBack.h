// A scan across a clock set back: the readings after the change carry stamps an hour older than
// those before it, so the newest stamp is no longer the latest reading.
#pragma once

#include "graph/data/gdSeries.h"

namespace quendrel::testing {

// Twice a second for ten minutes up to end, reading before; then the clock goes back an hour and
// 1,200 more readings of after follow. Each point is re-stamped with its sweep's mean time, as the
// scan window does.
inline void ScanAcrossAClockSetBack(gdSeries& series, double end, double before, double after) {
  constexpr int kSweeps = 1200;
  constexpr double kPeriod = 0.5;
  double now = end - kSweeps * kPeriod;
  for (int sweep = 0; sweep < 2 * kSweeps; ++sweep) {
    if (sweep == kSweeps) now -= 3600.0;
    now += kPeriod;
    series.AddPoint(now - 0.001, sweep < kSweeps ? before : after).SetTimestamp(now);
  }
}

}  // namespace quendrel::testing
