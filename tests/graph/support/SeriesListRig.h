// A window with a data control and a series list bound to it, drawn on a recording canvas, with
// the list's events counted, for the series list's tests.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "graph/controls/SeriesListBox.h"
#include "graph/data/FormControls.h"
#include "graph/data/GraphDataControl.h"
#include "platform/FakeImageList.h"
#include "platform/RecordingCanvas.h"

namespace quendrel::testing {

// Metrics on the recording canvas at its default font: characters 82.5 twips wide, lines 165
// high; rows 240 twips (16 pixels) high, the header 210.
inline constexpr float kChar = 82.5f;
inline constexpr std::int32_t kRow = 240;
inline constexpr std::int32_t kHeader = 210;

struct ValueEvent {
  std::string Series;
  double Value;
};

class SeriesListRig {
 public:
  // A list the given number of rows high (no header) and 400 pixels wide.
  explicit SeriesListRig(int rowsHigh = 10, int pixelWidth = 400)
      : canvas(pixelWidth, rowsHigh * kRow / 15) {
    icons.AddSolid("readonly", 0xFFFF0000);
    icons.AddSolid("pram", 0xFF00C000);
    list.SetCanvas(&canvas);
    list.SetDataControl("gdcGraphData");
    list.Resize(static_cast<float>(pixelWidth) * 15.0f, static_cast<float>(rowsHigh * kRow));
    list.OnValueChanged([this](gdSeries& s, double v) { values.push_back({s.Name(), v}); });
    list.OnColorChanged([this](gdSeries& s) { colors.push_back(s.Name()); });
    list.OnActionChanged([this](gdSeries& s) { actions.push_back(s.Name()); });
    list.OnGainChanged([this](gdSeries& s) { gains.push_back(s.Name()); });
  }

  gdSeries& Add(const std::string& name, double value = 0.0) {
    gdSeries& series = *data.AddSeries(name, "Long " + name, 0x0000FF);
    series.AddPoint(1.0, value);
    return series;
  }
  void AddMany(int count) {
    for (int i = 1; i <= count; ++i) Add("S" + std::to_string(i), i);
    list.Refresh();
  }

  // Mouse positions: the middle of a row (1-based, unscrolled, no header) at x twips.
  static float RowY(int row) { return static_cast<float>((row - 1) * kRow + kRow / 2); }
  void Press(float x, int row) { list.MouseDown(1, 0, x, RowY(row)); }
  void Release(float x, int row) { list.MouseUp(1, 0, x, RowY(row)); }
  void Click(float x, int row) {
    Press(x, row);
    Release(x, row);
  }
  void Select(int row) { Click(NameX(), row); }
  static float NameX() { return 1000.0f; }
  float GainX() const { return list.CanvasWidth() - 200.0f; }
  float ActionX() const { return list.CanvasWidth() - 825.0f - 300.0f; }

  std::vector<std::string> Paint() {
    canvas.ClearLog();
    list.PaintSeriesList(false);
    return canvas.Log();
  }

  FormControls form;
  GraphDataControl data{&form, "gdcGraphData"};
  SeriesListBox list{&form, "slbSeries"};
  RecordingCanvas canvas;
  FakeImageList icons;
  std::vector<ValueEvent> values;
  std::vector<std::string> colors;
  std::vector<std::string> actions;
  std::vector<std::string> gains;
};

}  // namespace quendrel::testing
