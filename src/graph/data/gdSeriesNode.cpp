#include "graph/data/gdSeriesNode.h"

#include "graph/data/gdSeries.h"

namespace quendrel {

std::optional<gdSeriesNode> gdSeriesNode::NextNode() const {
  SeriesPointPlace next = place_;
  if (!series_->points_.StepForward(next)) return std::nullopt;
  return gdSeriesNode(*series_, next);
}

std::optional<gdSeriesNode> gdSeriesNode::PrevNode() const {
  SeriesPointPlace previous = place_;
  if (!series_->points_.StepBack(previous)) return std::nullopt;
  return gdSeriesNode(*series_, previous);
}

double gdSeriesNode::Value() const { return series_->points_.At(place_).Value; }

void gdSeriesNode::SetValue(double value) { series_->points_.At(place_).Value = value; }

double gdSeriesNode::Timestamp() const { return series_->points_.At(place_).Timestamp; }

void gdSeriesNode::SetTimestamp(double timestamp) { series_->Restamp(place_, timestamp); }

std::size_t gdSeriesNode::Index() const { return series_->points_.IndexOf(place_); }

}  // namespace quendrel
