#include "editors/frmEditOffline.h"

#include <algorithm>
#include <cctype>

#include "editors/FileEditorDialogs.h"
#include "foundation/BrowseForFile.h"
#include "foundation/Config.h"
#include "foundation/FixedPoint.h"
#include "foundation/NumberText.h"
#include "foundation/ParameterId.h"
#include "params/ParameterBinding.h"
#include "platform/KeyCodes.h"
#include "platform/UiServices.h"

namespace quendrel {

namespace {


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
  controls_.tbFileNameText.clear();
}

bool frmEditOffline::Form_QueryUnload() { return MayDiscard(); }

void frmEditOffline::Form_Unload() { Config().SetValue("LastPramFile", "Files", controls_.tbFileNameText); }

// --- Binding guards ---

// The parameter whose value slot n shows. An unset quick setup slot reads as 0, which would be
// M00P00: such a slot shows only itself.
std::int32_t frmEditOffline::Shown(std::int32_t n) const {
  const std::int32_t shown = GetBoundParameter(set_, n);
  return n != 0 && shown == 0 ? n : shown;
}

// The other side of a binding for an edit of n, n itself when there is none or the slot is unset.
std::int32_t frmEditOffline::Resolved(std::int32_t n) const {
  const std::int32_t r = ResolveBoundParameter(set_, n);
  return n != 0 && r == 0 ? n : r;
}

bool frmEditOffline::Editable(std::int32_t n) const { return n % 100 != 0 && !set_.ReadOnly(n); }

// --- Files ---

bool frmEditOffline::MayDiscard() {
  return !unsaved_ || AskSaveChanges(Caption, controls_.tbFileNameText, [this] { return bSaveFile_Click(); });
}

void frmEditOffline::bBrowse_Click() {
  if (MayDiscard()) Browse();
}

void frmEditOffline::bLoadFile_Click() {
  if (!MayDiscard()) return;
  tree_->Clear();
  if (controls_.tbFileNameText.empty()) {
    Browse();
    return;
  }
  Load();
}

// The user already decided about unsaved edits for the click that led here.
void frmEditOffline::Browse() {
  const std::string path = BrowseForFile(false, ParameterFileFilter, 1, "Select Parameter File...", "");
  if (path.empty()) return;
  controls_.tbFileNameText = path;
  tree_->Clear();
  Load();
}

// A file that does not load leaves an empty set (the file reports why itself), so the tree stays empty.
void frmEditOffline::Load() {
  set_.LoadKVBFile(controls_.tbFileNameText);
  controls_.tbDescriptionText = set_.Description();
  BuildTree();
  unsaved_ = false;
  tree_->Refresh();
}

bool frmEditOffline::bSaveFile_Click() {
  const std::string path = SaveSetAs(set_, "Save Parameter File...", false);
  if (path.empty()) return false;
  controls_.tbFileNameText = path;
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
}

void frmEditOffline::AddSlotNode(std::int32_t n) {
  const std::string& id = set_.Identifier(n);
  const std::string key = NodeKey(id);
  // A damaged file may name one parameter twice: the first slot keeps the node.
  if (tree_->FindNode(key) != nullptr) return;
  ParameterTreeNode& node = tree_->AddNode(key, ParentKey(id), id + ": " + set_.Name(n));
  const std::int32_t shown = Shown(n);
  node.SetTag(static_cast<std::int16_t>(n));
  if (n % 100 == 0) {
    node.SetEnabled(false);
  } else if (set_.ReadOnly(n)) {
    node.SetGreyed(true);
  }
  node.SetIcon(set_.IconName(n));
  // The digits follow the parameter whose value the node shows, so a bound slot's value is not
  // rounded to the slot's own places (and written back rounded on the next commit).
  node.SetFormatString(FixedPointFormat(set_.PAD(shown)));
  node.SetValue(static_cast<float>(LeadingNumber(set_.Value(shown))));
  ShowValueNames(node, shown);
}

void frmEditOffline::ShowValueNames(ParameterTreeNode& node, std::int32_t shown) const {
  const std::int32_t from = set_.NumDVDs(shown) > 0 ? shown : Shown(shown);
  for (std::int32_t i = 0; i < set_.NumDVDs(from); ++i) node.AddDVD(static_cast<std::int16_t>(i), set_.DVD(from, i));
}

void frmEditOffline::pTree_ValueCommit(ParameterTreeNode& node) {
  if (!Editable(node.Tag())) return;
  Store(node);
}

// Both sides of a binding hold one drive parameter, so both entries of the set and both nodes (with a
// bit's icon) take the new value. The other side may be absent from the tree: the set is still written.
void frmEditOffline::Store(ParameterTreeNode& node) {
  const std::int32_t t = node.Tag();
  const std::int32_t r = Resolved(t);
  const std::string text = SingleToText(node.Value());
  set_.SetValue(t, text);
  set_.SetValue(r, text);
  node.SetDirty(true);
  ParameterTreeNode* other = tree_->FindNode(ParameterIdText(r));
  if (other != nullptr && other != &node) {
    other->SetValue(node.Value());
    if (set_.BitPram(t)) other->SetIcon(node.Icon());
    other->SetDirty(true);
  }
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
  if (!set_.BitPram(node->Tag())) {
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
