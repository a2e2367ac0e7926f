// The graph pane on screen: refreshes drawn once when shown, a locked picture kept, and pictures of
// the legend and line graph for people to look at (test-output/graph/).
#include "graph/pane/qt/GraphPaneWidget.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLocale>
#include <QTimer>

#include <cmath>
#include <string>
#include <utility>

#include "graph/support/GraphPaneRig.h"
#include "platform/ScreenFrame.h"
#include "platform/ScriptedUi.h"
#include "support/FileText.h"
#include "support/PaintCounter.h"
#include "support/QtTestApp.h"
#include "support/TempFolder.h"
#include "support/TestOutput.h"

namespace quendrel {
namespace {

using testing::GraphPaneRig;
using testing::kNow;

struct GraphPaneWidgetTest : ::testing::Test {
  GraphPaneWidgetTest() { QtTestApp(); }

  void Sample() {
    const Color colors[] = {0x0000FF, 0x008000, 0xFF0000};
    for (int s = 0; s < 3; ++s) {
      gdSeries& series = *rig.data.AddSeries("M00P0" + std::to_string(s + 1), "Sample " + std::to_string(s), colors[s]);
      for (int i = 0; i < 120; ++i) series.AddPoint(kNow - 119 + i, (s + 1) * 10.0 * std::sin(i / (8.0 + s)));
    }
    rig.data.Series("M00P03")->SetGain(12345.0 / 100000.0 * 10.0);
  }
  void Save(GraphPaneWidget& widget, const std::string& name) {
    EXPECT_TRUE(widget.Picture().save(QString::fromStdString(TestOutputPath("graph", name))));
  }

  GraphPaneRig rig;
};

TEST_F(GraphPaneWidgetTest, HiddenPaneDrawsOnlyWhenItsPictureIsWanted) {
  GraphPaneWidget widget(rig.pane);
  widget.resize(300, 200);
  Sample();
  rig.pane.Refresh();
  const QImage picture = widget.Picture().copy();
  EXPECT_NE(picture.pixel(150, 5), picture.pixel(0, 0));  // the caption is there

  rig.pane.SetPaintLock(true);
  rig.pane.SetCaption("Other");
  EXPECT_EQ(widget.Picture(), picture);
  rig.pane.SetPaintLock(false);
  EXPECT_NE(widget.Picture(), picture);
}

// The message loop within one frame: the repaints asked for, never a timer, however slowly the test
// runs.
void RunMessageLoopWithinTheFrame() { QApplication::processEvents(QEventLoop::AllEvents | QEventLoop::X11ExcludeTimers); }

void EndTheFrame(QTimer& frameEnd) {
  frameEnd.stop();
  QMetaObject::invokeMethod(&frameEnd, "timeout");
  RunMessageLoopWithinTheFrame();
}

// A continuous scan on a fast link refreshes the pane after every sweep, a sweep a millisecond.
TEST_F(GraphPaneWidgetTest, SweepsArePaintedOnceAFrameAndTheLastOneAlways) {
  GraphPaneWidget widget(rig.pane);
  widget.resize(300, 200);
  Sample();
  widget.show();
  RunMessageLoopWithinTheFrame();
  const PaintCounter counter(widget);
  QTimer& frameEnd = *widget.findChild<QTimer*>("frameEnd");

  rig.clock.Advance(1.0);
  for (int sweep = 0; sweep < 10; ++sweep) {
    rig.pane.SetCaption("Sweep " + std::to_string(sweep));
    RunMessageLoopWithinTheFrame();
    rig.clock.Advance(0.001);
  }
  EXPECT_EQ(counter.Paints, 1);
  ASSERT_TRUE(frameEnd.isActive());
  EXPECT_EQ(frameEnd.interval(), 15);  // from the second sweep, a millisecond after the paint
  EndTheFrame(frameEnd);
  EXPECT_EQ(counter.Paints, 2);
  // The locked pane keeps what the last paint drew: the last sweep's caption.
  rig.pane.SetPaintLock(true);
  const QImage shown = widget.Picture().copy();
  rig.pane.SetPaintLock(false);
  EXPECT_EQ(widget.Picture(), shown);

  rig.clock.Advance(kFrameSeconds);
  rig.pane.Refresh();
  RunMessageLoopWithinTheFrame();
  EXPECT_EQ(counter.Paints, 3);
  EXPECT_FALSE(frameEnd.isActive());
}

int PixelsOf(const QImage& image, Color color) {
  const QRgb wanted = qRgb(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) count += image.pixel(x, y) == wanted ? 1 : 0;
  }
  return count;
}

// A scan list whose green series has a gain of 1e999: the red and blue ones are drawn as usual, the
// green one where it can be (its zeros, and edges of the plot).
TEST_F(GraphPaneWidgetTest, PicturesOfASeriesBeyondTheDoubles) {
  GraphPaneWidget widget(rig.pane);
  widget.resize(640, 400);
  std::vector<double> values;
  for (int i = 0; i < 120; ++i) values.push_back(i % 15 == 7 ? 0.0 : std::round(600.0 + 500.0 * std::sin(i / 8.0)));
  testing::AddScanListSeries(rig, testing::kOverflowingScanList, values);
  rig.pane.SetShowCurrent(true);
  const char* types[] = {"line", "hilo", "bar"};
  for (int type = gpLine; type <= gpBar; ++type) {
    SCOPED_TRACE(types[type]);
    rig.pane.SetGraphType(type);
    Save(widget, std::string("overflowing-gain-") + types[type] + ".png");
    EXPECT_GT(PixelsOf(widget.Picture(), testing::kListRed), 300);
    EXPECT_GT(PixelsOf(widget.Picture(), testing::kListBlue), 300);
    EXPECT_GT(PixelsOf(widget.Picture(), testing::kListGreen), 40);
  }
}

// Series scaled by gains so small that their range underflows, alone and beside a normal green one:
// alone the pane shows the flat range -1 to 1 with the series along the zero line; beside, the
// green series is drawn on its own range.
TEST_F(GraphPaneWidgetTest, PicturesOfUnderflowingGains) {
  GraphPaneWidget widget(rig.pane);
  widget.resize(640, 400);
  rig.pane.SetShowCurrent(true);
  gdSeries& tiny = rig.AddSeries("M01P01", {120.0, 480.0, 300.0, 240.0}, 0x0000FF);
  const char* types[] = {"line", "hilo", "bar"};
  for (const auto& [gain, gainText] : {std::pair{1e-310, "1e-310"}, std::pair{1e-320, "1e-320"}}) {
    tiny.SetGain(gain);
    for (bool besideNormal : {false, true}) {
      if (besideNormal) rig.AddSeries("M01P02", {-5.0, 12.0, 20.0, 8.0}, 0x00FF00);
      for (int type = gpLine; type <= gpBar; ++type) {
        rig.pane.SetGraphType(type);
        Save(widget, std::string("underflowing-gain-") + gainText + (besideNormal ? "-beside-" : "-alone-") +
                         types[type] + ".png");
        EXPECT_EQ(PixelsOf(widget.Picture(), 0x00FF00) > 300, besideNormal) << gainText << types[type];
      }
    }
    rig.data.RemoveSeries("M01P02");
  }
}

struct LocaleCase {
  QLocale Locale;
  const char* row;  // the values of the one row
};

// The user's locale as Qt knows it, whatever locales the system has generated.
class DefaultLocale {
 public:
  explicit DefaultLocale(const QLocale& locale) { QLocale::setDefault(locale); }
  ~DefaultLocale() { QLocale::setDefault(original_); }
  DefaultLocale(const DefaultLocale&) = delete;
  DefaultLocale& operator=(const DefaultLocale&) = delete;

