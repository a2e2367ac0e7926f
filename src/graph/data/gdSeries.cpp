#include "graph/data/gdSeries.h"

#include "foundation/text/DateText.h"
#include "foundation/values/RuntimeError.h"

namespace quendrel {

namespace {

// The extremes after Clear lie beyond any drive value, so the next value sets both.
constexpr double kClearedMaximum = -65536.0;
constexpr double kClearedMinimum = 65536.0;
constexpr int kLargestDVDIndex = 16383;

// Where the point at index i is after the point at from moved to to.
std::size_t IndexAfterMove(std::size_t i, std::size_t from, std::size_t to) {
  if (i == from) return to;
  if (from < i) --i;
  if (to <= i) ++i;
  return i;
}

}  // namespace

std::string gdSeries::DVD(std::int16_t index) const {
  if (index < 0 || static_cast<std::size_t>(index) >= dvds_.size()) return "";
  return dvds_[static_cast<std::size_t>(index)];
}

void gdSeries::SetDVD(std::int16_t index, const std::string& text) {
  if (index < 0) return;
  const auto slot = static_cast<std::size_t>(index);
  if (slot >= dvds_.size()) {
    if (index > kLargestDVDIndex) throw RuntimeError(errOverflow, "gdSeries", "Overflow");
    dvds_.resize(2 * slot + 1);
  }
  // An empty slot counts when it is filled, even with "": consumers look at slots 0..NumDVDs.
  if (dvds_[slot].empty()) ++numDVDs_;
  dvds_[slot] = text;
}

double gdSeries::maxTime() const {
  return points_.Empty() ? NowSeconds() : points_.At(points_.Last()).Timestamp;
}

double gdSeries::minTime() const {
  return points_.Empty() ? NowSeconds() : points_.At(points_.First()).Timestamp;
}

double gdSeries::MostRecentValue() const {
  return points_.Empty() ? 0.0 : points_.At(points_.PlaceOf(lastAdded_)).Value;
}

gdSeriesNode gdSeries::AddPoint(double timestamp, double value, bool /*readFailed*/) {
  if (value > maxValue_) maxValue_ = value;
  if (value < minValue_) minValue_ = value;
  const SeriesPointPlace place = points_.Insert({timestamp, value});
  lastAdded_ = points_.IndexOf(place);
  return {*this, place};
}

void gdSeries::Clear() {
  points_.Clear();
  lastAdded_ = 0;
  maxValue_ = kClearedMaximum;
  minValue_ = kClearedMinimum;
}

std::optional<gdSeriesNode> gdSeries::LastPoint() {
  if (points_.Empty()) return std::nullopt;
  return gdSeriesNode(*this, points_.Last());
}

std::optional<gdSeriesNode> gdSeries::FirstPoint() {
  if (points_.Empty()) return std::nullopt;
  return gdSeriesNode(*this, points_.First());
}

std::optional<gdSeriesNode> gdSeries::FirstPointAtOrAfter(double t) {
  const std::size_t index = points_.LowerBound(t);
  if (index == points_.Count()) return std::nullopt;
  return PointAt(index);
}

// The clock may be set back (daylight saving, a correction) between a point's insertion and its
// re-stamp; a stamp that would break the order moves the point instead, so walks never miss any.
void gdSeries::Restamp(SeriesPointPlace& place, double timestamp) {
  SeriesPointPlace previous = place;
  SeriesPointPlace next = place;
  const bool afterPrevious = !points_.StepBack(previous) || points_.At(previous).Timestamp <= timestamp;
  const bool beforeNext = !points_.StepForward(next) || timestamp <= points_.At(next).Timestamp;
  if (afterPrevious && beforeNext) {
    points_.At(place).Timestamp = timestamp;
    return;
  }
  const std::size_t from = points_.IndexOf(place);
  SeriesPoint point = points_.Remove(place);
  point.Timestamp = timestamp;
  place = points_.Insert(point);
  lastAdded_ = IndexAfterMove(lastAdded_, from, points_.IndexOf(place));
}

}  // namespace quendrel
