// The online parameter editor on screen: the one modeless child window that binds its controls and
// its two timers to the frmEditOnline core and shows the core's state after every change.
#pragma once

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "editors/frmEditOnline.h"
#include "widgets/qt/windows/WindowHost.h"

namespace quendrel {

class DeferredClose;
class GIOServer;
class ParameterTreeWidget;
class TextProgressBar;

class frmEditOnlineWindow : public QWidget {
 public:
  // What the main window passes besides its host: the registry, its status bar and the web address
  // named when a drive's firmware is unknown.
  struct Links {
    GIOServer* Server = nullptr;
    std::function<void(const std::string&)> MainStatus;
    std::string WebSite;
  };

  // Creates the window in the host's MDI area on first use, else brings the open one forward.
  static frmEditOnlineWindow* ShowWindow(const WindowHost& host, const Links& links);
  // The open window, if any.
  static frmEditOnlineWindow* Instance();

  frmEditOnlineWindow(const WindowHost& host, const Links& links, QWidget* parent = nullptr);
  ~frmEditOnlineWindow() override;

  frmEditOnline& Core() const { return *core_; }
  ParameterTreeWidget* TreeWidget() const { return pTree_; }
  QLineEdit* DriveAddressBox() const { return tbDriveAddr_; }
  QPushButton* ConnectButton() const { return bConnect_; }
  QLabel* ConnectedLabel() const { return lblConnected_; }
  QLabel* StatusLabel() const { return lblStatus_; }
  QTimer* UpdateTimer() const { return TimerUpdate_; }
  QTimer* ReconnectTimer() const { return TimerReconnect_; }

  QSize sizeHint() const override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void CreateControls();
  bool MayClose();
  void ConnectSignals();
  void ShowCore();
  void SyncTimer(QTimer* timer, bool enabled);
  void Form_Resize();

  QGroupBox* FrameConnection_ = nullptr;
  QGroupBox* FrameData_ = nullptr;
  ParameterTreeWidget* pTree_ = nullptr;
  QLabel* Label1_ = nullptr;
  QLineEdit* tbDriveAddr_ = nullptr;
  QPushButton* bConnect_ = nullptr;
  QLabel* lblConnected_ = nullptr;
  QLabel* lblIndicator_ = nullptr;
  QLabel* lblStatus_ = nullptr;
  TextProgressBar* tpbProgress_ = nullptr;
  QProgressBar* pbProgress_ = nullptr;
  QLabel* lblDescriptionTag_ = nullptr;
  QLineEdit* tbDescription_ = nullptr;
  QPushButton* bSaveFile_ = nullptr;
  QTimer* TimerUpdate_ = nullptr;
  QTimer* TimerReconnect_ = nullptr;
  DeferredClose* close_ = nullptr;
  std::shared_ptr<frmEditOnline> core_;
};

}  // namespace quendrel
