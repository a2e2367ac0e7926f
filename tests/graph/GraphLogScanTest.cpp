// The scan window's scanning: starting and stopping, the interval, the scan step on a fake clock
// against the in-process drive, and the scan log line by line.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>

#include <filesystem>

#include "comms/server/GIOError.h"
#include "foundation/settings/Config.h"
#include "graph/support/GraphLogRig.h"
#include "platform/RecordingCanvas.h"

namespace quendrel {
namespace {

using testing::GraphLogRig;
using testing::StampText;
using Lines = std::vector<std::string>;

std::string Opened(double at) { return "*** Log Opened: " + StampText(at) + " ***"; }
std::string Closed(double at) { return "*** Log Closed: " + StampText(at) + " ***"; }
std::string Data(double at, const std::string& cells) { return StampText(at, true) + "\t" + cells; }

// The log file may not grow beyond what it holds now while this lives.
class FrozenFileSize {
 public:
  explicit FrozenFileSize(const std::string& path) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    handler_ = signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved_;
    limit.rlim_cur = std::filesystem::file_size(path);
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FrozenFileSize() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    signal(SIGXFSZ, handler_);
  }
  FrozenFileSize(const FrozenFileSize&) = delete;
  FrozenFileSize& operator=(const FrozenFileSize&) = delete;

 private:
  rlimit saved_{};
  sighandler_t handler_;
};

class GraphLogScanTest : public ::testing::Test {
 protected:
  void SetUp() override {
    rig.Load();
    rig.Connect();
  }
  // Moves the fake clock on to that many seconds after its start.
  void At(double seconds) { rig.clock.SetNow(testing::FakeClockStart() + seconds); }

