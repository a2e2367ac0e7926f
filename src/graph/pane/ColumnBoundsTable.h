// The bounds of the device columns a plot spans, found once a repaint for every series and its
// rules: finding one takes several roundings, and a dense repaint starts thousands of columns.
#pragma once

#include <vector>

#include "graph/pane/ColumnBounds.h"

namespace quendrel {

class ColumnBoundsTable {
 public:
  // Columns first..last are kept (none when last is before first or the range is too wide);
  // the others are found when asked for.
  ColumnBoundsTable(int first, int last);

  ColumnBounds Of(int column) const {
    const long long i = static_cast<long long>(column) - first_;
    if (i >= 0 && i < static_cast<long long>(bounds_.size())) {
      return bounds_[static_cast<std::size_t>(i)];
    }
    return ColumnBounds::Of(column);
  }

 private:
  int first_;
  std::vector<ColumnBounds> bounds_;
};

}  // namespace quendrel
