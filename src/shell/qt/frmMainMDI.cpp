#include "shell/qt/frmMainMDI.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>

#include "comms/server/CommServer.h"
#include "editors/qt/frmConfigureQuickSetupDialog.h"
#include "editors/qt/frmEditFragmentWindow.h"
#include "editors/qt/frmEditOfflineWindow.h"
#include "editors/qt/frmEditOnlineWindow.h"
#include "editors/qt/popIconHelp.h"
#include "flash/qt/frmDriveFlash.h"
#include "flash/qt/frmDriveTest.h"
#include "flash/qt/frmUserFlash.h"
#include "foundation/settings/Config.h"
#include "graph/scan/qt/frmGraphLog.h"
#include "platform/UiServices.h"
#include "platform/qt/GuardSlot.h"
#include "platform/qt/QtConvert.h"
#include "shell/AppGlobals.h"
#include "shell/CommunicationsStatus.h"
#include "shell/qt/WindowPlacement.h"
#include "shell/qt/frmAbout.h"
#include "widgets/qt/dialogs/frmEthernetConfigure.h"
#include "widgets/qt/dialogs/frmSerialPortConfigure.h"
#include "widgets/qt/windows/Artwork.h"
#include "widgets/qt/windows/ChildMnemonics.h"
#include "widgets/qt/windows/ChildWindowsExit.h"

namespace quendrel {

namespace {

QRect DefaultGeometry() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const QRect available = screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
  QRect geometry(0, 0, std::min(1024, available.width()), std::min(720, available.height()));
  geometry.moveCenter(available.center());
  return geometry;
}

std::string FirstLine(const std::string& text) { return text.substr(0, text.find_first_of("\r\n")); }

}  // namespace

frmMainMDI::frmMainMDI(GIOServer* server)
    : server_(server != nullptr ? *server : CommServer()),
      mdiArea_(new QMdiArea(this)),
      pingTimer_(new QTimer(this)),
      iconLists_{QtImageList(Artwork::TreeIconSize, Artwork::TreeIconSize),
                 QtImageList(Artwork::TreeIconSize, Artwork::TreeIconSize),
                 QtImageList(Artwork::TreeIconSize, Artwork::TreeIconSize),
                 QtImageList(Artwork::TreeIconSize, Artwork::TreeIconSize)} {
  setObjectName(QStringLiteral("frmMainMDI"));
  setWindowTitle(ToQString(Product().Product));
  setWindowIcon(Artwork::WindowIcon());
  mdiArea_->setObjectName(QStringLiteral("mdiArea"));
  setCentralWidget(mdiArea_);
  new ChildMnemonics(*mdiArea_);
  BuildMenus();
  BuildStatusBar();
  BuildIconLists();
  CommunicationsUpdate();
  PingTimer_Timer();
  pingTimer_->setInterval(PingIntervalMs);
  connect(pingTimer_, &QTimer::timeout, this, [this] { GuardSlot([this] { PingTimer_Timer(); }); });
  pingTimer_->start();
  WindowPlacement::Restore(*this, DefaultGeometry());
}

frmMainMDI::~frmMainMDI() {
  for (const QtImageList& list : iconLists_) {
    if (&TreeIcons() == &list) SetTreeIcons(nullptr);
  }
}

// Every window this one opens gets what it needs of the main window through the host, never
// the main window itself: child windows go into the MDI area, tool windows and modal dialogs
// sit over this window, and trees draw with the icon set chosen at start-up.
WindowHost frmMainMDI::Host() { return WindowHost{mdiArea_, &TreeIcons(), this}; }

QAction* frmMainMDI::AddItem(QMenu* menu, const char* name, const char* caption, bool enabled) {
  QAction* item = menu->addAction(QString::fromLatin1(caption));
  item->setObjectName(QString::fromLatin1(name));
  item->setEnabled(enabled);
  items_[name] = item;
  return item;
}

QAction* frmMainMDI::MenuItem(const std::string& name) const {
  const auto found = items_.find(name);
  return found == items_.end() ? nullptr : found->second;
}

