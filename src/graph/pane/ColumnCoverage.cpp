#include "graph/pane/ColumnCoverage.h"

#include <climits>

namespace quendrel {
namespace {

// Rows kept for a band; a taller one (a canvas far beyond any screen) is drawn call by call.
constexpr long long kMostRows = 1 << 16;

}  // namespace

ColumnCoverage::ColumnCoverage(const DotColumns& dot, int lowRow, int highRow)
    : dot_(dot), lowRow_(lowRow), highRow_(highRow) {
  const long long rows = static_cast<long long>(highRow) - lowRow + 1;
  if (rows <= 0 || rows > kMostRows) {
    lowRow_ = 1;
    highRow_ = 0;
  } else {
    centre_.assign(static_cast<std::size_t>(rows), 0);
  }
  centreLow_ = chainLow_ = INT_MAX;
  centreHigh_ = chainHigh_ = INT_MIN;
}

void ColumnCoverage::CloseChain() {
  if (chainLow_ <= chainHigh_) chains_.push_back({chainLow_, chainHigh_});
  chainLow_ = INT_MAX;
  chainHigh_ = INT_MIN;
}

void ColumnCoverage::StartChain(int row) {
  CloseChain();
  chainLow_ = chainHigh_ = row;
}

// The centres as runs of neighbouring rows, top to bottom; the marks are cleared on the way.
void ColumnCoverage::TakeCentreRuns() {
  centreRuns_.clear();
  if (centreLow_ > centreHigh_) return;
  std::uint8_t* const marks = centre_.data();
  for (int row = centreLow_; row <= centreHigh_; ++row) {
    std::uint8_t& mark = marks[row - lowRow_];
    if (mark == 0) continue;
    mark = 0;
    if (!centreRuns_.empty() && centreRuns_.back().High == row - 1) {
      centreRuns_.back().High = row;
    } else {
      centreRuns_.push_back({row, row});
    }
  }
}

// Centre runs stay in order when the dot's reach is added to each; the runs of the chains
// join them in the centre column, where a dot always covers its own centre.
void ColumnCoverage::AppendColumn(int x, int dx, std::vector<PixelColumnSpan>& out) {
  const DotColumns::Rows& shape = dot_.At(dx);
  rows_.clear();
  if (shape.Low <= shape.High) {
    for (const Rows& run : centreRuns_) {
      rows_.push_back({run.Low + shape.Low, run.High + shape.High});
    }
  }
  if (dx == 0 && !chains_.empty()) {
    rows_.insert(rows_.end(), chains_.begin(), chains_.end());
    std::sort(rows_.begin(), rows_.end(),
              [](const Rows& a, const Rows& b) { return a.Low < b.Low; });
  }
  AppendJoined(x + dx, rows_, out);
}

// Rows sorted by their top; overlapping and touching ones become one span.
void ColumnCoverage::AppendJoined(int x, const std::vector<Rows>& rows,
                                  std::vector<PixelColumnSpan>& out) {
  if (rows.empty()) return;
  Rows open = rows.front();
  for (const Rows& next : rows) {
    if (next.Low <= open.High + 1) {
      open.High = std::max(open.High, next.High);
      continue;
    }
    out.push_back({x, open.Low, open.High});
    open = next;
  }
  out.push_back({x, open.Low, open.High});
}

void ColumnCoverage::TakeSpans(int x, std::vector<PixelColumnSpan>& out) {
  CloseChain();
  TakeCentreRuns();
  for (int dx = -dot_.Radius; dx <= dot_.Radius; ++dx) AppendColumn(x, dx, out);
  chains_.clear();
  centreLow_ = INT_MAX;
  centreHigh_ = INT_MIN;
}

}  // namespace quendrel
