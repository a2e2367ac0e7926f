// The pixel shape of a dot of the line graph as the canvas draws it, column by column, so that
// many dots in one device column can be drawn as a few vertical spans.
#pragma once

#include <vector>

namespace quendrel {

struct DotColumns {
  struct Rows {
    int Low = 0;   // offset from the centre's row, included
    int High = -1;  // included; below Low when the column is empty
  };
  int Radius = 0;  // the shape spans the columns -Radius..Radius around its centre
  std::vector<Rows> Columns;  // [dx + Radius]

  const Rows& At(int dx) const { return Columns[static_cast<std::size_t>(dx + Radius)]; }

  // The inside and outline of a filled circle of this radius in twips, by the canvas's pixel
  // rules; a circle is convex, so each column is one run.
  static DotColumns Measure(float radiusTwips);
};

}  // namespace quendrel
