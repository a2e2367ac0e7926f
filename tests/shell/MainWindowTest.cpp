// The main window: its menus, the status bar panels and their rules, the four icon sets and
// the choice among them, the window list, the placement kept between runs, and the exit order.
#include "shell/qt/frmMainMDI.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>
#include <ostream>

#include "comms/modules/SerialModule.h"
#include "comms/server/GIOContext.h"
#include "comms/server/GIOServer.h"
#include "editors/qt/frmConfigureQuickSetupDialog.h"
#include "editors/qt/popIconHelp.h"
#include "flash/qt/frmDriveFlash.h"
#include "flash/qt/frmUserFlash.h"
#include "foundation/settings/Config.h"
#include "graph/scan/qt/frmGraphLog.h"
#include "platform/FakeClock.h"
#include "platform/ScriptedUi.h"
#include "shell/qt/WindowPlacement.h"
#include "shell/support/ShellTestSupport.h"
#include "support/TempFolder.h"

namespace quendrel {
namespace {

class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest() : server(clock) {
    QtTestApp();
    ResetConfig();
    QSettings(QStringLiteral("Quendrel"), QStringLiteral("Quendrel")).clear();
    server.RegisterModule(std::make_unique<SerialModule>(clock));
  }
  ~MainWindowTest() override {
    SetTreeIcons(nullptr);
    ResetConfig();
  }

  FakeClock clock;
  GIOServer server;
  ScriptedUi ui;
};

struct MenuCase {
  const char* name;
  const char* caption;
  bool enabled;
};

void PrintTo(const MenuCase& c, std::ostream* out) { *out << c.name; }

class MenuItemTest : public MainWindowTest, public ::testing::WithParamInterface<MenuCase> {};

TEST_P(MenuItemTest, HasItsCaptionAndIsEnabledOnlyWhenItsWindowExists) {
  frmMainMDI window(&server);
  const QAction* item = window.MenuItem(GetParam().name);
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->text().toStdString(), GetParam().caption);
  EXPECT_EQ(item->isEnabled(), GetParam().enabled);
}

