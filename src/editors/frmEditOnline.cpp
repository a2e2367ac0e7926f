#include "editors/frmEditOnline.h"

#include <cmath>
#include <string_view>

#include "comms/GIOContext.h"
#include "comms/GIOError.h"
#include "comms/GIOServer.h"
#include "foundation/BrowseForFile.h"
#include "foundation/Config.h"
#include "foundation/DriveAddress.h"
#include "foundation/FixedPoint.h"
#include "foundation/NumberText.h"
#include "foundation/OptOutMsgBox.h"
#include "foundation/ParameterId.h"
#include "params/FirmwareCompatibilityFile.h"
#include "params/ParameterBinding.h"
#include "params/ParameterDownload.h"
#include "params/UnlockDrive.h"
#include "platform/Canvas.h"
#include "platform/SystemColors.h"
#include "platform/UiServices.h"
#include "widgets/TreeIcons.h"

namespace quendrel {

namespace {

constexpr std::uint32_t SystemColour(int index) { return SystemColorFlag | static_cast<std::uint32_t>(index); }
constexpr std::uint32_t ErrorText = 0x0000FF;
constexpr std::uint32_t ErrorBack = 0x000080;

std::uint8_t MenuOf(std::int32_t n) { return static_cast<std::uint8_t>(n / 100); }
std::uint8_t PramOf(std::int32_t n) { return static_cast<std::uint8_t>(n % 100); }

bool IsBlank(std::string_view text) { return text.find_first_not_of(" \t") == std::string_view::npos; }

// The next node of a depth-first walk: the children first, then the next sibling, else the next
// sibling of the nearest ancestor that has one.
ParameterTreeNode* NextInWalk(const ParameterTreeNode& node) {
  if (node.Child() != nullptr) return node.Child();
  for (const ParameterTreeNode* at = &node; at != nullptr; at = at->parent()) {
    if (at->Sibling() != nullptr) return at->Sibling();
  }
  return nullptr;
}

}  // namespace

// Brackets a handler that yields to the message loop: keeps the core alive through it, holds back a
// close asked for meanwhile until the outermost such handler ends, and tells the handler after each
// yield whether it must stop.
class frmEditOnline::PumpingHandler {
 public:
  explicit PumpingHandler(frmEditOnline& form)
      : form_(form), keepAlive_(form.weak_from_this().lock()), generation_(form.generation_) {
    ++form_.pumping_;
  }
  ~PumpingHandler() {
    if (--form_.pumping_ == 0) form_.CloseIfRequested();
  }
  PumpingHandler(const PumpingHandler&) = delete;
  PumpingHandler& operator=(const PumpingHandler&) = delete;

  // The window is closing, or the set this handler worked on has been replaced or dropped.
  bool Stale() const { return form_.unloaded_ || form_.closeRequested_ || form_.generation_ != generation_; }