// Items whose windows are not part of this version stay in their places, disabled, so the
// menus already read as they will.
void frmMainMDI::BuildMenus() {
  QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
  AddItem(file, "mnuFileUpload", "&Upload Parameters from Drive...", false);
  AddItem(file, "mnuFileDownload", "&Download Parameters to Drive...", false);
  AddItem(file, "mnuFilePrint", "&Print Parameter List...", false);
  AddItem(file, "mnuFileCompare", "&Compare Parameter Files...", false);
  file->addSeparator();
  connect(AddItem(file, "mnuFileExit", "E&xit", true), &QAction::triggered, this, &QWidget::close);

  QMenu* comms = menuBar()->addMenu(QStringLiteral("&Communications Setup"));
  QAction* serial = AddItem(comms, "mnuCommsSerial", "&Serial Port...", true);
  QAction* ethernet = AddItem(comms, "mnuCommsEthernet", "&Ethernet...", true);
  serial->setCheckable(true);
  ethernet->setCheckable(true);
  connect(serial, &QAction::triggered, this, [this] { GuardSlot([this] { mnuCommsSerial_Click(); }); });
  connect(ethernet, &QAction::triggered, this, [this] { GuardSlot([this] { mnuCommsEthernet_Click(); }); });
  comms->addSeparator();
  connect(AddItem(comms, "mnuCommsFirmwareUpgrade", "&Firmware Upgrade...", true), &QAction::triggered, this, [this] {
    GuardSlot([this] { frmUserFlash::ShowModal(Host(), server_, [this] { CommunicationsUpdate(); }); });
  });

  QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit Drive Parameters"));
  connect(AddItem(edit, "mnuEditParametersOffline", "Edit Parameter &File (Offline)", true), &QAction::triggered,
          this, [this] { GuardSlot([this] { frmEditOfflineWindow::ShowWindow(Host()); }); });
  connect(AddItem(edit, "mnuEditParametersOnline", "Edit Parameters &Online", true), &QAction::triggered, this,
          [this] { GuardSlot([this] { mnuEditParametersOnline_Click(); }); });
  connect(AddItem(edit, "mnuConfigureQuickSetup", "Customize &Quick Setup Menu...", true), &QAction::triggered, this,
          [this] { GuardSlot([this] { frmConfigureQuickSetupDialog::ShowModal(Host(), &server_); }); });

  QMenu* scan = menuBar()->addMenu(QStringLiteral("&Scan/Graph/Log"));
  connect(AddItem(scan, "mnuScanParametersOnline", "Online &Graph/Log", true), &QAction::triggered, this,
          [this] { GuardSlot([this] { mnuScanParametersOnline_Click(); }); });

  QMenu* developer = menuBar()->addMenu(QStringLiteral("&Developer"));
  connect(AddItem(developer, "mnuDriveFlash", "Drive &Flash...", true), &QAction::triggered, this,
          [this] { GuardSlot([this] { mnuDriveFlash_Click(); }); });
  connect(AddItem(developer, "mnuDriveTest", "&Test Drive Commands", true), &QAction::triggered, this,
          [this] { GuardSlot([this] { frmDriveTest::ShowWindow(Host()); }); });
  developer->addSeparator();
  AddItem(developer, "mnuCompileCompatibility", "&Compile Firmware Compatibility File...", false);
  AddItem(developer, "mnuBuildUpgrade", "&Build Firmware Upgrade File...", false);
  connect(AddItem(developer, "mnuFragmentFile", "Build/Edit F&ragment File...", true), &QAction::triggered, this,
          [this] { GuardSlot([this] { frmEditFragmentWindow::ShowWindow(Host()); }); });
  AddItem(developer, "mnuConvertFile", "Con&vert Parameter File...", false);

  windowMenu_ = menuBar()->addMenu(QStringLiteral("&Window"));
  connect(AddItem(windowMenu_, "mnuWindowCascade", "&Cascade", true), &QAction::triggered, mdiArea_,
          &QMdiArea::cascadeSubWindows);
  connect(AddItem(windowMenu_, "mnuWindowTile", "&Tile", true), &QAction::triggered, mdiArea_,
          &QMdiArea::tileSubWindows);
  windowListStart_ = windowMenu_->addSeparator();
  connect(windowMenu_, &QMenu::aboutToShow, this, [this] { GuardSlot([this] { FillWindowMenu(); }); });

  QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
  connect(AddItem(help, "mnuHelpIconKey", "Key to Parameter &Icons...", true), &QAction::triggered,
          this, [this] { GuardSlot([this] { popIconHelp::ShowKey(Host()); }); });
  help->addSeparator();
  connect(AddItem(help, "mnuHelpAbout", "&About Quendrel...", true), &QAction::triggered, this,
          [this] { mnuHelpAbout_Click(); });
}

void frmMainMDI::FillWindowMenu() {
  const QList<QAction*> actions = windowMenu_->actions();
  for (qsizetype i = actions.indexOf(windowListStart_) + 1; i < actions.size(); ++i) {
    windowMenu_->removeAction(actions[i]);
    actions[i]->deleteLater();
  }
  const QList<QMdiSubWindow*> windows = mdiArea_->subWindowList();
  windowListStart_->setVisible(!windows.isEmpty());
  for (qsizetype i = 0; i < windows.size(); ++i) {
    QMdiSubWindow* window = windows[i];
    const QString caption = QStringLiteral("&%1 %2").arg(i + 1).arg(window->windowTitle());
    QAction* item = windowMenu_->addAction(caption);
    item->setCheckable(true);
    item->setChecked(window == mdiArea_->activeSubWindow());
    connect(item, &QAction::triggered, mdiArea_, [this, window] { mdiArea_->setActiveSubWindow(window); });
  }
}

