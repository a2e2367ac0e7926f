// The points of a series inside a time window, newest first. The walk starts at a binary search
// for the window's start, so a repaint never visits the older history.
#pragma once

#include <cstddef>

#include "graph/data/gdSeries.h"

namespace quendrel {

template <typename Visit>
void VisitWindowNewestFirst(const gdSeries& series, double firstTime, Visit visit) {
  const SeriesPoints& points = series.Points();
  const std::size_t first = points.LowerBound(firstTime);
  if (first == points.Count()) return;
  SeriesPointPlace place = points.Last();
  for (std::size_t left = points.Count() - first; left > 0; --left) {
    visit(points.At(place));
    points.StepBack(place);
  }
}

}  // namespace quendrel
