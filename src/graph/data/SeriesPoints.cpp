#include "graph/data/SeriesPoints.h"

#include <algorithm>
#include <iterator>

namespace quendrel {

namespace {

bool StampBefore(const SeriesPoint& point, double t) { return point.Timestamp < t; }

}  // namespace

bool SeriesPoints::StepForward(SeriesPointPlace& place) const {
  if (place.Offset + 1 < blocks_[place.Block].size()) {
    ++place.Offset;
    return true;
  }
  if (place.Block + 1 >= blocks_.size()) return false;
  place = {place.Block + 1, 0};
  return true;
}

bool SeriesPoints::StepBack(SeriesPointPlace& place) const {
  if (place.Offset > 0) {
    --place.Offset;
    return true;
  }
  if (place.Block == 0) return false;
  place = {place.Block - 1, blocks_[place.Block - 1].size() - 1};
  return true;
}

SeriesPointPlace SeriesPoints::PlaceOf(std::size_t index) const {
  const auto after = std::upper_bound(starts_.begin(), starts_.end(), index);
  const auto block = static_cast<std::size_t>(std::distance(starts_.begin(), after)) - 1;
  return {block, index - starts_[block]};
}

std::size_t SeriesPoints::LowerBound(double t) const {
  // Blocks are in order too, so the first block whose newest point is not older than t holds the answer.
  const auto block = std::partition_point(blocks_.begin(), blocks_.end(),
                                          [t](const Block& b) { return b.back().Timestamp < t; });
  if (block == blocks_.end()) return count_;
  const auto within = std::lower_bound(block->begin(), block->end(), t, StampBefore);
  const auto blockIndex = static_cast<std::size_t>(std::distance(blocks_.begin(), block));
  return starts_[blockIndex] + static_cast<std::size_t>(std::distance(block->begin(), within));
}

SeriesPointPlace SeriesPoints::Insert(const SeriesPoint& point) {
  if (count_ == 0 || blocks_.back().back().Timestamp < point.Timestamp) return Append(point);
  return InsertAt(LowerBound(point.Timestamp), point);
}

SeriesPoint SeriesPoints::Remove(SeriesPointPlace place) {
  Block& block = blocks_[place.Block];
  const SeriesPoint removed = block[place.Offset];
  block.erase(block.begin() + static_cast<std::ptrdiff_t>(place.Offset));
  --count_;
  if (block.empty()) {
    blocks_.erase(blocks_.begin() + static_cast<std::ptrdiff_t>(place.Block));
    starts_.erase(starts_.begin() + static_cast<std::ptrdiff_t>(place.Block));
    ShiftStarts(place.Block, -1);
  } else {
    ShiftStarts(place.Block + 1, -1);
  }
  return removed;
}

void SeriesPoints::Clear() {
  blocks_.clear();
  starts_.clear();
  count_ = 0;
}

SeriesPointPlace SeriesPoints::Append(const SeriesPoint& point) {
  if (blocks_.empty() || blocks_.back().size() == kBlockSize) {
    blocks_.push_back(NewBlock());
    starts_.push_back(count_);
  }
  blocks_.back().push_back(point);
  ++count_;
  return Last();
}

SeriesPointPlace SeriesPoints::InsertAt(std::size_t index, const SeriesPoint& point) {
  SeriesPointPlace place = PlaceOf(index);
  // A point that belongs between two blocks joins the older one when it has room: nothing moves.
  if (place.Offset == 0 && place.Block > 0 && blocks_[place.Block - 1].size() < kBlockSize) {
    place = {place.Block - 1, blocks_[place.Block - 1].size()};
  } else if (blocks_[place.Block].size() == kBlockSize) {
    // Halves, so that inserts marching through old points (a clock set back) keep every block at
    // least half full.
    constexpr std::size_t kHalf = kBlockSize / 2;
    SplitBlock(place.Block, kHalf);
    if (place.Offset > kHalf) place = {place.Block + 1, place.Offset - kHalf};
  }
  Block& block = blocks_[place.Block];
  block.insert(block.begin() + static_cast<std::ptrdiff_t>(place.Offset), point);
  ++count_;
  ShiftStarts(place.Block + 1, 1);
  return place;
}

// The points from offset on move to a new block right after.
void SeriesPoints::SplitBlock(std::size_t block, std::size_t offset) {
  Block tail = NewBlock();
  Block& head = blocks_[block];
  tail.assign(head.begin() + static_cast<std::ptrdiff_t>(offset), head.end());
  head.resize(offset);
  const std::size_t tailStart = starts_[block] + offset;
  blocks_.insert(blocks_.begin() + static_cast<std::ptrdiff_t>(block) + 1, std::move(tail));
  starts_.insert(starts_.begin() + static_cast<std::ptrdiff_t>(block) + 1, tailStart);
}

void SeriesPoints::ShiftStarts(std::size_t fromBlock, std::ptrdiff_t by) {
  for (std::size_t b = fromBlock; b < starts_.size(); ++b) starts_[b] += static_cast<std::size_t>(by);
}

SeriesPoints::Block SeriesPoints::NewBlock() {
  Block block;
  block.reserve(kBlockSize);
  return block;
}

}  // namespace quendrel
