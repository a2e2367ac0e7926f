// The points of one series in time order, in fixed-size blocks under a small index, so that an
// append never copies the history and an insertion among older points moves one block at most.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

namespace quendrel {

struct SeriesPoint {
  double Timestamp = 0.0;
  double Value = 0.0;
};

// Where a point lies: its block and its place in that block.
struct SeriesPointPlace {
  std::size_t Block = 0;
  std::size_t Offset = 0;

  bool operator==(const SeriesPointPlace&) const = default;
};

class SeriesPoints {
 public:
  static constexpr std::size_t kBlockSize = 4096;

  std::size_t Count() const { return count_; }
  bool Empty() const { return count_ == 0; }

  const SeriesPoint& At(SeriesPointPlace place) const { return blocks_[place.Block][place.Offset]; }
  SeriesPoint& At(SeriesPointPlace place) { return blocks_[place.Block][place.Offset]; }

  SeriesPointPlace First() const { return {0, 0}; }
  SeriesPointPlace Last() const { return {blocks_.size() - 1, blocks_.back().size() - 1}; }
  // False when the place has no neighbour on that side; the place is left as it was.
  bool StepForward(SeriesPointPlace& place) const;
  bool StepBack(SeriesPointPlace& place) const;

  // Visits the points from the newest back to the one at index first, a block at a time: the
  // tight loop of drawing walks that go over every point of a window.
  template <typename Visit>
  void VisitBackTo(std::size_t first, Visit visit) const {
    VisitRunsBackTo(first, [&visit](std::span<const SeriesPoint> run) {
      for (auto point = run.rbegin(); point != run.rend(); ++point) visit(*point);
    });
  }
  // The same points as runs that lie side by side, each oldest first; the newest run comes
  // first. A walk that works on many points at once takes them this way.
  template <typename VisitRun>
  void VisitRunsBackTo(std::size_t first, VisitRun visit) const {
    if (first >= count_) return;
    const SeriesPointPlace oldest = PlaceOf(first);
    for (std::size_t b = blocks_.size(); b-- > oldest.Block;) {
      const std::size_t begin = b == oldest.Block ? oldest.Offset : 0;
      visit(std::span<const SeriesPoint>(blocks_[b]).subspan(begin));
    }
  }

  // The place of the point counted from the oldest (0); index must be below Count().
  SeriesPointPlace PlaceOf(std::size_t index) const;
  std::size_t IndexOf(SeriesPointPlace place) const { return starts_[place.Block] + place.Offset; }
  // The index of the first point whose stamp is at or after t; Count() when there is none.
  std::size_t LowerBound(double t) const;

  // Puts the point before every point whose stamp is at or after its own, so a stamp equal to
  // others lands on their older side. Returns where it went.
  SeriesPointPlace Insert(const SeriesPoint& point);
  // Takes the point out, giving back what it held.
  SeriesPoint Remove(SeriesPointPlace place);
  void Clear();

 private:
  using Block = std::vector<SeriesPoint>;

  SeriesPointPlace Append(const SeriesPoint& point);
  SeriesPointPlace InsertAt(std::size_t index, const SeriesPoint& point);
  void SplitBlock(std::size_t block, std::size_t offset);
  void ShiftStarts(std::size_t fromBlock, std::ptrdiff_t by);
  static Block NewBlock();

  std::vector<Block> blocks_;
  // Index of each block's first point among all points.
  std::vector<std::size_t> starts_;
  std::size_t count_ = 0;
};

}  // namespace quendrel
