// The canvas calls of one walked point of the line graph, exactly as drawn point by point: its
// dot, the segment from the next newer point P, and its tick on the zero line.
#pragma once

#include "graph/pane/LineCalls.h"
#include "graph/pane/LinePlot.h"

namespace quendrel {

// The segment from P to a point inside the band; from outside, it starts where it crosses the
// band's edge, and from a band bound there is none.
void DrawSegmentInto(LineCalls& calls, const LinePlot& plot, const LinePoint& p,
                     const LinePoint& point, Color color);
// The segment from P inside the band to a point above or below it ends straight above or below
// that point, on the edge; anything else draws nothing.
void DrawSegmentOut(LineCalls& calls, const LinePlot& plot, const LinePoint& p,
                    const LinePoint& point, Band band, Color color);
void DrawSampleTick(LineCalls& calls, const LinePlot& plot, double x, Color tickColor);
// All of the above for one point, in the order that decides which colour wins.
void DrawLinePoint(LineCalls& calls, const LinePlot& plot, const LinePoint& p,
                   const LinePoint& point, Color color, Color tickColor);

}  // namespace quendrel