  GraphLogRig rig;
  GraphLogSession& session = *rig.session;
};

TEST_F(GraphLogScanTest, AShortScanLogsMarksHeaderAndOneLineASweep) {
  rig.Tick("M01P03");
  rig.Tick("M10P03");
  At(1.125);
  session.bStartGraph_Click();
  EXPECT_EQ(rig.view.startCaption, "Stop Scanning");
  EXPECT_EQ(session.StatusText(), "Scanning");
  EXPECT_EQ(rig.view.tabPage, kGraphLogGraphPage);
  EXPECT_EQ(rig.view.scanTimer, (testing::RecordingGraphLogView::Timer{true, 3000}));
  for (const GraphLogControl locked : {GraphLogControl::tpScanPeriod, GraphLogControl::chkContinuousScan,
                                       GraphLogControl::bLogBrowse, GraphLogControl::tbLogFile}) {
    EXPECT_FALSE(session.Enabled(locked));
  }
  At(4.25);
  session.TimerScan_Timer();
  rig.drive->SetValue(103, 125);
  At(7.5);
  session.TimerScan_Timer();
  At(8.0);
  session.bStartGraph_Click();
  EXPECT_EQ(rig.LogLines(), (Lines{Opened(1.125), "\t\tM01P03\tM10P03", Data(4.25, "10\t565\t"),
                                   Data(7.5, "12.5\t565\t"), Closed(8.0)}));
  EXPECT_EQ(rig.view.startCaption, "Start Scanning");
  EXPECT_EQ(session.StatusText(), "Connected");
  EXPECT_TRUE(session.AutoRestart());
  EXPECT_FALSE(rig.view.scanTimer.Running);
  EXPECT_TRUE(session.Enabled(GraphLogControl::tpScanPeriod));
  EXPECT_TRUE(session.Enabled(GraphLogControl::bLogBrowse));
  // The first reading and two sweeps.
  EXPECT_EQ(rig.Series("M01P03")->PointCount(), 3u);
  EXPECT_DOUBLE_EQ(rig.Series("M01P03")->MostRecentValue(), 12.5);
  // A stopped scan's tick, still queued, reads nothing.
  rig.drive->Forget();
  session.TimerScan_Timer();
  EXPECT_TRUE(rig.drive->sent.empty());
}

// A header names the columns again whenever the logged set changes during a scan.
TEST_F(GraphLogScanTest, HeadersFollowTheLoggedSeries) {
  rig.Tick("M01P03");
  rig.Tick("M01P04");
  session.bStartGraph_Click();
  rig.Tick("M10P03");
  rig.Tick("M01P03", false);
  gdSeries& m0104 = *rig.Series("M01P04");
  m0104.SetVisible(false);  // only what is graphed
  session.slbSeries_ActionChanged(m0104);
  m0104.SetLogged(false);
  session.slbSeries_ActionChanged(m0104);
  session.TimerScan_Timer();
  m0104.SetLogged(true);
  session.slbSeries_ActionChanged(m0104);
  session.bRemoveAll_Click();
  session.bStartGraph_Click();
  EXPECT_EQ(rig.LogLines(), (Lines{Opened(0), "\t\tM01P03\tM01P04", "\t\tM01P03\tM01P04\tM10P03",
                                   "\t\tM01P04\tM10P03", "\t\tM10P03", Data(0, "565\t"), "\t\tM01P04\tM10P03",
                                   // Remove All: after each removal that leaves a series.
                                   "\t\tM10P03", Closed(0)}));
}

TEST_F(GraphLogScanTest, LostOnTheSecondOfThreeSeries) {
  for (const char* key : {"M01P03", "M01P04", "M01P05"}) rig.Tick(key);
  session.bStartGraph_Click();
  rig.drive->FailReads(104, {gioTimeout});
  rig.drive->Forget();
  At(2.5);
  session.TimerScan_Timer();
  EXPECT_EQ(rig.LogLines(), (Lines{Opened(0), "\t\tM01P03\tM01P04\tM01P05", "10\tERR 46\t", Closed(2.5),
                                   "*** (Disconnected; Error 46 on M01P04.) ***"}));
  EXPECT_EQ(session.ConnectionState(), GraphLogSession::StateDisconnected);
  EXPECT_EQ(session.StatusText(), "Disconnected");
  EXPECT_FALSE(session.ScanTimerRunning());
  EXPECT_EQ(rig.view.startCaption, "Start Scanning");
  EXPECT_EQ(rig.Series("M01P03")->PointCount(), 2u);
  EXPECT_TRUE(rig.Series("M01P04")->Error());
  EXPECT_EQ(rig.Series("M01P04")->PointCount(), 1u);
  EXPECT_EQ(rig.drive->ReadsOf(105), 0);
  EXPECT_EQ(rig.Series("M01P05")->PointCount(), 1u);
}

// An ordinary failed read of a logged series writes the cells so far at once, then the whole line;
// an unlogged series has no column, and its failure writes nothing.
TEST_F(GraphLogScanTest, OrdinaryReadErrorsWriteThePartialLineFirst) {
  for (const char* key : {"M01P03", "M01P04", "M01P05", "M10P03"}) rig.Tick(key);
  gdSeries& unlogged = *rig.Series("M01P05");
  unlogged.SetLogged(false);
  session.slbSeries_ActionChanged(unlogged);
  session.bStartGraph_Click();
  rig.drive->FailReads(104, {gioInvalidDataAddress});
  rig.drive->FailReads(105, {gioSlaveDeviceFailure});
  session.TimerScan_Timer();
  session.TimerScan_Timer();
  EXPECT_EQ(rig.LogLines(),
            (Lines{Opened(0), "\t\tM01P03\tM01P04\tM10P03", "10\tERR 2\t", Data(0, "10\tERR 2\t565\t"),
                   Data(0, "10\t-25\t565\t")}));
  EXPECT_EQ(session.ConnectionState(), GraphLogSession::StateConnected);
  EXPECT_FALSE(rig.Series("M01P04")->Error());  // read again
  EXPECT_EQ(rig.Series("M01P05")->PointCount(), 2u);
}

TEST_F(GraphLogScanTest, ASweepStampsItsPointsWithTheMeanOfItsReads) {
  for (const char* key : {"M01P03", "M01P04", "M01P05"}) rig.Tick(key);
  session.bStartGraph_Click();
  At(10.0);
  rig.drive->OnExchange([this](const DriveRequest&) { rig.clock.Advance(0.25); });
  session.TimerScan_Timer();
  // Reads started at 10, 10.25 and 10.5.
  for (const char* name : {"M01P03", "M01P04", "M01P05"}) {
    EXPECT_DOUBLE_EQ(rig.Series(name)->LastPoint()->Timestamp(), testing::FakeClockStart() + 10.25) << name;
  }
  EXPECT_EQ(rig.LogLines().back(), Data(10.25, "10\t-25\t5\t"));
}

// After the clock went back, the point a sweep added lies among older ones: that point, not the
// newest, takes the sweep's stamp.
TEST_F(GraphLogScanTest, AClockSetBackStampsThePointTheSweepAdded) {
  rig.Tick("M01P03");
  rig.Tick("M01P04");
  session.bStartGraph_Click();
  rig.drive->OnExchange([this](const DriveRequest&) { rig.clock.Advance(0.25); });
  At(100.0);
  session.TimerScan_Timer();
  const double newest = rig.Series("M01P03")->LastPoint()->Timestamp();
  At(50.0);
  rig.drive->SetValue(103, 777);
  session.TimerScan_Timer();
  gdSeries& series = *rig.Series("M01P03");
  EXPECT_DOUBLE_EQ(series.LastPoint()->Timestamp(), newest);
  EXPECT_FLOAT_EQ(static_cast<float>(series.MostRecentValue()), 77.7f);
  const auto added = series.FirstPointAtOrAfter(testing::FakeClockStart() + 50.0);
  ASSERT_TRUE(added.has_value());
  EXPECT_DOUBLE_EQ(added->Timestamp(), testing::FakeClockStart() + 50.125);
  EXPECT_FLOAT_EQ(static_cast<float>(added->Value()), 77.7f);
  EXPECT_EQ(rig.LogLines().back(), Data(50.125, "77.7\t-25\t"));
}

// A window that schedules the list's repaint keeps the drawing out of the sweep.
TEST_F(GraphLogScanTest, TheSweepPaintsTheListOnlyWhenTheWindowDoesNotScheduleIt) {
  RecordingCanvas canvas(400, 200);
  int drawn = 0;
  session.slbSeries().SetCanvas(&canvas);
  SeriesListHost host;
  host.Drawn = [&drawn] { ++drawn; };
  session.slbSeries().SetHost(host);
  rig.Tick("M10P03");
  session.bStartGraph_Click();
  drawn = 0;
  rig.view.scheduleListRefresh = true;
  session.TimerScan_Timer();
  EXPECT_EQ(drawn, 0);
  EXPECT_EQ(rig.view.listRefreshes, 1);
  rig.view.scheduleListRefresh = false;
  session.TimerScan_Timer();
  EXPECT_GT(drawn, 0);
  session.slbSeries().SetHost({});
  session.slbSeries().SetCanvas(nullptr);
}

TEST_F(GraphLogScanTest, AScanWithoutSeriesReadsAndLogsNothingUntilOneIsAdded) {
  session.bStartGraph_Click();
  rig.drive->Forget();
  session.TimerScan_Timer();
  EXPECT_TRUE(rig.drive->sent.empty());
  rig.Tick("M10P03");
  session.TimerScan_Timer();
  EXPECT_EQ(rig.LogLines(), (Lines{Opened(0), "\t\tM10P03", Data(0, "565\t")}));
}

TEST_F(GraphLogScanTest, TheIntervalComesFromThePickerOrTheContinuousBox) {
  session.tpScanPeriod().SetValueSeconds(40);
  session.bStartGraph_Click();
  EXPECT_EQ(rig.view.scanTimer, (testing::RecordingGraphLogView::Timer{true, 32766}));
  session.bStartGraph_Click();
  session.tpScanPeriod().SetValueSeconds(0);
  EXPECT_EQ(session.tpScanPeriod().ValueSeconds(), 1);
  EXPECT_EQ(Config().Value("ScanPeriod", "Graph/Log"), "1");

  session.chkContinuousScan_Click(true);
  EXPECT_FALSE(session.Enabled(GraphLogControl::tpScanPeriod));
  EXPECT_EQ(rig.view.scanTimer.Interval, 1);
  EXPECT_EQ(Config().Value("ScanPeriod", "Graph/Log"), "0.001");
  session.bStartGraph_Click();
  EXPECT_EQ(rig.view.scanTimer, (testing::RecordingGraphLogView::Timer{true, 1}));
  session.bStartGraph_Click();
  EXPECT_FALSE(session.Enabled(GraphLogControl::tpScanPeriod));  // the box is still ticked
  session.chkContinuousScan_Click(false);
  EXPECT_TRUE(session.Enabled(GraphLogControl::tpScanPeriod));
  EXPECT_EQ(rig.view.scanTimer.Interval, 1000);
  EXPECT_EQ(Config().Value("ScanPeriod", "Graph/Log"), "1");
}

TEST_F(GraphLogScanTest, ALogThatCannotBeOpenedLeavesTheScanRunningWithoutIt) {
  rig.Tick("M10P03");
  session.tbLogFile_Change(rig.folder.File(""));
  rig.ui.AnswerMsgBox(vbOK);
  session.bStartGraph_Click();
  EXPECT_EQ(rig.ui.Prompts(), Lines{"Unable to open the log file. It may be in use by another application.\n\n" +
                                    rig.folder.File("") + ": it is a folder."});
  EXPECT_EQ(rig.ui.Titles(), Lines{"Log file error"});
  EXPECT_EQ(rig.ui.Questions()[0].Style, vbCritical);
  EXPECT_TRUE(session.ScanTimerRunning());
  EXPECT_EQ(session.StatusText(), "Scanning");
  session.TimerScan_Timer();
  EXPECT_EQ(rig.Series("M10P03")->PointCount(), 2u);
}

// The box comes once the step is over, so the scan goes on meanwhile; the log is forgotten.
TEST_F(GraphLogScanTest, AFailedLogWriteStopsTheLoggingNotTheScan) {
  rig.Tick("M10P03");
  session.bStartGraph_Click();
  std::size_t pointsInBox = 0;
  rig.ui.AnswerMsgBox(vbOK);
  rig.ui.WhileAsked([&](const UiQuestion&) {
    EXPECT_FALSE(session.Busy());
    session.TimerScan_Timer();
    pointsInBox = rig.Series("M10P03")->PointCount();
  });
  {
    FrozenFileSize frozen(rig.LogPath());
    session.TimerScan_Timer();
  }
  EXPECT_EQ(rig.ui.Prompts(), Lines{"Unable to write to the log file. Logging has stopped."});
  EXPECT_EQ(rig.ui.Titles(), Lines{"Log file error"});
  EXPECT_EQ(rig.ui.Questions()[0].Style, vbCritical);
  EXPECT_EQ(pointsInBox, 3u);
  EXPECT_FALSE(session.LogOpen());
  EXPECT_TRUE(session.ScanTimerRunning());
  session.TimerScan_Timer();
  session.bStartGraph_Click();
  EXPECT_EQ(rig.LogLines(), (Lines{Opened(0), "\t\tM10P03"}));
  EXPECT_EQ(rig.ui.Questions().size(), 1u);
}

// The restart's box about the log holds the keepalive tick: the ticks that fire behind it return.
TEST_F(GraphLogScanTest, TicksInsideTheRestartsLogBoxDoNothing) {
  rig.Tick("M10P03");
  session.bStartGraph_Click();
  rig.LoseDrive();
  rig.drive->SetSilent(false);
  session.tbLogFile_Change(rig.folder.File(""));
  rig.ui.AnswerMsgBox(vbOK);
  rig.ui.WhileAsked([&](const UiQuestion&) {
    EXPECT_TRUE(session.Busy());
    rig.drive->Forget();
    session.TimerScan_Timer();
    session.TimerConnection_Timer();
    EXPECT_TRUE(rig.drive->sent.empty());
  });
  session.TimerConnection_Timer();
  EXPECT_EQ(rig.ui.Titles(), Lines{"Log file error"});
  EXPECT_FALSE(session.Busy());
  EXPECT_TRUE(session.ScanTimerRunning());
  EXPECT_EQ(session.StatusText(), "Scanning");
}

}  // namespace
}  // namespace quendrel
