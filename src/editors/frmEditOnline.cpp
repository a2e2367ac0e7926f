#include "editors/frmEditOnline.h"

#include <cmath>
#include <string_view>
#include <utility>

#include "comms/server/GIOContext.h"
#include "comms/server/GIOError.h"
#include "comms/server/GIOServer.h"
#include "editors/FileEditorDialogs.h"
#include "editors/ValueRefusal.h"
#include "foundation/files/BrowseForFile.h"
#include "foundation/settings/Config.h"
#include "foundation/settings/OptOutMsgBox.h"
#include "foundation/text/DriveAddress.h"
#include "foundation/text/FixedPoint.h"
#include "foundation/text/NumberText.h"
#include "foundation/text/ParameterId.h"
#include "params/compatibility/FirmwareCompatibilityFile.h"
#include "params/transfer/DriveSlotPointers.h"
#include "params/transfer/ParameterBinding.h"
#include "params/transfer/TypedValueWriter.h"
#include "params/transfer/UnlockDrive.h"
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

// One handler's round trips: the context it holds, the quick setup pointers it read from the drive and
// the rows it refreshed, so that a row already refreshed as the other side of a slot is not read again.
class frmEditOnline::DrivePass {
 public:
  DrivePass(KVBFile& set, std::shared_ptr<GIOContext> ctx) : ctx_(std::move(ctx)), pointers_(set, *ctx_) {}

  GIOContext& Context() const { return *ctx_; }
  DriveSlotPointers& Pointers() { return pointers_; }
  bool Refreshed(const ParameterTreeNode& node) const { return refreshed_.contains(&node); }
  void MarkRefreshed(const ParameterTreeNode& node) { refreshed_.insert(&node); }

