// The points of a series inside a time window, newest first. The walk starts at a binary search
// for the window's start, so a repaint never visits the older history.
#pragma once

#include <algorithm>
#include <cstddef>

#include "graph/data/gdSeries.h"

namespace quendrel {

template <typename Visit>
void VisitWindowNewestFirst(const gdSeries& series, double firstTime, Visit visit) {
  const SeriesPoints& points = series.Points();
  std::size_t left = points.Count() - points.LowerBound(firstTime);
  if (left == 0) return;
  SeriesPointPlace place = points.Last();
  while (true) {
    // The points of one block lie side by side: a plain loop over them keeps a repaint of a
    // full window to a few nanoseconds a point.
    const std::size_t inBlock = std::min(left, place.Offset + 1);
    const SeriesPoint* oldest = &points.At({place.Block, place.Offset + 1 - inBlock});
    for (std::size_t i = inBlock; i > 0; --i) visit(oldest[i - 1]);
    left -= inBlock;
    if (left == 0) return;
    place.Offset = 0;
    points.StepBack(place);
  }
}

}  // namespace quendrel
