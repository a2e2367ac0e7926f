// The scan window's connection: opening, Connect and its failures, the address box, the keepalive
// that finds a lost drive and brings it back, and Connect during a scan.
#include <gtest/gtest.h>

#include "comms/GIOError.h"
#include "foundation/Config.h"
#include "graph/support/GraphLogRig.h"
#include "params/FirmwareCompatibilityFile.h"

namespace quendrel {
namespace {

using testing::GraphLogRig;
using C = GraphLogControl;

constexpr C kTableControls[] = {C::bConnect,   C::bAdvancedOptions, C::bRemoveAll,   C::bSaveSnapshot,
                                C::bPrintSnapshot, C::bStartGraph,  C::tpScanPeriod, C::tpWindowLen,
                                C::treePramList, C::slbSeries,      C::chkContinuousScan};

std::vector<C> EnabledOf(const GraphLogSession& session) {
  std::vector<C> enabled;
  for (const C control : kTableControls) {
    if (session.Enabled(control)) enabled.push_back(control);
  }
  return enabled;
}

class GraphLogConnectionTest : public ::testing::Test {
 protected:
  GraphLogRig rig;
  GraphLogSession& session = *rig.session;
};

TEST_F(GraphLogConnectionTest, OpensNotConnectedWithOnlyConnectToPress) {
  rig.Load();
  EXPECT_EQ(session.ConnectionState(), GraphLogSession::StateNotConnected);
  EXPECT_EQ(EnabledOf(session), std::vector<C>{C::bConnect});
  EXPECT_FALSE(rig.tree->Enabled());
  EXPECT_FALSE(session.slbSeries().Enabled());
  EXPECT_EQ(rig.view.statuses.back(), "Not Connected");
  EXPECT_FALSE(rig.view.keepalive.Running);
  EXPECT_FALSE(rig.view.scanTimer.Running);
  EXPECT_EQ(rig.view.tabPage, kGraphLogSetupPage);
  EXPECT_EQ(rig.view.driveAddress, "1");
  EXPECT_EQ(rig.view.startCaption, "Start Scanning");
  EXPECT_EQ(rig.view.logFile, rig.LogPath());
  EXPECT_EQ(rig.tree->Appearance(), 8);
  EXPECT_TRUE(rig.tree->Checkboxes());
}

TEST_F(GraphLogConnectionTest, ConnectUploadsTheSetAndKeepsTheDriveAlive) {
  rig.Load();
  rig.Connect();
  EXPECT_EQ(session.PramFile().Name(303), "Rated Speed");
  EXPECT_EQ(rig.view.statuses.back(), "Connected");
  // The progress channel ends full, as after the whole upload.
  EXPECT_EQ(session.Progress().Progress(), 2099);
  std::vector<C> connected(std::begin(kTableControls), std::end(kTableControls));
  EXPECT_EQ(EnabledOf(session), connected);  // Connect enabled the scan period and the box again
  EXPECT_EQ(rig.view.keepalive, (testing::RecordingGraphLogView::Timer{true, 5000}));
  EXPECT_FALSE(rig.view.scanTimer.Running);
  EXPECT_TRUE(rig.tree->Enabled());
  EXPECT_FALSE(session.AutoRestart());
}

TEST_F(GraphLogConnectionTest, FailedConnectsLeaveTheirStates) {
  struct Case {
    const char* name;
    std::function<void(GraphLogRig&)> arrange;
    int state;
    const char* status;
    bool keepalive;
  };
  const Case cases[] = {
      {"no drive at the address",
       [](GraphLogRig& r) {
         r.session->tbDriveAddr_Change("9");
         r.ui.AnswerMsgBox(vbOK);
       },
       GraphLogSession::StateNotConnected, "Not Connected", false},
      {"drive silent in the upload",
       [](GraphLogRig& r) {
         auto exchanges = std::make_shared<int>(0);
         r.drive->OnExchange([&r, exchanges](const DriveRequest&) {
           if (++*exchanges == 40) r.drive->SetSilent(true);
         });
       },
       GraphLogSession::StateDisconnected, "Error Connecting.", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GraphLogRig fresh;
    fresh.Load();
    c.arrange(fresh);
    fresh.session->bConnect_Click();
    EXPECT_EQ(fresh.session->ConnectionState(), c.state);
    EXPECT_EQ(fresh.session->StatusText(), c.status);
    EXPECT_EQ(fresh.view.keepalive.Running, c.keepalive);
    EXPECT_EQ(fresh.tree->First(), nullptr);
    EXPECT_TRUE(fresh.session->gdcGraphData().SeriesSet().empty());
    EXPECT_TRUE(fresh.session->Enabled(C::bConnect));
    if (c.state == GraphLogSession::StateNotConnected) {
      EXPECT_EQ(fresh.ui.Titles(), std::vector<std::string>{"Connection Error"});
      EXPECT_EQ(fresh.ui.Prompts(), std::vector<std::string>{"Unable to find drive."});
      EXPECT_EQ(fresh.ui.Questions()[0].Style, vbExclamation);
      // The scan period and the continuous box stay as Connect left them: off.
      EXPECT_EQ(EnabledOf(*fresh.session), std::vector<C>{C::bConnect});
    } else {
      EXPECT_TRUE(fresh.session->Enabled(C::tpScanPeriod));
      EXPECT_TRUE(fresh.session->Enabled(C::chkContinuousScan));
      EXPECT_EQ(fresh.session->Progress().Progress(), 0);
    }
  }
}

TEST_F(GraphLogConnectionTest, WithoutATemplateEveryParameterIsUploaded) {
  FirmwareCompatibility() = FirmwareCompatibilityFile{};
  rig.Load();
  rig.Connect();
  EXPECT_NE(std::find(rig.view.statuses.begin(), rig.view.statuses.end(),
                      "No template available! Performing full upload."),
            rig.view.statuses.end());
  EXPECT_EQ(rig.Node("M02P03").Caption(), "M02P03: Ramp Mode");
  EXPECT_EQ(session.PramFile().DVD(203, 2), "Fast Stop");
}

// A failed upload keeps the keepalive running: the drive's next answer connects without a tree.
TEST_F(GraphLogConnectionTest, AfterAFailedUploadAGoodPingConnectsWithoutATree) {
  rig.Load();
  auto exchanges = std::make_shared<int>(0);
  rig.drive->OnExchange([this, exchanges](const DriveRequest&) {
    if (++*exchanges == 20) rig.drive->SetSilent(true);
  });
  session.bConnect_Click();
  ASSERT_EQ(session.ConnectionState(), GraphLogSession::StateDisconnected);
  rig.drive->OnExchange({});
  rig.drive->SetSilent(false);
  session.TimerConnection_Timer();
  EXPECT_EQ(session.ConnectionState(), GraphLogSession::StateConnected);
  EXPECT_EQ(session.StatusText(), "Connected");
  EXPECT_EQ(rig.tree->First(), nullptr);
}

TEST_F(GraphLogConnectionTest, AddressTextIsNormalised) {
  rig.Load();
  struct Case {
    const char* typed;
    const char* shown;
  };
  for (const Case c : {Case{"300", "44"}, Case{"257", "1"}, Case{"0", ""}, Case{"x", ""}, Case{"abc", ""},
                       Case{"12.5", "12"}, Case{"13.5", "14"}, Case{"-1", "255"}, Case{"1e300", ""},
                       Case{"&H10", "16"}, Case{" 7 ", "7"}}) {
    session.tbDriveAddr_Change(c.typed);
    EXPECT_EQ(rig.view.driveAddress, c.shown) << c.typed;
    EXPECT_EQ(session.DriveAddressText(), c.shown) << c.typed;
  }
  // Connect reads the box at the press: 257 is the drive at address 1.
  session.tbDriveAddr_Change("257");
  rig.Connect();
}

TEST_F(GraphLogConnectionTest, KeepaliveFindsTheLossAndIgnoresOtherErrors) {
  rig.Load();
  rig.Connect();
  rig.drive->FailPings({gioInvalidPacket, gioGatewayPathUnavailable});
  session.TimerConnection_Timer();
  session.TimerConnection_Timer();
  EXPECT_EQ(session.ConnectionState(), GraphLogSession::StateConnected);
  for (const int code : {gioTimeout, gioSlaveNotResponding}) {
    SCOPED_TRACE(code);
    rig.drive->FailPings({code});
    session.TimerConnection_Timer();
    EXPECT_EQ(session.ConnectionState(), GraphLogSession::StateDisconnected);
    EXPECT_EQ(session.StatusText(), "Disconnected");
    EXPECT_EQ(EnabledOf(session),
              (std::vector<C>{C::bConnect, C::bSaveSnapshot, C::bPrintSnapshot, C::tpWindowLen}));
    EXPECT_TRUE(rig.view.keepalive.Running);
    // A failed ping while disconnected changes nothing.
    rig.drive->FailPings({gioTimeout});
    session.TimerConnection_Timer();
    EXPECT_EQ(session.ConnectionState(), GraphLogSession::StateDisconnected);
    session.TimerConnection_Timer();
    EXPECT_EQ(session.ConnectionState(), GraphLogSession::StateConnected);
  }
}

// Start then Stop arms the restart; a new Connect disarms it.
TEST_F(GraphLogConnectionTest, ReconnectRestartsTheScanOnlyWhenArmed) {
  rig.Load();
  rig.Connect();
  rig.Tick("M01P03");
  session.bStartGraph_Click();
  session.bStartGraph_Click();
  EXPECT_TRUE(session.AutoRestart());
  EXPECT_FALSE(session.ScanTimerRunning());
  rig.LoseDrive();
  rig.drive->SetSilent(false);
  session.TimerConnection_Timer();
  EXPECT_TRUE(session.ScanTimerRunning());
  EXPECT_EQ(session.StatusText(), "Scanning");
  EXPECT_EQ(rig.view.startCaption, "Stop Scanning");
  const std::vector<std::string> lines = rig.LogLines();
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[lines.size() - 2], "*** (Automatic Reconnect after disconnection) ***");
  EXPECT_EQ(lines.back(), "\t\tM01P03");

  rig.LoseDrive();
  EXPECT_FALSE(session.ScanTimerRunning());
  rig.drive->SetSilent(false);
  rig.Connect();
  EXPECT_FALSE(session.AutoRestart());
  rig.LoseDrive();
  rig.drive->SetSilent(false);
  session.TimerConnection_Timer();
  EXPECT_EQ(session.ConnectionState(), GraphLogSession::StateConnected);
  EXPECT_FALSE(session.ScanTimerRunning());
  EXPECT_EQ(session.StatusText(), "Connected");
}

TEST_F(GraphLogConnectionTest, KeepalivePeriodSetting) {
  struct Case {
    const char* setting;
    bool running;
    std::int32_t interval;
  };
  for (const Case c : {Case{"100", true, 100000}, Case{"soon", false, 0}}) {
    SCOPED_TRACE(c.setting);
    GraphLogRig fresh;
    Config().SetValue("KeepalivePeriod", "General", c.setting);
    fresh.Load();
    fresh.Connect();
    EXPECT_EQ(fresh.view.keepalive.Running, c.running);
    if (c.running) {
      EXPECT_EQ(fresh.view.keepalive.Interval, c.interval);
    }
    // A keepalive left off does nothing when its tick comes all the same.
    fresh.drive->FailPings({gioTimeout});
    fresh.session->TimerConnection_Timer();
    EXPECT_EQ(fresh.session->ConnectionState(),
              c.running ? GraphLogSession::StateDisconnected : GraphLogSession::StateConnected);
  }
}

// Connect ends the running scan with its close mark; the next Start opens one log, not a second.
TEST_F(GraphLogConnectionTest, ConnectDuringAScanStopsItFirst) {
  rig.Load();
  rig.Connect();
  rig.Tick("M01P03");
  session.bStartGraph_Click();
  session.TimerScan_Timer();
  rig.Connect();
  EXPECT_FALSE(session.LogOpen());
  EXPECT_EQ(rig.view.startCaption, "Start Scanning");
  std::vector<std::string> lines = rig.LogLines();
  EXPECT_EQ(lines.back().substr(0, 17), "*** Log Closed: 0");
  session.bStartGraph_Click();
  session.bStartGraph_Click();
  lines = rig.LogLines();
  const auto count = [&lines](const std::string& prefix) {
    return std::count_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.rfind(prefix, 0) == 0; });
  };
  EXPECT_EQ(count("*** Log Opened"), 2);
  EXPECT_EQ(count("*** Log Closed"), 2);
  EXPECT_EQ(lines.back().substr(0, 14), "*** Log Closed");
}

}  // namespace
}  // namespace quendrel
