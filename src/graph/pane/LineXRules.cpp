#include "graph/pane/LineXRules.h"

#include <vector>

#include "graph/pane/SafeCanvas.h"

namespace quendrel {
namespace {

// The rules of the walk's current device column, held back until the walk leaves it.
class RuleColumns {
 public:
  RuleColumns(LineCalls& calls, const LinePlot& plot, const ColumnBoundsTable& columns,
              Color color)
      : calls_(calls), plot_(plot), columns_(columns), color_(color) {}

  void Add(double x) {
    const auto canvasX = static_cast<float>(x);
    if (count_ > 0 && bounds_.Holds(canvasX)) {
      ++count_;
      return;
    }
    DrawColumn();
    const int column = Canvas::ToPixel(canvasX);
    bounds_ = columns_.Of(column);
    column_ = column;
    x_ = x;
    count_ = 1;
  }

  void Finish() {
    DrawColumn();
    calls_.ColumnSpans(spans_, color_);
  }

 private:
  void DrawColumn() {
    if (count_ == 1) calls_.Line(x_, plot_.Top(), x_, plot_.Bottom(), color_);
    if (count_ > 1 && Drawable({plot_.Top(), plot_.Bottom()})) {
      const PixelColumnSpan span =
          UprightLinePixels(column_, Canvas::ToPixel(static_cast<float>(plot_.Top())),
                            Canvas::ToPixel(static_cast<float>(plot_.Bottom())));
      if (span.Y0 <= span.Y1) spans_.push_back(span);
    }
    count_ = 0;
  }

  LineCalls& calls_;
  const LinePlot& plot_;
  const ColumnBoundsTable& columns_;
  Color color_;
  ColumnBounds bounds_;
  int column_ = 0;
  double x_ = 0.0;  // of the column's first rule
  int count_ = 0;
  std::vector<PixelColumnSpan> spans_;
};

}  // namespace

void AddXRules(LineCalls& calls, const LinePlot& plot, const gdSeries& series, Color ruleColor,
               const ColumnBoundsTable* columns) {
  const LineMapping map(plot, series.Gain());
  if (columns == nullptr) {
    WalkWindow(series, plot.Ctx.firstTime, [&](const SeriesPoint& point) {
      const double x = map.X(point.Timestamp);
      calls.Line(x, plot.Top(), x, plot.Bottom(), ruleColor);
    });
    return;
  }
  RuleColumns rules(calls, plot, *columns, ruleColor);
  WalkWindow(series, plot.Ctx.firstTime, [&](const SeriesPoint& point) {
    const double x = map.X(point.Timestamp);
    // Off every pixel column: its line is left out on the way to the canvas anyway.
    if (Drawable({x})) rules.Add(x);
  });
  rules.Finish();
}

}  // namespace quendrel
