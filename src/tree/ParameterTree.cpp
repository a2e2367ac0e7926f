#include "tree/ParameterTree.h"

#include <array>
#include <utility>

#include "foundation/text/NumberText.h"
#include "foundation/values/RuntimeError.h"
#include "platform/RecordingCanvas.h"
#include "tree/TreeRenderFlags.h"

namespace quendrel {
namespace {

// RenderFlags of the Appearance presets 1..8.
constexpr std::array<std::int32_t, 8> kPresetFlags = {6, 22, 7, 14, 15, 30, 23, 31};

std::unique_ptr<Canvas> MakeRecordingCanvas(int pixelWidth, int pixelHeight) {
  return std::make_unique<RecordingCanvas>(pixelWidth, pixelHeight);
}

// The stored settings, read back in this order.
constexpr PropertyKey<std::int32_t> kScrollBarsKey{"ScrollBars", 4};
constexpr PropertyKey<std::int32_t> kAppearanceKey{"Appearance", 8};
constexpr PropertyKey<bool> kCheckboxesKey{"Checkboxes", false};
constexpr PropertyKey<bool> kAutoGrayKey{"AutoGray", false};
constexpr PropertyKey<std::int32_t> kIndentKey{"Indent", 165};
const PropertyKey<std::string> kIconListKey{"IconList", ""};
const PropertyKey<CanvasFont> kFontKey{"Font", CanvasFont()};

}  // namespace

ParameterTree::ParameterTree(CanvasFactory factory)
    : factory_(factory ? std::move(factory) : CanvasFactory(MakeRecordingCanvas)) {
  canvasPlace_ = {0.0f, 0.0f, static_cast<float>(width_), static_cast<float>(height_)};
  vbar_.Place = {0.0f, 0.0f, BarThickness, static_cast<float>(height_)};
  hbar_.Place = {0.0f, 0.0f, static_cast<float>(width_), BarThickness};
  EnsureCanvasSize();
  Clear();
  indent_ = 165;
}

ParameterTree::~ParameterTree() {
  view_ = nullptr;
  events_ = nullptr;
}

void ParameterTree::ReleaseRetiredNodes() { retired_.clear(); }

// --- Settings ---

void ParameterTree::SetFont(const CanvasFont& font) {
  font_ = font;
  canvas_->SetFont(font_);
  RepaintAll();
}

void ParameterTree::SetIconList(const ImageList* list) {
  iconList_ = list;
  RepaintAll();
}

std::int32_t ParameterTree::ScrollBars() const {
  if (designMode_ && (scrollBars_ & 4) != 0) return 4;
  return scrollBars_;
}

void ParameterTree::SetScrollBars(std::int32_t value) {
  scrollBars_ = value;
  RepaintAll();
}

void ParameterTree::SetCheckboxes(bool on) {
  checkboxes_ = on;
  RepaintAll();
}

void ParameterTree::SetAutoGray(bool on) {
  autoGray_ = on;
  if (on) root_->UpdateGrayed();
  RepaintAll();
}

void ParameterTree::SetIndent(std::int16_t twips) {
  indent_ = twips;
  RepaintAll();
}

std::int32_t ParameterTree::Appearance() const {
  for (std::size_t i = 0; i < kPresetFlags.size(); ++i) {
    if (kPresetFlags[i] == renderFlags_) return static_cast<std::int32_t>(i) + 1;
  }
  return 0;
}

void ParameterTree::SetAppearance(std::int32_t preset) {
  const bool known = preset >= 1 && preset <= static_cast<std::int32_t>(kPresetFlags.size());
  renderFlags_ = known ? kPresetFlags[static_cast<std::size_t>(preset - 1)] : 0;
  RepaintAll();
}

void ParameterTree::SetRenderFlags(std::int32_t flags) {
  renderFlags_ = flags;
  RepaintAll();
}

void ParameterTree::SetEnabled(bool enabled) {
  if (!enabled) {
    // Hosts disable the tree when the drive is gone: an edit in progress can no longer be
    // written, so it is taken back rather than committed.
    CancelEdit();
    ignoreNextRelease_ = false;
  }
  enabled_ = enabled;
  NotifyControls();
  Refresh();
}

void ParameterTree::Resize(std::int32_t widthTwips, std::int32_t heightTwips) {
  width_ = widthTwips;
  height_ = heightTwips;
  canvasPlace_ = {0.0f, 0.0f, static_cast<float>(width_), static_cast<float>(height_)};
  EnsureCanvasSize();
  scroll_.scrollx = 0;
  scroll_.scrolly = 0;
  UpdateScrollbars();
  ScrollToSelected();
  RepaintAll();
}

// --- Persistence ---

void ParameterTree::InitProperties() {
  const bool wasLocked = paintLock_;
  paintLock_ = true;
  scrollBars_ = 4;
  SetAppearance(8);
  indent_ = 165;
  checkboxes_ = false;
  autoGray_ = false;
  iconList_ = nullptr;
  font_ = CanvasFont();
  canvas_->SetFont(font_);
  if (designMode_) CreateSampleTree();
  paintLock_ = wasLocked;
  RepaintAll();
}

void ParameterTree::ReadProperties(const PropertyBag& bag) {
  const bool wasLocked = paintLock_;
  paintLock_ = true;
  scrollBars_ = bag.Read(kScrollBarsKey);
  SetAppearance(bag.Read(kAppearanceKey));
  SetCheckboxes(bag.Read(kCheckboxesKey));
  SetAutoGray(bag.Read(kAutoGrayKey));
  SetIndent(static_cast<std::int16_t>(bag.Read(kIndentKey)));
  const std::string listName = bag.Read(kIconListKey);
  if (!listName.empty()) {
    iconList_ = nullptr;
    for (const NamedImageList& list : containerLists_) {
      if (list.Name == listName) iconList_ = list.List;
    }
  }
  font_ = bag.Read(kFontKey);
  canvas_->SetFont(font_);
  if (designMode_) CreateSampleTree();
  paintLock_ = wasLocked;
  RepaintAll();
}

void ParameterTree::WriteProperties(PropertyBag& bag) const {
  bag.Write(kScrollBarsKey, scrollBars_);
  bag.Write(kAppearanceKey, Appearance());
  bag.Write(kCheckboxesKey, checkboxes_);
  bag.Write(kAutoGrayKey, autoGray_);
  bag.Write(kIndentKey, static_cast<std::int32_t>(indent_));
  std::string listName;
  for (const NamedImageList& list : containerLists_) {
    if (iconList_ != nullptr && list.List == iconList_) listName = list.Name;
  }
  bag.Write(kIconListKey, listName);
  bag.Write(kFontKey, font_);
}

// --- Nodes ---

void ParameterTree::Clear() {
  ++generation_;
  // Nodes of the old tree stay alive until the action that cleared it has finished, so an
  // event handler that clears the tree can still be handed back the node it was given.
  retired_.push_back(std::move(registry_));
  registry_ = Registry();
  if (actionDepth_ == 0) ReleaseRetiredNodes();
  auto root = std::make_shared<ParameterTreeNode>();
  root->SetOwner(this);
  root->SetExpanded(true);
  root->SetCaption("ROOT");
  root->SetDirty(true);
  registry_.emplace("", root);
  root_ = root.get();
  current_ = nullptr;
  dragMarked_ = false;
  rows_.clear();
  if (EditorOpen() || editNode_ != nullptr) CloseEditors();
  scroll_.scrollx = 0;
  scroll_.scrolly = 0;
}

ParameterTreeNode& ParameterTree::AddNode(const std::string& Key, const std::string& strParent,
                                          const std::string& Caption) {
  if (registry_.count(Key) != 0) {
    throw RuntimeError(457, "ParameterTree",
                       "This key is already associated with an element of this collection");
  }
  auto node = std::make_shared<ParameterTreeNode>();
  node->SetOwner(this);
  node->SetCaption(Caption);
  ParameterTreeNode* parent = FindNode(strParent);
  if (parent == nullptr) parent = root_;
  node->Setparent(parent);
  if (parent->Child() == nullptr) {
    parent->SetChild(node.get());
  } else {
    ParameterTreeNode* last = parent->Child();
    while (last->Sibling() != nullptr) last = last->Sibling();
    last->SetSibling(node.get());
  }
  ParameterTreeNode& added = *node;
  registry_.emplace(Key, std::move(node));
  return added;
}

ParameterTreeNode& ParameterTree::Node(const std::string& key) const {
  ParameterTreeNode* node = FindNode(key);
  if (node == nullptr) throw RuntimeError(errInvalidProcedureCall, "ParameterTree", "Invalid procedure call or argument");
  return *node;
}

ParameterTreeNode* ParameterTree::FindNode(const std::string& key) const {
  const auto found = registry_.find(key);
  return found == registry_.end() ? nullptr : found->second.get();
}

ParameterTreeNode* ParameterTree::NextVisibleNode(const ParameterTreeNode& node) {
  if (node.Expanded() && node.Child() != nullptr) return node.Child();
  for (const ParameterTreeNode* at = &node; at != nullptr; at = at->parent()) {
    if (at->Sibling() != nullptr) return at->Sibling();
  }
  return nullptr;
}

ParameterTreeNode* ParameterTree::LastVisibleNode() const {
  ParameterTreeNode* last = nullptr;
  for (ParameterTreeNode* node = First(); node != nullptr; node = NextVisibleNode(*node)) last = node;
  return last;
}

ParameterTreeNode* ParameterTree::FindPrecedingNode(ParameterTreeNode* nRef, bool onlyVisible) const {
  (void)onlyVisible;
  if (nRef == nullptr || nRef == root_ || nRef->parent() == nullptr) return nullptr;
  ParameterTreeNode* parent = nRef->parent();
  if (parent->Child() == nRef) return parent;
  ParameterTreeNode* left = nullptr;
  for (ParameterTreeNode* node = parent->Child(); node != nullptr; node = NextVisibleNode(*node)) {
    if (node == nRef) return left;
    left = node;
  }
  return nullptr;
}

void ParameterTree::CreateSampleTree() {
  Clear();
  root_->SetExpanded(true);
  struct SampleRow {
    const char* key;
    const char* parent;
    const char* icon;
    float value;
  };
  constexpr std::array<SampleRow, 5> kRows = {{{"1", "", "pram", 1.5f},
                                               {"2", "1", "readonly", 20.0f},
                                               {"3", "2", "bitpram0", 0.0f},
                                               {"4", "1", "bitpram1", 1.0f},
                                               {"5", "", "menu", 3.25f}}};
  for (const SampleRow& row : kRows) {
    ParameterTreeNode& node = AddNode(row.key, row.parent, "Sample Node");
    node.SetIcon(row.icon);
    node.SetValue(row.value);
  }
  Node("1").SetExpanded(true);
  Node("5").SetSelected(true);
  RepaintAll();
}

void ParameterTree::ExpandAll() { root_->ExpandAll(); }

void ParameterTree::CollapseAll() {
  root_->CollapseAll();
  root_->SetExpanded(true);
}

ParameterTreeNode* ParameterTree::FindSelectedNode() const {
  // Over the whole tree, collapsed branches included.
  std::vector<ParameterTreeNode*> pending;
  if (root_->Child() != nullptr) pending.push_back(root_->Child());
  while (!pending.empty()) {
    ParameterTreeNode* node = pending.back();
    pending.pop_back();
    if (node->Selected()) return node;
    if (node->Sibling() != nullptr) pending.push_back(node->Sibling());
    if (node->Child() != nullptr) pending.push_back(node->Child());
  }
  return nullptr;
}

void ParameterTree::SelectNode(ParameterTreeNode* node) {
  if (node == current_) return;
  ActionScope scope(*this);
  if (node != nullptr) {
    node->SetFocus(true);
    node->SetSelected(true);
    node->SetDirty(true);
  }
  if (current_ != nullptr) {
    current_->SetFocus(false);
    current_->SetSelected(false);
    current_->SetDirty(true);
  }
  current_ = node;
  Raise([node](ParameterTreeEvents& events) { events.SelectionChanged(node); });
}

void ParameterTree::ClearCurrent() {
  if (current_ == nullptr) return;
  current_->SetFocus(false);
  current_->SetDirty(true);
  current_ = nullptr;
}

}  // namespace quendrel
