#include "graph/scan/GraphLogSession.h"

#include "comms/server/GIOContext.h"
#include "comms/server/GIOServer.h"
#include "foundation/settings/Config.h"
#include "foundation/text/DateText.h"
#include "foundation/text/NumberText.h"
#include "graph/scan/GraphLogHandlerScope.h"
#include "graph/scan/ScanTiming.h"
#include "platform/Clock.h"

namespace quendrel {

GraphLogSession::GraphLogSession(GraphLogView& view, std::shared_ptr<ParameterTree> tree, Services services)
    : view_(view), tree_(std::move(tree)), services_(std::move(services)) {
  enabled_.fill(true);
  tree_->SetEvents(this);
  slbSeries_.SetDataControl(gdcGraphData_.Name());
  slbSeries_.SetShowHeader(true);
  gpGraph_.SetDataSource(gdcGraphData_.Name());
  slbSeries_.OnValueChanged([this](gdSeries& s, double value) { slbSeries_ValueChanged(s, value); });
  slbSeries_.OnValueRefused([this] { slbSeries_ValueRefused(); });
  slbSeries_.OnColorChanged([this](gdSeries& s) { slbSeries_ColorChanged(s); });
  slbSeries_.OnActionChanged([this](gdSeries& s) { slbSeries_ActionChanged(s); });
  slbSeries_.OnGainChanged([this](gdSeries& s) { slbSeries_GainChanged(s); });
  tpScanPeriod_.OnEvent([this](ControlEvent event, const ControlEventArgs&) {
    if (event == ControlEvent::Changed) tpScanPeriod_Changed();
  });
  tpWindowLen_.OnEvent([this](ControlEvent event, const ControlEventArgs&) {
    if (event == ControlEvent::Changed) tpWindowLen_Changed();
  });
  // The configuration dialog may have changed the length: the window's own picker follows.
  gpGraph_.OnPreferencesClosed([this] { tpWindowLen_.SetValueSeconds(gpGraph_.WindowLength()); });
}

GraphLogSession::~GraphLogSession() {
  tree_->SetEvents(nullptr);
  if (driveContext_) driveContext_->CloseContext();
}

// --- The window's life ---

void GraphLogSession::Form_Load() {
  driveContext_ = services_.Server->OpenContext(1, -1.0F);
  pramFile_ = KVBFile();
  tree_->SetAppearance(8);
  tree_->SetCheckboxes(true);
  // The core ticks a menu's parameters itself, one series at a time.
  tree_->SetAutoGray(false);
  if (services_.UseIcons && services_.Icons != nullptr) tree_->SetIconList(services_.Icons);
  slbSeries_.SetIcons(services_.UseIcons, services_.Icons);
  view_.SetDriveAddressText(driveAddressText_);
  view_.SetStartCaption(startCaption_);
  LoadGraphLogSettings();
  SetConnectionState(StateNotConnected);
  progress_.SetupPrimary(nullptr, services_.tpbProgress, nullptr, services_.lblStatus, nullptr, nullptr, nullptr, 0,
                         2099, 0);
  progress_.SetLabelIndicator(services_.lblIndicator);
  progress_.SetClient(services_.Client);
  progress_.SetProgressTextType(ProgressServer::TextTypePercent);
  progress_.SetPrefix("Uploading... ");
  progress_.SetState(0);
  tabPage_ = kGraphLogSetupPage;
  view_.ShowTabPage(tabPage_);
}

bool GraphLogSession::Form_QueryUnload() {
  if (running_ == 0) return true;
  // A handler spins a message loop below this close; it ends first, and a running upload stops.
  closeRequested_ = true;
  progress_.SetState(-1);
  return false;
}

void GraphLogSession::Form_Unload() {
  if (unloaded_) return;
  progress_.SetState(-1);
  CloseScanLog("");
  SaveGraphLogSettings();
  if (driveContext_) driveContext_->CloseContext();
  unloaded_ = true;
  scanTimerRunning_ = keepaliveRunning_ = false;
  ShowScanTimer();
  ShowKeepalive();
}

// --- Graph page buttons and pickers ---

void GraphLogSession::bAdvancedOptions_Click() {
  if (unloaded_ || !Enabled(GraphLogControl::bAdvancedOptions)) return;
  HandlerScope scope(*this);
  gpGraph_.Preferences();
}

void GraphLogSession::bSaveSnapshot_Click() {
  if (unloaded_ || !Enabled(GraphLogControl::bSaveSnapshot)) return;
  HandlerScope scope(*this);
  gpGraph_.SaveSnapshot();
}

void GraphLogSession::bPrintSnapshot_Click() {
  if (unloaded_ || !Enabled(GraphLogControl::bPrintSnapshot)) return;
  HandlerScope scope(*this);
  gpGraph_.PrintSnapshot();
}

// Each assignment raises Changed again; assigning only a value that differs ends the chain.
void GraphLogSession::tpScanPeriod_Changed() {
  const double seconds = tpScanPeriod_.ValueSeconds();
  const double clamped = ClampScanPeriod(seconds);
  if (clamped != seconds) tpScanPeriod_.SetValueSeconds(clamped);
  Config().SetValue("ScanPeriod", "Graph/Log", DoubleToText(tpScanPeriod_.ValueSeconds()));
}

void GraphLogSession::tpWindowLen_Changed() {
  const double seconds = tpWindowLen_.ValueSeconds();
  const double clamped = ClampWindowLength(seconds);
  if (clamped != seconds) tpWindowLen_.SetValueSeconds(clamped);
  gpGraph_.SetWindowLength(tpWindowLen_.ValueSeconds());
}

// --- What the view shows ---

void GraphLogSession::SetGraphLogStatus(const std::string& text) {
  statusText_ = text;
  view_.SetStatus(text);
}

void GraphLogSession::SetEnabled(GraphLogControl control, bool enabled) {
  enabled_[static_cast<std::size_t>(control)] = enabled;
  switch (control) {
    case GraphLogControl::treePramList: tree_->SetEnabled(enabled); break;
    case GraphLogControl::slbSeries: slbSeries_.SetEnabled(enabled); break;
    case GraphLogControl::tpScanPeriod: tpScanPeriod_.SetEnabled(enabled); break;
    case GraphLogControl::tpWindowLen: tpWindowLen_.SetEnabled(enabled); break;
    default: break;
  }
  view_.SetEnabled(control, enabled);
}

void GraphLogSession::ShowScanTimer() { view_.SetScanTimer(scanTimerRunning_, scanInterval_); }

void GraphLogSession::ShowKeepalive() { view_.SetKeepaliveTimer(keepaliveRunning_, keepaliveInterval_); }

double GraphLogSession::Now() const {
  return NowSeconds(services_.TimeSource != nullptr ? *services_.TimeSource : CurrentClock());
}

}  // namespace quendrel
