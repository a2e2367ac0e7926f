// A window with a data control and a graph pane bound to it, a recording canvas and a fixed clock,
// for the graph pane's drawing tests.
#pragma once

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "foundation/text/ParameterId.h"
#include "graph/data/FormControls.h"
#include "graph/data/GraphDataControl.h"
#include "graph/data/PLF.h"
#include "graph/pane/GraphDrawing.h"
#include "graph/pane/GraphPane.h"
#include "platform/FakeClock.h"
#include "platform/RecordingCanvas.h"
#include "support/FileText.h"
#include "support/TempFolder.h"

namespace quendrel::testing {

// One hour into 1 January 2024; the series' points lie just before it.
inline constexpr double kNow = FakeClock::DefaultStart + 3600.0;

class GraphPaneRig {
 public:
  explicit GraphPaneRig(int pixelWidth = 400, int pixelHeight = 300)
      : canvas(pixelWidth, pixelHeight) {
    SetClock(&clock);
    pane.SetDataSource("gdcGraphData");
  }
  ~GraphPaneRig() { SetClock(nullptr); }
  GraphPaneRig(const GraphPaneRig&) = delete;
  GraphPaneRig& operator=(const GraphPaneRig&) = delete;

  // A series with points one second apart ending at kNow.
  gdSeries& AddSeries(const std::string& name, const std::vector<double>& values,
                      std::uint32_t color = 0x0000FF) {
    gdSeries& series = *data.AddSeries(name, name + " long", color);
    for (std::size_t i = 0; i < values.size(); ++i) {
      series.AddPoint(kNow - static_cast<double>(values.size() - 1 - i), values[i]);
    }
    return series;
  }

  GraphContext Frame() {
    GraphContext ctx;
    DrawGraphFrame(pane, canvas, ctx);
    return ctx;
  }

  std::vector<std::string> Log() {
    canvas.ClearLog();
    pane.DrawGraph(canvas);
    return canvas.Log();
  }

  bool Logged(const std::string& entry) {
    const std::vector<std::string> log = Log();
    return std::find(log.begin(), log.end(), entry) != log.end();
  }

  FakeClock clock{kNow};
  FormControls form;
  GraphDataControl data{&form, "gdcGraphData"};
  GraphPane pane{&form, "gpGraph"};
  RecordingCanvas canvas;
};

// A scan list whose second series has a gain of 1e999, read as the largest double: every value of
// it but 0 lies beyond the doubles once scaled. Red, green and blue, with gains 1, 1e999 and -2.
inline constexpr char kOverflowingScanList[] =
    "M01P01;True;False;#FF0000;1\r\nM01P02;True;False;#00FF00;1e999\r\nM01P03;True;False;#0000FF;-2\r\n";
inline constexpr Color kListRed = 0x0000FF;
inline constexpr Color kListGreen = 0x00FF00;
inline constexpr Color kListBlue = 0xFF0000;

// The series of a scan list as the scan window makes them, named, coloured and scaled as listed,
// each with the same values.
inline void AddScanListSeries(GraphPaneRig& rig, const std::string& list, const std::vector<double>& values) {
  TempFolder folder;
  WriteTestFile(folder.File("list.SCP"), list);
  PLF scanList;
  scanList.Load(folder.File("list.SCP"));
  for (std::int32_t tn = 0; tn < PLF::kEntries; ++tn) {
    if (!scanList.Parameter(tn)) continue;
    rig.AddSeries(ParameterIdText(tn), values, scanList.Color(tn)).SetGain(scanList.Gain(tn));
  }
}

// The texts printed, in order.
inline std::vector<std::string> Printed(const std::vector<std::string>& log) {
  std::vector<std::string> texts;
  for (const std::string& entry : log) {
    if (entry.rfind("Print ", 0) != 0) continue;
    const auto open = entry.find('"');
    texts.push_back(entry.substr(open + 1, entry.size() - open - 2));
  }
  return texts;
}

inline bool Has(const std::vector<std::string>& items, const std::string& item) {
  return std::find(items.begin(), items.end(), item) != items.end();
}

}  // namespace quendrel::testing
