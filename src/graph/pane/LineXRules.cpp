#include "graph/pane/LineXRules.h"

#include <vector>

#include "graph/pane/ColumnBounds.h"
#include "graph/pane/SafeCanvas.h"

namespace quendrel {
namespace {

// The rules of the walk's current device column, held back until the walk leaves it.
class RuleColumns {
 public:
  RuleColumns(LineCalls& calls, const LinePlot& plot, const ColumnBoundsTable& columns,
              Color color)
      : calls_(calls), plot_(plot), columns_(columns), color_(color) {}

  // In walk order. A point off every pixel column has its line left out on the way to the
  // canvas anyway.
  void Add(double x) {
    if (!Drawable({x})) return;
    if (bounds_.Holds(static_cast<float>(x))) {
      many_ = true;
      return;
    }
    DrawColumn();
    StartColumn(x);
  }

  void Finish() {
    DrawColumn();
    calls_.ColumnSpans(spans_, color_);
  }

 private:
  void StartColumn(double x);
  void DrawColumn();

  LineCalls& calls_;
  const LinePlot& plot_;
  const ColumnBoundsTable& columns_;
  Color color_;
  ColumnBounds bounds_;  // of the column of the last rule; none at first
  int column_ = 0;
  double x_ = 0.0;  // of the column's first rule
  bool many_ = false;  // the column holds more rules than its first
  std::vector<PixelColumnSpan> spans_;
};

void RuleColumns::StartColumn(double x) {
  column_ = Canvas::ToPixel(static_cast<float>(x));
  bounds_ = columns_.Of(column_);
  x_ = x;
  many_ = false;
}

void RuleColumns::DrawColumn() {
  if (bounds_.Low > bounds_.High) return;  // none yet
  if (!many_) {
    calls_.Line(x_, plot_.Top(), x_, plot_.Bottom(), color_);
    return;
  }
  if (!Drawable({plot_.Top(), plot_.Bottom()})) return;
  const PixelColumnSpan span =
      UprightLinePixels(column_, Canvas::ToPixel(static_cast<float>(plot_.Top())),
                        Canvas::ToPixel(static_cast<float>(plot_.Bottom())));
  if (span.Y0 <= span.Y1) spans_.push_back(span);
}

}  // namespace

void AddEveryXRule(LineCalls& calls, const LinePlot& plot, const gdSeries& series,
                   Color ruleColor) {
  const LineMapping map(plot, series.Gain());
  WalkWindow(series, plot.Ctx.firstTime, [&](const SeriesPoint& point) {
    const double x = map.X(point.Timestamp);
    calls.Line(x, plot.Top(), x, plot.Bottom(), ruleColor);
  });
}

void AddXRuleColumns(LineCalls& calls, const LinePlot& plot, const gdSeries& series,
                     const ColumnBoundsTable& columns, Color ruleColor) {
  const LineMapping map(plot, series.Gain());
  RuleColumns rules(calls, plot, columns, ruleColor);
  WalkWindow(series, plot.Ctx.firstTime,
             [&](const SeriesPoint& point) { rules.Add(map.X(point.Timestamp)); });
  rules.Finish();
}

}  // namespace quendrel