INSTANTIATE_TEST_SUITE_P(
    Items, MenuItemTest,
    ::testing::Values(MenuCase{"mnuScanParametersOnline", "Online &Graph/Log", true},
                      MenuCase{"mnuDriveTest", "&Test Drive Commands", true},
                      MenuCase{"mnuDriveFlash", "Drive &Flash...", true},
                      MenuCase{"mnuHelpIconKey", "Key to Parameter &Icons...", true},
                      MenuCase{"mnuEditParametersOffline", "Edit Parameter &File (Offline)", true},
                      MenuCase{"mnuEditParametersOnline", "Edit Parameters &Online", true},
                      MenuCase{"mnuConfigureQuickSetup", "Customize &Quick Setup Menu...", true},
                      MenuCase{"mnuFileUpload", "&Upload Parameters from Drive...", false},
                      MenuCase{"mnuFragmentFile", "Build/Edit F&ragment File...", true},
                      MenuCase{"mnuCompileCompatibility", "&Compile Firmware Compatibility File...", false},
                      MenuCase{"mnuCommsSerial", "&Serial Port...", true},
                      MenuCase{"mnuCommsFirmwareUpgrade", "&Firmware Upgrade...", true},
                      MenuCase{"mnuWindowTile", "&Tile", true},
                      MenuCase{"mnuHelpAbout", "&About Quendrel...", true},
                      MenuCase{"mnuFileExit", "E&xit", true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainWindowTest, QuickSetupOpensAsAModalDialogOverTheMainWindow) {
  frmMainMDI window(&server);
  QWidget* parent = nullptr;
  frmConfigureQuickSetupDialog::OnOpen([&](frmConfigureQuickSetupDialog& dialog) {
    parent = dialog.isModal() ? dialog.parentWidget() : nullptr;
    dialog.reject();
  });
  window.MenuItem("mnuConfigureQuickSetup")->trigger();
  EXPECT_EQ(parent, &window);
}

TEST_F(MainWindowTest, FirmwareUpgradeOpensTheWizardAsAModalDialogOverTheMainWindow) {
  frmMainMDI window(&server);
  QWidget* parent = nullptr;
  frmUserFlash::OnOpen([&](frmUserFlash& dialog) {
    parent = dialog.isModal() ? dialog.parentWidget() : nullptr;
    dialog.reject();
  });
  window.MenuItem("mnuCommsFirmwareUpgrade")->trigger();
  EXPECT_EQ(parent, &window);
}

TEST_F(MainWindowTest, DriveFlashOpensAsAModalDialogThatReportsToTheStatusBar) {
  frmMainMDI window(&server);
  const TempFolder folder;
  const std::string script = folder.Write("menu-flash.fl2", "a = 1;");
  QWidget* parent = nullptr;
  frmDriveFlash::OnOpen([&](frmDriveFlash& dialog) {
    parent = dialog.isModal() ? dialog.parentWidget() : nullptr;
    dialog.FileNameBox()->setText(QString::fromStdString(script));
    emit dialog.FileNameBox()->textEdited(dialog.FileNameBox()->text());
    ui.AnswerMsgBox(vbOK);
    dialog.StartButton()->click();
    dialog.reject();
  });
  window.MenuItem("mnuDriveFlash")->trigger();
  EXPECT_EQ(parent, &window);
  EXPECT_EQ(ui.Prompts(), std::vector<std::string>{"Drive Flash was successful."});
  EXPECT_EQ(window.StatusPanelText(2).rfind("(Parsed in ", 0), 0U) << window.StatusPanelText(2);
  EXPECT_EQ(Config().Value("LastScriptFile", "Drive Flash"), script) << "kept when the window closed";
}

TEST_F(MainWindowTest, TheMenuBarReadsInItsOrder) {
  frmMainMDI window(&server);
  QStringList titles;
  for (const QAction* menu : window.menuBar()->actions()) titles << menu->text();
  EXPECT_EQ(titles, QStringList({"&File", "&Communications Setup", "&Edit Drive Parameters",
                                 "&Scan/Graph/Log", "&Developer", "&Window", "&Help"}));
}

TEST_F(MainWindowTest, SetStatusShowsTheFirstLineAndPanelsTakeWholeTexts) {
  frmMainMDI window(&server);
  window.SetStatus("Uploading M01P02\r\nsecond line");
  EXPECT_EQ(window.StatusPanelText(2), "Uploading M01P02");
  window.SetStatus("One\nTwo");
  EXPECT_EQ(window.StatusPanelText(2), "One");
  window.SetStatusPanel(2, "Scanning\t5 parameters");
  EXPECT_EQ(window.StatusPanelText(2), "Scanning\t5 parameters");
}

TEST_F(MainWindowTest, CommunicationsUpdateTicksTheSelectedModule) {
  server.RegisterModule(std::make_unique<CountingModule>("Ethernet"));
  Config().SetValue("PortNames", "Serial Port", "/dev/ttyQA0");
  server.SelectModule("Serial");
  frmMainMDI window(&server);
  EXPECT_TRUE(window.MenuItem("mnuCommsSerial")->isChecked());
  EXPECT_FALSE(window.MenuItem("mnuCommsEthernet")->isChecked());
  EXPECT_EQ(window.StatusPanelText(1), "Serial: COM1 (/dev/ttyQA0) 19200 baud");

  server.SelectModule("Ethernet");
  window.CommunicationsUpdate();
  EXPECT_FALSE(window.MenuItem("mnuCommsSerial")->isChecked());
  EXPECT_TRUE(window.MenuItem("mnuCommsEthernet")->isChecked());
  EXPECT_EQ(window.StatusPanelText(1), "Ethernet: 192.168.1.100:502 Modbus/TCP");

  server.SelectModule("None");
  window.CommunicationsUpdate();
  EXPECT_FALSE(window.MenuItem("mnuCommsSerial")->isChecked());
  EXPECT_FALSE(window.MenuItem("mnuCommsEthernet")->isChecked());
  EXPECT_EQ(window.StatusPanelText(1), "No communications");
}

TEST_F(MainWindowTest, EthernetIsOfferedOnlyWhenItsModuleIsThere) {
  frmMainMDI without(&server);
  EXPECT_FALSE(without.MenuItem("mnuCommsEthernet")->isEnabled());
  server.RegisterModule(std::make_unique<CountingModule>("Ethernet"));
  frmMainMDI with(&server);
  EXPECT_TRUE(with.MenuItem("mnuCommsEthernet")->isEnabled());
}

TEST_F(MainWindowTest, ThePingTimerShowsTheMeasuredAverageAndSendsNothing) {
  auto& drive = static_cast<CountingModule&>(
      server.RegisterModule(std::make_unique<CountingModule>("Ethernet", &clock)));
  server.SelectModule("Ethernet");
  frmMainMDI window(&server);
  EXPECT_EQ(window.PingTimer()->interval(), 1000);
  EXPECT_TRUE(window.PingTimer()->isActive());
  EXPECT_EQ(window.StatusPanelText(3), "");

  drive.secondsPerExchange = 0.012;
  const auto context = server.OpenContext(1, -1);
  EXPECT_FALSE(context->ReadValue(0, 0).Error);
  EXPECT_FALSE(context->ReadValue(0, 1).Error);
  const int exchanges = drive.exchanges;
  window.PingTimer_Timer();
  window.PingTimer_Timer();
  EXPECT_EQ(window.StatusPanelText(3), "12 ms");
  EXPECT_EQ(drive.exchanges, exchanges);
}

// Eight icons of 16 pixels in every set, only the blank one empty, and no two alike.
TEST_F(MainWindowTest, EverySetHoldsEightIconsThatCanAllBeToldApart) {
  frmMainMDI window(&server);
  for (const IconSetKind set : {IconSetKind::Functional, IconSetKind::Symbolic,
                                IconSetKind::ColoredSymbolic, IconSetKind::Cards}) {
    const QtImageList& list = window.IconList(set);
    for (const char* key : TreeIconKeys) {
      ASSERT_TRUE(list.HasImage(key)) << key;
      const CanvasImage image = list.Image(key);
      EXPECT_EQ(image.Width, 16);
      const auto opaque = std::count_if(image.Pixels.begin(), image.Pixels.end(),
                                        [](std::uint32_t argb) { return (argb >> 24) != 0; });
      EXPECT_EQ(opaque == 0, std::string(key) == "blank") << key;
    }
    for (std::size_t a = 0; a < TreeIconKeys.size(); ++a) {
      for (std::size_t b = a + 1; b < TreeIconKeys.size(); ++b) {
        EXPECT_NE(list.Image(TreeIconKeys[a]).Pixels, list.Image(TreeIconKeys[b]).Pixels)
            << TreeIconKeys[a] << " and " << TreeIconKeys[b];
      }
    }
  }
}

TEST_F(MainWindowTest, TreeIconsFollowsTheIconSetSettingInAnyCase) {
  const std::pair<const char*, IconSetKind> cases[] = {
      {"symbolic", IconSetKind::Symbolic}, {"Colored-Symbolic", IconSetKind::ColoredSymbolic},
      {"CARDS", IconSetKind::Cards},       {"sparkly", IconSetKind::Functional},
      {"", IconSetKind::Functional}};
  for (const auto& [setting, expected] : cases) {
    Config().SetValue("IconSet", "General", setting);
    frmMainMDI window(&server);
    EXPECT_EQ(&TreeIcons(), &window.IconList(expected)) << '"' << setting << '"';
  }
}

TEST_F(MainWindowTest, TheIconKeyOpensOnTheChosenIconSet) {
  Config().SetValue("IconSet", "General", "cards");
  frmMainMDI window(&server);
  window.show();
  window.MenuItem("mnuHelpIconKey")->trigger();
  popIconHelp* key = popIconHelp::Instance();
  ASSERT_NE(key, nullptr);
  EXPECT_TRUE(key->isVisible());
  EXPECT_EQ(key->parentWidget(), &window);
  key->close();
}

TEST_F(MainWindowTest, TreeIconsIsLetGoWithTheWindow) {
  { frmMainMDI window(&server); }
  EXPECT_FALSE(TreeIcons().HasImage("pram"));
}

TEST_F(MainWindowTest, TheScanMenuOpensOneScanWindowThatWritesWholeTextsIntoPanelTwo) {
  frmMainMDI window(&server);
  window.show();
  window.SetStatusPanel(2, "before");
  for (int click = 0; click < 2; ++click) {
    window.MenuItem("mnuScanParametersOnline")->trigger();
    QApplication::processEvents();
  }
  ASSERT_EQ(window.MdiArea()->subWindowList().size(), 1);
  EXPECT_EQ(window.MdiArea()->activeSubWindow()->windowTitle(), "Graph/Log Parameters");
  EXPECT_EQ(window.StatusPanelText(2), "Not Connected");
  frmGraphLog::Instance()->SetStatus("Disconnected\nsince noon");
  EXPECT_EQ(window.StatusPanelText(2), "Disconnected\nsince noon");
  window.MdiArea()->closeAllSubWindows();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(frmGraphLog::Instance(), nullptr);
}

TEST_F(MainWindowTest, TheWindowMenuListsTheChildWindowsAndTicksTheActiveOne) {
  frmMainMDI window(&server);
  window.show();
  auto* first = window.MdiArea()->addSubWindow(new QLabel("one"));
  first->setWindowTitle("Online Editor");
  first->show();
  auto* second = window.MdiArea()->addSubWindow(new QLabel("two"));
  second->setWindowTitle("Drive Test");
  second->show();
  window.MdiArea()->setActiveSubWindow(second);

  auto* menu = qobject_cast<QMenu*>(window.MenuItem("mnuWindowCascade")->parent());
  ASSERT_NE(menu, nullptr);
  emit menu->aboutToShow();
  QStringList listed;
  QString ticked;
  for (const QAction* item : menu->actions()) {
    if (item->text().startsWith('&') && item->text().at(1).isDigit()) {
      listed << item->text();
      if (item->isChecked()) ticked = item->text();
    }
  }
  EXPECT_EQ(listed, QStringList({"&1 Online Editor", "&2 Drive Test"}));
  EXPECT_EQ(ticked, "&2 Drive Test");
  // Showing the menu again lists the windows once, not twice.
  emit menu->aboutToShow();
  int count = 0;
  for (const QAction* item : menu->actions()) count += item->text().startsWith("&1 ") ? 1 : 0;
  EXPECT_EQ(count, 1);
}

// A child window with unsaved data that the user keeps.
class StubbornChild : public QLabel {
 public:
  bool refuse = true;

 protected:
  void closeEvent(QCloseEvent* event) override {
    if (refuse) return event->ignore();
    event->accept();
  }
};

TEST_F(MainWindowTest, ExitClosesChildrenFirstThenSavesPlacementAndRunsTheExitSteps) {
  std::vector<std::string> steps;
  auto window = std::make_unique<frmMainMDI>(&server);
  ShutdownHooks exit;
  exit.ShutdownCommunications = [&] { steps.push_back("ShutdownCommunications"); };
  exit.SaveSettings = [&] {
    WindowPlacement::Placement placement;
    steps.push_back(WindowPlacement::Read(placement) ? "SaveSettings after placement" : "SaveSettings");
    return true;
  };
  window->SetExitSteps(exit);
  window->show();
  auto* child = new StubbornChild;
  window->MdiArea()->addSubWindow(child)->show();

  EXPECT_FALSE(window->close());
  EXPECT_TRUE(steps.empty());
  EXPECT_TRUE(window->isVisible());

  child->refuse = false;
  EXPECT_TRUE(window->close());
  EXPECT_EQ(steps, (std::vector<std::string>{"ShutdownCommunications", "SaveSettings after placement"}));
  EXPECT_TRUE(window->MdiArea()->subWindowList().isEmpty());
}

TEST_F(MainWindowTest, ThePlacementIsKeptForTheNextRun) {
  {
    frmMainMDI window(&server);
    window.setGeometry(40, 50, 700, 500);
    window.show();
    window.close();
  }
  WindowPlacement::Placement stored;
  ASSERT_TRUE(WindowPlacement::Read(stored));
  EXPECT_EQ(stored.Geometry.size(), QSize(700, 500));
  EXPECT_EQ(stored.State, WindowPlacement::Normal);

  frmMainMDI next(&server);
  EXPECT_EQ(next.geometry().size(), QSize(700, 500));
}

TEST_F(MainWindowTest, AMinimisedWindowComesBackNormalAndAMaximisedOneMaximised) {
  WindowPlacement::Write({QRect(10, 10, 640, 480), WindowPlacement::Minimized});
  {
    frmMainMDI window(&server);
    EXPECT_FALSE(window.windowState() & Qt::WindowMinimized);
    EXPECT_EQ(window.geometry().size(), QSize(640, 480));
  }
  WindowPlacement::Write({QRect(10, 10, 640, 480), WindowPlacement::Maximized});
  frmMainMDI window(&server);
  EXPECT_TRUE(window.windowState() & Qt::WindowMaximized);
}

TEST_F(MainWindowTest, APlacementOffEveryScreenFallsBackToTheDefault) {
  WindowPlacement::Write({QRect(-20000, -20000, 640, 480), WindowPlacement::Normal});
  frmMainMDI window(&server);
  EXPECT_NE(window.geometry().topLeft(), QPoint(-20000, -20000));
}

}  // namespace
}  // namespace quendrel
