// The program's exit with several editors open: every window is asked in window order before any
// closes, a Cancel anywhere keeps every window, edit and drive connection, and a window that already
// answered is not asked again in the same exit.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QPointer>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "comms/modules/SerialModule.h"
#include "comms/server/GIOServer.h"
#include "drivesim/DriveSimProcess.h"
#include "editors/qt/frmEditFragmentWindow.h"
#include "editors/qt/frmEditOfflineWindow.h"
#include "editors/qt/frmEditOnlineWindow.h"
#include "foundation/settings/Config.h"
#include "foundation/settings/OptOutMsgBox.h"
#include "params/compatibility/FirmwareCompatibilityFile.h"
#include "platform/Clock.h"
#include "platform/ScriptedUi.h"
#include "shell/qt/frmMainMDI.h"
#include "shell/support/ShellTestSupport.h"
#include "support/TempFolder.h"
#include "widgets/TreeIcons.h"

namespace quendrel {
namespace {

constexpr char kConnected[] = "Connection Established to Drive 1";
// The name box holds a typed name, but the edited set was never loaded from or saved to a file.
constexpr char kOfflineTitle[] = "Edit Parameter File (Offline) - Untitled";
constexpr char kFragmentTitle[] = "Build/Edit Fragment File - Untitled";

// The simulated drive at address 1 on the serial line the settings name, with its firmware known.
class SimulatedDriveLine {
 public:
  SimulatedDriveLine() : server_(SystemClockInstance()) {
    ResetConfig();
    if (!FirmwareCompatibility().Load(QUENDREL_DRIVESIM_FC2)) ADD_FAILURE() << "no compatibility file";
    Config().SetValue("PortNames", "Serial Port", sim_.DevicePath());
    Config().SetValue("ComPort", "Serial Port", "0");
    Config().SetValue("Retries", "Serial Port", "0");
    server_.RegisterModule(std::make_unique<SerialModule>(SystemClockInstance()));
    server_.Startup();
    server_.SelectModule("Serial");
  }
  ~SimulatedDriveLine() {
    server_.Shutdown();
    FirmwareCompatibility() = FirmwareCompatibilityFile{};
    ResetConfig();
  }
  SimulatedDriveLine(const SimulatedDriveLine&) = delete;
  SimulatedDriveLine& operator=(const SimulatedDriveLine&) = delete;

  GIOServer& Server() { return server_; }

 private:
  DriveSimProcess sim_;
  GIOServer server_;
};

// The main window with, in this order, the offline editor holding an edited description, the online
// editor connected to the simulated drive, and the fragment editor holding a new fragment.
class ExitQuestionsTest : public ::testing::Test {
 protected:
  ExitQuestionsTest() {
    QSettings(QStringLiteral("Quendrel"), QStringLiteral("Quendrel")).clear();
    main = std::make_unique<frmMainMDI>(&line.Server());
    main->show();
    Open("mnuEditParametersOffline");
    Open("mnuEditParametersOnline");
    Open("mnuFragmentFile");
    offline = frmEditOfflineWindow::Instance();
    online = frmEditOnlineWindow::Instance();
    fragment = frmEditFragmentWindow::Instance();
    offline->Core().tbFileName_Change("/data/pump.KVB");
    QTest::keyClicks(offline->DescriptionBox(), "Pump station");
    QTest::mouseClick(online->ConnectButton(), Qt::LeftButton);
    QTest::mouseClick(fragment->CreateButton(), Qt::LeftButton);
  }
  ~ExitQuestionsTest() override {
    // A remembered No lets the windows still holding edits go without a question.
    Config().SetValue("UnsavedData", OptOutSection, "No");
    main->MdiArea()->closeAllSubWindows();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    SetTreeIcons(nullptr);
  }

  void Open(const char* item) {
    main->MenuItem(item)->trigger();
    QApplication::processEvents();
  }

  // Every window open, both edits kept and the drive still answering the online editor.
  void ExpectEverythingAsItWas() {
    QApplication::processEvents();
    ASSERT_FALSE(offline.isNull());
    ASSERT_FALSE(online.isNull());
    ASSERT_FALSE(fragment.isNull());
    EXPECT_EQ(main->MdiArea()->subWindowList().size(), 3);
    EXPECT_TRUE(main->isVisible());
    EXPECT_TRUE(offline->Core().Unsaved());
    EXPECT_EQ(offline->DescriptionBox()->text(), "Pump station");
    EXPECT_TRUE(fragment->Core().Unsaved());
    EXPECT_EQ(online->ConnectedLabel()->text(), kConnected);
    EXPECT_TRUE(online->UpdateTimer()->isActive());
    // A tick after the exit was called off neither stops nor closes the window.
    online->Core().TimerUpdate_Timer();
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_FALSE(online.isNull());
    EXPECT_EQ(online->ConnectedLabel()->text(), kConnected);
  }

