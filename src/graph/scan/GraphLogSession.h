// The scan window without its widgets: connects to one drive and keeps the connection alive,
// uploads its parameters into a tree with check boxes, makes a series of every ticked parameter,
// scans them on a timer into the graph and the scan log, writes the series list's edits back, and
// keeps the window's settings. The window wraps the controls this core owns in their widgets, sees
// the rest through GraphLogView, owns the two timers and calls the handlers below.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "comms/server/udtDriveResponse.h"
#include "foundation/files/LogFile.h"
#include "foundation/progress/ProgressServer.h"
#include "graph/controls/SeriesListBox.h"
#include "graph/controls/TimePicker.h"
#include "graph/data/FormControls.h"
#include "graph/data/GraphDataControl.h"
#include "graph/pane/GraphPane.h"
#include "graph/scan/GraphLogView.h"
#include "params/files/KVBFile.h"
#include "tree/ParameterTree.h"
#include "tree/ParameterTreeEvents.h"

namespace quendrel {

class Clock;
class GIOContext;
class GIOServer;
class ImageList;

class GraphLogSession : public ParameterTreeEvents, public std::enable_shared_from_this<GraphLogSession> {
 public:
  // What the window lends the core. Any sink may be null.
  struct Services {
    GIOServer* Server = nullptr;       // where every context comes from
    bool UseIcons = false;             // [General] UseIcons: tree icons and the list's RW column
    const ImageList* Icons = nullptr;  // the tree icons, used when UseIcons
    Clock* TimeSource = nullptr;       // the clock of the time stamps; null: CurrentClock()
    std::shared_ptr<ProgressTextBarSink> tpbProgress;
    std::shared_ptr<ProgressLabelSink> lblStatus;
    std::shared_ptr<ProgressIndicatorSink> lblIndicator;
    std::shared_ptr<ProgressClientSink> Client;
  };

  // Connection states.
  static constexpr int StateNotConnected = 0;
  static constexpr int StateConnecting = 1;
  static constexpr int StateConnected = 2;
  static constexpr int StateDisconnected = 3;

  // Milliseconds.
  static constexpr std::int32_t ContinuousInterval = 1;
  static constexpr std::int32_t LongestScanInterval = 32766;

  // The core becomes the tree's event handler and the list's, the pickers' and the pane's host.
  GraphLogSession(GraphLogView& view, std::shared_ptr<ParameterTree> tree, Services services);
  ~GraphLogSession() override;
  GraphLogSession(const GraphLogSession&) = delete;
  GraphLogSession& operator=(const GraphLogSession&) = delete;

  // --- The controls the core owns, for the window's widgets ---
  FormControls& Form() { return form_; }
  GraphDataControl& gdcGraphData() { return gdcGraphData_; }
  SeriesListBox& slbSeries() { return slbSeries_; }
  GraphPane& gpGraph() { return gpGraph_; }
  TimePicker& tpScanPeriod() { return tpScanPeriod_; }
  TimePicker& tpWindowLen() { return tpWindowLen_; }
  ParameterTree& treePramList() const { return *tree_; }
  ProgressServer& Progress() { return progress_; }
  const KVBFile& PramFile() const { return pramFile_; }

  // --- State, as last told to the view ---
  int ConnectionState() const { return connectionState_; }
  bool AutoRestart() const { return autoRestart_; }
  bool Enabled(GraphLogControl control) const { return enabled_[static_cast<std::size_t>(control)]; }
  const std::string& StatusText() const { return statusText_; }
  const std::string& StartCaption() const { return startCaption_; }
  const std::string& DriveAddressText() const { return driveAddressText_; }
  const std::string& LogFileText() const { return logFileText_; }
  bool ContinuousScan() const { return continuousScan_; }
  bool ScanTimerRunning() const { return scanTimerRunning_; }
  std::int32_t ScanInterval() const { return scanInterval_; }
  bool KeepaliveRunning() const { return keepaliveRunning_; }
  std::int32_t KeepaliveInterval() const { return keepaliveInterval_; }
  int TabPage() const { return tabPage_; }
  bool LogOpen() const { return log_.IsOpen(); }
  // A tick is running; a tick that comes meanwhile does nothing.
  bool Busy() const { return busy_; }
  // A handler is on the stack (it may be spinning a message loop in an upload or a box): a close
  // must wait for it.
  bool HandlerRunning() const { return running_ > 0; }

