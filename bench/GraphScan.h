// What the graph benchmarks share: an offscreen application for drawing on images, and a scan
// window's worth of noisy sine waves bound to a graph pane.
#pragma once

#include <cmath>
#include <string>

#include "GuiApp.h"
#include "graph/data/FormControls.h"
#include "graph/data/GraphDataControl.h"
#include "graph/pane/GraphPane.h"
#include "platform/FakeClock.h"

namespace quendrel::bench {

inline constexpr double kScanEnd = FakeClock::DefaultStart + 86400.0;

// Every point inside the pane's 300-second window. Named series get a legend caption each.
struct Scan {
  Scan(int series, int points, bool named = false) {
    SetClock(&clock);
    pane.SetDataSource("gdcGraphData");
    for (int s = 0; s < series; ++s) {
      const std::string caption = named ? "Series " + std::to_string(s) : "";
      gdSeries& added = *data.AddSeries("S" + std::to_string(s), caption, 0x0000FFu * (s % 3 + 1));
      for (int i = 0; i < points; ++i) {
        added.AddPoint(kScanEnd - 300.0 + 300.0 * i / points, (s + 1) * std::sin(i * 0.001) + (i % 7) * 0.01);
      }
    }
  }
  ~Scan() { SetClock(nullptr); }
  FakeClock clock{kScanEnd + 1.0};
  FormControls form;
  GraphDataControl data{&form, "gdcGraphData"};
  GraphPane pane{&form, "gpGraph"};
};

}  // namespace quendrel::bench
