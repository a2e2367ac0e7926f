// The scan window's connection: Connect with its upload, the address box, the connection states and
// the keepalive that finds a lost drive and brings it back.
#include <cstdint>
#include <optional>

#include "comms/server/GIOContext.h"
#include "comms/server/GIOError.h"
#include "comms/server/GIOServer.h"
#include "foundation/settings/Config.h"
#include "foundation/text/DriveAddress.h"
#include "graph/scan/ConnectionStates.h"
#include "graph/scan/GraphLogHandlerScope.h"
#include "graph/scan/GraphLogSession.h"
#include "graph/scan/ScanTiming.h"
#include "params/compatibility/FirmwareCompatibilityFile.h"
#include "params/transfer/KVDUploadTypes.h"
#include "platform/UiServices.h"

namespace quendrel {

void GraphLogSession::SetConnectionState(int state) {
  if (state < 0 || state >= kConnectionStateCount) state = StateNotConnected;
  connectionState_ = state;
  for (const ControlStateRow& row : kConnectionStateControls) {
    SetEnabled(row.Control, row.EnabledIn[static_cast<std::size_t>(state)]);
  }
  const ConnectionStateEffects& effects = kConnectionStateEffects[static_cast<std::size_t>(state)];
  SetGraphLogStatus(effects.Status);
  scanTimerRunning_ = false;
  ShowScanTimer();
  // Read at every entry, so a period changed in the settings counts from the next state change.
  const auto interval =
      effects.Keepalive ? KeepaliveIntervalFromSetting(Config().Value("KeepalivePeriod", "General")) : std::nullopt;
  keepaliveRunning_ = interval.has_value();
  if (interval) keepaliveInterval_ = *interval;
  ShowKeepalive();
  if (effects.ClearsAutoRestart) autoRestart_ = false;
}

void GraphLogSession::bConnect_Click() {
  if (unloaded_ || !Enabled(GraphLogControl::bConnect)) return;
  HandlerScope scope(*this);
  // An empty box stands for 0, which every drive would execute: refused before anything changes, so a
  // connection already made goes on.
  const std::optional<std::uint8_t> address = SingleDriveAddressFromText(driveAddressText_);
  if (!address) {
    Ui().MsgBox("Invalid drive address.", vbExclamation, "Connection Error");
    return;
  }
  // The scan of the drive connected so far ends here, with its close mark.
  if (scanTimerRunning_) {
    StopScanning("");
    ReportLogWriteFailure();
    if (scope.Stale()) return;
  }
  SetEnabled(GraphLogControl::tpScanPeriod, false);
  SetEnabled(GraphLogControl::chkContinuousScan, false);
  SetConnectionState(StateConnecting);
  gdcGraphData_.Clear();
  rowParameters_.clear();
  if (driveContext_) driveContext_->CloseContext();
  driveContext_ = services_.Server->OpenContext(*address, -1.0F);
  const udtDriveResponse version = ReadParameter(FirmwareCompatibility().SoftwareVersion());
  if (version.Error) {
    Ui().MsgBox("Unable to find drive.", vbExclamation, "Connection Error");
    if (scope.Stale()) return;
    SetConnectionState(StateNotConnected);
    return;
  }
  progress_.SetState(0);
  const bool ok = UploadParameters(version.sglData);
  if (scope.Stale()) return;
  if (ok) {
    progress_.SetProgress(progress_.Max());
    progress_.SetDetail("");
    BuildParameterTree();
    SetConnectionState(StateConnected);
  } else {
    progress_.SetProgress(progress_.Min());
    SetConnectionState(StateDisconnected);
    SetGraphLogStatus("Error Connecting.");
    tree_->Clear();
    gdcGraphData_.Clear();
    rowParameters_.clear();
  }
  SetEnabled(GraphLogControl::bConnect, true);
  SetEnabled(GraphLogControl::tpScanPeriod, !continuousScan_);
  SetEnabled(GraphLogControl::chkContinuousScan, true);
}

// The set is filled afresh and replaces the window's only when the upload completed.
bool GraphLogSession::UploadParameters(float version) {
  KVBFile uploaded;
  bool ok = false;
  if (FirmwareCompatibility().HasFIT(version)) {
    uploaded.BuildFromTemplate(version);
    ok = uploaded.UploadTemplateWithRetries(*driveContext_, progress_, version);
  } else {
    SetGraphLogStatus("No template available! Performing full upload.");
    ok = uploaded.FullUpload(*driveContext_, kvdUploadAll, progress_, false);
  }
  pramFile_ = ok ? std::move(uploaded) : KVBFile();
  return ok;
}

// Rewrites the text to the address Connect will use: 300 becomes 44, and 0 or no number an empty box.
void GraphLogSession::tbDriveAddr_Change(const std::string& text) {
  if (unloaded_ || rewritingAddress_) return;
  rewritingAddress_ = true;
  const std::uint8_t address = DriveAddressFromText(text);
  driveAddressText_ = AddressesOneDrive(address) ? std::to_string(address) : std::string();
  view_.SetDriveAddressText(driveAddressText_);
  rewritingAddress_ = false;
}

void GraphLogSession::TimerConnection_Timer() {
  if (unloaded_ || !keepaliveRunning_ || busy_ || !driveContext_) return;
  HandlerScope scope(*this);
  busy_ = true;
  progress_.Green();
  const udtDriveResponse reply = driveContext_->Ping();
  progress_.Red();
  if (connectionState_ == StateConnected && reply.Error && IsConnectionLost(reply.intData)) {
    StopScanning("Disconnected; Connection Timeout");
    SetConnectionState(StateDisconnected);
  } else if (connectionState_ == StateDisconnected && !reply.Error) {
    SetConnectionState(StateConnected);
    if (autoRestart_) {
      StartScanning("Automatic Reconnect after disconnection");
      // A box about the log may have been open: the window may be closing or no longer scanning.
      if (!scope.Stale() && scanTimerRunning_) SetGraphLogStatus("Scanning");
    }
  }
  busy_ = false;
  if (!scope.Stale()) ReportLogWriteFailure();
}

udtDriveResponse GraphLogSession::ReadParameter(std::int32_t n) {
  return driveContext_->ReadValue(static_cast<std::uint8_t>(n / 100), static_cast<std::uint8_t>(n % 100));
}

}  // namespace quendrel
