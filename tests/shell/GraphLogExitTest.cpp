// The program's exit with the scan window open against the simulated drive: while it scans, the log
// gets its close mark and [Graph/Log] reaches the settings file; inside the upload's message pump,
// the exit waits for the upload to stop and then goes on by itself.
#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QPointer>
#include <QSettings>
#include <QTest>
#include <gtest/gtest.h>

#include "comms/modules/SerialModule.h"
#include "comms/server/GIOServer.h"
#include "drivesim/DriveSimProcess.h"
#include "foundation/settings/Config.h"
#include "graph/data/ScanList.h"
#include "graph/scan/qt/frmGraphLog.h"
#include "params/compatibility/FirmwareCompatibilityFile.h"
#include "platform/Clock.h"
#include "platform/ScriptedUi.h"
#include "shell/AppGlobals.h"
#include "shell/ProgramServices.h"
#include "shell/qt/frmMainMDI.h"
#include "shell/support/ShellTestSupport.h"
#include "support/TempFolder.h"
#include "tree/qt/ParameterTreeWidget.h"
#include "widgets/TreeIcons.h"

namespace quendrel {
namespace {

class GraphLogExitTest : public ::testing::Test {
 protected:
  GraphLogExitTest() : server(SystemClockInstance()) {
    QSettings(QStringLiteral("Quendrel"), QStringLiteral("Quendrel")).clear();
    SetAppFolder(folder.Path().string());
    LoadProgramSettings();
    CreateScanList(folder.Path().string());
    if (!FirmwareCompatibility().Load(QUENDREL_DRIVESIM_FC2)) ADD_FAILURE() << "no compatibility file";
    Config().SetValue("PortNames", "Serial Port", sim.DevicePath());
    Config().SetValue("ComPort", "Serial Port", "0");
    Config().SetValue("Retries", "Serial Port", "0");
    Config().SetValue("LogFile", "Graph/Log", folder.File("scan.log"));
    server.RegisterModule(std::make_unique<SerialModule>(SystemClockInstance()));
    server.Startup();
    server.SelectModule("Serial");
    main = std::make_unique<frmMainMDI>(&server);
    ShutdownHooks steps = ProgramShutdownHooks();
    steps.ShutdownCommunications = [this] { server.Shutdown(); };
    main->SetExitSteps(steps);
    main->show();
    main->MenuItem("mnuScanParametersOnline")->trigger();
    QApplication::processEvents();
    window = frmGraphLog::Instance();
  }
  ~GraphLogExitTest() override {
    ui.OnPump({});
    main->MdiArea()->closeAllSubWindows();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    main.reset();
    server.Shutdown();
    SetTreeIcons(nullptr);
    FirmwareCompatibility() = FirmwareCompatibilityFile{};
    CreateScanList("");
    ResetConfig();
  }

  // The queued close of the window, then the exit it resumes.
  static void LetTheLoopRun() {
    for (int turn = 0; turn < 3; ++turn) {
      QApplication::processEvents();
      QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
  }
  std::vector<std::string> LogLines() const {
    std::vector<std::string> lines;
    const std::string text = folder.Read("scan.log");
    for (std::size_t at = 0, end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2) {
      lines.push_back(text.substr(at, end - at));
    }
    return lines;
  }

  QApplication& app = QtTestApp();
  ScriptedUi ui;
  TempFolder folder;
  DriveSimProcess sim;
  GIOServer server;
  std::unique_ptr<frmMainMDI> main;
  QPointer<frmGraphLog> window;
};

TEST_F(GraphLogExitTest, AnExitWhileScanningClosesTheLogAndSavesTheSettings) {
  ASSERT_FALSE(window.isNull());
  QTest::mouseClick(window->ConnectButton(), Qt::LeftButton);
  ASSERT_EQ(window->Core().ConnectionState(), GraphLogSession::StateConnected);
  ParameterTree& tree = window->TreeWidget()->Tree();
  tree.SetSelected(&tree.Node("M01P03"));
  QTest::keyClick(window->TreeWidget()->CanvasWidget(), Qt::Key_Space);
  window->Core().gpGraph().SetCaption("Pump 7");
  QTest::mouseClick(window->StartButton(), Qt::LeftButton);
  window->Core().TimerScan_Timer();

  main->close();
  LetTheLoopRun();
  EXPECT_TRUE(window.isNull());
  EXPECT_FALSE(main->isVisible());
  const std::vector<std::string> lines = LogLines();
  ASSERT_EQ(lines.size(), 4U);
  EXPECT_EQ(lines[1], "\t\tM01P03");
  EXPECT_TRUE(lines[3].starts_with("*** Log Closed: ")) << lines[3];
  const std::string settings = folder.Read(SettingsFileName);
  EXPECT_NE(settings.find("[Graph/Log]"), std::string::npos) << settings;
  EXPECT_NE(settings.find("Title=Pump 7"), std::string::npos) << settings;
  EXPECT_NE(folder.Read("Quendrel.SCP").find("M01P03;"), std::string::npos);
}

TEST_F(GraphLogExitTest, AnExitInsideTheUploadWaitsForItToStopAndThenGoesOn) {
  ASSERT_FALSE(window.isNull());
  window->Core().gpGraph().SetCaption("Pump 8");
  int pumps = 0;
  ui.OnPump([&] {
    if (++pumps != 3) return;
    main->close();
    EXPECT_TRUE(main->isVisible()) << "the exit went on under the upload";
    EXPECT_FALSE(window.isNull());
    EXPECT_EQ(folder.Read(SettingsFileName), "");
  });
  QTest::mouseClick(window->ConnectButton(), Qt::LeftButton);
  ui.OnPump({});
  ASSERT_GE(pumps, 3);
  EXPECT_NE(window->Core().ConnectionState(), GraphLogSession::StateConnected);
  LetTheLoopRun();
  EXPECT_TRUE(window.isNull());
  EXPECT_FALSE(main->isVisible());
  EXPECT_NE(folder.Read(SettingsFileName).find("Title=Pump 8"), std::string::npos);
}

// The scan window opened and closed unchanged stores its settings as they were read; lines the user
// types into the settings file afterwards, while the program still runs, outlast the exit.
TEST_F(GraphLogExitTest, SettingsTypedIntoTheFileAfterTheWindowClosedSurviveTheExit) {
  ASSERT_FALSE(window.isNull());
  main->MdiArea()->closeAllSubWindows();
  LetTheLoopRun();
  ASSERT_TRUE(main->MdiArea()->subWindowList().isEmpty());
  const std::string typed = "[Graph/Log]\nScanPeriod=10\nTimespan=300\nBackgroundColor=#f4f4f4\n";
  folder.Write(SettingsFileName, typed);

  main->close();
  LetTheLoopRun();
  ASSERT_FALSE(main->isVisible());
  const std::string settings = folder.Read(SettingsFileName);
  EXPECT_EQ(settings.rfind(typed, 0), 0U) << settings;
}

}  // namespace
}  // namespace quendrel