 private:
  std::shared_ptr<GIOContext> ctx_;
  DriveSlotPointers pointers_;
  std::set<const ParameterTreeNode*> refreshed_;
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

// The request is used up: an exit that asked may still be called off, and the window then carries on.
void frmEditOnline::CloseIfRequested() {
  if (!std::exchange(closeRequested_, false) || unloaded_ || !onClose_) return;
  onClose_();
}

// The box and Save are disabled while a connect yields to the message loop: the set is being replaced.
void frmEditOnline::tbDescription_Change(const std::string& text) {
  if (busy_) return;
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
  if (IsBlank(text) || !AddressesOneDrive(a)) {
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
  if (!AddressesOneDrive(address)) {
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
  readSinceUpload_.clear();
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
  ParameterTreeNode& node = tree_->AddNode(ParameterIdText(n), parent, ParameterIdText(n));
  ShowParameter(node, n, GetPresentBoundParameter(set_, n));
}

// Row n shows parameter t: n itself, or what quick setup slot n points at. The caption names t, so a
// slot's row never shows one parameter's value under another's name.
void frmEditOnline::ShowParameter(ParameterTreeNode& node, std::int32_t n, std::int32_t t) {
  node.SetCaption(ParameterIdText(n) + ": " + set_.Name(t));
  node.SetValue(static_cast<float>(LeadingNumber(set_.Value(t))));
  node.SetTag(static_cast<std::int16_t>(t));
  node.SetFormatString(FixedPointFormat(set_.PAD(t)));
  node.SetEnabled(!set_.ReadOnly(t) && t % 100 != 0);
  node.SetGreyed(t % 100 != 0 && set_.ReadOnly(t));
  node.SetIcon(set_.IconName(t));
  node.ClearDVDs();
  for (std::int32_t i = 0; i < set_.NumDVDs(t); ++i) node.AddDVD(static_cast<std::int16_t>(i), set_.DVD(t, i));
}

// --- Reading and writing nodes ---

frmEditOnline::NodeRead frmEditOnline::ReadNodeUpdate(ParameterTreeNode& node, DrivePass& pass,
                                                      bool failureStatus) {
  const std::int32_t b = FollowSlotPointers(node, pass);
  const std::int32_t t = node.Tag();
  // The other node of a slot and the parameter it shows, whichever of the two was edited; missing when
  // it was hidden from the tree.
  ParameterTreeNode* second = tree_->FindNode(ParameterIdText(b));
  if (second == &node) second = tree_->FindNode(ParameterIdText(t));
  if (second == &node || (second != nullptr && second->Tag() != t)) second = nullptr;
  SetIndicator(ProgressServer::IndicatorGreen);
  const udtDriveResponse reply = pass.Context().ReadValue(MenuOf(b), PramOf(b));
  SetIndicator(ProgressServer::IndicatorRed);
  if (reply.Error) {
    if (IsConnectionLost(reply.intData)) {
      ConnectionLost(true);
      return NodeRead::Lost;
    }
    if (failureStatus) SetStatus("Error while reading update for " + ParameterIdText(b), true);
    return NodeRead::Failed;
  }
  ApplyValueRead(node, second, t, b, reply.sglData);
  pass.MarkRefreshed(node);
  if (second != nullptr) pass.MarkRefreshed(*second);
  return NodeRead::Read;
}

// The parameter to read for a row. A slot's row first follows the slot's pointer on the drive, so its
// caption names what it shows now, and is read through the slot; when the drive would not tell, the
// parameter its caption names is read. Any other row is read through a slot only when this pass read
// that slot's pointer, else directly: the same value without a round trip for the pointer.
std::int32_t frmEditOnline::FollowSlotPointers(ParameterTreeNode& node, DrivePass& pass) {
  for (const std::int32_t slot : BindingSlots(set_)) {
    if (tree_->FindNode(ParameterIdText(slot)) != &node) continue;
    const bool known = pass.Pointers().Shown(slot).has_value();
    ShowMovedPointers(pass);
    return known ? slot : node.Tag();
  }
  return pass.Pointers().ReadSlotFor(node.Tag());
}

// Pointers the drive holds other than the set said: their rows take the new value and the slot rows
// follow.
void frmEditOnline::ShowMovedPointers(DrivePass& pass) {
  for (const std::int32_t pointer : pass.Pointers().TakeMoved()) {
    readSinceUpload_.insert(pointer);
    ParameterTreeNode* row = tree_->FindNode(ParameterIdText(pointer));
    if (row == nullptr || row->Tag() != pointer) continue;
    row->SetValue(static_cast<float>(LeadingNumber(set_.Value(pointer))));
    row->SetDirty(true);
    changed_ = true;
  }
  FollowSetPointers();
}

// Each slot's row shows the parameter its pointer in the set names now.
void frmEditOnline::FollowSetPointers() {
  bool renamed = false;
  for (const std::int32_t slot : BindingSlots(set_)) {
    ParameterTreeNode* row = tree_->FindNode(ParameterIdText(slot));
    const std::int32_t shown = GetPresentBoundParameter(set_, slot);
    if (row == nullptr || row->Tag() == shown) continue;
    ShowParameter(*row, slot, shown);
    row->SetDirty(true);
    renamed = changed_ = true;
  }
  if (renamed) tree_->Refresh();  // a longer caption moves the value column
}

void frmEditOnline::ApplyValueRead(ParameterTreeNode& node, ParameterTreeNode* second, std::int32_t t,
                                   std::int32_t b, float value) {
  const std::string text = SingleToText(value);
  node.SetValue(value);
  node.SetDirty(true);
  set_.SetValue(t, text);
  set_.SetValue(b, text);
  readSinceUpload_.insert({t, b});
  if (second != nullptr) {
    if (second->Value() != value) changed_ = true;
    second->SetValue(value);
    second->SetDirty(true);
    set_.SetValue(second->Tag(), text);
  }
  if (set_.BitPram(t)) {
    ShowBitIcon(node, t);
    if (second != nullptr) second->SetIcon(node.Icon());
  }
  // The value read may be a pointer itself.
  FollowSetPointers();
}

void frmEditOnline::ShowBitIcon(ParameterTreeNode& node, std::int32_t t) const {
  node.SetIcon((set_.ReadOnly(t) ? "readonlybit" : "bitpram") + SingleToText(node.Value()));
}

void frmEditOnline::ShowLastValueRead(ParameterTreeNode& node) {
  const std::int32_t t = node.Tag();
  node.SetValue(static_cast<float>(LeadingNumber(set_.Value(t))));
  if (set_.BitPram(t)) ShowBitIcon(node, t);
  node.SetDirty(true);
}

void frmEditOnline::pTree_ValueCommit(ParameterTreeNode& node) {
  DrivePass pass(set_, OpenReadContext());
  const std::int32_t t = node.Tag();
  const bool written = WriteNodeValue(node, pass);
  // A value the drive did not take is not the parameter's: until the read-back says otherwise the row
  // shows the last value read, and the status line keeps saying why.
  if (!written) ShowLastValueRead(node);
  // The node shows what the drive holds, written or not.
  if (ReadNodeUpdate(node, pass, written) == NodeRead::Lost) return;
  // A slot's row that moved on to another parameter meanwhile: the one written shows its value too.
  ParameterTreeNode* own = tree_->FindNode(ParameterIdText(t));
  if (written && node.Tag() != t && own != nullptr && own->Tag() == t) ReadNodeUpdate(*own, pass);
}

bool frmEditOnline::WriteNodeValue(ParameterTreeNode& node, DrivePass& pass) {
  SetIndicator(ProgressServer::IndicatorGreen);
  const TypedValueWriter::Result written =
      TypedValueWriter(set_, pass.Context(), pass.Pointers()).Write(node.Tag(), node.Value());
  SetIndicator(ProgressServer::IndicatorRed);
  ShowMovedPointers(pass);
  switch (written.outcome) {
    case TypedValueWriter::Outcome::Written:
      return true;
    case TypedValueWriter::Outcome::Refused:
      SetStatus(ValueRefusedText, true);
      return false;
    case TypedValueWriter::Outcome::Failed:
      break;
  }
  SetStatus("Error saving edited value to drive", true);
  return false;
}

// The tree has put the node back; nothing was written.
void frmEditOnline::pTree_ValueRefused(ParameterTreeNode& node) {
  (void)node;
  SetStatus(ValueRefusedText, true);
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
  DrivePass pass(set_, OpenReadContext());
  for (ParameterTreeNode* child = node.Child(); child != nullptr; child = child->Sibling()) {
    if (pass.Refreshed(*child)) continue;
    if (ReadNodeUpdate(*child, pass) == NodeRead::Lost) return;
    Ui().PumpMessages();
    if (handler.Stale() || !controls_.TimerUpdateEnabled) return;
  }
}

ParameterTreeNode* frmEditOnline::UpdateAllParameters(DrivePass& pass) {
  for (ParameterTreeNode* node = tree_->First(); node != nullptr; node = NextInWalk(*node)) {
    if (pass.Refreshed(*node)) continue;
    if (ReadNodeUpdate(*node, pass) == NodeRead::Lost) return node;
  }
  return nullptr;
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
  DrivePass pass(set_, ctx);
  for (ParameterTreeNode* node : tree_->VisibleNodes()) {
    if (pass.Refreshed(*node)) continue;
    const float old = node->Value();
    SetStatusCaption("Updating: " + node->Caption());
    const NodeRead read = ReadNodeUpdate(*node, pass);
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
  DrivePass pass(set_, OpenReadContext());
  if (UpdateAllParameters(pass) != nullptr) return;
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
  if (busy_) return;
  const std::string path = BrowseForFile(true, "Parameter Files Only (*.KVB)|*.KVB|All Files (*.*)|*.*", 1,
                                         "Save As...", "");
  if (path.empty()) return;
  SetStatus("Saving all values...", false);
  // A drive lost meanwhile, or replies that fail their checks, leave the last values read, which are
  // still worth keeping once the user knows they are not all fresh.
  DrivePass pass(set_, OpenReadContext());
  const ParameterTreeNode* const lostAt = UpdateAllParameters(pass);
  const ParameterTreeNode* const firstStale = FirstNotRefreshed(pass);
  const bool stale = firstStale != nullptr;
  if (stale && !SaveMayGoOn(lostAt, *firstStale, pass)) {
    SetStatus("Error communicating with drive.", true);
    return;
  }
  const ReplaceFileResult saved = set_.SaveKVBFile(path, false);
  SetStatus(stale ? "Error communicating with drive." : "", stale);
  if (!saved) ShowSaveFailure(path, saved.Reason);
}

const ParameterTreeNode* frmEditOnline::FirstNotRefreshed(const DrivePass& pass) const {
  for (const ParameterTreeNode* node = tree_->First(); node != nullptr; node = NextInWalk(*node)) {
    if (!pass.Refreshed(*node)) return node;
  }
  return nullptr;
}

// The user decides whether values the refresh did not reach are worth saving.
bool frmEditOnline::SaveMayGoOn(const ParameterTreeNode* lostAt, const ParameterTreeNode& firstStale,
                                const DrivePass& pass) {
  std::set<std::int32_t> stale;
  std::set<std::int32_t> fromUpload;
  for (const ParameterTreeNode* node = &firstStale; node != nullptr; node = NextInWalk(*node)) {
    if (pass.Refreshed(*node)) continue;
    stale.insert(node->Tag());
    if (!readSinceUpload_.contains(node->Tag())) fromUpload.insert(node->Tag());
  }
  const std::string where = lostAt != nullptr
                                ? "The drive stopped answering at " + lostAt->Caption()
                                : "Reading " + firstStale.Caption() + " from the drive failed";
  const std::string text = where + " while the values were being refreshed.\n\nValues in the file that are not "
                           "fresh from the drive: " + std::to_string(stale.size()) + ", the last ones read (" +
                           std::to_string(fromUpload.size()) + " of them at Connect).\n\nSave the file anyway?";
  return Ui().MsgBox(text, vbYesNo | vbExclamation, "Drive Not Answering") == vbYes;
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

std::shared_ptr<GIOContext> frmEditOnline::OpenReadContext() const {
  std::shared_ptr<GIOContext> ctx = OpenContext();
  ctx->SetLegacy(legacy_);
  return ctx;
}

}  // namespace quendrel
