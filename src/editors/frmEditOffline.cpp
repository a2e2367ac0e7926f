#include "editors/frmEditOffline.h"

#include <algorithm>
#include <cctype>

#include "editors/FileEditorDialogs.h"
#include "editors/ValueRefusal.h"
#include "foundation/files/BrowseForFile.h"
#include "foundation/settings/Config.h"
#include "foundation/text/FixedPoint.h"
#include "foundation/text/NumberText.h"
#include "foundation/text/ParameterId.h"
#include "params/transfer/ParameterBinding.h"
#include "platform/KeyCodes.h"
#include "platform/UiServices.h"

namespace quendrel {

namespace {

constexpr const char* kWindowCaption = "Edit Parameter File (Offline)";

bool IsDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

// "M##P00": a menu header, whatever the slot number says.
bool IsMenuHeaderId(const std::string& id) {
  return id.size() == 6 && id[0] == 'M' && IsDigit(id[1]) && IsDigit(id[2]) && id.compare(3, 3, "P00") == 0;
}

// A bit parameter is keyed like a plain one, so that a mirror lookup by parameter number finds it.
std::string NodeKey(std::string id) {
  std::replace(id.begin(), id.end(), 'B', 'P');
  return id;
}

std::string ParentKey(const std::string& id) { return IsMenuHeaderId(id) ? std::string() : id.substr(0, 3) + "P00"; }

}  // namespace

frmEditOffline::frmEditOffline(std::shared_ptr<ParameterTree> tree, const ImageList* icons)
    : tree_(std::move(tree)), icons_(icons) {
  tree_->SetEvents(this);
}

frmEditOffline::~frmEditOffline() { tree_->SetEvents(nullptr); }

void frmEditOffline::Form_Load() {
  tree_->Clear();
  tree_->SetAutoGray(true);
  if (icons_ != nullptr) tree_->SetIconList(icons_);
  unsaved_ = false;
  set_ = KVBFile();
  file_.clear();
  controls_.tbFileNameText.clear();
}

bool frmEditOffline::Form_QueryUnload() { return MayDiscard(); }

void frmEditOffline::Form_Unload() { Config().SetValue("LastPramFile", "Files", controls_.tbFileNameText); }

// --- Binding guards ---

// The parameter whose value slot n shows; a slot that is unset or points outside the file shows only
// itself.
std::int32_t frmEditOffline::Shown(std::int32_t n) const { return GetPresentBoundParameter(set_, n); }

bool frmEditOffline::Editable(std::int32_t n) const { return n % 100 != 0 && !ShowsReadOnly(set_, n); }

// --- Files ---

bool frmEditOffline::MayDiscard() {
  return !unsaved_ || AskSaveChanges(Caption, file_, [this] { return bSaveFile_Click(); });
}

void frmEditOffline::bBrowse_Click() {
  if (MayDiscard()) Browse();
}

void frmEditOffline::bLoadFile_Click() {
  if (!MayDiscard()) return;
  if (controls_.tbFileNameText.empty()) {
    Browse();
    return;
  }
  Load(controls_.tbFileNameText);
}

// The user already decided about unsaved edits for the click that led here.
void frmEditOffline::Browse() {
  const std::string path = BrowseForFile(false, ParameterFileFilter, 1, "Select Parameter File...", "");
  if (path.empty()) return;
  if (Load(path)) controls_.tbFileNameText = path;
}

// The file is read into a set of its own: one that does not load (the file says why in one box) leaves
// the window's set, tree, description and unsaved edits as they were, so a later save cannot write an
// emptied set over a good file.
bool frmEditOffline::Load(const std::string& path) {
  KVBFile loaded;
  if (!loaded.LoadKVBFile(path)) return false;
  set_ = std::move(loaded);
  file_ = path;
  tree_->Clear();
  controls_.tbDescriptionText = set_.Description();
  BuildTree();
  unsaved_ = false;
  tree_->Refresh();
  return true;
}

bool frmEditOffline::bSaveFile_Click() {
  const std::string path = SaveSetAs(set_, "Save Parameter File...", false);
  if (path.empty()) return false;
  controls_.tbFileNameText = file_ = path;
  unsaved_ = false;
  return true;
}

void frmEditOffline::tbDescription_Change(const std::string& text) {
  controls_.tbDescriptionText = text;
  set_.SetDescription(text);
  unsaved_ = true;
}

// --- Tree ---

void frmEditOffline::BuildTree() {
  for (std::int32_t n = 0; n < KVBFile::kSlotCount; ++n) {
    if (set_.Identifier(n).empty() || set_.SecurityLevel(Shown(n)) >= 3) continue;
    AddSlotNode(n);
  }
  slotTargets_.Take(set_);
}

void frmEditOffline::AddSlotNode(std::int32_t n) {
  const std::string& id = set_.Identifier(n);
  const std::string key = NodeKey(id);
  // A damaged file may name one parameter twice: the first slot keeps the node.
  if (tree_->FindNode(key) != nullptr) return;
  ParameterTreeNode& node = tree_->AddNode(key, ParentKey(id), id);
  node.SetTag(static_cast<std::int16_t>(n));
  if (n % 100 == 0) node.SetEnabled(false);
  ShowParameter(node, n);
}

// What slot n shows: caption, icon, digits, value and value names all come from one parameter, so a
// slot's row never shows one parameter's value under another's name.
void frmEditOffline::ShowParameter(ParameterTreeNode& node, std::int32_t n) const {
  const std::int32_t shown = Shown(n);
  node.SetCaption(set_.Identifier(n) + ": " + set_.Name(shown));
  if (n % 100 != 0) node.SetGreyed(set_.ReadOnly(shown));
  node.SetIcon(set_.IconName(shown));
  // The digits follow the parameter whose value the node shows, so a bound slot's value is not
  // rounded to the slot's own places (and written back rounded on the next commit).
  node.SetFormatString(FixedPointFormat(set_.PAD(shown)));
  node.SetValue(static_cast<float>(LeadingNumber(set_.Value(shown))));
  node.ClearDVDs();
  ShowValueNames(node, shown);
}

void frmEditOffline::ShowValueNames(ParameterTreeNode& node, std::int32_t shown) const {
  const std::int32_t from = set_.NumDVDs(shown) > 0 ? shown : Shown(shown);
  for (std::int32_t i = 0; i < set_.NumDVDs(from); ++i) node.AddDVD(static_cast<std::int16_t>(i), set_.DVD(from, i));
}

// A pointer edited in the file moves its slot: the slot's row takes the parameter it names now.
void frmEditOffline::FollowPointers() {
  bool renamed = false;
  for (const std::int32_t slot : slotTargets_.Follow(set_)) {
    ParameterTreeNode* row = tree_->FindNode(ParameterIdText(slot));
    if (row == nullptr || row->Tag() != slot) continue;
    ShowParameter(*row, slot);
    row->SetDirty(true);
    renamed = true;
  }
  if (renamed) tree_->Refresh();  // a longer caption moves the value column
}

// The node's digits are those of the parameter it shows, so its PAD decides what a register holds.
void frmEditOffline::pTree_ValueCommit(ParameterTreeNode& node) {
  if (!Editable(node.Tag())) return;
  const std::int32_t shown = Shown(node.Tag());
  if (!FitsParameterWord(node, set_.PAD(shown))) {
    node.SetValue(static_cast<float>(LeadingNumber(set_.Value(shown))));
    ShowValueRefused(kWindowCaption);
    return;
  }
  Store(node);
}

void frmEditOffline::pTree_ValueRefused(ParameterTreeNode& node) {
  (void)node;
  ShowValueRefused(kWindowCaption);
}

// A parameter and every slot showing it hold one drive parameter, so each of their entries in the set
// and each of their rows (with a bit's icon) take the new value. A row may be absent from the tree:
// the set is still written.
void frmEditOffline::Store(ParameterTreeNode& node) {
  const float value = node.Value();
  for (const std::int32_t n : StoreSharedValue(set_, node.Tag(), SingleToText(value))) {
    ParameterTreeNode* row = n == node.Tag() ? &node : tree_->FindNode(ParameterIdText(n));
    if (row == nullptr) continue;
    row->SetValue(value);
    row->SetIcon(set_.IconName(Shown(row->Tag())));
    row->SetDirty(true);
  }
  FollowPointers();
  unsaved_ = true;
  tree_->RepaintDirty();
}

void frmEditOffline::pTree_DblClick() {
  ParameterTreeNode* node = tree_->Selected();
  if (node == nullptr || !Editable(node->Tag())) return;
  if (node->DVDCount() != 0) {
    tree_->SelectCurrentValue();
    return;
  }
  // A slot that shows a bit toggles like the bit itself.
  if (!set_.BitPram(Shown(node->Tag()))) {
    tree_->EditCurrentValue();
    return;
  }
  node->SetValue(node->Value() != 0.0F ? 0.0F : 1.0F);
  node->SetIcon("bitpram" + SingleToText(node->Value()));
  Store(*node);
}

void frmEditOffline::pTree_KeyUp(int KeyCode, int Shift) {
  (void)Shift;
  if (KeyCode == vbKeyReturn) pTree_DblClick();
}

}  // namespace quendrel
