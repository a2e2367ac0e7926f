#include "graph/pane/LineXRules.h"

#include "graph/pane/SafeCanvas.h"

namespace quendrel {

void AddEveryXRule(LineCalls& calls, const LinePlot& plot, const gdSeries& series,
                   Color ruleColor) {
  const LineMapping map(plot, series.Gain());
  WalkWindow(series, plot.Ctx.firstTime, [&](const SeriesPoint& point) {
    const double x = map.X(point.Timestamp);
    calls.Line(x, plot.Top(), x, plot.Bottom(), ruleColor);
  });
}

// A point off every pixel column has its line left out on the way to the canvas anyway.
void XRuleColumns::Add(std::span<const LinePoint> points) {
  for (const LinePoint& point : points) {
    if (!Drawable({point.X})) continue;
    if (count_ > 0 && bounds_.Holds(static_cast<float>(point.X))) {
      ++count_;
      continue;
    }
    DrawColumn();
    StartColumn(point.X);
  }
}

void XRuleColumns::Finish() {
  DrawColumn();
  calls_.ColumnSpans(spans_, color_);
}

void XRuleColumns::StartColumn(double x) {
  column_ = Canvas::ToPixel(static_cast<float>(x));
  bounds_ = columns_.Of(column_);
  x_ = x;
  count_ = 1;
}

void XRuleColumns::DrawColumn() {
  if (count_ == 1) calls_.Line(x_, plot_.Top(), x_, plot_.Bottom(), color_);
  if (count_ > 1 && Drawable({plot_.Top(), plot_.Bottom()})) {
    const PixelColumnSpan span =
        UprightLinePixels(column_, Canvas::ToPixel(static_cast<float>(plot_.Top())),
                          Canvas::ToPixel(static_cast<float>(plot_.Bottom())));
    if (span.Y0 <= span.Y1) spans_.push_back(span);
  }
  count_ = 0;
}

}  // namespace quendrel
