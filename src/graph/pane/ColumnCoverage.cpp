#include "graph/pane/ColumnCoverage.h"

#include <algorithm>

namespace quendrel {
namespace {

// Rows kept for a band; a taller one (a canvas far beyond any screen) is drawn call by call.
constexpr long long kMostRows = 1 << 16;

}  // namespace

ColumnCoverage::ColumnCoverage(const DotColumns& dot, int lowRow, int highRow)
    : dot_(dot), lowRow_(lowRow), highRow_(highRow), base_(lowRow - dot.Radius - 1) {
  const long long rows = static_cast<long long>(highRow) - lowRow + 2LL * dot.Radius + 3;
  if (highRow < lowRow || rows > kMostRows) return;
  size_ = static_cast<int>(rows);
  centre_.assign(static_cast<std::size_t>(size_), 0);
  runDelta_.assign(static_cast<std::size_t>(size_) + 1, 0);
  centresBefore_.assign(static_cast<std::size_t>(size_) + 1, 0);
}

void ColumnCoverage::AddRun(int fromRow, int toRow) {
  const int low = Index(std::min(fromRow, toRow));
  const int high = Index(std::max(fromRow, toRow));
  ++runDelta_[static_cast<std::size_t>(low)];
  --runDelta_[static_cast<std::size_t>(high) + 1];
  if (!hasRun_) {
    runLow_ = low;
    runHigh_ = high;
    hasRun_ = true;
  }
  runLow_ = std::min(runLow_, low);
  runHigh_ = std::max(runHigh_, high);
  touched_ = true;
}

// A row of column dx is covered when a dot's centre lies within the shape's reach of it, or, in
// the centre column, when a run passes it.
void ColumnCoverage::AppendColumn(int x, int dx, std::vector<PixelColumnSpan>& out) const {
  const DotColumns::Rows& shape = dot_.At(dx);
  const bool dots = hasCentre_ && shape.Low <= shape.High;
  const bool runs = dx == 0 && hasRun_;
  if (!dots && !runs) return;
  int from = dots ? centreLow_ + shape.Low : runLow_;
  int to = dots ? centreHigh_ + shape.High : runHigh_;
  if (runs) {
    from = std::min(from, runLow_);
    to = std::max(to, runHigh_);
  }
  const auto centresIn = [&](int low, int high) {
    low = std::max(low, centreLow_);
    high = std::min(high, centreHigh_);
    if (low > high) return 0;
    return centresBefore_[static_cast<std::size_t>(high + 1)] -
           centresBefore_[static_cast<std::size_t>(low)];
  };
  int passing = 0;  // runs start at or after from
  int open = -1;
  for (int i = from; i <= to; ++i) {
    if (runs) passing += runDelta_[static_cast<std::size_t>(i)];
    const bool covered =
        (runs && passing > 0) || (dots && centresIn(i - shape.High, i - shape.Low) > 0);
    if (covered && open < 0) open = i;
    if (!covered && open >= 0) {
      out.push_back({x + dx, open + base_, i - 1 + base_});
      open = -1;
    }
  }
  if (open >= 0) out.push_back({x + dx, open + base_, to + base_});
}

void ColumnCoverage::TakeSpans(int x, std::vector<PixelColumnSpan>& out) {
  if (!touched_) return;
  if (hasCentre_) {
    int count = 0;
    for (int i = centreLow_; i <= centreHigh_; ++i) {
      centresBefore_[static_cast<std::size_t>(i)] = count;
      count += centre_[static_cast<std::size_t>(i)];
    }
    centresBefore_[static_cast<std::size_t>(centreHigh_) + 1] = count;
  }
  for (int dx = -dot_.Radius; dx <= dot_.Radius; ++dx) AppendColumn(x, dx, out);
  if (hasCentre_) {
    std::fill(centre_.begin() + centreLow_, centre_.begin() + centreHigh_ + 1, 0);
  }
  if (hasRun_) std::fill(runDelta_.begin() + runLow_, runDelta_.begin() + runHigh_ + 2, 0);
  touched_ = hasCentre_ = hasRun_ = false;
}

}  // namespace quendrel
