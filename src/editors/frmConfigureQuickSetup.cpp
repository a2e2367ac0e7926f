#include "editors/frmConfigureQuickSetup.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "comms/server/GIOContext.h"
#include "comms/server/GIOServer.h"
#include "editors/FileEditorDialogs.h"
#include "editors/QuickSetupKeypad.h"
#include "foundation/files/BrowseForFile.h"
#include "foundation/text/DateText.h"
#include "foundation/text/DriveAddress.h"
#include "foundation/text/FixedPoint.h"
#include "foundation/text/NumberText.h"
#include "foundation/text/ParameterId.h"
#include "params/compatibility/FirmwareCompatibilityFile.h"
#include "params/transfer/KVDUploadTypes.h"
#include "params/transfer/ParameterBinding.h"
#include "params/transfer/ParameterDownload.h"
#include "params/transfer/UnlockDrive.h"
#include "platform/UiServices.h"

namespace quendrel {

namespace {

constexpr const char* kNotSet = "<<<NOT SET>>>";
constexpr const char* kWizardError = "Quick Setup Customization Wizard Error";
constexpr std::int32_t kCustomNameLength = 16;
constexpr std::int32_t kMaxValueNames = 512;
constexpr std::int16_t kEndOfList = 3;

bool IsParameter(std::int32_t n) { return n >= 0 && n < KVBFile::kSlotCount; }
// Name and scale fields use 0 as well as -1 for "none".
bool HasParameter(std::int32_t n) { return n > 0 && n < KVBFile::kSlotCount; }
std::uint8_t MenuOf(std::int32_t n) { return static_cast<std::uint8_t>(n / 100); }
std::uint8_t PramOf(std::int32_t n) { return static_cast<std::uint8_t>(n % 100); }
// Versions are told apart by three decimals, as the compatibility file keys them.
std::string VersionText(double version) { return FormatNumber(version, "0.000"); }

bool IsMenuHeader(const std::string& id) { return id.size() == 6 && id.compare(3, 3, "P00") == 0; }

}  // namespace

frmConfigureQuickSetup::frmConfigureQuickSetup(Services services) : services_(std::move(services)) {}

void frmConfigureQuickSetup::Form_Load() {
  controls_ = Controls{};
  set_.Reset();
  template_.reset();
  progress_.SetupPrimary(services_.progUpload, services_.tpbUpload, nullptr, services_.lblConnectStatus, nullptr,
                         nullptr, nullptr, 0, 100, 0);
  progress_.SetPrefix("Uploading: ");
  ShowPage(0);
}

void frmConfigureQuickSetup::Form_Unload() {
  unloaded_ = true;
  progress_.SetState(-1);
}

void frmConfigureQuickSetup::Changed() const {
  if (onChanged_ && !unloaded_) onChanged_();
}

void frmConfigureQuickSetup::SetSourceEnabled(bool enabled) {
  controls_.SourceEnabled = enabled;
  Changed();
}

// --- Pages ---

void frmConfigureQuickSetup::ShowPage(int page) {
  controls_.Page = page;
  ApplyPageSwitch();
  if (page == 1) RewriteSlotList();
  if (page == 2) FillOptions();
  if (page == kPreviewPage) ResetPreview();
}

void frmConfigureQuickSetup::ApplyPageSwitch() {
  const int page = controls_.Page;
  const auto& reachable = controls_.Reachable;
  controls_.bBackEnabled = page > 0 && reachable[page - 1];
  controls_.bNextEnabled = page < kPreviewPage ? reachable[page + 1] : true;
  controls_.bNextCaption = page == kPreviewPage ? "Finish" : "&Next >>";
}

// Back, Next, Save and Send are disabled while a source loads; a click already queued must not reach it.
void frmConfigureQuickSetup::bBack_Click() {
  if (controls_.bBackEnabled && controls_.Page > 0) ShowPage(controls_.Page - 1);
}

void frmConfigureQuickSetup::tabPanel_Click(int page) {
  if (page >= 0 && page < kPageCount && controls_.Reachable[page]) ShowPage(page);
}

bool frmConfigureQuickSetup::bNext_Click() {
  if (!controls_.bNextEnabled) return false;
  if (controls_.Page < kPreviewPage) {
    ShowPage(controls_.Page + 1);
    return false;
  }
  if (offline_) {
    bSave_Click();
    return false;
  }
  return bApply_Click();
}

void frmConfigureQuickSetup::StartLoading() {
  controls_.bSaveEnabled = controls_.bApplyEnabled = false;
  controls_.SourceEnabled = false;
  controls_.Reachable = {true, false, false, false};
  ApplyPageSwitch();
  controls_.bBackEnabled = controls_.bNextEnabled = false;
  Changed();
}

void frmConfigureQuickSetup::SourceLoaded() {
  controls_.lblReadyToGoVisible = true;
  FillSlotLists();
  controls_.Reachable = {true, true, true, true};
  controls_.bSaveEnabled = controls_.bApplyEnabled = true;
  ApplyPageSwitch();
  Changed();
}

// --- Sources ---

void frmConfigureQuickSetup::bGenerate_Click() {
  if (!controls_.SourceEnabled) return;
  std::string typed = controls_.tbFirmwareVersionText;
  std::replace(typed.begin(), typed.end(), ' ', '0');
  const double version = LeadingNumber(typed);
  if (!FirmwareCompatibility().HasFIT(version)) {
    Ui().MsgBox("Can't find firmware template for the chosen version.", vbExclamation, "Offline Customization Error");
    return;
  }
  template_ = FirmwareCompatibility().FitData(version);
  StartLoading();
  offline_ = true;
  controls_.chkPreviewShowData = false;
  BuildOfflineSet(version);
  SourceLoaded();
}

// Only what an upload of that version would hold: the template's parameters and the binding rows'.
// Slots the firmware lacks must not become choices, or a slot could be bound to one.
void frmConfigureQuickSetup::BuildOfflineSet(double version) {
  set_.BuildFromTemplate(version);
  for (std::int32_t n = 0; n < KVBFile::kSlotCount; ++n) {
    if (!set_.Identifier(n).empty()) set_.SetValue(n, "0");
  }
  const auto makePresent = [this](std::int32_t n) {
    if (!IsParameter(n)) return;
    if (set_.Identifier(n).empty()) set_.SetIdentifier(n, ParameterIdText(n));
    set_.SetValue(n, "0");
  };
  for (const udtBindingData& row : template_->BindingData()) {
    for (const std::int32_t n : {row.pParameter, row.pBound, row.pNameBound, row.pScaleBound}) {
      if (n != 0) makePresent(n);
    }
    if (IsParameter(row.pParameter)) set_.SetName(row.pParameter, kNotSet);
    if (HasParameter(row.pNameBound)) {
      set_.ClearDVDs(row.pNameBound);
      set_.AddDVD(row.pNameBound, 0, "(Default)");
      set_.AddDVD(row.pNameBound, 1, "(Custom)");
    }
    if (HasParameter(row.pScaleBound)) set_.SetValue(row.pScaleBound, "1");
  }
  const std::int32_t sv = FirmwareCompatibility().SoftwareVersion();
  if (IsParameter(sv)) set_.SetValue(sv, VersionText(version));
}

// The source controls go dark before the first request: the upload yields to the message loop, and a
// second click or another address typed meanwhile would start a nested upload or send these settings
// to a drive they were not read from.
void frmConfigureQuickSetup::bConnect_Click() {
  if (!controls_.SourceEnabled) return;
  const std::uint8_t address = Address();
  if (!AddressesOneDrive(address)) return ShowInvalidAddress();
  SetSourceEnabled(false);
  const std::shared_ptr<GIOContext> ctx = services_.Server->OpenContext(address, -1);
  UnlockDrive(*ctx);
  if (ctx->ReadName(0, 0).Error) {
    Ui().MsgBox("Drive not responding or not connected.", vbExclamation, "Connection Error");
    SetSourceEnabled(true);
    return;
  }
  offline_ = false;
  ShowPage(0);
  const std::int32_t sv = FirmwareCompatibility().SoftwareVersion();
  const udtDriveResponse versionRead = ctx->ReadValue(MenuOf(sv), PramOf(sv));
  if (versionRead.Error) return UploadFailed();
  float version = versionRead.sglData;
  template_ = FirmwareCompatibility().FitData(version);
  StartLoading();
  progress_.SetPrefix("Loading: ");
  bool uploaded = false;
  if (template_) {
    progress_.SetMax(template_->Bindings() + 2099);
    set_.BuildFromTemplate(version);
    uploaded = set_.UploadTemplateWithRetries(*ctx, progress_, version);
  } else {
    progress_.SetMax(2099);
    uploaded = set_.FullUpload(*ctx, kvdUploadName + kvdUploadPAD, progress_, false);
  }
  if (unloaded_) return;
  progress_.SetProgress(0);
  set_.SetValue(sv, VersionText(versionRead.sglData));
  if (!uploaded || !UploadBindingRows(*ctx)) return UploadFailed();
  if (!template_) {
    Ui().MsgBox("No quick setup template for firmware version " + VersionText(versionRead.sglData) + ".",
                vbOKOnly, kWizardError);
    return UploadFailed();
  }
  controls_.chkPreviewShowData = true;
  uploadedAddress_ = address;
  SourceLoaded();
  progress_.SetProgress(progress_.Max());
  controls_.lblConnectStatus = "Upload Complete";
  progress_.SetStatus(controls_.lblConnectStatus);
  ctx->CloseContext();
}

void frmConfigureQuickSetup::UploadFailed() {
  controls_.lblConnectStatus = "Error in upload.";
  progress_.SetStatus(controls_.lblConnectStatus);
  ApplyPageSwitch();
  SetSourceEnabled(true);
}

bool frmConfigureQuickSetup::UploadBindingRows(GIOContext& ctx) {
  if (!template_) return true;
  for (const udtBindingData& row : template_->BindingData()) {
    progress_.SetProgress(progress_.Progress() + 1);
    Ui().PumpMessages();
    if (unloaded_ || progress_.state() == -1) return false;
    if (IsParameter(row.pBound)) {
      const udtDriveResponse pointer = ctx.ReadValue(MenuOf(row.pBound), PramOf(row.pBound));
      if (!pointer.Error) set_.SetValue(row.pBound, FormatNumber(pointer.sglData, "0.00"));
    }
    if (HasParameter(row.pNameBound) && !UploadNames(ctx, row.pNameBound)) return false;
    if (HasParameter(row.pScaleBound)) {
      const udtDriveResponse scale = ctx.ReadValue(MenuOf(row.pScaleBound), PramOf(row.pScaleBound));
      if (!scale.Error) {
        set_.SetValue(row.pScaleBound, FormatFixedPointText(scale.sglData, set_.PAD(row.pScaleBound)));
      }
    }
  }
  return true;
}

bool frmConfigureQuickSetup::UploadNames(GIOContext& ctx, std::int32_t n) {
  const udtDriveResponse value = ctx.ReadValue(MenuOf(n), PramOf(n));
  if (value.Error) return false;
  set_.SetValue(n, std::to_string(value.intData));
  set_.ClearDVDs(n);
  for (std::int16_t index = 0; index < kMaxValueNames; ++index) {
    const udtDriveResponse name = ctx.ReadDVD(MenuOf(n), PramOf(n), index);
    if (!name.Error) {
      set_.AddDVD(n, index, name.strData);
      continue;
    }
    if (name.intData == kEndOfList) return true;
    Ui().MsgBox("Error uploading name values", vbOKOnly, "");
    return false;
  }
  return true;
}

void frmConfigureQuickSetup::tbDriveID_Change(const std::string& text) {
  if (controls_.SourceEnabled) controls_.tbDriveIDText = std::to_string(DriveAddressFromText(text));
}

void frmConfigureQuickSetup::tbFirmwareVersion_Change(const std::string& text) {
  if (controls_.SourceEnabled) controls_.tbFirmwareVersionText = text;
}

std::uint8_t frmConfigureQuickSetup::Address() const { return DriveAddressFromText(controls_.tbDriveIDText); }

// Taken each time a drive is addressed: an uploaded set belongs to the drive it came from, whatever the
// box says; offline settings go where the box points now.
std::uint8_t frmConfigureQuickSetup::SettingsAddress() const { return offline_ ? Address() : uploadedAddress_; }

void frmConfigureQuickSetup::ShowInvalidAddress() const {
  Ui().MsgBox("Invalid drive address.", vbExclamation, "Connection Error");
}

// --- Slot lists and the picker ---

udtBindingData frmConfigureQuickSetup::Row(std::int32_t slot) const {
  return template_ ? template_->Binding(slot) : udtBindingData{};
}

std::optional<std::int32_t> frmConfigureQuickSetup::ShownParameter(const udtBindingData& row) const {
  if (!IsParameter(row.pBound)) return std::nullopt;
  return PointerTarget(LeadingNumber(set_.Value(row.pBound)));
}

std::string frmConfigureQuickSetup::ValueNameAt(std::int32_t n, double position) const {
  if (!(position >= 0 && position < set_.NumDVDs(n))) return "";
  return set_.DVD(n, static_cast<std::int32_t>(position));
}

// A pointer naming no parameter shows as unset, whose name is the "not set" text.
std::string frmConfigureQuickSetup::DisplayName(const udtBindingData& row) const {
  const double choice = HasParameter(row.pNameBound) ? LeadingNumber(set_.Value(row.pNameBound)) : 0;
  if (choice != 0) return ValueNameAt(row.pNameBound, choice);
  return set_.Name(ShownParameter(row).value_or(0));
}

void frmConfigureQuickSetup::FillSlotLists() {
  set_.ClearDVDs(0);
  set_.AddDVD(0, 0, "        ");
  set_.SetValue(0, "0");
  set_.SetIdentifier(0, "");
  set_.SetName(0, kNotSet);
  controls_.lbM00.clear();
  controls_.lbM00Selected = -1;
  if (template_) {
    for (const udtBindingData& row : template_->BindingData()) {
      if (row.pParameter == 0 || !IsParameter(row.pParameter)) continue;
      controls_.lbM00.push_back({ParameterIdText(row.pParameter) + ": " + set_.Name(row.pParameter), row.pParameter});
    }
  }
  FillPicker();
}

void frmConfigureQuickSetup::FillPicker() {
  auto& nodes = controls_.treePramList;
  nodes.assign(1, PickerNode{"M00P00", kNotSet, "", true});
  controls_.treeSelectedKey.clear();
  controls_.treeExpanded.clear();
  const auto isSlot = [this](std::int32_t n) {
    const auto& rows = template_->BindingData();
    return std::any_of(rows.begin(), rows.end(), [n](const udtBindingData& row) { return row.pParameter == n; });
  };
  for (std::int32_t n = 1; n < KVBFile::kSlotCount; ++n) {
    if (set_.Identifier(n).empty() || isSlot(n) || set_.SecurityLevel(n) >= 3) continue;
    const std::string key = ParameterIdText(n);
    const std::string text = key + ": " + set_.Name(n);
    if (IsMenuHeader(key)) {
      nodes.push_back({key, text, "", true});
      continue;
    }
    const std::string parent = key.substr(0, 3) + "P00";
    if (!FindNode(parent)) nodes.push_back({parent, parent, "", false});
    nodes.push_back({key, text, parent, true});
  }
}

const frmConfigureQuickSetup::PickerNode* frmConfigureQuickSetup::FindNode(const std::string& key) const {
  const auto& nodes = controls_.treePramList;
  const auto it = std::find_if(nodes.begin(), nodes.end(), [&key](const PickerNode& node) { return node.Key == key; });
  return it == nodes.end() ? nullptr : &*it;
}

void frmConfigureQuickSetup::lbM00_Click(int index) {
  const bool selected = index >= 0 && index < static_cast<int>(controls_.lbM00.size());
  controls_.lbM00Selected = selected ? index : -1;
  controls_.treeEnabled = selected;
  if (!selected) return;
  const auto shown = ShownParameter(Row(controls_.lbM00[index].Data));
  const PickerNode* node = shown ? FindNode(ParameterIdText(*shown)) : nullptr;
  controls_.treeExpanded.clear();
  if (!node || !node->Assigns) {
    controls_.treeSelectedKey.clear();
    return;
  }
  controls_.treeSelectedKey = node->Key;
  if (!node->Parent.empty()) controls_.treeExpanded.insert(node->Parent);
}

void frmConfigureQuickSetup::treePramList_NodeClick(const std::string& key) {
  const PickerNode* node = FindNode(key);
  if (!node) return;
  if (!node->Assigns) {
    auto& expanded = controls_.treeExpanded;
    if (!expanded.erase(key)) expanded.insert(key);
    return;
  }
  controls_.treeSelectedKey = key;
  if (controls_.lbM00Selected < 0) return;
  ListEntry& entry = controls_.lbM00[controls_.lbM00Selected];
  const udtBindingData row = Row(entry.Data);
  if (!IsParameter(row.pBound)) return;
  const std::int32_t p = ParseParameterId(key);
  set_.SetValue(row.pBound, DoubleToText(p / 100.0));
  entry.Text = ParameterIdText(entry.Data) + ": " + set_.Name(p);
}

void frmConfigureQuickSetup::RewriteSlotList() {
  for (ListEntry& entry : controls_.lbM00) {
    const udtBindingData row = Row(entry.Data);
    if (HasParameter(row.pNameBound)) entry.Text = ParameterIdText(entry.Data) + ": " + DisplayName(row);
  }
}

// --- Options page ---

void frmConfigureQuickSetup::FillOptions() {
  controls_.cbSpecialSelect.clear();
  controls_.cbSpecialSelected = -1;
  if (template_) {
    for (const udtBindingData& row : template_->BindingData()) {
      if (row.pParameter == 0 || !IsParameter(row.pParameter)) continue;
      if (HasParameter(row.pNameBound) || HasParameter(row.pScaleBound)) {
        controls_.cbSpecialSelect.push_back({ParameterIdText(row.pParameter), row.pParameter});
      }
    }
  }
  const Controls fresh;
  controls_.lblEditSpecialName = fresh.lblEditSpecialName;
  controls_.lblSpecialName = fresh.lblSpecialName;
  controls_.lblScaleAutomatically = fresh.lblScaleAutomatically;
  controls_.lblScaleFormula = fresh.lblScaleFormula;
  controls_.cbNameSelectEnabled = controls_.tbScaleEditEnabled = false;
}

void frmConfigureQuickSetup::cbSpecialSelect_Click(int index) {
  busy_ = true;
  controls_.cbNameSelectEnabled = controls_.tbScaleEditEnabled = false;
  const bool selected = index >= 0 && index < static_cast<int>(controls_.cbSpecialSelect.size());
  controls_.cbSpecialSelected = selected ? index : -1;
  if (selected) {
    const std::int32_t slot = controls_.cbSpecialSelect[index].Data;
    const udtBindingData row = Row(slot);
    const std::string id = ParameterIdText(slot);
    controls_.lblEditSpecialName = "Edit " + id + " Name:";
    controls_.lblSpecialName = id + ":";
    controls_.lblScaleAutomatically = "Scale " + id + " Automatically:";
    controls_.lblScaleFormula = id + " = " + ParameterIdText(ShownParameter(row).value_or(0)) + " x ";
    controls_.cbNameSelectToolTip = "Select a name for " + id + " or type a custom name.";
    controls_.tbScaleEditToolTip = "Multiply " + id + " by a given constant.";
    FillNameChoice(row);
    if (HasParameter(row.pScaleBound) && !set_.Identifier(row.pScaleBound).empty()) {
      controls_.tbScaleEditEnabled = true;
      controls_.tbScaleEditTag = row.pScaleBound;
      ShowScale(row.pScaleBound);
    }
  }
  busy_ = false;
}

void frmConfigureQuickSetup::FillNameChoice(const udtBindingData& row) {
  controls_.cbNameSelect.clear();
  controls_.cbNameSelected = -1;
  const std::int32_t n = row.pNameBound;
  if (!HasParameter(n) || set_.Identifier(n).empty()) {
    controls_.tbCustomNameText = "(not editable)";
    return;
  }
  controls_.cbNameSelectEnabled = true;
  controls_.cbNameSelectTag = n;
  const double value = LeadingNumber(set_.Value(n));
  for (std::int32_t i = 0; i < set_.NumDVDs(n); ++i) {
    const std::string text = i == 0 ? " (Default Text) " : i == 1 ? "  (Custom Name) " : set_.DVD(n, i);
    controls_.cbNameSelect.push_back({text, i});
    if (value == i) controls_.cbNameSelected = i;
  }
  controls_.tbCustomNameText = ValueNameAt(n, 1);
}

void frmConfigureQuickSetup::cbNameSelect_Click(int index) {
  if (busy_ || index < 0 || index >= static_cast<int>(controls_.cbNameSelect.size())) return;
  controls_.cbNameSelected = index;
  const std::int32_t choice = controls_.cbNameSelect[index].Data;
  const std::int32_t n = controls_.cbNameSelectTag;
  if (controls_.tbCustomNameEnabled) {
    controls_.tbCustomNameEnabled = false;
  } else if (choice == 1) {
    controls_.tbCustomNameText = ValueNameAt(n, 1);
    controls_.tbCustomNameTag = n;
    controls_.tbCustomNameEnabled = true;
  }
  if (HasParameter(n)) set_.SetValue(n, std::to_string(choice));
}

void frmConfigureQuickSetup::tbCustomName_Change(const std::string& text) {
  controls_.tbCustomNameText = text.substr(0, kCustomNameLength);
}

void frmConfigureQuickSetup::tbCustomName_LostFocus() {
  if (busy_ || !HasParameter(controls_.tbCustomNameTag)) return;
  const std::string name = controls_.tbCustomNameText.substr(0, kCustomNameLength);
  set_.AddDVD(controls_.tbCustomNameTag, 1, name);
  if (controls_.cbNameSelectTag == controls_.tbCustomNameTag && controls_.cbNameSelect.size() > 1) {
    controls_.cbNameSelect[1].Text = name + " (Custom)";
  }
  controls_.tbCustomNameEnabled = false;
}

// The scale as the drive holds it: its sign and every decimal its PAD gives, so 12.000 and -0.250 show
// whole.
void frmConfigureQuickSetup::ShowScale(std::int32_t n) {
  controls_.tbScaleEditDecimals = DecimalPlacesFromFlags(set_.PAD(n));
  controls_.tbScaleEditText = FormatFixedPointText(set_.Value(n), set_.PAD(n));
  scaleBeforeEdit_ = set_.Value(n);
}

// Only a text that is a number as a whole and that the drive's word holds exactly is written: anything
// else would reach the drive as another scale than the box shows. A half-typed "-" or "1." writes
// nothing until it is complete.
std::optional<double> frmConfigureQuickSetup::ScaleValue(const std::string& text, std::int32_t n) const {
  const std::optional<double> value = NumericTextValue(text);
  if (!value) return std::nullopt;
  const double scaled = *value * std::pow(10.0, DecimalPlacesFromFlags(set_.PAD(n)));
  const double word = std::round(scaled);
  const bool exact = std::fabs(scaled - word) < 1e-6;
  const bool fits = word >= std::numeric_limits<std::int16_t>::min() && word <= std::numeric_limits<std::int16_t>::max();
  if (!exact || !fits) return std::nullopt;
  return *value;
}

// Every keystroke sends the whole text. A prefix the box took on the way (32.76 of 32.768) is no value
// the user chose, so a text the box refuses puts back the scale from before the edit, and leaving the
// box shows that scale.
void frmConfigureQuickSetup::tbScaleEdit_Change(const std::string& text) {
  controls_.tbScaleEditText = text;
  const std::int32_t n = controls_.tbScaleEditTag;
  if (busy_ || !HasParameter(n)) return;
  const auto value = ScaleValue(text, n);
  set_.SetValue(n, value ? DoubleToText(*value) : scaleBeforeEdit_);
}

void frmConfigureQuickSetup::tbScaleEdit_LostFocus() {
  if (busy_ || !controls_.tbScaleEditEnabled || !HasParameter(controls_.tbScaleEditTag)) return;
  ShowScale(controls_.tbScaleEditTag);
}

// --- Saving and sending ---

void frmConfigureQuickSetup::MarkParameters() {
  for (std::int32_t n = 0; n < KVBFile::kSlotCount; ++n) set_.SetWorkFlag(n, false);
  if (!template_) return;
  for (const udtBindingData& row : template_->BindingData()) {
    if (IsParameter(row.pBound)) set_.SetWorkFlag(row.pBound, true);
    if (HasParameter(row.pNameBound)) set_.SetWorkFlag(row.pNameBound, true);
    if (HasParameter(row.pScaleBound)) set_.SetWorkFlag(row.pScaleBound, true);
  }
}

bool frmConfigureQuickSetup::bSave_Click() {
  if (!controls_.bSaveEnabled) return false;
  MarkParameters();
  const std::string path = BrowseForFile(true, "Parameter Files Only (*.KVB)|*.KVB|All Files (*.*)|*.*", 1,
                                         "Save to file...", "");
  if (path.empty()) return false;
  const std::string stamp = FormatTimestamp(NowSeconds(), false, false);
  const std::size_t blank = stamp.find(' ');
  set_.SetDescription("Quick Setup Menu Settings, Saved " + stamp.substr(0, blank) + " at " + stamp.substr(blank + 1));
  const ReplaceFileResult saved = set_.SaveKVBFile(path, true);
  if (saved) return true;
  ShowSaveFailure(path, saved.Reason);
  return false;
}

// Address 0 is a broadcast: every drive on the line would take these settings, and none would answer.
bool frmConfigureQuickSetup::bApply_Click() {
  if (!controls_.bApplyEnabled) return false;
  const std::uint8_t address = SettingsAddress();
  if (!AddressesOneDrive(address)) {
    ShowInvalidAddress();
    return false;
  }
  const std::shared_ptr<GIOContext> ctx = services_.Server->OpenContext(address, -1);
  MarkParameters();
  bool sent = DriveVersionMatches(*ctx) && ValuesWritable() && WriteValues(*ctx);
  if (sent) sent = WriteCustomNames(*ctx);
  ctx->CloseContext();
  return sent;
}

// Binding parameter numbers differ between versions: settings built for one must not reach another,
// nor settings uploaded from a drive that has been flashed since.
bool frmConfigureQuickSetup::DriveVersionMatches(GIOContext& ctx) {
  const std::int32_t sv = FirmwareCompatibility().SoftwareVersion();
  const udtDriveResponse read = ctx.ReadValue(MenuOf(sv), PramOf(sv));
  if (read.Error) {
    Ui().MsgBox("Drive not responding or not connected.", vbExclamation, "Connection Error");
    return false;
  }
  const std::string drive = VersionText(read.sglData);
  const std::string own = VersionText(LeadingNumber(set_.Value(sv)));
  if (drive == own) return true;
  Ui().MsgBox("The drive runs firmware version " + drive + "; these settings are for version " + own +
                  ". Nothing was sent.",
              vbOKOnly, kWizardError);
  return false;
}

// Checked before the first write, so a value that would go out as a made-up 0 leaves the drive as it was.
bool frmConfigureQuickSetup::ValuesWritable() {
  for (std::int32_t n = 0; n < KVBFile::kSlotCount; ++n) {
    if (!set_.WorkFlag(n) || set_.ReadOnly(n)) continue;
    if (!ParameterDownload::RawValue(set_.Value(n), set_.PAD(n))) {
      ShowWriteError();
      return false;
    }
  }
  return true;
}

bool frmConfigureQuickSetup::WriteValues(GIOContext& ctx) {
  for (std::int32_t n = 0; n < KVBFile::kSlotCount; ++n) {
    if (!set_.WorkFlag(n) || set_.ReadOnly(n)) continue;
    const std::int16_t raw = ParameterDownload::RawValue(set_.Value(n), set_.PAD(n)).value_or(0);
    if (ctx.WriteValue(MenuOf(n), PramOf(n), raw).Error) {
      ShowWriteError();
      return false;
    }
  }
  return true;
}

bool frmConfigureQuickSetup::WriteCustomNames(GIOContext& ctx) {
  for (const udtBindingData& row : template_->BindingData()) {
    const std::int32_t n = row.pNameBound;
    if (!HasParameter(n) || set_.ReadOnly(n)) continue;
    std::string text = ValueNameAt(n, 1).substr(0, kCustomNameLength);
    text.resize(kCustomNameLength, ' ');
    if (ctx.WriteDVD(MenuOf(n), PramOf(n), 1, text).Error) {
      ShowWriteError();
      return false;
    }
  }
  return true;
}

void frmConfigureQuickSetup::ShowWriteError() const {
  Ui().MsgBox("Error occured while writing the data back to the drive.", vbOKOnly, kWizardError);
}

// --- Preview ---

void frmConfigureQuickSetup::ResetPreview() {
  controls_.lblTooltipVisible = false;
  controls_.PreviewPosition = 0;
  DrawPreview();
}

std::int32_t frmConfigureQuickSetup::SlotAtPreviewPosition(std::int32_t position) const {
  if (position <= 0 || position > static_cast<std::int32_t>(controls_.lbM00.size())) return 0;
  return controls_.lbM00[position - 1].Data;
}

void frmConfigureQuickSetup::MovePreview(bool up) {
  const auto isSet = [this](std::int32_t position) {
    const auto shown = ShownParameter(Row(SlotAtPreviewPosition(position)));
    return shown && *shown != 0;
  };
  controls_.PreviewPosition = MovePreviewPosition(controls_.PreviewPosition, up,
                                                  static_cast<std::int32_t>(controls_.lbM00.size()), isSet);
  DrawPreview();
}

void frmConfigureQuickSetup::DrawPreview() {
  const std::int32_t position = controls_.PreviewPosition;
  const std::int32_t slot = SlotAtPreviewPosition(position);
  const udtBindingData row = Row(slot);
  const std::optional<std::int32_t> shown = ShownParameter(row);
  const bool showsParameter = shown && *shown != 0;
  controls_.PreviewLine1 = KeypadDisplayText(position == 0 ? "QUICK SETUP MENU" : DisplayName(row));
  if (!showsParameter) {
    controls_.PreviewLine2 = KeypadDisplayText(KeypadIdLine(slot));
    controls_.lblTooltipVisible = false;
    return;
  }
  const std::int32_t p = *shown;
  if (controls_.chkPreviewShowData) ReadLiveValue(p);
  const std::string line2 = set_.NumDVDs(p) < 1 ? KeypadNumberLine(slot, PreviewNumberText(p, row))
                                                 : KeypadValueNameLine(slot, ValueNameAt(p, LeadingNumber(set_.Value(p))));
  controls_.PreviewLine2 = KeypadDisplayText(line2);
  controls_.lblTooltipVisible = !set_.Identifier(p).empty();
  controls_.lblTooltip = " = " + set_.Identifier(p);
  if (HasParameter(row.pScaleBound)) {
    controls_.lblTooltip += " x " + FormatNumber(LeadingNumber(set_.Value(row.pScaleBound)), "0.000");
  }
  controls_.lblTooltip += " ";
}

std::string frmConfigureQuickSetup::PreviewNumberText(std::int32_t p, const udtBindingData& row) const {
  const std::string& pad = set_.PAD(p);
  if (pad.empty()) return set_.Value(p);
  if (!HasParameter(row.pScaleBound)) return FormatFixedPointText(set_.Value(p), pad);
  return FormatFixedPointText(LeadingNumber(set_.Value(p)) * LeadingNumber(set_.Value(row.pScaleBound)), pad);
}

void frmConfigureQuickSetup::ReadLiveValue(std::int32_t p) {
  const std::uint8_t address = SettingsAddress();
  if (!AddressesOneDrive(address)) return;
  const std::shared_ptr<GIOContext> ctx = services_.Server->OpenContext(address, -1);
  const udtDriveResponse value = ctx->ReadValue(MenuOf(p), PramOf(p));
  if (!value.Error) {
    set_.SetValue(p, SingleToText(value.sglData));
    const udtDriveResponse pad = ctx->ReadPAD(MenuOf(p), PramOf(p));
    if (!pad.Error) set_.SetPAD(p, pad.strData);
  }
  ctx->CloseContext();
}

}  // namespace quendrel
