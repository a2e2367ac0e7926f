// The boxed legend: one entry per visible series, a swatch imitating the graph type and a label,
// laid out in rows (top, bottom) or columns (left, right) and taken from the plot rectangle.
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "foundation/text/NumberText.h"
#include "foundation/values/RoundToLong.h"
#include "graph/data/gdSeries.h"
#include "graph/pane/GraphDrawing.h"
#include "graph/pane/GraphPane.h"
#include "graph/pane/SafeCanvas.h"
#include "platform/SystemColors.h"

namespace quendrel {
namespace {

// The ellipsis as one byte of our Latin-1 strings (its Windows-1252 code), shown as "…".
constexpr char kEllipsis = '\x85';
constexpr double kTextOffset = 460.0;

struct LegendEntry {
  std::shared_ptr<gdSeries> Series;
  std::string Measured;
  std::string Shown;
};

// Layout quantities are kept in 32 bits: wide panes and long lists leave 16 bits easily.
struct LegendBox {
  std::int32_t W = 0;  // entry width
  std::int32_t R = 0;  // row height
  std::int32_t Cols = 0;
  std::int32_t Rows = 0;
  std::int32_t X0 = 0;
  std::int32_t Y0 = 0;
  std::int32_t Bw = 0;
  std::int32_t Bh = 0;
  bool InRows = true;
};

std::string GainSuffix(double gain) {
  if (gain == 1.0) return "";
  if (std::fabs(gain) >= 1.0) {
    const std::string whole = FormatNumber(gain, "####");
    return whole.size() <= 4 ? " x " + whole : " x " + whole.substr(0, 4) + kEllipsis;
  }
  return " x " + FormatNumber(gain, "0.##").substr(0, 4);
}

std::vector<LegendEntry> Entries(const GraphPane& pane) {
  std::vector<LegendEntry> entries;
  for (const auto& series : pane.SeriesSet()) {
    if (!series->Visible()) continue;
    const std::string suffix = GainSuffix(series->Gain());
    const std::string k = std::to_string(entries.size() + 1);
    switch (pane.LegendName()) {
      case 1:
        entries.push_back({series, " " + series->LongName() + suffix, series->LongName() + suffix});
        break;
      case 2:
        entries.push_back({series, " Series " + k + suffix, "Parameter " + k + suffix});
        break;
      default:
        entries.push_back({series, " " + series->Name() + suffix, series->Name().substr(0, 7) + suffix});
        break;
    }
  }
  return entries;
}

void SizeEntries(const Canvas& canvas, const GraphContext& ctx,
                 const std::vector<LegendEntry>& entries, LegendBox& box) {
  const std::string* widest = &entries.front().Measured;
  std::int32_t widestWidth = RoundHalfEven(canvas.TextWidth(*widest));
  for (const LegendEntry& entry : entries) {
    const std::int32_t width = RoundHalfEven(canvas.TextWidth(entry.Measured));
    if (width > widestWidth) {
      widestWidth = width;
      widest = &entry.Measured;
    }
  }
  box.W = RoundHalfEven(static_cast<double>(widestWidth) + kTextOffset);
  box.R = RoundHalfEven(canvas.TextHeight(*widest));
  // Rows are at least 14 pixels high whatever the font.
  if (14.0 * ctx.yPixel > box.R) box.R = RoundHalfEven(14.0 * ctx.yPixel);
}

// The box's length along the line of entries and where it starts, centred on the plot; a single
// short line of entries makes it shorter.
void CentreAlong(double centre, double pixel, std::int32_t n, std::int32_t perLine,
                 std::int32_t size, std::int32_t& length, std::int32_t& start) {
  const std::int32_t shown = n < perLine ? n : perLine;
  length = RoundHalfEven(6.0 * pixel + static_cast<double>(shown) * size);
  start = RoundHalfEven(n < perLine ? centre - static_cast<double>(n) * size / 2.0 : centre - length / 2.0);
}

// False when not even one entry fits across the plot: the legend is then left out.
bool PlaceInRows(const GraphPane& pane, GraphContext& ctx, std::int32_t n, LegendBox& box) {
  GraphRect& plot = ctx.Virtual;
  const double span = static_cast<double>(plot.Right) - plot.Left;
  const double cx = RoundHalfEven(plot.Left + span / 2.0);
  const double cols = std::floor(span / box.W);
  if (!(cols >= 1.0)) return false;
  box.Cols = RoundHalfEven(cols);
  box.Rows = RoundToLong(static_cast<float>(n) / static_cast<float>(box.Cols));
  CentreAlong(cx, ctx.xPixel, n, box.Cols, box.W, box.Bw, box.X0);
  const double rowsHeight = static_cast<double>(box.Rows) * box.R;
  box.Bh = RoundHalfEven(6.0 * ctx.yPixel + rowsHeight);
  if (pane.Legend() == gpLegendTop) {
    box.Y0 = plot.top;
    plot.top = RoundHalfEven(10.0 * ctx.yPixel + rowsHeight + plot.top);
  } else {
    box.Y0 = RoundHalfEven(plot.Bottom - rowsHeight - 5.0 * ctx.yPixel);
    plot.Bottom = RoundHalfEven(box.Y0 - 10.0 * ctx.yPixel);
  }
  return true;
}

bool PlaceInColumns(const GraphPane& pane, GraphContext& ctx, std::int32_t n, LegendBox& box) {
  GraphRect& plot = ctx.Virtual;
  const double span = static_cast<double>(plot.Bottom) - plot.top;
  const double cy = RoundHalfEven(plot.top + span / 2.0);
  const double rows = std::floor(span / box.R);
  if (!(rows >= 1.0)) return false;
  box.InRows = false;
  box.Rows = RoundHalfEven(rows);
  box.Cols = RoundToLong(static_cast<float>(n) / static_cast<float>(box.Rows));
  CentreAlong(cy, ctx.yPixel, n, box.Rows, box.R, box.Bh, box.Y0);
  const double colsWidth = static_cast<double>(box.Cols) * box.W;
  box.Bw = RoundHalfEven(6.0 * ctx.xPixel + colsWidth);
  if (pane.Legend() == gpLegendRight) {
    box.X0 = RoundHalfEven(plot.Right - colsWidth - 5.0 * ctx.xPixel);
    plot.Right = RoundHalfEven(plot.Right - (10.0 * ctx.xPixel + box.Bw));
  } else {
    box.X0 = plot.Left;
    plot.Left = RoundHalfEven(10.0 * ctx.xPixel + box.X0 + box.Bw);
  }
  return true;
}

void Dot(Canvas& canvas, const GraphContext& ctx, double x, double y, Color fill, Color outline) {
  canvas.SetFillStyle(vbFSSolid);
  canvas.SetFillColor(fill);
  SafeCircle(canvas, x, y, 2.0 * ctx.xPixel, outline);
}

void LineSwatch(const GraphPane& pane, Canvas& canvas, const GraphContext& ctx, double x,
                double ym, Color c) {
  if (!pane.ShowAverage() && !pane.ShowCurrent()) {
    SafeLine(canvas, x + 92, ym, x + 368, ym, c);
    Dot(canvas, ctx, x + 230, ym, c, c);
    return;
  }
  SafeLine(canvas, x + 92, ym, x + 276, ym, c);
  Dot(canvas, ctx, x + 184, ym, c, c);
  const double tip = x + 276;
  const double back = tip + 5.0 * ctx.xPixel;
  SafeLine(canvas, tip, ym, back, ym - 2.5 * ctx.yPixel, c);
  SafeLine(canvas, back, ym - 2.5 * ctx.yPixel, back, ym + 2.5 * ctx.yPixel, c);
  SafeLine(canvas, back, ym + 2.5 * ctx.yPixel, tip, ym, c);
  if (pane.ShowAverage()) return;
  for (int j = -2; j <= 2; ++j) SafeLine(canvas, tip, ym, back, ym + j * ctx.yPixel, c);
}

void BoxSwatch(const GraphPane& pane, Canvas& canvas, const GraphContext& ctx, double x, double y,
               const LegendBox& box, Color c) {
  canvas.SetFillStyle(vbFSSolid);
  canvas.SetFillColor(c);
  SafeBox(canvas, x + 92, y + ctx.yPixel, x + 368, y + box.R - ctx.yPixel, pane.LineColor());
}

void HiLoSwatch(const GraphPane& pane, Canvas& canvas, const GraphContext& ctx, double x, double y,
                const LegendBox& box, Color c) {
  BoxSwatch(pane, canvas, ctx, x, y, box, c);
  const Color line = pane.LineColor();
  if (!pane.ShowAverage()) {
    const double ym = y + box.R / 2.0;
    SafeLine(canvas, x + 92, ym, x + 368, ym, line);
    Dot(canvas, ctx, x + 230, ym, line, line);
    return;
  }
  const double high = y + 4.0 * ctx.yPixel;
  const double low = y + box.R - 4.0 * ctx.yPixel;
  SafeLine(canvas, x + 92, high, x + 368, high, line);
  Dot(canvas, ctx, x + 230, high, line, line);
  SafeLine(canvas, x + 92, low, x + 368, low, line);
  Dot(canvas, ctx, x + 230, low, c, line);
}

void DrawEntry(const GraphPane& pane, Canvas& canvas, const GraphContext& ctx, const LegendBox& box,
               const LegendEntry& entry, std::int32_t i) {
  const bool rows = box.InRows;
  const std::int32_t across = rows ? i % box.Cols : i / box.Rows;
  const std::int32_t down = rows ? i / box.Cols : i % box.Rows;
  const double x = box.X0 + static_cast<double>(RoundHalfEven(static_cast<double>(across) * box.W + 3.0 * ctx.xPixel));
  const double y = box.Y0 + static_cast<double>(RoundHalfEven(static_cast<double>(down) * box.R + 3.0 * ctx.yPixel));
  const Color c = entry.Series->Color();
  if (pane.GraphType() == gpLine) LineSwatch(pane, canvas, ctx, x, y + box.R / 2.0, c);
  if (pane.GraphType() == gpHiLo) HiLoSwatch(pane, canvas, ctx, x, y, box, c);
  if (pane.GraphType() == gpBar) BoxSwatch(pane, canvas, ctx, x, y, box, c);
  canvas.SetFillStyle(vbFSTransparent);
  SafePrintAt(canvas, x + kTextOffset, y, entry.Shown);
}

}  // namespace

void DrawLegend(const GraphPane& pane, Canvas& canvas, GraphContext& ctx) {
  const std::vector<LegendEntry> entries = Entries(pane);
  if (entries.empty()) return;
  LegendBox box;
  SizeEntries(canvas, ctx, entries, box);
  const auto n = static_cast<std::int32_t>(entries.size());
  const std::int32_t position = pane.Legend();
  bool placed = false;
  if (position == gpLegendTop || position == gpLegendBottom) placed = PlaceInRows(pane, ctx, n, box);
  if (position == gpLegendRight || position == gpLegendLeft) placed = PlaceInColumns(pane, ctx, n, box);
  if (!placed) return;
  canvas.SetFillStyle(vbFSTransparent);
  const double x1 = static_cast<double>(box.X0) + box.Bw;
  const double y1 = static_cast<double>(box.Y0) + box.Bh;
  SafeFilledBox(canvas, box.X0, box.Y0, x1, y1, SystemColorFlag | sysWindow);
  SafeBox(canvas, box.X0, box.Y0, x1, y1, pane.LineColor());
  for (std::int32_t i = 0; i < n; ++i) DrawEntry(pane, canvas, ctx, box, entries[i], i);
}

}  // namespace quendrel
