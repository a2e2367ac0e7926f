// The pixels one device column of a line-graph series covers in its colour: the centres of its
// dots and its vertical runs, turned into vertical spans once the column is complete.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "graph/pane/DotColumns.h"
#include "platform/PixelRules.h"

namespace quendrel {

class ColumnCoverage {
 public:
  // Dot centres may lie on rows lowRow..highRow; a band too tall to keep rows for holds none.
  ColumnCoverage(const DotColumns& dot, int lowRow, int highRow);

  bool Holds(int row) const { return size_ > 0 && row >= lowRow_ && row <= highRow_; }
  // Rows must be held.
  void AddDot(int row) {
    const int i = Index(row);
    centre_[static_cast<std::size_t>(i)] = 1;
    if (!hasCentre_) {
      centreLow_ = centreHigh_ = i;
      hasCentre_ = touched_ = true;
    }
    centreLow_ = std::min(centreLow_, i);
    centreHigh_ = std::max(centreHigh_, i);
  }
  void AddRun(int fromRow, int toRow);  // both included, in either order
  bool Empty() const { return !touched_; }

  // The spans of the column at x, dot columns left to right, rows top to bottom; then empty.
  void TakeSpans(int x, std::vector<PixelColumnSpan>& out);

 private:
  int Index(int row) const { return row - base_; }
  void AppendColumn(int x, int dx, std::vector<PixelColumnSpan>& out) const;

  const DotColumns& dot_;
  int lowRow_;
  int highRow_;
  int base_;
  int size_ = 0;
  std::vector<std::uint8_t> centre_;
  std::vector<int> runDelta_;  // +1 where a run starts, -1 after it ends
  std::vector<int> centresBefore_;
  bool touched_ = false;
  int centreLow_ = 0;
  int centreHigh_ = 0;
  int runLow_ = 0;
  int runHigh_ = 0;
  bool hasCentre_ = false;
  bool hasRun_ = false;
};

}  // namespace quendrel
