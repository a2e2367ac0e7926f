// The canvas coordinates that round into one device pixel column, so that a walk over many
// points can tell whether a point stays in the column without the division of the rounding.
#pragma once

namespace quendrel {

struct ColumnBounds {
  float Low = 0.0f;   // included
  float High = -1.0f;  // included

  bool Holds(float x) const { return x >= Low && x <= High; }
  // Found with the canvas's own rounding, which never puts a larger coordinate in an earlier
  // column.
  static ColumnBounds Of(int column);
};

}  // namespace quendrel
