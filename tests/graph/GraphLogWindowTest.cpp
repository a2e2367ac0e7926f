// The scan window on screen against the simulated drive: its controls and what clicking them does,
// the timers it runs for the core, a close that comes while a handler still runs, and its size rules.
#include <QApplication>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTabBar>
#include <QTest>
#include <gtest/gtest.h>

#include "foundation/settings/Config.h"
#include "graph/controls/qt/SeriesListBoxWidget.h"
#include "graph/controls/qt/TimePickerWidget.h"
#include "graph/pane/qt/GraphPaneWidget.h"
#include "graph/support/ScanWindowRig.h"
#include "support/TestOutput.h"
#include "tree/qt/ParameterTreeWidget.h"

namespace quendrel {
namespace {

using testing::DriveLink;
using testing::ScanWindowRig;

constexpr int Px(int twips) { return twips / 15; }

class GraphLogWindowTest : public ::testing::Test {
 protected:
  GraphLogWindowTest() {
    rig.Open();
    window = rig.window;
  }

  QMdiSubWindow* Frame() const { return qobject_cast<QMdiSubWindow*>(window->parentWidget()); }
  void Click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

  ScanWindowRig rig{DriveLink::PseudoTerminal};
  QPointer<frmGraphLog> window;
};

TEST_F(GraphLogWindowTest, OpensOnceWithItsCaptionsAndTooltips) {
  frmGraphLog::Links links;
  EXPECT_EQ(frmGraphLog::ShowWindow(WindowHost{rig.area, &rig.icons, &rig.main}, links), window.data());
  EXPECT_EQ(rig.area->subWindowList().size(), 1);
  EXPECT_EQ(Frame()->windowTitle(), "Graph/Log Parameters");
  EXPECT_EQ(window->TabStrip()->tabText(0), "Graph/Log Setup");
  EXPECT_EQ(window->TabStrip()->tabText(1), "Graph Display");
  struct Control {
    QAbstractButton* button;
    const char* caption;
    const char* tooltip;
  };
  const Control controls[] = {
      {window->StartButton(), "Start Scanning", "Start or stop scanning."},
      {window->ConnectButton(), "Connect", ""},
      {window->BrowseButton(), "Browse...", ""},
      {window->ContinuousBox(), "Continuous Scan",
       "Scan everything as quickly as possible, without pausing between scan sweeps."},
      {window->RemoveAllButton(), "Remove All", "Remove all series from the graph."},
      {window->AdvancedOptionsButton(), "Advanced Options...", "Edit the graph's display options."},
      {window->SaveSnapshotButton(), "Save Snapshot...", "Save all the data collected during this session to a file."},
      {window->PrintSnapshotButton(), "Print Snapshot...", "Print the graph as currently displayed."},
  };
  for (const Control& c : controls) {
    EXPECT_EQ(c.button->text(), c.caption);
    EXPECT_EQ(c.button->toolTip(), c.tooltip) << c.caption;
  }
  for (const char* label : {"Drive Address:", "Log Filename:", "Scan Period:", "Show on X Axis:"}) {
    const auto found = window->findChildren<QLabel*>();
    EXPECT_TRUE(std::any_of(found.begin(), found.end(), [&](QLabel* l) { return l->text() == label; })) << label;
  }
  // Not connected: only Connect of the buttons.
  EXPECT_EQ(window->StatusLabel()->text(), "Not Connected");
  EXPECT_EQ(rig.mainStatus.back(), "Not Connected");
  EXPECT_TRUE(window->ConnectButton()->isEnabled());
  for (QWidget* dead : std::initializer_list<QWidget*>{window->StartButton(), window->RemoveAllButton(),
                                                       window->TreeWidget(), window->SeriesWidget(),
                                                       window->ScanPeriodPicker(), window->ContinuousBox()}) {
    EXPECT_FALSE(dead->isEnabled()) << dead->objectName().toStdString();
  }
  EXPECT_EQ(window->LogFileBox()->text().toStdString(), rig.LogPath());
  EXPECT_EQ(window->DriveAddressBox()->text(), "1");
}

TEST_F(GraphLogWindowTest, ClicksConnectTickScanAndStop) {
  rig.Connect();
  EXPECT_EQ(window->StatusLabel()->text(), "Connected");
  EXPECT_EQ(rig.mainStatus.back(), "Connected");
  EXPECT_TRUE(window->KeepaliveTimer()->isActive());
  EXPECT_EQ(window->KeepaliveTimer()->interval(), 5000);
  EXPECT_FALSE(window->ScanTimer()->isActive());
  rig.Tick("M01P01");
  EXPECT_EQ(rig.SeriesNames(), std::vector<std::string>{"M01P01"});

  Click(window->StartButton());
  EXPECT_EQ(window->StartButton()->text(), "Stop Scanning");
  EXPECT_EQ(window->TabStrip()->currentIndex(), 1);
  EXPECT_TRUE(window->ScanTimer()->isActive());
  EXPECT_EQ(window->ScanTimer()->interval(), 3000);
  EXPECT_EQ(window->ScanTimer()->timerType(), Qt::PreciseTimer);
  for (QWidget* locked : std::initializer_list<QWidget*>{window->LogFileBox(), window->BrowseButton(),
                                                         window->ContinuousBox(), window->ScanPeriodPicker()}) {
    EXPECT_FALSE(locked->isEnabled()) << locked->objectName().toStdString();
  }
  window->Core().TimerScan_Timer();
  Click(window->StartButton());
  EXPECT_EQ(window->StartButton()->text(), "Start Scanning");
  EXPECT_FALSE(window->ScanTimer()->isActive());
  const std::vector<std::string> lines = rig.LogLines();
  ASSERT_EQ(lines.size(), 4U);
  EXPECT_EQ(lines[1], "\t\tM01P01");
  EXPECT_TRUE(lines[2].ends_with("\t60\t")) << lines[2];
  EXPECT_TRUE(lines[3].starts_with("*** Log Closed: ")) << lines[3];

  Click(window->RemoveAllButton());
  EXPECT_TRUE(rig.SeriesNames().empty());
}

TEST_F(GraphLogWindowTest, ASweepLeavesTheListsPaintingToTheNextFrame) {
  rig.Connect();
  rig.Tick("M01P01");
  ASSERT_TRUE(QTest::qWaitFor([&] { return !window->SeriesWidget()->Picture().isNull(); }));
  Click(window->StartButton());
  rig.sim->SetValue(101, 4321);
  const QImage before = window->SeriesWidget()->Picture().copy();
  window->Core().TimerScan_Timer();
  EXPECT_EQ(window->SeriesWidget()->Picture(), before);
  EXPECT_TRUE(QTest::qWaitFor([&] { return window->SeriesWidget()->Picture() != before; }));
}

TEST_F(GraphLogWindowTest, TheTimersRunAsTheCoreSaysAndAnIntervalOfZeroNeverFires) {
  struct Case {
    bool running;
    std::int32_t interval;
    bool active;
  };
  const Case cases[] = {{true, 0, false}, {true, 1, true}, {true, 65535, true}, {false, 5, false}, {true, 5, true}};
  GraphLogView& view = *window;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.interval) + (c.running ? " running" : " stopped"));
    view.SetScanTimer(c.running, c.interval);
    view.SetKeepaliveTimer(c.running, c.interval);
    for (QTimer* timer : {window->ScanTimer(), window->KeepaliveTimer()}) {
      EXPECT_EQ(timer->isActive(), c.active);
      if (c.active) {
        EXPECT_EQ(timer->interval(), c.interval);
      }
    }
  }
  view.SetScanTimer(false, 0);
  view.SetKeepaliveTimer(false, 0);
}

