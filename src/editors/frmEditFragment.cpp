#include "editors/frmEditFragment.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

#include "editors/FileEditorDialogs.h"
#include "editors/ValueRefusal.h"
#include "foundation/files/BrowseForFile.h"
#include "foundation/settings/Config.h"
#include "foundation/settings/OptOutMsgBox.h"
#include "foundation/text/BitText.h"
#include "foundation/text/FixedPoint.h"
#include "foundation/text/NumberText.h"
#include "foundation/text/ParameterId.h"
#include "params/compatibility/FirmwareCompatibilityFile.h"
#include "params/compatibility/FirmwareInformationTemplate.h"
#include "params/transfer/ParameterBinding.h"
#include "platform/KeyCodes.h"
#include "platform/UiServices.h"

namespace quendrel {

namespace {

constexpr const char* kWindowCaption = "Build/Edit Fragment File";
constexpr const char* SyntheticHeaderValueName = "         ";
constexpr std::int32_t WritableBit = 16;

float ValueOf(const std::string& text) { return static_cast<float>(LeadingNumber(text)); }

bool Exists(const udtUploadTemplateData& entry) { return entry.Exists && !entry.isHole; }

}  // namespace

frmEditFragment::frmEditFragment(std::shared_ptr<ParameterTree> tree, const ImageList* icons)
    : tree_(std::move(tree)), icons_(icons) {
  tree_->SetEvents(this);
}

frmEditFragment::~frmEditFragment() { tree_->SetEvents(nullptr); }

std::int32_t frmEditFragment::SoftwareVersion() const { return FirmwareCompatibility().SoftwareVersion(); }

void frmEditFragment::Form_Load() {
  FillVersionList();
  tree_->Clear();
  tree_->SetCheckboxes(true);
  tree_->SetAutoGray(true);
  if (icons_ != nullptr) tree_->SetIconList(icons_);
  unsaved_ = false;
  set_ = KVBFile();
}

void frmEditFragment::FillVersionList() {
  controls_.cbFirmwareVersionItems.clear();
  for (const std::string& version : FirmwareCompatibility().VersionList()) {
    controls_.cbFirmwareVersionItems.push_back(SingleToText(ValueOf(version)));
  }
  controls_.cbFirmwareVersionEnabled = true;
  controls_.cbFirmwareVersionIndex = static_cast<int>(controls_.cbFirmwareVersionItems.size()) - 1;
}

// --- Files ---

bool frmEditFragment::AskSaveChanges() {
  return !unsaved_ || quendrel::AskSaveChanges(Caption, file_, [this] { return bSaveFile_Click(); });
}

bool frmEditFragment::Form_QueryUnload() { return AskSaveChanges(); }

void frmEditFragment::bNewFragment_Click() {
  if (!AskSaveChanges()) return;
  controls_.lbPreview.clear();
  const int index = controls_.cbFirmwareVersionIndex;
  const bool listed = index >= 0 && index < static_cast<int>(controls_.cbFirmwareVersionItems.size());
  const float version = listed ? ValueOf(controls_.cbFirmwareVersionItems[static_cast<std::size_t>(index)]) : 0.0F;
  if (!listed || !FirmwareCompatibility().HasFIT(version)) {
    Ui().MsgBox("Exceedingly Puzzling Error", vbExclamation, "Error 1337");
    return;
  }
  set_ = KVBFile();
  file_.clear();
  set_.ClearIdentifiers();
  set_.BuildFromTemplate(version);
  controls_.tbDescriptionText = set_.Description();
  BuildTreeFromFile();
  const std::int32_t sv = SoftwareVersion();
  set_.SetValue(sv, SingleToText(version));
  // A template without the version slot leaves nothing to tick.
  if (ParameterTreeNode* node = tree_->FindNode(ParameterIdText(sv))) {
    node->SetValue(version);
    node->SetChecked(1);
    pTree_CheckChanged(*node);
  }
  tree_->Refresh();
}

void frmEditFragment::bBrowse_Click() {
  if (!AskSaveChanges()) return;
  const std::string path = BrowseForFile(false, ParameterFileFilter, 1, "Select Parameter File", "");
  if (path.empty()) return;
  // A file that does not load (it says why in one box) leaves the window's set, tree, lists and edits
  // as they were, so a later save cannot write an emptied set.
  KVBFile loaded;
  if (!loaded.LoadKVBFile(path)) return;
  set_ = std::move(loaded);
  tree_->Clear();
  controls_.tbDescriptionText = set_.Description();
  const std::int32_t sv = SoftwareVersion();
  std::shared_ptr<const FirmwareInformationTemplate> fit;
  if (!set_.Identifier(sv).empty()) {
    const std::string& version = set_.Value(sv);
    const auto& items = controls_.cbFirmwareVersionItems;
    for (std::size_t i = 0; i < items.size(); ++i) {
      if (items[i] == version) controls_.cbFirmwareVersionIndex = static_cast<int>(i);
    }
    fit = FirmwareCompatibility().FitData(ValueOf(version));
  }
  BuildTreeFromFilePlusFIT(fit.get());
  Config().SetValue("LastPramFile", "Files", path);
  file_ = path;
  unsaved_ = false;
}

bool frmEditFragment::bSaveFile_Click() {
  const std::string path = SaveSetAs(set_, "Save Fragment File", true);
  if (path.empty()) return false;
  Config().SetValue("LastPramFile", "Files", path);
  file_ = path;
  unsaved_ = false;
  return true;
}

void frmEditFragment::tbDescription_Change(const std::string& text) {
  controls_.tbDescriptionText = text;
  set_.SetDescription(text);
  unsaved_ = true;
}

// --- Building the tree ---

void frmEditFragment::BuildTreeFromFilePlusFIT(const FirmwareInformationTemplate* fit) {
  const std::int32_t sv = SoftwareVersion();
  if (set_.Identifier(sv).empty()) {
    set_.SetIdentifier(sv, ParameterIdText(sv));
    set_.SetName(sv, "(Software Version)");
    set_.SetPAD(sv, "1000001000011011");
    set_.SetValue(sv, "0");
  }
  for (std::int32_t n = 0; n < KVBFile::kSlotCount; ++n) {
    if (!set_.Identifier(n).empty()) {
      set_.SetWorkFlag(n, true);
    } else if (fit != nullptr) {
      set_.SetValue(n, "0");
    }
    if (fit != nullptr) CopyTemplateEntry(n, *fit);
  }
  if (fit != nullptr) SetWritable(sv);
  BuildTreeFromFile();
}

void frmEditFragment::CopyTemplateEntry(std::int32_t n, const FirmwareInformationTemplate& fit) {
  const udtUploadTemplateData& entry = fit.Template(n);
  if (!Exists(entry)) return;
  set_.SetName(n, entry.sName);
  set_.SetIdentifier(n, ParameterIdText(n));
  if (entry.iNumDVDs > 0) {
    set_.ClearDVDs(n);
    for (std::int32_t i = 0; i < entry.iNumDVDs; ++i) set_.AddDVD(n, i, entry.sDVD[static_cast<std::size_t>(i)]);
  }
  set_.SetPAD(n, LongToBinaryString(entry.iPad, false));
}

void frmEditFragment::SetWritable(std::int32_t n) {
  set_.SetPAD(n, LongToBinaryString(BinaryStringToLong(set_.PAD(n)) | WritableBit, false));
}

// A slot and the parameter it shows are one value on a drive, and a download writes the parameter's
// value through every slot showing it. So each such group takes one value before the rows show it: the
// first ticked one's (what a saved fragment holds), the parameter's own first; else the first value.
void frmEditFragment::ShareSlotValues() {
  std::set<std::int32_t> shared;
  for (const std::int32_t slot : BindingSlots(set_)) {
    const std::int32_t shown = GetPresentBoundParameter(set_, slot);
    if (shown == slot || !shared.insert(shown).second) continue;
    const std::vector<std::int32_t> group = SharedValueEntries(set_, shown);
    const auto held = [this](std::int32_t n) { return set_.WorkFlag(n) && HasLeadingNumber(set_.Value(n)); };
    const auto numbered = [this](std::int32_t n) { return HasLeadingNumber(set_.Value(n)); };
    auto from = std::find_if(group.begin(), group.end(), held);
    if (from == group.end()) from = std::find_if(group.begin(), group.end(), numbered);
    if (from != group.end()) StoreSharedValue(set_, shown, set_.Value(*from));
  }
}

void frmEditFragment::BuildTreeFromFile() {
  tree_->Clear();
  controls_.lbPreview.clear();
  ShareSlotValues();
  slotTargets_.Take(set_);
  for (std::int32_t n = 0; n < KVBFile::kSlotCount; ++n) {
    if (set_.Identifier(n).empty() || set_.SecurityLevel(n) > 2) continue;
    const std::int32_t header = n / 100 * 100;
    if (set_.Identifier(header).empty()) AddSyntheticHeader(header);
    AddSlotNode(n);
  }
  tree_->Refresh();
}

// A menu whose header the file lacks still needs a parent node; it goes into the set as well so that
// a direct tick saves it.
void frmEditFragment::AddSyntheticHeader(std::int32_t header) {
  const std::string key = ParameterIdText(header);
  ParameterTreeNode& node = tree_->AddNode(key, "", key);
  node.SetEnabled(false);
  node.SetGreyed(false);
  if (icons_ != nullptr) node.SetIcon("menu");
  node.AddDVD(0, SyntheticHeaderValueName);
  node.SetExpanded(true);
  node.SetTag(static_cast<std::int16_t>(header));
  set_.SetIdentifier(header, key);
  set_.SetValue(header, "0");
  set_.AddDVD(header, 0, SyntheticHeaderValueName);
}

// Keys are the slot numbers' own texts, so a bit parameter ("M03B07") is found by number and two
// slots claiming one identifier in a damaged file still get a node each.
void frmEditFragment::AddSlotNode(std::int32_t n) {
  const std::string parent = n % 100 == 0 ? std::string() : ParameterIdText(n / 100 * 100);
  ParameterTreeNode& node = tree_->AddNode(ParameterIdText(n), parent, set_.Identifier(n) + ": " + set_.Name(n));
  for (std::int32_t i = 0; i < set_.NumDVDs(n); ++i) node.AddDVD(static_cast<std::int16_t>(i), set_.DVD(n, i));
  node.SetTag(static_cast<std::int16_t>(n));
  // A slot's value is in the scale of the parameter it shows, which is the scale a download writes.
  node.SetFormatString(FixedPointFormat(set_.PAD(GetPresentBoundParameter(set_, n))));
  node.SetValue(ValueOf(set_.Value(n)));
  // A template's slots come without values; the set then holds what the row and the preview show,
  // so a saved fragment never carries a value a download would have to skip.
  if (!HasLeadingNumber(set_.Value(n))) set_.SetValue(n, SingleToText(node.Value()));
  node.SetChecked(set_.WorkFlag(n) ? 1 : 0);
  pTree_CheckChanged(node);
  node.SetEnabled(!ShowsReadOnly(set_, n));
  node.SetGreyed(n % 100 != 0 && !node.Enabled());
  ShowIcon(node);
}

void frmEditFragment::ShowIcon(ParameterTreeNode& node) const {
  if (icons_ == nullptr) return;
  const std::int32_t n = node.Tag();
  if (set_.BitPram(n)) {
    node.SetIcon((node.Enabled() ? "bitpram" : "readonlybit") + std::string(node.Value() != 0.0F ? "1" : "0"));
  } else if (n % 100 == 0) {
    node.SetIcon("menu");
  } else {
    node.SetIcon(node.Enabled() ? "pram" : "readonly");
  }
}

// --- Ticks and the preview list ---

// With AutoGray the tree has already ticked the descendants when this arrives; passing the tick on
// here keeps their work flags and preview lines in step, one level down.
// Each child's tick regrays this node, so the direct tick is taken before they change.
void frmEditFragment::pTree_CheckChanged(ParameterTreeNode& node) {
  const bool ticked = node.Checked() == 1;
  if (node.Child() != nullptr) {
    if (cascade_) return;
    cascade_ = true;
    for (ParameterTreeNode* child = node.Child(); child != nullptr; child = child->Sibling()) {
      child->SetChecked(ticked ? 1 : 0);
      pTree_CheckChanged(*child);
    }
    cascade_ = false;
  }
  if (node.parent() != nullptr && node.parent() != &tree_->Root()) node.parent()->UpdateGrayed();
  const std::int32_t tag = node.Tag();
  RemovePreviewLine(tag);
  if (ticked) controls_.lbPreview.push_back({PreviewText(node), tag});
  set_.SetWorkFlag(tag, ticked);
  unsaved_ = true;
}

std::string frmEditFragment::PreviewText(const ParameterTreeNode& node) const {
  const std::string value = node.DVDCount() > 0 ? node.PrintableValue() : node.FormattedValue();
  return node.Caption() + " <- " + value;
}

void frmEditFragment::RemovePreviewLine(std::int32_t tag) {
  auto& lines = controls_.lbPreview;
  const auto at = std::find_if(lines.begin(), lines.end(), [tag](const PreviewLine& l) { return l.ItemData == tag; });
  if (at != lines.end()) lines.erase(at);
}

void frmEditFragment::RewritePreviewLines(const std::vector<std::int32_t>& entries) {
  for (const std::int32_t n : entries) {
    const ParameterTreeNode* node = tree_->FindNode(ParameterIdText(n));
    if (node == nullptr) continue;
    const auto line = std::find_if(controls_.lbPreview.begin(), controls_.lbPreview.end(),
                                   [node](const PreviewLine& l) { return l.ItemData == node->Tag(); });
    if (line != controls_.lbPreview.end()) line->Text = PreviewText(*node);
  }
}

// --- Edits ---

void frmEditFragment::pTree_ValueCommit(ParameterTreeNode& node) {
  const std::int32_t t = node.Tag();
  if (ShowsReadOnly(set_, t)) return;
  const std::string oldText = set_.Value(t);
  const float old = ValueOf(oldText);
  // The row's digits are those of the parameter it shows, so its PAD decides what a register holds.
  if (!FitsParameterWord(node, set_.PAD(GetPresentBoundParameter(set_, t)))) {
    node.SetValue(old);
    ShowValueRefused(kWindowCaption);
    return;
  }
  const float value = node.Value();
  const std::map<std::int32_t, std::string> before = ValueTexts(SharedValueEntries(set_, t));
  const std::vector<std::int32_t> entries = StoreSharedValue(set_, t, SingleToText(value));
  ShowStored(entries, value);
  const bool versionEdit = std::ranges::find(entries, SoftwareVersion()) != entries.end() && value != old;
  // The question may rebuild the tree, so nodes are looked up again by key afterwards.
  if (!versionEdit || VersionChangeAccepted(value)) {
    RewritePreviewLines(entries);
    FollowPointers();
  } else {
    RestoreValues(before);
  }
  tree_->RepaintDirty();
}

void frmEditFragment::pTree_ValueRefused(ParameterTreeNode& node) {
  (void)node;
  ShowValueRefused(kWindowCaption);
}

std::map<std::int32_t, std::string> frmEditFragment::ValueTexts(const std::vector<std::int32_t>& entries) const {
  std::map<std::int32_t, std::string> texts;
  for (const std::int32_t n : entries) texts[n] = set_.Value(n);
  return texts;
}

// Every row holding the stored value shows it; the set has it already.
void frmEditFragment::ShowStored(const std::vector<std::int32_t>& entries, float value) {
  for (const std::int32_t n : entries) {
    ParameterTreeNode* node = tree_->FindNode(ParameterIdText(n));
    if (node == nullptr) continue;
    node->SetValue(value);
    node->SetDirty(true);
    ShowIcon(*node);
  }
  unsaved_ = true;
}

void frmEditFragment::RestoreValues(const std::map<std::int32_t, std::string>& texts) {
  for (const auto& [n, text] : texts) {
    set_.SetValue(n, text);
    if (ParameterTreeNode* node = tree_->FindNode(ParameterIdText(n))) node->SetValue(ValueOf(text));
  }
}

// A pointer edited in the fragment moves its slot: the slot's row and preview line take the digits and
// the value of the parameter it names now.
void frmEditFragment::FollowPointers() {
  for (const std::int32_t slot : slotTargets_.Follow(set_)) {
    ParameterTreeNode* row = tree_->FindNode(ParameterIdText(slot));
    if (row == nullptr) continue;
    row->SetFormatString(FixedPointFormat(set_.PAD(GetPresentBoundParameter(set_, slot))));
    row->SetValue(ValueOf(set_.Value(slot)));
    row->SetDirty(true);
    RewritePreviewLines({slot});
  }
}

bool frmEditFragment::VersionChangeAccepted(float value) {
  if (value == 0.0F || !FirmwareCompatibility().HasFIT(value)) return true;
  const int answer =
      OptOutMsgBox("A FIT template exists for the new software version you entered. Apply it to the current file?",
                   "Fragment Version Change", vbYesNoCancel | vbQuestion, "FragmentVersionChange", true);
  const std::int32_t sv = SoftwareVersion();
  if (answer == OptOutYes) {
    ApplyTemplate();
    SetWritable(sv);
    return true;
  }
  return answer == OptOutNo;
}

void frmEditFragment::ApplyTemplate() {
  const auto fit = FirmwareCompatibility().FitData(ValueOf(set_.Value(SoftwareVersion())));
  if (fit == nullptr) return;
  for (std::int32_t n = 0; n < KVBFile::kSlotCount; ++n) {
    const udtUploadTemplateData& entry = fit->Template(n);
    if (!Exists(entry)) continue;
    set_.SetPAD(n, LongToBinaryString(entry.iPad, false));
    set_.SetIdentifier(n, ParameterIdText(n));
    set_.SetName(n, entry.sName);
    set_.ClearDVDs(n);
    for (std::int32_t i = 0; i < entry.iNumDVDs; ++i) set_.AddDVD(n, i, entry.sDVD[static_cast<std::size_t>(i)]);
  }
  BuildTreeFromFile();
}

void frmEditFragment::pTree_DblClick() {
  ParameterTreeNode* node = tree_->Selected();
  if (node == nullptr || ShowsReadOnly(set_, node->Tag())) return;
  if (node->DVDCount() > 0) {
    tree_->SelectCurrentValue();
    return;
  }
  // A slot that shows a bit toggles like the bit itself, and the bit's every row and line follow.
  if (!set_.BitPram(GetPresentBoundParameter(set_, node->Tag()))) {
    tree_->EditCurrentValue();
    return;
  }
  const float value = node->Value() != 0.0F ? 0.0F : 1.0F;
  const std::vector<std::int32_t> entries = StoreSharedValue(set_, node->Tag(), SingleToText(value));
  ShowStored(entries, value);
  RewritePreviewLines(entries);
  tree_->RepaintDirty();
}

void frmEditFragment::pTree_KeyUp(int KeyCode, int Shift) {
  (void)Shift;
  if (KeyCode == vbKeyReturn) pTree_DblClick();
}

}  // namespace quendrel
