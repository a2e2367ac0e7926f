// The scan window's scanning: starting and stopping, the scan period and continuous mode, the scan
// step on every tick of the scan timer, and the scan log it writes.
#include <optional>
#include <vector>

#include "comms/server/GIOContext.h"
#include "comms/server/GIOError.h"
#include "foundation/files/BrowseForFile.h"
#include "foundation/settings/Config.h"
#include "foundation/text/NumberText.h"
#include "foundation/text/ParameterId.h"
#include "graph/scan/GraphLogHandlerScope.h"
#include "graph/scan/GraphLogSession.h"
#include "graph/scan/ScanLogCells.h"
#include "graph/scan/ScanLogText.h"
#include "graph/scan/ScanTiming.h"
#include "platform/UiServices.h"

namespace quendrel {

void GraphLogSession::bStartGraph_Click() {
  if (unloaded_ || !Enabled(GraphLogControl::bStartGraph)) return;
  HandlerScope scope(*this);
  autoRestart_ = true;
  if (!scanTimerRunning_) {
    StartScanning("");
    if (scope.Stale()) return;
    SetGraphLogStatus("Scanning");
    tabPage_ = kGraphLogGraphPage;
    view_.ShowTabPage(tabPage_);
  } else {
    StopScanning("");
    SetGraphLogStatus("Connected");
  }
  ReportLogWriteFailure();
}

void GraphLogSession::StartScanning(const std::string& reason) {
  scanInterval_ = continuousScan_ ? ContinuousInterval : IntervalFromPicker();
  scanTimerRunning_ = true;
  ShowScanTimer();
  SetEnabled(GraphLogControl::tpScanPeriod, false);
  SetEnabled(GraphLogControl::chkContinuousScan, false);
  SetEnabled(GraphLogControl::bLogBrowse, false);
  SetEnabled(GraphLogControl::tbLogFile, false);
  startCaption_ = "Stop Scanning";
  view_.SetStartCaption(startCaption_);
  OpenScanLog(reason);
}

void GraphLogSession::StopScanning(const std::string& reason) {
  scanTimerRunning_ = false;
  ShowScanTimer();
  SetEnabled(GraphLogControl::tpScanPeriod, !continuousScan_);
  SetEnabled(GraphLogControl::chkContinuousScan, true);
  SetEnabled(GraphLogControl::bLogBrowse, true);
  SetEnabled(GraphLogControl::tbLogFile, true);
  startCaption_ = "Start Scanning";
  view_.SetStartCaption(startCaption_);
  CloseScanLog(reason);
}

std::int32_t GraphLogSession::IntervalFromPicker() const {
  return ScanIntervalFromSeconds(tpScanPeriod_.ValueSeconds());
}

void GraphLogSession::chkContinuousScan_Click(bool checked) {
  if (unloaded_ || !Enabled(GraphLogControl::chkContinuousScan)) {
    view_.SetContinuousScan(continuousScan_);
    return;
  }
  continuousScan_ = checked;
  SetEnabled(GraphLogControl::tpScanPeriod, !checked && !scanTimerRunning_);
  if (checked) {
    scanInterval_ = ContinuousInterval;
  } else {
    scanInterval_ = IntervalFromPicker();
    SetEnabled(GraphLogControl::chkContinuousScan, true);
  }
  ShowScanTimer();
  Config().SetValue("ScanPeriod", "Graph/Log", DoubleToText(scanInterval_ / 1000.0));
}

void GraphLogSession::tbLogFile_Change(const std::string& text) {
  if (unloaded_ || !Enabled(GraphLogControl::tbLogFile)) return;
  logFileText_ = text;
}

void GraphLogSession::bLogBrowse_Click() {
  if (unloaded_ || !Enabled(GraphLogControl::bLogBrowse)) return;
  HandlerScope scope(*this);
  const std::string path =
      BrowseForFile(true, "Tab-Seperated Values (*.log)|*.LOG|All Files (*.*)|*.*", 1, "Select Log File...", "");
  // A scan may have started while the dialog was open; its log keeps its name.
  if (path.empty() || scope.Stale() || !Enabled(GraphLogControl::tbLogFile)) return;
  logFileText_ = path;
  view_.SetLogFileText(logFileText_);
}

// --- The scan step ---

void GraphLogSession::TimerScan_Timer() {
  if (unloaded_ || !scanTimerRunning_ || busy_ || !driveContext_) return;
  HandlerScope scope(*this);
  busy_ = true;
  ScanSweep();
  busy_ = false;
  ReportLogWriteFailure();
}

// One read a series, none of them yielding to the message loop, so nothing else of the window runs
// in between. The points of one sweep share the mean of the moments their reads started.
void GraphLogSession::ScanSweep() {
  const SeriesCollection set = gdcGraphData_.SeriesSet();
  if (set.empty()) return;
  ScanLogCells cells(set.size());
  double sum = 0.0;
  int count = 0;
  // The point each read added, by the cursor AddPoint returned: a clock set back puts it among
  // older points, where the newest point is another one.
  std::vector<gdSeriesNode> added;
  added.reserve(set.size());
  for (const auto& s : set) {
    const std::int32_t p = ParseParameterId(s->Name());
    const double t = Now();
    sum += t;
    ++count;
    progress_.Green();
    // The parameter the row is named after, not a slot the drive may have pointed elsewhere since.
    const udtDriveResponse r = ReadParameter(RowParameter(*s, p));
    progress_.Red();
    if (r.Error) {
      if (s->Logged()) {
        cells.AddError(r.intData);
        WriteLogLine(cells.Text());
      }
      s->SetError(true);
      if (IsConnectionLost(r.intData)) {
        StopScanning("Disconnected; Error " + std::to_string(r.intData) + " on " + s->Name() + ".");
        SetConnectionState(StateDisconnected);
        break;
      }
      continue;
    }
    s->SetError(false);
    added.push_back(s->AddPoint(t, r.sglData));
    if (s->Logged()) cells.AddValue(r.sglData);
    s->SetDirty(true);
  }
  const double mean = sum / count;
  for (gdSeriesNode& point : added) point.SetTimestamp(mean);
  WriteLogLine(ScanLogDataLine(mean, cells.Text()));
  if (!view_.ScheduleSeriesListRefresh()) slbSeries_.Refresh();
  gpGraph_.Refresh();
}

// --- The log ---

void GraphLogSession::OpenScanLog(const std::string& reason) {
  if (!log_.Open(logFileText_)) {
    Ui().MsgBox("Unable to open the log file. It may be in use by another application.\n\n" + log_.Refusal(),
                vbCritical, "Log file error");
    return;
  }
  WriteLogLine(ScanLogOpenMark(Now()));
  if (!reason.empty()) WriteLogLine(ScanLogReason(reason));
  WriteScanLogHeader();
}

void GraphLogSession::CloseScanLog(const std::string& reason) {
  if (!log_.IsOpen()) return;
  WriteLogLine(ScanLogCloseMark(Now()));
  if (!reason.empty()) WriteLogLine(ScanLogReason(reason));
  log_.Close();
}

void GraphLogSession::WriteScanLogHeader() {
  const SeriesCollection set = gdcGraphData_.SeriesSet();
  if (!set.empty()) WriteLogLine(ScanLogHeader(set));
}

// Nothing when no log is open. A line that cannot be written stops the logging; the user hears of
// it once the running step is over.
void GraphLogSession::WriteLogLine(const std::string& line) {
  if (!log_.IsOpen()) return;
  if (!log_.WriteLine(line)) logWriteFailed_ = true;
}

// The scan goes on without a log, as after a log that could not be opened.
void GraphLogSession::ReportLogWriteFailure() {
  if (!logWriteFailed_ || busy_ || unloaded_) return;
  logWriteFailed_ = false;
  Ui().MsgBox("Unable to write to the log file. Logging has stopped.", vbCritical, "Log file error");
}

}  // namespace quendrel