TEST_F(GraphLogWindowTest, TheContinuousBoxScansEveryMillisecond) {
  rig.Connect();
  rig.Tick("M01P02");
  Click(window->ContinuousBox());
  EXPECT_TRUE(window->ContinuousBox()->isChecked());
  EXPECT_FALSE(window->ScanPeriodPicker()->isEnabled());
  EXPECT_EQ(Config().Value("ScanPeriod", "Graph/Log"), "0.001");
  Click(window->StartButton());
  EXPECT_EQ(window->ScanTimer()->interval(), 1);
  // The timer fires by itself: open mark, header and three sweeps.
  ASSERT_TRUE(rig.WaitForLogLines(5));
  Click(window->StartButton());
  Click(window->ContinuousBox());
  EXPECT_TRUE(window->ScanPeriodPicker()->isEnabled());
}

// Address 0 reaches every drive on the line and none answers: an empty box (cleared, 0, 256) connects
// to none, and a connection already made goes on as it was.
TEST_F(GraphLogWindowTest, ConnectWithAnEmptyAddressBoxSendsNothing) {
  QLineEdit* box = window->DriveAddressBox();
  for (const char* typed : {"", "0", "256", "1", ""}) {
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClicks(box, typed);
    if (*typed == '1') {
      rig.Connect();
      continue;
    }
    rig.ui.AnswerMsgBox(vbOK);
    Click(window->ConnectButton());
    EXPECT_EQ(rig.ui.Titles().back() + ": " + rig.ui.Prompts().back(), "Connection Error: Invalid drive address.");
  }
  EXPECT_EQ(window->StatusLabel()->text(), "Connected");
  EXPECT_EQ(rig.sim->BroadcastCount(), 0);
}

