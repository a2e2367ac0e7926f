// The pixels one device column of a line-graph series covers in its colour: the centres of its
// dots and its vertical runs, turned into vertical spans once the column is complete. A repaint
// adds nearly every point of the window here, so adding one is a store and a few comparisons,
// none of them a branch that goes either way with the data.
#pragma once

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "graph/pane/DotColumns.h"
#include "platform/PixelRules.h"

namespace quendrel {

class ColumnCoverage {
 public:
  // Dot centres may lie on rows lowRow..highRow; a band too tall to keep rows for holds none.
  ColumnCoverage(const DotColumns& dot, int lowRow, int highRow);

  bool Holds(int row) const { return row >= lowRow_ && row <= highRow_; }
  // Rows must be held.
  void AddDot(int row) {
    centre_[static_cast<std::size_t>(row - lowRow_)] = 1;
    centreLow_ = std::min(centreLow_, row);
    centreHigh_ = std::max(centreHigh_, row);
  }
  // A run between two dot centres of this column, both included: a line leaves out its last
  // pixel, but the dot there covers it. The runs of a chain of points share their ends, so
  // they cover one interval, which grows while the runs go on from inside it.
  void AddRun(int fromRow, int toRow) {
    if (fromRow < chainLow_ || fromRow > chainHigh_) StartChain(fromRow);
    chainLow_ = std::min(chainLow_, toRow);
    chainHigh_ = std::max(chainHigh_, toRow);
  }

  // The row lies on the chain of runs now growing.
  bool OnRun(int row) const { return row >= chainLow_ && row <= chainHigh_; }
  // Dots on the rows rowAt(0), rowAt(1) and so on, up to most of them, each joined by a run to
  // the one before, the first to fromRow, a row on the run now growing. Stops at the first row
  // it does not hold, and says how many dots it added. Every row lands on the run, itself
  // within the centres' rows, so the loop follows the run alone, in locals: a store through
  // the marks, bytes, could change any member as far as the compiler knows.
  template <typename RowAt>
  std::size_t AddRunOfDots(int fromRow, std::size_t most, RowAt rowAt) {
    std::uint8_t* const marks = centre_.data();
    const int lowRow = lowRow_;
    const int highRow = highRow_;
    int chainLow = std::min(chainLow_, fromRow);
    int chainHigh = std::max(chainHigh_, fromRow);
    std::size_t n = 0;
    for (; n < most; ++n) {
      const int row = rowAt(n);
      if (row < lowRow || row > highRow) break;
      marks[row - lowRow] = 1;
      chainLow = std::min(chainLow, row);
      chainHigh = std::max(chainHigh, row);
    }
    chainLow_ = chainLow;
    chainHigh_ = chainHigh;
    centreLow_ = std::min(centreLow_, chainLow);
    centreHigh_ = std::max(centreHigh_, chainHigh);
    return n;
  }
  // What rowAt gives to stop.
  static constexpr int kNoRow = INT_MIN;

  // The spans of the column at x, dot columns left to right, rows top to bottom, each as long
  // as it goes; afterwards the coverage is empty.
  void TakeSpans(int x, std::vector<PixelColumnSpan>& out);

 private:
  struct Rows {
    int Low;
    int High;
  };

  void CloseChain();
  void StartChain(int row);
  void TakeCentreRuns();
  void AppendColumn(int x, int dx, std::vector<PixelColumnSpan>& out);
  static void AppendJoined(int x, const std::vector<Rows>& rows,
                           std::vector<PixelColumnSpan>& out);

  const DotColumns& dot_;
  int lowRow_;
  int highRow_;
  std::vector<std::uint8_t> centre_;  // [row - lowRow_]
  int centreLow_;
  int centreHigh_;
  int chainLow_;
  int chainHigh_;
  std::vector<Rows> chains_;  // closed ones
  // Reused from column to column.
  std::vector<Rows> centreRuns_;
  std::vector<Rows> rows_;
};

}  // namespace quendrel
