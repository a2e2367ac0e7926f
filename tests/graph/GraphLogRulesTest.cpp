// The scan window's rules that need no window: timer intervals and picker limits, the connection
// state table, the settings' spellings, the log's lines and the log file itself.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>

#include <cmath>
#include <limits>

#include "graph/data/gdSeries.h"
#include "graph/scan/ConnectionStates.h"
#include "graph/scan/GraphLogSettingTexts.h"
#include "graph/scan/ScanLogFile.h"
#include "graph/scan/ScanLogText.h"
#include "graph/scan/ScanTiming.h"
#include "params/support/TempFolder.h"

namespace quendrel {
namespace {

TEST(GraphLogTimingTest, ScanIntervalFromThePeriod) {
  struct Case {
    double seconds;
    std::int32_t ms;
  };
  for (const Case c : {Case{3, 3000}, Case{0.001, 1}, Case{0.0004, 0}, Case{0, 0}, Case{-5, 0}, Case{32.764, 32764},
                       Case{32.765, 32766}, Case{40, 32766}, Case{65532, 32766}, Case{0.0025, 2},
                       Case{std::nan(""), 0}}) {
    EXPECT_EQ(ScanIntervalFromSeconds(c.seconds), c.ms) << c.seconds;
  }
}

TEST(GraphLogTimingTest, KeepaliveHonoursAnyPeriodOfAMillisecondOrMore) {
  struct Case {
    const char* setting;
    std::optional<std::int32_t> ms;
  };
  const Case cases[] = {
      {"5", 5000},        {"0.001", 1},   {" 2.5 ", 2500},   {"65.535", 65535}, {"100", 100000},
      {"1E+9", kLongestTimerInterval},   {"0", std::nullopt},   {"0.0004", std::nullopt},
      {"-1", std::nullopt}, {"", std::nullopt}, {"five", std::nullopt}, {"5 s", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(KeepaliveIntervalFromSetting(c.setting), c.ms) << c.setting;
}

TEST(GraphLogTimingTest, PickerLimitsAreFixedPoints) {
  // A clamped value clamps to itself, so assigning it back raises no further change.
  for (const double s : {0.0, 1.0, 65529.0, 65530.0, 65532.0, 86399.0}) {
    const double once = ClampScanPeriod(s);
    EXPECT_EQ(ClampScanPeriod(once), once) << s;
  }
  for (const double s : {0.0, 32764.0, 32765.0, 32766.0, 40000.0}) {
    const double once = ClampWindowLength(s);
    EXPECT_EQ(ClampWindowLength(once), once) << s;
  }
  EXPECT_EQ(ClampScanPeriod(0), 1);
  EXPECT_EQ(ClampScanPeriod(65530), 65532);
  EXPECT_EQ(ClampScanPeriod(65529), 65529);
  EXPECT_EQ(ClampWindowLength(40000), 32766);
  EXPECT_EQ(ClampWindowLength(32764), 32764);
}

TEST(GraphLogStateTableTest, EachStateEnablesItsControlsAndRunsOnlyTheKeepalive) {
  using C = GraphLogControl;
  // Only a connected window takes selections and starts scans; a lost one keeps its pictures.
  const auto enabledIn = [](C control) {
    for (const ControlStateRow& row : kConnectionStateControls) {
      if (row.Control == control) return row.EnabledIn;
    }
    ADD_FAILURE() << "no row";
    return std::array<bool, 4>{};
  };
  EXPECT_EQ(enabledIn(C::bConnect), (std::array<bool, 4>{true, false, true, true}));
  for (const C control : {C::bStartGraph, C::treePramList, C::slbSeries, C::bRemoveAll, C::bAdvancedOptions}) {
    EXPECT_EQ(enabledIn(control), (std::array<bool, 4>{false, false, true, false}));
  }
  for (const C control : {C::bSaveSnapshot, C::bPrintSnapshot, C::tpWindowLen}) {
    EXPECT_EQ(enabledIn(control), (std::array<bool, 4>{false, false, true, true}));
  }
  for (const C control : {C::tpScanPeriod, C::chkContinuousScan}) {
    EXPECT_EQ(enabledIn(control), (std::array<bool, 4>{}));
  }
  const char* statuses[] = {"Not Connected", "Connecting...", "Connected", "Disconnected"};
  for (int state = 0; state < kConnectionStateCount; ++state) {
    const ConnectionStateEffects& effects = kConnectionStateEffects[static_cast<std::size_t>(state)];
    EXPECT_STREQ(effects.Status, statuses[state]);
    EXPECT_EQ(effects.Keepalive, state >= 2);
    EXPECT_EQ(effects.ClearsAutoRestart, state <= 1);
  }
}

TEST(GraphLogSettingTextsTest, ReadAndWrittenSpellings) {
  EXPECT_EQ(GraphTypeFromSetting("HILO"), 1);
  EXPECT_EQ(GraphTypeFromSetting("bar"), 2);
  EXPECT_EQ(GraphTypeFromSetting("Pie"), 0);
  EXPECT_EQ(GraphTypeSetting(1), "HiLo");
  EXPECT_EQ(GraphTypeSetting(7), "Line");
  EXPECT_EQ(LegendFromSetting("Bottom"), 4);
  EXPECT_EQ(LegendFromSetting("right"), 0);  // exact text only
  EXPECT_EQ(LegendSetting(3), "Left");
  EXPECT_EQ(LegendSetting(5), std::nullopt);
  EXPECT_EQ(LabelStyleFromSetting("Long"), 1);
  EXPECT_EQ(LabelStyleFromSetting("long"), std::nullopt);
  EXPECT_EQ(LabelStyleSetting(2), "None");
  EXPECT_EQ(LabelStyleSetting(-1), std::nullopt);
}

TEST(GraphLogLineTest, MarksHeaderAndCells) {
  const double t = 40616.0 * 86400.0 + 9 * 3600 + 26 * 60 + 53.120;  // 03-14-2011 09:26:53.120
  EXPECT_EQ(ScanLogOpenMark(t), "*** Log Opened: 03-14-2011 09:26:53.120 ***");
  EXPECT_EQ(ScanLogCloseMark(t), "*** Log Closed: 03-14-2011 09:26:53.120 ***");
  EXPECT_EQ(ScanLogReason("Disconnected; Error 46 on M01P03."), "*** (Disconnected; Error 46 on M01P03.) ***");
  EXPECT_EQ(ScanLogDataLine(t, "1500\t12.5\t"), "03-14-2011\t09:26:53.120\t1500\t12.5\t");
  SeriesCollection series;
  for (const char* name : {"M01P02", "M03P03", "M05P03"}) {
    series.push_back(std::make_shared<gdSeries>());
    series.back()->SetName(name);
  }
  series[1]->SetLogged(false);
  EXPECT_EQ(ScanLogHeader(series), "\t\tM01P02\tM05P03");
  EXPECT_EQ(ScanLogHeader({}), "\t");
  EXPECT_EQ(ScanLogValueCell(12.5f), "12.5\t");
  EXPECT_EQ(ScanLogValueCell(-3.0f), "-3\t");
  EXPECT_EQ(ScanLogValueCell(0.1f), "0.1\t");
  EXPECT_EQ(ScanLogErrorCell(2), "ERR 2\t");
}

TEST(GraphLogFileTest, AppendsWholeLinesWithCrLf) {
  TempFolder folder;
  const std::string path = folder.File("scan.log");
  WriteTestFile(path, "earlier\r\n");
  {
    ScanLogFile log;
    ASSERT_TRUE(log.Open(path));
    EXPECT_TRUE(log.WriteLine("one"));
    // Each line is on disk once written.
    EXPECT_EQ(ReadTestFile(path), "earlier\r\none\r\n");
    EXPECT_TRUE(log.WriteLine(""));
  }
  EXPECT_EQ(ReadTestFile(path), "earlier\r\none\r\n\r\n");
  ScanLogFile log;
  EXPECT_FALSE(log.Open(folder.File("")));  // a folder
  EXPECT_FALSE(log.Open("/dev/null"));      // a device would swallow the log
  EXPECT_FALSE(log.Open(""));
  EXPECT_FALSE(log.Open(folder.File("missing/scan.log")));
  EXPECT_FALSE(log.IsOpen());
  EXPECT_FALSE(log.WriteLine("nowhere"));
}

// The file may not grow: the write fails, the log closes, and later lines go nowhere.
TEST(GraphLogFileTest, AFailedWriteClosesTheLog) {
  TempFolder folder;
  const std::string path = folder.File("scan.log");
  ScanLogFile log;
  ASSERT_TRUE(log.Open(path));
  ASSERT_TRUE(log.WriteLine("kept"));
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
  rlimit limit = saved;
  limit.rlim_cur = 6;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
  const bool written = log.WriteLine("too long for the limit");
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, oldHandler);
  EXPECT_FALSE(written);
  EXPECT_FALSE(log.IsOpen());
  EXPECT_FALSE(log.WriteLine("after"));
  EXPECT_EQ(ReadTestFile(path).substr(0, 6), "kept\r\n");
}

}  // namespace
}  // namespace quendrel