TEST_F(GraphLogWindowTest, AUserCloseDuringTheUploadHappensOnceTheUploadHasStopped) {
  int pumps = 0;
  rig.ui.OnPump([&] {
    if (++pumps != 3) return;
    EXPECT_FALSE(window->ConnectButton()->isEnabled());
    Frame()->close();
    EXPECT_FALSE(window.isNull()) << "closed under the upload's feet";
  });
  window->Core().gpGraph().SetCaption("Kept at close");
  rig.sim->ResetStats();
  Click(window->ConnectButton());
  rig.ui.OnPump({});
  ASSERT_GE(pumps, 3);
  EXPECT_FALSE(window.isNull());
  // The upload was told to stop: nowhere near the template's hundreds of reads.
  EXPECT_LT(rig.sim->RequestCount(), 40);
  QApplication::processEvents();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(window.isNull());
  EXPECT_EQ(frmGraphLog::Instance(), nullptr);
  EXPECT_EQ(Config().Value("Title", "Graph/Log"), "Kept at close");
}

TEST_F(GraphLogWindowTest, ACloseFromInsideAMessageBoxWaitsForTheBoxAndItsHandler) {
  rig.Connect();
  rig.Tick("M01P02");
  window->LogFileBox()->setText(QString::fromStdString(rig.folder.File("no/such/folder/scan.log")));
  QTest::keyClicks(window->LogFileBox(), "x");
  rig.ui.AnswerMsgBox(vbOK);
  rig.ui.WhileAsked([&](const UiQuestion&) {
    Frame()->close();
    EXPECT_FALSE(window.isNull());
  });
  Click(window->StartButton());
  rig.ui.WhileAsked({});
  EXPECT_EQ(rig.ui.Titles(), std::vector<std::string>{"Log file error"});
  QApplication::processEvents();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(window.isNull());
}

TEST_F(GraphLogWindowTest, ANormalWindowSpringsBackToItsSmallestSize) {
  Frame()->showNormal();
  Frame()->resize(300, 200);
  QApplication::processEvents();
  EXPECT_GE(window->width(), Px(GraphLogLayout::MinWidth));
  EXPECT_GE(window->height(), Px(GraphLogLayout::MinHeight));
}

// The desktop's font makes the series list's columns wider than the twips were made for; at the
// smallest size the list still shows them all (a picture lands in test-output/graph/).
TEST_F(GraphLogWindowTest, AtItsSmallestSizeTheSeriesListShowsEveryColumn) {
  gdSeries& series = *rig.Core().gdcGraphData().AddSeries("M01P01", "Motor Speed Reference", 0x0000FF);
  series.AddPoint(1.0, 8888.8);
  Frame()->showNormal();
  Frame()->resize(300, 200);
  QApplication::processEvents();
  rig.Core().slbSeries().Refresh();
  EXPECT_GE(window->SeriesWidget()->width() * 15, rig.Core().slbSeries().MinWidth());
  EXPECT_TRUE(Frame()->grab().save(QString::fromStdString(TestOutputPath("graph", "scan-window-smallest.png"))));
}

TEST_F(GraphLogWindowTest, AMaximizedWindowSmallerThanTheSmallestKeepsItsSizeAndTheSmallestLayout) {
  const QRect treeAtSmallest = [&] {
    Frame()->showNormal();
    Frame()->resize(300, 200);
    QApplication::processEvents();
    return window->TreeWidget()->geometry();
  }();
  rig.main.resize(500, 300);
  Frame()->showMaximized();
  QApplication::processEvents();
  EXPECT_LT(window->width(), Px(GraphLogLayout::MinWidth));
  EXPECT_EQ(Frame()->size(), rig.area->viewport()->size());
  EXPECT_EQ(window->TreeWidget()->geometry(), treeAtSmallest);
}

TEST_F(GraphLogWindowTest, EachPageIsLaidOutWhenItsTabIsClicked) {
  QTabBar* tabs = window->TabStrip()->tabBar();
  QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
  ASSERT_EQ(window->TabStrip()->currentIndex(), 1);
  const GraphLogPlacement placed =
      GraphLogLayout::Place(window->width() * 15, window->height() * 15, GraphLogLayout::DisplayPage);
  EXPECT_EQ(window->GraphWidget()->width(), Px(placed.Display->gpGraph.Width));
  EXPECT_EQ(window->GraphWidget()->height(), Px(placed.Display->gpGraph.Height));
  // The graph page's buttons sit on the Start button's row.
  const int startTop = window->StartButton()->mapTo(window, QPoint(0, 0)).y();
  EXPECT_EQ(window->AdvancedOptionsButton()->mapTo(window, QPoint(0, 0)).y(), startTop);
  EXPECT_EQ(window->PrintSnapshotButton()->mapTo(window, QPoint(0, 0)).y(), startTop);
  QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(0).center());
  EXPECT_EQ(window->RemoveAllButton()->mapTo(window, QPoint(0, 0)).y(), startTop);
}

}  // namespace
}  // namespace quendrel
