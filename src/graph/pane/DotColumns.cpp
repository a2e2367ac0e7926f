#include "graph/pane/DotColumns.h"

#include <algorithm>

#include "platform/Canvas.h"
#include "platform/PixelRules.h"

namespace quendrel {

DotColumns DotColumns::Measure(float radiusTwips) {
  DotColumns dot;
  const int radius = Canvas::ToPixel(radiusTwips);
  std::vector<PixelSpan> spans;
  AppendCircleInsidePixels(0, 0, radius, spans);
  AppendCircleOutlinePixels(0, 0, radius, spans);
  dot.Radius = std::max(radius, 0);
  dot.Columns.assign(static_cast<std::size_t>(2 * dot.Radius + 1), Rows{});
  for (const PixelSpan& span : spans) {
    for (int x = span.X0; x <= span.X1; ++x) {
      Rows& rows = dot.Columns[static_cast<std::size_t>(x + dot.Radius)];
      if (rows.Low > rows.High) {
        rows = {span.Y, span.Y};
      } else {
        rows.Low = std::min(rows.Low, span.Y);
        rows.High = std::max(rows.High, span.Y);
      }
    }
  }
  return dot;
}

}  // namespace quendrel