 private:
  frmEditOnline& form_;
  std::shared_ptr<frmEditOnline> keepAlive_;
  std::uint64_t generation_;
};

frmEditOnline::frmEditOnline(std::shared_ptr<ParameterTree> tree, Services services)
    : tree_(std::move(tree)), services_(std::move(services)) {
  tree_->SetEvents(this);
}

frmEditOnline::~frmEditOnline() { tree_->SetEvents(nullptr); }

// --- Window handlers ---

void frmEditOnline::Form_Load() {
  if (UseIcons() && services_.Icons != nullptr) tree_->SetIconList(services_.Icons);
  SetProgressText("");
  SetStatus("", false);
  controls_.lblConnectedCaption = "Not Connected";
  busy_ = closeRequested_ = uploaded_ = legacy_ = false;
  set_ = KVBFile();
  SetConnectionState(StateIdle);
  progress_.SetupPrimary(services_.pbProgress, services_.tpbProgress, nullptr, services_.lblStatus, nullptr,
                         nullptr, nullptr, 0, 100, 0);
  progress_.SetProgressTextType(ProgressServer::TextTypePercent);
  progress_.SetPrefix("Uploading...");
  // After the control states, so that an address of 0 leaves Connect disabled.
  tbDriveAddr_Change(Config().Value("DriveAddress", "General"));
}

bool frmEditOnline::Form_QueryUnload() {
  const bool idle = !busy_ && pumping_ == 0;
  // Refused only while a handler pumps, and then the close happens once it has returned. An agreed
  // close may still be called off (an exit another window stopped), and the window must carry on.
  if (!idle) closeRequested_ = true;
  return idle;
}

void frmEditOnline::Form_Unload() {
  unloaded_ = true;
  controls_.TimerUpdateEnabled = false;
  controls_.TimerReconnectEnabled = false;
  Changed();
}

void frmEditOnline::CloseIfRequested() {
  if (closeRequested_ && !unloaded_ && onClose_) onClose_();
}

void frmEditOnline::tbDescription_Change(const std::string& text) {
  controls_.tbDescriptionText = text;
  set_.SetDescription(text);
}

void frmEditOnline::tbDriveAddr_Change(const std::string& text) {
  if (busy_) return;
  controls_.tbDriveAddrText = text;
  const std::uint8_t a = DriveAddressFromText(text);
  if (uploaded_ && a != connectedAddress_) {
    SetTimerReconnect(false);
    ForgetShownSet();
    Config().SetValue("DriveAddress", "General", text);
    return;
  }
  if (IsBlank(text) || a == 0) {
    SetTimerReconnect(false);
    ConnectionLost(false);
    controls_.bConnectEnabled = false;
  } else {
    controls_.tbDriveAddrText = std::to_string(a);
    controls_.bConnectEnabled = true;
    Config().SetValue("DriveAddress", "General", controls_.tbDriveAddrText);
  }
  Changed();
}

// Another address was typed while a set is shown: that set belongs to the old drive.
void frmEditOnline::ForgetShownSet() {
  ConnectionLost(false);
  tree_->Clear();
  tree_->SetPaintLock(false);
  uploaded_ = false;
  SetProgressBar(0);
}

// --- Connect ---

void frmEditOnline::bConnect_Click() {
  if (busy_ || unloaded_) return;
  const std::uint8_t address = Address();
  if (address == 0) {
    SetStatus("Invalid drive address.", true);
    SetConnectionState(StateIdle);
    return;
  }
  ++generation_;
  SetTimerReconnect(false);
  PumpingHandler handler(*this);
  progress_.SetMax(2099);
  progress_.SetMin(0);
  progress_.SetProgress(0);
  progress_.SetState(0);
  tree_->Clear();
  busy_ = true;
  SetConnectionState(StateBusy);
  SetStatus("Uploading Data...", false);
  std::shared_ptr<GIOContext> ctx = services_.Server->OpenContext(address, -1);
  tree_->SetPaintLock(true);
  if (UploadFromDrive(*ctx)) {
    ConnectSucceeded(*ctx);
  } else {
    ConnectFailed();
  }
}

bool frmEditOnline::UploadFromDrive(GIOContext& ctx) {
  const std::int32_t sv = FirmwareCompatibility().SoftwareVersion();
  const udtDriveResponse version = ctx.ReadValue(MenuOf(sv), PramOf(sv));
  if (version.Error) {
    Ui().MsgBox("Couldn't find drive.", vbExclamation, "Connection Error");
    SetStatus("Couldn't Find Drive", true);
    return false;
  }
  if (!FirmwareAccepted(version.sglData)) {
    SetStatus("No Template - User Canceled", false);
    return false;
  }
  UnlockDrive(ctx);
  if (!set_.UploadFromDrive(ctx, progress_, false)) {
    SetStatus("Upload Failed", true);
    SetProgressText("Connection Failed");
    controls_.lblConnectedCaption = "Connect Failed";
    return false;
  }
  return true;
}

bool frmEditOnline::FirmwareAccepted(float version) {
  if (FirmwareCompatibility().FitData(version) != nullptr) return true;
  const std::string text =
      "Your version of Quendrel is not properly equipped for handling this version of the firmware, so this "
      "upload may take several minutes. Please obtain an update at " +
      services_.WebSite + " to achieve the fastest upload speeds.";
  return OptOutMsgBox(text, "Firmware Not Supported", vbOKCancel | vbInformation, "UnrecognizedFirmware", true) ==
         OptOutOK;
}

void frmEditOnline::ConnectSucceeded(const GIOContext& ctx) {
  uploaded_ = true;
  SetStatus("Building Tree...", false);
  tree_->Clear();
  BuildTree();
  SetStatus("", false);
  connectedAddress_ = ctx.Address();
  controls_.lblConnectedCaption = "Connection Established to Drive " + std::to_string(connectedAddress_);
  controls_.tbDescriptionText = set_.Description();
  SetProgressText("Connection Established");
  controls_.TimerUpdateEnabled = true;
  SetProgressBar(progress_.Max());
  busy_ = false;
  SetConnectionState(StateConnected);
  tree_->SetPaintLock(false);
  tree_->Refresh();
}

void frmEditOnline::ConnectFailed() {
  busy_ = false;
  SetConnectionState(StateIdle);
  tree_->SetPaintLock(false);
  SetProgressBar(progress_.Min());
}

void frmEditOnline::BuildTree() {
  for (std::int32_t n = 0; n < KVBFile::kSlotCount; ++n) {
    if (!set_.Identifier(n).empty() && set_.SecurityLevel(n) < 3) {
      AddParameterNode(n);
    } else if (n % 100 == 0) {
      n += 99;  // a hidden menu header hides its whole menu
    }
  }
}

void frmEditOnline::AddParameterNode(std::int32_t n) {
  const std::string parent = n % 100 == 0 ? std::string() : ParameterIdText(n / 100 * 100);
  ParameterTreeNode& node = tree_->AddNode(ParameterIdText(n), parent, ParameterIdText(n) + ": " + set_.Name(n));
  const std::int32_t t = GetBoundParameter(set_, n);
  node.SetValue(static_cast<float>(LeadingNumber(set_.Value(t))));
  node.SetTag(static_cast<std::int16_t>(t));
  node.SetFormatString(FixedPointFormat(set_.PAD(t)));
  node.SetEnabled(!set_.ReadOnly(t) && t % 100 != 0);
  node.SetGreyed(t % 100 != 0 && set_.ReadOnly(t));
  node.SetIcon(set_.IconName(t));
  for (std::int32_t i = 0; i < set_.NumDVDs(t); ++i) node.AddDVD(static_cast<std::int16_t>(i), set_.DVD(t, i));
}

// --- Reading and writing nodes ---

frmEditOnline::NodeRead frmEditOnline::ReadNodeUpdate(ParameterTreeNode& node, GIOContext* ctx) {
  std::shared_ptr<GIOContext> own;
  if (ctx == nullptr) {
    own = OpenContext();
    own->SetLegacy(legacy_);
    ctx = own.get();
  }
  const std::int32_t t = node.Tag();
  const std::int32_t b = ResolveBoundParameter(set_, t);
  // The other node of a slot and the parameter it shows, whichever of the two was edited; missing when
  // it was hidden from the tree.
  ParameterTreeNode* second = tree_->FindNode(ParameterIdText(b));
  if (second == &node) second = tree_->FindNode(ParameterIdText(t));
  SetIndicator(ProgressServer::IndicatorGreen);
  const udtDriveResponse reply = ctx->ReadValue(MenuOf(b), PramOf(b));
  SetIndicator(ProgressServer::IndicatorRed);
  if (reply.Error) {
    if (IsConnectionLost(reply.intData)) {
      ConnectionLost(true);
      return NodeRead::Lost;
    }
    SetStatus("Error while reading update for " + ParameterIdText(b), true);
    return NodeRead::Failed;
  }
  ApplyValueRead(node, second == &node ? nullptr : second, t, b, reply.sglData);
  return NodeRead::Read;
}

void frmEditOnline::ApplyValueRead(ParameterTreeNode& node, ParameterTreeNode* second, std::int32_t t,
                                   std::int32_t b, float value) {
  const std::string text = SingleToText(value);
  node.SetValue(value);
  node.SetDirty(true);
  set_.SetValue(t, text);
  set_.SetValue(b, text);
  if (second != nullptr) {
    second->SetValue(value);
    second->SetDirty(true);
    set_.SetValue(second->Tag(), text);
  }
  if (!set_.BitPram(t)) return;
  ShowBitIcon(node, t);
  if (second != nullptr) second->SetIcon(node.Icon());
}

void frmEditOnline::ShowBitIcon(ParameterTreeNode& node, std::int32_t t) const {
  node.SetIcon((set_.ReadOnly(t) ? "readonlybit" : "bitpram") + SingleToText(node.Value()));
}

void frmEditOnline::pTree_ValueCommit(ParameterTreeNode& node) {
  WriteNodeValue(node);
  ReadNodeUpdate(node, nullptr);  // the node shows what the drive holds, written or not
}

void frmEditOnline::WriteNodeValue(ParameterTreeNode& node) {
  const std::int32_t t = node.Tag();
  const std::int32_t s = GetBindingSlotParameter(set_, t);
  const auto raw = ParameterDownload::RawValue(node.Value(), DecimalPlacesFromFlags(set_.PAD(t)));
  if (!raw) {
    SetStatus("Value out of range - not written", true);
    return;
  }
  const std::shared_ptr<GIOContext> ctx = OpenContext();
  SetIndicator(ProgressServer::IndicatorGreen);
  const udtDriveResponse reply = ctx->WriteValue(MenuOf(s), PramOf(s), *raw);
  SetIndicator(ProgressServer::IndicatorRed);
  if (reply.Error) SetStatus("Error saving edited value to drive", true);
}

void frmEditOnline::pTree_DblClick() {
  ParameterTreeNode* node = tree_->Selected();
  if (node == nullptr) return;
  if (node->DVDCount() > 0) {
    tree_->SelectCurrentValue();
    return;
  }
  const std::int32_t t = node->Tag();
  if (!set_.BitPram(t) || set_.ReadOnly(t)) {
    tree_->EditCurrentValue();
    return;
  }
  node->SetValue(std::floor(node->Value()) == 0.0F ? 1.0F : 0.0F);
  ShowBitIcon(*node, t);
  pTree_ValueCommit(*node);
  tree_->RepaintDirty();
}

void frmEditOnline::pTree_KeyUp(int KeyCode, int Shift) {
  (void)Shift;
  if (KeyCode == vbKeyReturn) pTree_DblClick();
}

void frmEditOnline::pTree_SelectionChanged(ParameterTreeNode* node) {
  if (node == nullptr) return;
  const std::shared_ptr<GIOContext> ctx = OpenContext();
  const std::int32_t t = node->Tag();
  SetIndicator(ProgressServer::IndicatorGreen);
  const udtDriveResponse reply = ctx->ReadValue(MenuOf(t), PramOf(t));
  SetIndicator(ProgressServer::IndicatorRed);
  if (reply.Error) {
    SetStatus("Update failed for " + ParameterIdText(t), true);
  } else {
    node->SetValue(reply.sglData);
  }
}

void frmEditOnline::pTree_ExpandChanged(ParameterTreeNode& node) {
  if (!node.Expanded()) return;
  PumpingHandler handler(*this);
  for (ParameterTreeNode* child = node.Child(); child != nullptr; child = child->Sibling()) {
    if (ReadNodeUpdate(*child, nullptr) == NodeRead::Lost) return;
    Ui().PumpMessages();
    if (handler.Stale() || !controls_.TimerUpdateEnabled) return;
  }
}

bool frmEditOnline::UpdateAllParameters() {
  for (ParameterTreeNode* node = tree_->First(); node != nullptr; node = NextInWalk(*node)) {
    if (ReadNodeUpdate(*node, nullptr) == NodeRead::Lost) return false;
  }
  return true;
}

// --- Timers ---

void frmEditOnline::TimerUpdate_Timer() {
  if (!controls_.TimerUpdateEnabled || busy_ || unloaded_) return;
  PumpingHandler handler(*this);
  SetStatus("Updating Parameters", false);
  changed_ = false;
  std::string failure;
  const std::shared_ptr<GIOContext> ctx = OpenContext();
  ctx->CheckLegacy();
  legacy_ = ctx->Legacy();
  for (ParameterTreeNode* node : tree_->VisibleNodes()) {
    const float old = node->Value();
    SetStatusCaption("Updating: " + node->Caption());
    const NodeRead read = ReadNodeUpdate(*node, ctx.get());
    if (read == NodeRead::Lost) {
      SetStatus("Error communicating with drive.", true);
      return;
    }
    if (read == NodeRead::Failed) failure = controls_.lblStatusCaption;
    if (node->Value() != old) {
      changed_ = true;
      node->SetDirty(true);
    }
    Ui().PumpMessages();
    if (handler.Stale() || !controls_.TimerUpdateEnabled) return;
  }
  if (changed_) tree_->RepaintDirty();
  // A parameter the drive would not read keeps its message, shown over the rows' captions, until the
  // next tick.
  SetStatus(failure, !failure.empty());
}

void frmEditOnline::TimerReconnect_Timer() {
  // A tick inside a connect's upload would reconnect to the set being replaced.
  if (!controls_.TimerReconnectEnabled || busy_ || unloaded_) return;
  std::shared_ptr<GIOContext> ctx = OpenContext();
  SetStatus("Attempting to reconnect", false);
  SetIndicator(ProgressServer::IndicatorGreen);
  const udtDriveResponse reply = ctx->Ping();
  SetIndicator(ProgressServer::IndicatorRed);
  ctx.reset();
  if (reply.Error) {
    SetStatus("", false);
    return;
  }
  SetConnectionState(StateConnected);
  SetStatus("Reconnected. Updating all parameters...", false);
  connectedAddress_ = reply.driveID;
  controls_.lblConnectedCaption = "Connection Reestablished to Drive " + std::to_string(connectedAddress_);
  controls_.TimerUpdateEnabled = true;
  SetTimerReconnect(false);
  if (!UpdateAllParameters()) return;
  SetStatus("", false);
  tree_->Refresh();
}

void frmEditOnline::ConnectionLost(bool retry) {
  ++generation_;
  controls_.TimerUpdateEnabled = false;
  SetConnectionState(StateLost);
  tree_->SetPaintLock(false);
  tree_->SetEnabled(false);
  tree_->Refresh();
  controls_.lblConnectedCaption = retry ? "Connection Lost" : "Not Connected";
  if (retry) controls_.TimerReconnectEnabled = true;
  Changed();
}

// --- Save ---

void frmEditOnline::bSaveFile_Click() {
  const std::string path = BrowseForFile(true, "Parameter Files Only (*.KVB)|*.KVB|All Files (*.*)|*.*", 1,
                                         "Save As...", "");
  if (path.empty()) return;
  SetStatus("Saving all values...", false);
  // A drive lost meanwhile leaves the last values read, which are still worth keeping.
  UpdateAllParameters();
  if (!set_.SaveKVBFile(path, false)) Ui().MsgBox(path + " could not be saved.", vbExclamation, "File save error");
}

// --- Controls ---

void frmEditOnline::SetStatus(const std::string& text, bool isError) {
  if (services_.MainStatus) services_.MainStatus(text);
  controls_.lblStatusForeColor = isError ? ErrorText : SystemColour(sysWindowText);
  controls_.lblStatusBackColor = isError ? ErrorBack : SystemColour(sysButtonFace);
  SetStatusCaption(text);
}

void frmEditOnline::SetStatusCaption(const std::string& text) {
  controls_.lblStatusCaption = text;
  if (services_.lblStatus) {
    services_.lblStatus->SetCaption(text);
    services_.lblStatus->Refresh();
  }
  Changed();
}

void frmEditOnline::SetIndicator(std::uint32_t colour) {
  controls_.lblIndicatorColor = colour;
  Changed();
}

void frmEditOnline::SetProgressText(const std::string& text) {
  controls_.tpbProgressText = text;
  if (services_.tpbProgress) services_.tpbProgress->SetText(text);
}

void frmEditOnline::SetProgressBar(std::int32_t value) {
  if (services_.pbProgress) services_.pbProgress->SetValue(value);
}

void frmEditOnline::SetTimerReconnect(bool enabled) {
  controls_.TimerReconnectEnabled = enabled;
  Changed();
}

void frmEditOnline::SetConnectionState(int state) {
  controls_.ConnectionState = state;
  if (state != StateConnected) controls_.TimerUpdateEnabled = false;
  tree_->SetEnabled(state == StateConnected);
  controls_.bConnectEnabled = state != StateBusy;
  controls_.tbDriveAddrEnabled = state != StateBusy;
  controls_.lblDescriptionTagForeColor = SystemColour(state == StateConnected ? sysWindowText : sysGrayText);
  controls_.tbDescriptionEnabled = state == StateConnected;
  controls_.bSaveFileEnabled = state == StateConnected;
  Changed();
}

void frmEditOnline::Changed() const {
  if (onChanged_) onChanged_();
}

std::uint8_t frmEditOnline::Address() const { return DriveAddressFromText(controls_.tbDriveAddrText); }

std::shared_ptr<GIOContext> frmEditOnline::OpenContext() const {
  return services_.Server->OpenContext(Address(), -1);
}

}  // namespace quendrel
