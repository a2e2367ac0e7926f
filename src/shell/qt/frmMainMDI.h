// The main window: menus that open every other window, the area that holds them as child
// windows, the status bar with the communications status, status text and response time, and
// the four parameter icon sets.
#pragma once

#include <QMainWindow>
#include <array>
#include <map>
#include <string>

#include "platform/qt/QtImageList.h"
#include "shell/Shutdown.h"
#include "widgets/TreeIcons.h"
#include "widgets/qt/windows/WindowHost.h"

class QAction;
class QLabel;
class QMdiArea;
class QMenu;
class QTimer;

namespace quendrel {

class GIOServer;

class frmMainMDI : public QMainWindow {
 public:
  static constexpr int PingIntervalMs = 1000;

  // server defaults to the program's CommServer(). Chooses TreeIcons by [General] IconSet and
  // puts the window where it was last time.
  explicit frmMainMDI(GIOServer* server = nullptr);
  ~frmMainMDI() override;

  // The steps of the program's exit after the child windows and the placement; the window adds
  // those two itself.
  void SetExitSteps(ShutdownHooks steps) { exitSteps_ = std::move(steps); }

  // The first line of the text in the status text panel.
  void SetStatus(const std::string& text);
  // A whole text in a panel (1 communications, 2 status text, 3 response time), shown at once.
  void SetStatusPanel(int panel, const std::string& text);
  std::string StatusPanelText(int panel) const;

  // Checks the Serial or Ethernet item of the selected module and shows it in panel 1.
  void CommunicationsUpdate();
  // What the ping timer does each second: shows the measured average; it sends nothing.
  void PingTimer_Timer();

  // Menu items by their names (mnuDriveTest, mnuScanParametersOnline, ...); nullptr if unknown.
  QAction* MenuItem(const std::string& name) const;
  QMdiArea* MdiArea() const { return mdiArea_; }
  const QtImageList& IconList(IconSetKind set) const { return iconLists_[static_cast<int>(set)]; }
  QTimer* PingTimer() const { return pingTimer_; }

  void mnuCommsSerial_Click();
  void mnuCommsEthernet_Click();
  void mnuEditParametersOnline_Click();
  void mnuDriveFlash_Click();
  void mnuScanParametersOnline_Click();
  void mnuHelpAbout_Click();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  WindowHost Host();
  QAction* AddItem(QMenu* menu, const char* name, const char* caption, bool enabled);
  void BuildMenus();
  void BuildStatusBar();
  void BuildIconLists();
  void FillWindowMenu();
  bool CloseChildWindows();

  GIOServer& server_;
  QMdiArea* mdiArea_;
  QMenu* windowMenu_ = nullptr;
  QAction* windowListStart_ = nullptr;
  std::array<QLabel*, 3> panels_{};
  QTimer* pingTimer_;
  std::array<QtImageList, 4> iconLists_;
  std::map<std::string, QAction*> items_;
  ShutdownHooks exitSteps_;
  bool exited_ = false;
};

}  // namespace quendrel