 private:
  QLocale original_;
};

TEST_F(GraphPaneWidgetTest, GraphDataCarriesTheDecimalSeparatorOfTheUsersLocale) {
  GraphPaneWidget widget(rig.pane);
  rig.AddSeries("M01P02", {1.5});
  rig.AddSeries("M01P03", {-0.25});
  const LocaleCase cases[] = {{QLocale(QLocale::German, QLocale::Germany), "\t1,5\t-0,25\r\n"},
                              {QLocale::c(), "\t1.5\t-0.25\r\n"}};
  for (const LocaleCase& c : cases) {
    SCOPED_TRACE(c.Locale.name().toStdString());
    const DefaultLocale user(c.Locale);
    TempFolder folder;
    ScriptedUi ui;
    ui.AnswerFileDialog(folder.File("graph.dat"));
    rig.pane.SaveGraphData();
    const std::string text = ReadTestFile(folder.File("graph.dat"));
    EXPECT_EQ(text.substr(text.size() - std::string(c.row).size()), c.row);
  }
}

TEST_F(GraphPaneWidgetTest, PicturesOfLegendsAndLineGraphs) {
  GraphPaneWidget widget(rig.pane);
  widget.resize(640, 400);
  Sample();
  const char* positions[] = {"none", "top", "right", "left", "bottom"};
  for (int position = 1; position <= 4; ++position) {
    for (int style = 0; style <= 2; ++style) {
      rig.pane.SetLegend(position);
      rig.pane.SetLegendName(style);
      rig.pane.SetShowAverage(style == 1);
      rig.pane.Refresh();
      Save(widget, std::string("legend-") + positions[position] + "-" + std::to_string(style) + ".png");
    }
  }
  rig.pane.SetLegend(gpLegendRight);
  rig.pane.SetXRules(true);
  rig.pane.SetShowCurrent(true);
  rig.data.Series("M00P01")->LastPoint()->SetValue(40.0);
  rig.data.Series("M00P02")->LastPoint()->SetValue(-80.0);
  Save(widget, "line-rules-current-marks.png");
  rig.pane.SetShowAverage(true);
  Save(widget, "line-average-marks.png");
  widget.resize(40, 30);
  Save(widget, "line-tiny-pane.png");
  rig.pane.SetDataSource("");
  widget.resize(400, 200);
  Save(widget, "line-unbound.png");
}

}  // namespace
}  // namespace quendrel
