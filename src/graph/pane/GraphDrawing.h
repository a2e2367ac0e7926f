// The drawing steps of a graph pane: the frame every graph type shares and the three graphs, each
// drawing onto the canvas in twips through the pane's settings.
#pragma once

#include "graph/pane/GraphContext.h"

namespace quendrel {

class Canvas;
class GraphPane;

// Clears the canvas, prints the caption and sets the outer plot rectangle, the pixel sizes, the
// value range and the time window. False (with an error text drawn) while the pane is unbound.
bool LayoutGraph(const GraphPane& pane, Canvas& canvas, GraphContext& ctx);
// The labels of the largest and smallest value left of the plot, and the scales.
void DrawRangeLabels(const GraphPane& pane, Canvas& canvas, GraphContext& ctx);
// The boxed legend of the visible series; takes its room from the plot rectangle.
void DrawLegend(const GraphPane& pane, Canvas& canvas, GraphContext& ctx);
// The Y labels between the range labels and the zero line, with their ticks and rules.
void DrawYAxis(const GraphPane& pane, Canvas& canvas, const GraphContext& ctx);
// The left axis, its end ticks, the zero label and the zero line, drawn over the series.
void DrawPlotAxes(const GraphPane& pane, Canvas& canvas, const GraphContext& ctx);
// One column per visible series: a bar from the lowest to the highest value inside the window
// with a dot at the newest, or a bar from the zero line to the newest value.
void DrawHiLoGraph(const GraphPane& pane, Canvas& canvas);
void DrawBarGraph(const GraphPane& pane, Canvas& canvas);
// Everything but the series; false when nothing can be plotted.
bool DrawGraphFrame(const GraphPane& pane, Canvas& canvas, GraphContext& ctx);
// Decimated: where many points share a pixel column, their dots and runs are drawn as vertical
// spans, the same pixels as drawing every point by itself (which stays for comparison). The
// decimated series are worked out on up to the given number of threads (0: as many as the
// machine runs at once) and drawn on the caller's.
enum class LineGraphDetail { Decimated, EveryPoint };
void DrawLineGraph(const GraphPane& pane, Canvas& canvas,
                   LineGraphDetail detail = LineGraphDetail::Decimated, unsigned threads = 0);

}  // namespace quendrel