  QApplication& app = QtTestApp();
  ScriptedUi ui;
  SimulatedDriveLine line;
  std::unique_ptr<frmMainMDI> main;
  QPointer<frmEditOfflineWindow> offline;
  QPointer<frmEditOnlineWindow> online;
  QPointer<frmEditFragmentWindow> fragment;
};

struct CancelCase {
  const char* what;
  std::vector<int> answers;
  std::vector<std::string> asked;
};

TEST_F(ExitQuestionsTest, ACancelInAnyQuestionStopsTheWholeExit) {
  ASSERT_EQ(online->ConnectedLabel()->text(), kConnected);
  const CancelCase cases[] = {
      {"Cancel in the first question", {vbCancel}, {kOfflineTitle}},
      {"No in the first, Cancel in the second", {vbNo, vbCancel}, {kOfflineTitle, kFragmentTitle}},
  };
  for (const CancelCase& c : cases) {
    SCOPED_TRACE(c.what);
    const std::size_t before = ui.Questions().size();
    for (int answer : c.answers) ui.AnswerOptOutBox(answer);
    EXPECT_FALSE(main->close());
    const std::vector<std::string> titles = ui.Titles();
    EXPECT_EQ(std::vector<std::string>(titles.begin() + static_cast<long>(before), titles.end()), c.asked);
    for (std::size_t i = before; i < ui.Questions().size(); ++i) {
      EXPECT_EQ(ui.Questions()[i].Prompt, "Save your changes before closing the current file?");
    }
    ExpectEverythingAsItWas();
  }

  // The next exit asks both again, each once, and then everything closes.
  const std::size_t before = ui.Questions().size();
  ui.AnswerOptOutBox(vbNo);
  ui.AnswerOptOutBox(vbNo);
  EXPECT_TRUE(main->close());
  EXPECT_EQ(ui.Questions().size(), before + 2);
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(main->MdiArea()->subWindowList().isEmpty());
  EXPECT_TRUE(offline.isNull() && online.isNull() && fragment.isNull());
}

TEST_F(ExitQuestionsTest, AWindowSavedInACalledOffExitHasNothingToAskNextTime) {
  TempFolder folder;
  ui.AnswerOptOutBox(vbYes);
  ui.AnswerFileDialog(folder.File("saved.KVB"));
  ui.AnswerOptOutBox(vbCancel);
  EXPECT_FALSE(main->close());
  EXPECT_FALSE(folder.Read("saved.KVB").empty());
  EXPECT_FALSE(offline.isNull());
  EXPECT_FALSE(offline->Core().Unsaved());
  EXPECT_TRUE(fragment->Core().Unsaved());

  const std::size_t before = ui.Questions().size();
  ui.AnswerOptOutBox(vbNo);
  EXPECT_TRUE(main->close());
  ASSERT_EQ(ui.Questions().size(), before + 1);
  EXPECT_EQ(ui.Titles().back(), kFragmentTitle);
}

TEST_F(ExitQuestionsTest, AWindowClosedByHandAfterACancelledExitAsksAgain) {
  ui.AnswerOptOutBox(vbNo);
  ui.AnswerOptOutBox(vbCancel);
  EXPECT_FALSE(main->close());
  // The offline editor's No belonged to the exit that was called off.
  ui.AnswerOptOutBox(vbCancel);
  EXPECT_FALSE(offline->parentWidget()->close());
  EXPECT_EQ(ui.Titles().back(), kOfflineTitle);
  EXPECT_FALSE(offline.isNull());
}

TEST_F(ExitQuestionsTest, AnEditorBusyWithTheDriveHoldsTheExitUp) {
  ui.AnswerOptOutBox(vbNo);
  bool closed = true;
  int pumps = 0;
  ui.OnPump([&] {
    if (++pumps == 1) closed = main->close();
  });
  online->Core().TimerUpdate_Timer();
  ui.OnPump({});
  EXPECT_FALSE(closed);
  QApplication::processEvents();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(offline.isNull()) << "asked before the busy window, and kept open";
  EXPECT_TRUE(offline->Core().Unsaved());
  EXPECT_FALSE(fragment.isNull()) << "never asked";
  EXPECT_EQ(ui.Questions().size(), 1U);
}

struct ConnectExitCase {
  const char* name;
  std::vector<int> answers;  // to the exit that goes on once Connect has returned
  bool exits;
};

class ExitDuringConnectTest : public ExitQuestionsTest, public ::testing::WithParamInterface<ConnectExitCase> {};

// The online editor cannot close while its Connect yields to the message loop. The exit waits for the
// upload and then asks every window again: the program ends, or everything stays as it was.
TEST_P(ExitDuringConnectTest, OneExitGoesOnOnceTheConnectHasReturned) {
  const ConnectExitCase& c = GetParam();
  ui.AnswerOptOutBox(vbNo);  // the offline editor, asked before the busy window
  bool closed = true;
  int pumps = 0;
  ui.OnPump([&] {
    if (++pumps == 1) closed = main->close();  // File > Exit while "Uploading..."
  });
  QTest::mouseClick(online->ConnectButton(), Qt::LeftButton);
  ui.OnPump({});
  EXPECT_FALSE(closed);
  EXPECT_EQ(online->ConnectedLabel()->text(), kConnected) << "the upload ran to its end";
  for (const int answer : c.answers) ui.AnswerOptOutBox(answer);
  QApplication::processEvents();  // the online editor reports it has returned
  QApplication::processEvents();  // and the exit goes on
  EXPECT_EQ(ui.PendingAnswers(), 0U);
  if (!c.exits) return ExpectEverythingAsItWas();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(main->isVisible());
  EXPECT_TRUE(offline.isNull() && online.isNull() && fragment.isNull());
}

INSTANTIATE_TEST_SUITE_P(Answers, ExitDuringConnectTest,
                         ::testing::Values(ConnectExitCase{"NoToBoth", {vbNo, vbNo}, true},
                                           ConnectExitCase{"Cancel", {vbCancel}, false}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quendrel