  // --- Window handlers ---
  void Form_Load();
  // True when the window may close now. Otherwise the close is remembered, a running upload is told
  // to cancel, and CloseNow follows once the outermost handler has returned.
  bool Form_QueryUnload();
  // The window is going: the log gets its close mark, the settings go into Config, the connection
  // is closed, both timers stop and no handler acts again.
  void Form_Unload();
  void bConnect_Click();
  void tbDriveAddr_Change(const std::string& text);
  void tbLogFile_Change(const std::string& text);
  void bLogBrowse_Click();
  void bStartGraph_Click();
  void chkContinuousScan_Click(bool checked);
  void bRemoveAll_Click();
  void bAdvancedOptions_Click();
  void bSaveSnapshot_Click();
  void bPrintSnapshot_Click();
  void TimerScan_Timer();        // ScanTick
  void TimerConnection_Timer();  // KeepaliveTick

  // --- Tree events (also reached through ParameterTreeEvents) ---
  void treePramList_CheckChanged(ParameterTreeNode& node);
  void treePramList_DblClick();

  // --- Series list and picker events (the core installs them on its controls; public for tests) ---
  void slbSeries_ValueChanged(gdSeries& series, double value);
  void slbSeries_ValueRefused();
  void slbSeries_ColorChanged(gdSeries& series);
  void slbSeries_ActionChanged(gdSeries& series);
  void slbSeries_GainChanged(gdSeries& series);
  void tpScanPeriod_Changed();
  void tpWindowLen_Changed();

  // --- The settings of [Graph/Log] ---
  void LoadGraphLogSettings();
  void SaveGraphLogSettings();

 private:
  class HandlerScope;

  void CheckChanged(ParameterTreeNode& node) override { treePramList_CheckChanged(node); }
  void DblClick() override { treePramList_DblClick(); }

  // Connection and keepalive.
  void SetGraphLogStatus(const std::string& text);
  void SetConnectionState(int state);
  void SetEnabled(GraphLogControl control, bool enabled);
  void ShowScanTimer();
  void ShowKeepalive();
  bool UploadParameters(float version);
  udtDriveResponse ReadParameter(std::int32_t n);

  // Scanning and the log.
  void StartScanning(const std::string& reason);
  void StopScanning(const std::string& reason);
  void OpenScanLog(const std::string& reason);
  void CloseScanLog(const std::string& reason);
  void WriteScanLogHeader();
  void WriteLogLine(const std::string& line);
  void ReportLogWriteFailure();
  std::int32_t IntervalFromPicker() const;
  void ScanSweep();
  double Now() const;

  // Parameter selection.
  void BuildParameterTree();
  // Null when the tree would not take the node.
  ParameterTreeNode* AddTreeNode(std::int32_t p);
  void TickWholeMenu(ParameterTreeNode& header);
  void UpdateSeriesForNode(ParameterTreeNode& node);
  void CompleteSeries(gdSeries& series, std::int32_t p, bool nameFromShown);
  // The parameter a series' row names, which its edits are written to.
  std::int32_t RowParameter(const gdSeries& series, std::int32_t p) const;
  void ShowValueWritten(gdSeries& series, double value);

  GraphLogView& view_;
  std::shared_ptr<ParameterTree> tree_;
  Services services_;
  FormControls form_;
  GraphDataControl gdcGraphData_{&form_, "gdcGraphData"};
  SeriesListBox slbSeries_{&form_, "slbSeries"};
  GraphPane gpGraph_{&form_, "gpGraph"};
  TimePicker tpScanPeriod_{&form_, "tpScanPeriod"};
  TimePicker tpWindowLen_{&form_, "tpWindowLen"};
  ProgressServer progress_;
  KVBFile pramFile_;
  std::shared_ptr<GIOContext> driveContext_;
  LogFile log_;

  int connectionState_ = StateNotConnected;
  bool autoRestart_ = false;
  std::array<bool, kGraphLogControlCount> enabled_{};
  std::string statusText_;
  std::string startCaption_ = "Start Scanning";
  std::string driveAddressText_ = "1";
  std::string logFileText_;
  bool continuousScan_ = false;
  bool scanTimerRunning_ = false;
  std::int32_t scanInterval_ = 0;
  bool keepaliveRunning_ = false;
  std::int32_t keepaliveInterval_ = 0;
  int tabPage_ = kGraphLogSetupPage;

  bool busy_ = false;
  int running_ = 0;
  bool closeRequested_ = false;
  bool unloaded_ = false;
  bool rewritingAddress_ = false;
  bool logWriteFailed_ = false;
  // The parameter each series' row names, by series name: for a bound quick setup slot, the
  // parameter the slot showed when the series was made, whose name, format and value names it shows.
  std::map<std::string, std::int32_t> rowParameters_;
};

}  // namespace quendrel
