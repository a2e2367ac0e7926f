// The scan window on screen: the one child window that wraps the scan core's controls in their
// widgets, shows what the core tells its view, owns the scan and keepalive timers and lays its
// controls out by the window's size and the page shown.
#pragma once

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "graph/scan/GraphLogLayout.h"
#include "graph/scan/GraphLogSession.h"
#include "widgets/qt/windows/WindowHost.h"

namespace quendrel {

class DeferredClose;
class GIOServer;
class GraphPaneWidget;
class ParameterTreeWidget;
class SeriesListBoxWidget;
class TextProgressBar;
class TimePickerWidget;

// Made first and ended last, so the core outlives every widget that wraps one of its controls.
struct frmGraphLogCore {
  std::shared_ptr<GraphLogSession> core_;
};

class frmGraphLog : private frmGraphLogCore, public QWidget, public GraphLogView {
 public:
  // What the main window passes besides its host.
  struct Links {
    GIOServer* Server = nullptr;
    // Panel 2 of the main window's status bar, given the whole text.
    std::function<void(const std::string&)> MainStatus;
    // [General] UseIcons as read at start-up.
    bool UseIcons = false;
  };

  // Creates the window in the host's MDI area on first use, else brings the open one forward.
  static frmGraphLog* ShowWindow(const WindowHost& host, const Links& links);
  // The open window, if any.
  static frmGraphLog* Instance();

  frmGraphLog(const WindowHost& host, const Links& links, QWidget* parent = nullptr);
  ~frmGraphLog() override;
  frmGraphLog(const frmGraphLog&) = delete;
  frmGraphLog& operator=(const frmGraphLog&) = delete;

  GraphLogSession& Core() const { return *core_; }
  QTabWidget* TabStrip() const { return tabStrip_; }
  QPushButton* StartButton() const { return bStartGraph_; }
  QPushButton* ConnectButton() const { return bConnect_; }
  QLineEdit* DriveAddressBox() const { return tbDriveAddr_; }
  QLineEdit* LogFileBox() const { return tbLogFile_; }
  QPushButton* BrowseButton() const { return bLogBrowse_; }
  QCheckBox* ContinuousBox() const { return chkContinuousScan_; }
  QPushButton* RemoveAllButton() const { return bRemoveAll_; }
  QPushButton* AdvancedOptionsButton() const { return bAdvancedOptions_; }
  QPushButton* SaveSnapshotButton() const { return bSaveSnapshot_; }
  QPushButton* PrintSnapshotButton() const { return bPrintSnapshot_; }
  QLabel* StatusLabel() const { return lblStatus_; }
  QLabel* Indicator() const { return lblIndicator_; }
  ParameterTreeWidget* TreeWidget() const { return treePramList_; }
  SeriesListBoxWidget* SeriesWidget() const { return slbSeries_; }
  GraphPaneWidget* GraphWidget() const { return gpGraph_; }
  TimePickerWidget* ScanPeriodPicker() const { return tpScanPeriod_; }
  TimePickerWidget* WindowLengthPicker() const { return tpWindowLen_; }
  TextProgressBar* ProgressBar() const { return tpbProgress_; }
  QTimer* ScanTimer() const { return TimerScan_; }
  QTimer* KeepaliveTimer() const { return TimerConnection_; }

  // No minimum size for Qt to enforce: a maximized window keeps the room the area has, and a normal
  // one springs back to the smallest size by itself.
  QSize sizeHint() const override;

  // What the core tells the window.
  void SetEnabled(GraphLogControl control, bool enabled) override;
  void SetStatus(const std::string& text) override;
  void SetStartCaption(const std::string& caption) override;
  void SetDriveAddressText(const std::string& text) override;
  void SetLogFileText(const std::string& text) override;
  void SetContinuousScan(bool checked) override;
  void SetScanTimer(bool running, std::int32_t intervalMs) override;
  void SetKeepaliveTimer(bool running, std::int32_t intervalMs) override;
  void ShowTabPage(int page) override;
  // The list is painted once the frame is due, however many sweeps ran meanwhile.
  bool ScheduleSeriesListRefresh() override;
  void CloseNow() override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateControls();
  void CreateSetupPage(QWidget* page);
  void CreateDisplayPage(QWidget* page);
  void PaceListRefreshes();
  void SetToolTips();
  void MeasureControls();
  void ConnectSignals();
  void WireButton(QPushButton* button, void (GraphLogSession::*handler)());
  void WireTimer(QTimer* timer, void (GraphLogSession::*handler)());
  QWidget* ControlWidget(GraphLogControl control) const;
  static void SyncTimer(QTimer* timer, bool running, std::int32_t intervalMs);
  bool MayClose();
  void Unload();
  void Form_Resize();
  void Place(QWidget* control, const GraphLogRect& rect, const QPoint& origin = {}) const;
  // Where a page's controls are placed from, in twips from the window's top left.
  QPoint PageOrigin(int page) const;
  bool NormalState() const;

  DeferredClose* close_ = nullptr;
  GraphLogMetrics metrics_;
  bool resizing_ = false;
  bool unloaded_ = false;
  std::function<void(const std::string&)> mainStatus_;

  QTabWidget* tabStrip_ = nullptr;
  QPushButton* bStartGraph_ = nullptr;
  QFrame* frameStatic_ = nullptr;
  QLabel* lblStatus_ = nullptr;
  QLabel* lblIndicator_ = nullptr;
  QLabel* lblDriveAddr_ = nullptr;
  QLineEdit* tbDriveAddr_ = nullptr;
  QPushButton* bConnect_ = nullptr;
  QLabel* lblLogFile_ = nullptr;
  QLineEdit* tbLogFile_ = nullptr;
  QPushButton* bLogBrowse_ = nullptr;
  QLabel* lblScanPeriod_ = nullptr;
  TimePickerWidget* tpScanPeriod_ = nullptr;
  QCheckBox* chkContinuousScan_ = nullptr;
  TextProgressBar* tpbProgress_ = nullptr;
  ParameterTreeWidget* treePramList_ = nullptr;
  SeriesListBoxWidget* slbSeries_ = nullptr;
  QPushButton* bRemoveAll_ = nullptr;
  GraphPaneWidget* gpGraph_ = nullptr;
  QLabel* lblWindowLen_ = nullptr;
  TimePickerWidget* tpWindowLen_ = nullptr;
  QPushButton* bAdvancedOptions_ = nullptr;
  QPushButton* bSaveSnapshot_ = nullptr;
  QPushButton* bPrintSnapshot_ = nullptr;
  QTimer* TimerScan_ = nullptr;
  QTimer* TimerConnection_ = nullptr;
  QTimer* listRefresh_ = nullptr;
};

}  // namespace quendrel