void frmMainMDI::BuildStatusBar() {
  for (int i = 0; i < 3; ++i) {
    auto* panel = new QLabel(this);
    panel->setObjectName(QStringLiteral("sbPanel%1").arg(i + 1));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setContentsMargins(4, 0, 4, 0);
    panels_[i] = panel;
  }
  panels_[0]->setMinimumWidth(260);
  panels_[2]->setMinimumWidth(70);
  panels_[2]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  statusBar()->addWidget(panels_[0]);
  statusBar()->addWidget(panels_[1], 1);
  statusBar()->addPermanentWidget(panels_[2]);
}

void frmMainMDI::BuildIconLists() {
  for (int set = 0; set < static_cast<int>(iconLists_.size()); ++set) {
    Artwork::FillTreeIcons(iconLists_[set], static_cast<IconSetKind>(set));
  }
  const IconSetKind chosen = IconSetFromSetting(Config().Value("IconSet", "General"));
  SetTreeIcons(&iconLists_[static_cast<int>(chosen)]);
}

void frmMainMDI::mnuEditParametersOnline_Click() {
  frmEditOnlineWindow::Links links;
  links.Server = &server_;
  links.MainStatus = [this](const std::string& text) { SetStatus(text); };
  links.WebSite = Product().WebSite;
  frmEditOnlineWindow::ShowWindow(Host(), links);
}

void frmMainMDI::mnuDriveFlash_Click() {
  frmDriveFlash::Links links;
  links.Environment.commServer = &server_;
  links.MainStatus = [this](const std::string& text) { SetStatus(text); };
  frmDriveFlash::ShowModal(Host(), links);
}

// The scan window shows its whole status text, all its lines, in the status panel.
void frmMainMDI::mnuScanParametersOnline_Click() {
  frmGraphLog::Links links;
  links.Server = &server_;
  links.MainStatus = [this](const std::string& text) { SetStatusPanel(2, text); };
  links.UseIcons = UseIcons();
  frmGraphLog::ShowWindow(Host(), links);
}

void frmMainMDI::SetStatus(const std::string& text) { SetStatusPanel(2, FirstLine(text)); }

void frmMainMDI::SetStatusPanel(int panel, const std::string& text) {
  if (panel < 1 || panel > 3) return;
  panels_[panel - 1]->setText(ToQString(text));
  statusBar()->repaint();
}

std::string frmMainMDI::StatusPanelText(int panel) const {
  if (panel < 1 || panel > 3) return "";
  return FromQString(panels_[panel - 1]->text());
}

void frmMainMDI::CommunicationsUpdate() {
  const std::string selected = server_.SelectedModule();
  QAction* serial = MenuItem("mnuCommsSerial");
  QAction* ethernet = MenuItem("mnuCommsEthernet");
  serial->setEnabled(server_.Module("Serial") != nullptr);
  ethernet->setEnabled(server_.Module("Ethernet") != nullptr);
  serial->setChecked(selected == "Serial");
  ethernet->setChecked(selected == "Ethernet");
  SetStatusPanel(1, CommunicationsStatusText(SummariseCommunications(server_)));
}

void frmMainMDI::PingTimer_Timer() {
  SetStatusPanel(1, CommunicationsStatusText(SummariseCommunications(server_)));
  SetStatusPanel(3, ResponseTimeText(server_.AverageResponseTime()));
}

void frmMainMDI::mnuCommsSerial_Click() {
  frmSerialPortConfigure dialog(this, &server_);
  dialog.ShowModal();
  // The item toggled itself when clicked; the selection decides its tick.
  CommunicationsUpdate();
}

void frmMainMDI::mnuCommsEthernet_Click() {
  frmEthernetConfigure dialog(this, &server_);
  dialog.ShowModal();
  CommunicationsUpdate();
}

void frmMainMDI::mnuHelpAbout_Click() {
  frmAbout about(this);
  about.exec();
}

bool frmMainMDI::CloseChildWindows() { return ChildWindowsExit::CloseAll(*mdiArea_); }

void frmMainMDI::closeEvent(QCloseEvent* event) {
  if (exited_) return event->accept();
  ShutdownHooks steps = exitSteps_;
  steps.CloseChildWindows = [this] { return CloseChildWindows(); };
  steps.SavePlacement = [this] { WindowPlacement::Save(*this); };
  bool done = false;
  // An error during the exit keeps the program open, so nothing unsaved is lost unseen.
  if (!GuardSlot([&] { done = Shutdown(steps, Ui()); }) || !done) return event->ignore();
  exited_ = true;
  pingTimer_->stop();
  event->accept();
}

}  // namespace quendrel
