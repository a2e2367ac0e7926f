#include "graph/pane/ColumnBoundsTable.h"

namespace quendrel {
namespace {

// Wider than any screen; a plot beyond it finds its columns one by one.
constexpr long long kMostColumns = 1 << 16;

}  // namespace

ColumnBoundsTable::ColumnBoundsTable(int first, int last) : first_(first) {
  const long long count = static_cast<long long>(last) - first + 1;
  if (count <= 0 || count > kMostColumns) return;
  bounds_.reserve(static_cast<std::size_t>(count));
  for (long long i = 0; i < count; ++i) {
    bounds_.push_back(ColumnBounds::Of(static_cast<int>(first + i)));
  }
}

}  // namespace quendrel
