// One point of a series as its readers see it: a cursor on the series' storage, valid until the
// next point is inserted into that series.
#pragma once

#include <cstddef>
#include <optional>

#include "graph/data/SeriesPoints.h"

namespace quendrel {

class gdSeries;

class gdSeriesNode {
 public:
  gdSeriesNode(gdSeries& series, SeriesPointPlace place) : series_(&series), place_(place) {}

  std::optional<gdSeriesNode> NextNode() const;
  std::optional<gdSeriesNode> PrevNode() const;

  double Value() const;
  void SetValue(double value);
  double Timestamp() const;
  // A stamp that keeps the order (predecessor's ≤ stamp ≤ successor's) leaves the point where it
  // is; any other moves it to where a new point with that stamp would go, and this cursor with it.
  void SetTimestamp(double timestamp);
  // Every stored point was made by AddPoint.
  bool Valid() const { return true; }

  // Position counted from the oldest point (0).
  std::size_t Index() const;
  gdSeries& Series() const { return *series_; }

  bool operator==(const gdSeriesNode& other) const {
    return series_ == other.series_ && place_ == other.place_;
  }

 private:
  gdSeries* series_;
  SeriesPointPlace place_;
};

}  // namespace quendrel
