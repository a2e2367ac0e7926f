// The owner-drawn, scrollable, editable tree in which every window lists drive parameters:
// nodes under an invisible root, found by key, laid out in rows, drawn on one canvas, moved
// through by keys and mouse, edited in place, and reported to the host through its events.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/Canvas.h"
#include "platform/CanvasFont.h"
#include "platform/KeyCodes.h"
#include "tree/ParameterTreeEvents.h"
#include "tree/ParameterTreeNode.h"
#include "tree/ParameterTreeView.h"
#include "tree/TreeControlState.h"
#include "platform/PropertyBag.h"
#include "tree/ptScrollData.h"

namespace quendrel {

class ImageList;

// An image list of the window that holds the tree, by its control name.
struct NamedImageList {
  std::string Name;
  const ImageList* List = nullptr;
};

class ParameterTree : public std::enable_shared_from_this<ParameterTree> {
 public:
  // Makes the canvas whenever its size changes; the default records into a RecordingCanvas.
  using CanvasFactory = std::function<std::unique_ptr<Canvas>(int pixelWidth, int pixelHeight)>;

  static constexpr std::int32_t DefaultWidth = 4800;
  static constexpr std::int32_t DefaultHeight = 3600;
  static constexpr float BarThickness = 255.0f;

  explicit ParameterTree(CanvasFactory factory = {});
  ~ParameterTree();
  ParameterTree(const ParameterTree&) = delete;
  ParameterTree& operator=(const ParameterTree&) = delete;

  // Neither is owned; null detaches.
  void SetEvents(ParameterTreeEvents* events) { events_ = events; }
  void SetView(ParameterTreeView* view) { view_ = view; }

  // --- Settings ---
  const CanvasFont& Font() const { return font_; }
  void SetFont(const CanvasFont& font);
  const ImageList* IconList() const { return iconList_; }
  void SetIconList(const ImageList* list);
  std::int32_t ScrollBars() const;
  void SetScrollBars(std::int32_t value);
  bool Checkboxes() const { return checkboxes_; }
  void SetCheckboxes(bool on);
  bool AutoGray() const { return autoGray_; }
  void SetAutoGray(bool on);
  std::int16_t Indent() const { return indent_; }
  void SetIndent(std::int16_t twips);
  std::int32_t Appearance() const;
  void SetAppearance(std::int32_t preset);
  std::int32_t RenderFlags() const { return renderFlags_; }
  void SetRenderFlags(std::int32_t flags);
  bool Enabled() const { return enabled_; }
  // A disabled tree takes no key or mouse input, opens no editor and raises no event;
  // disabling takes back an edit in progress without committing it.
  void SetEnabled(bool enabled);
  std::int32_t Width() const { return width_; }
  std::int32_t Height() const { return height_; }
  void SetWidth(std::int32_t twips) { Resize(twips, height_); }
  void SetHeight(std::int32_t twips) { Resize(width_, twips); }
  // The control's outer size changed (the widget calls this on every resize).
  void Resize(std::int32_t widthTwips, std::int32_t heightTwips);
  std::int32_t VScroll() const { return scroll_.scrolly; }
  void SetVScroll(std::int32_t pixels);
  std::int32_t HScroll() const { return scroll_.scrollx; }
  void SetHScroll(std::int32_t pixels);
  bool PaintLock() const { return paintLock_; }
  void SetPaintLock(bool locked);
  bool DesignMode() const { return designMode_; }
  void SetDesignMode(bool design) { designMode_ = design; }
  // The image lists of the window holding the tree, searched by name for the saved icon list.
  const std::vector<NamedImageList>& ContainerImageLists() const { return containerLists_; }
  void SetContainerImageLists(std::vector<NamedImageList> lists) { containerLists_ = std::move(lists); }

  // --- Persistence ---
  void InitProperties();
  void ReadProperties(const PropertyBag& bag);
  void WriteProperties(PropertyBag& bag) const;

  // --- Painting ---
  void RepaintAll();
  void RepaintDirty();
  void Refresh();
  // Every visible row drawn, none left out: what a culled drawing must equal.
  void RenderUnculled();
  // The layout pass alone (RepaintAll runs it): sites every visible node.
  void SiteNodes();

  // --- Nodes ---
  void Clear();
  // Raises RuntimeError 457 for a key already registered.
  ParameterTreeNode& AddNode(const std::string& Key, const std::string& strParent,
                             const std::string& Caption);
  // Raises RuntimeError 5 for an unknown key; the empty key gives the root.
  ParameterTreeNode& Node(const std::string& key) const;
  // Null for an unknown key.
  ParameterTreeNode* FindNode(const std::string& key) const;
  ParameterTreeNode& Root() const { return *root_; }
  ParameterTreeNode* First() const { return root_->Child(); }
  ParameterTreeNode* FindPrecedingNode(ParameterTreeNode* nRef, bool onlyVisible) const;
  // The node after node in visible tree order, or null.
  static ParameterTreeNode* NextVisibleNode(const ParameterTreeNode& node);
  ParameterTreeNode* LastVisibleNode() const;
  void CreateSampleTree();
  void ExpandAll();
  void CollapseAll();
  ParameterTreeNode* Selected() const { return FindSelectedNode(); }
  void SetSelected(ParameterTreeNode* node) { SelectNode(node); }
  ParameterTreeNode* FindSelectedNode() const;
  ParameterTreeNode* CurrentNode() const { return current_; }
  std::vector<ParameterTreeNode*> VisibleNodes() const;
  // The rows as the last layout placed them, top to bottom.
  const std::vector<ParameterTreeNode*>& LaidOutRows() const { return rows_; }

  // --- Editing ---
  void EditCurrentValue();
  void SelectCurrentValue();
  void CommitEdit();
  // Takes the edit back: the value from before the editor opened, no commit.
  void CancelEdit();
  bool EditorOpen() const { return editor_.TextShown || editor_.ListShown; }
  ParameterTreeNode* EditNode() const { return editNode_; }

  // --- Input from the widgets (positions in canvas twips) ---
  void CanvasKeyUp(int KeyCode, int Shift);
  void CanvasMouseUp(int Button, int Shift, float X, float Y);
  void CanvasMouseMove(int Button, int Shift, float X, float Y);
  void CanvasDblClick();
  void ControlGotFocus();
  void ControlLostFocus();
  void VScrollBarChanged(int value);
  void HScrollBarChanged(int value);
  void EditTextChanged(const std::string& text);
  void EditListChanged(int index);
  void EditorKeyUp(int KeyCode);
  void EditorClicked() { ignoreNextRelease_ = false; }
  void EditorLostFocus() { CommitEdit(); }

  // --- State for the widgets and tests ---
  Canvas& CanvasRef() const { return *canvas_; }
  const ptScrollData& ScrollData() const { return scroll_; }
  const TreeRect& CanvasPlace() const { return canvasPlace_; }
  const TreeScrollBar& VerticalBar() const { return vbar_; }
  const TreeScrollBar& HorizontalBar() const { return hbar_; }
  bool CornerVisible() const { return cornerVisible_; }
  const TreeRect& CornerPlace() const { return cornerPlace_; }
  const TreeEditorState& Editor() const { return editor_; }
  bool IgnoringNextRelease() const { return ignoreNextRelease_; }
  // Raises SelectionChanged when node is not already current.
  void SelectNode(ParameterTreeNode* node);
  bool ScrollToSelected();

 private:
  using Registry = std::unordered_map<std::string, std::shared_ptr<ParameterTreeNode>>;

  // Held by every action that may raise an event: keeps the tree alive while a host handler
  // runs (a window may close and drop its tree meanwhile) and releases cleared nodes only
  // when the outermost action is over.
  class ActionScope {
   public:
    explicit ActionScope(ParameterTree& tree) : tree_(tree), keepAlive_(tree.weak_from_this().lock()) {
      ++tree_.actionDepth_;
    }
    ~ActionScope() {
      if (--tree_.actionDepth_ == 0) tree_.ReleaseRetiredNodes();
    }
    ActionScope(const ActionScope&) = delete;
    ActionScope& operator=(const ActionScope&) = delete;

   private:
    ParameterTree& tree_;
    std::shared_ptr<ParameterTree> keepAlive_;
  };

  enum class HitKind { Outside, Row, PastLastRow };
  struct RowHit {
    HitKind Kind = HitKind::Outside;
    ParameterTreeNode* Node = nullptr;
    float X = 0.0f;  // unscrolled twips
    float Y = 0.0f;
  };

  // Raises one event; false when the tree was cleared meanwhile, so the action stops.
  template <typename Call>
  bool Raise(Call&& call) {
    if (events_ == nullptr) return true;
    ActionScope scope(*this);
    const std::uint64_t generation = generation_;
    call(*events_);
    return generation == generation_;
  }
  void ReleaseRetiredNodes();

  void UpdateScrollbars();
  void PlaceControls(std::int32_t bars);
  void EnsureCanvasSize();
  void PositionEditor();
  void DrawRows();
  RowHit RowAt(float X, float Y) const;
  void ClearCurrent();
  std::int32_t RowHeight() const { return root_->MinHeight(); }
  void NotifyControls() const;
  void NotifyEditors() const;
  void NotifyDrawn() const;
  void ScrollVerticallyTo(int value);

  bool KeyAction(ParameterTreeNode& sel, int KeyCode, bool& fullRepaint);
  bool PageWalk(ParameterTreeNode& sel, std::int32_t target, bool& fullRepaint);
  // Selects node and scrolls it into view; false when the host cleared the tree meanwhile.
  bool SelectByKey(ParameterTreeNode* node, bool& fullRepaint);
  bool ToggleCheckByKey(ParameterTreeNode& sel);
  void FinishKey(int KeyCode, int Shift, bool fullRepaint);
  // What a release and a drag do first: commit an open editor; false when the host cleared the
  // tree meanwhile.
  bool CommitBeforePointerAction();
  // Ends a drag: the node it marked becomes current, or none is when it marked none.
  void AdoptDragMark();
  void MarkCurrentFocus(bool focus);
  // Raises RuntimeError 91 without a selection; null when the tree or the selected node is
  // disabled.
  ParameterTreeNode* EditableSelection() const;
  void OpenEditor(ParameterTreeNode& node);
  void RestoreValueBeforeEdit(ParameterTreeNode& node);
  void CloseEditors();
  void MovePointerToEditor(const TreeRect& place) const;

  CanvasFactory factory_;
  std::unique_ptr<Canvas> canvas_;
  ParameterTreeEvents* events_ = nullptr;
  ParameterTreeView* view_ = nullptr;

  Registry registry_;
  std::vector<Registry> retired_;
  ParameterTreeNode* root_ = nullptr;
  ParameterTreeNode* current_ = nullptr;
  ParameterTreeNode* editNode_ = nullptr;
  float valueBeforeEdit_ = 0.0f;
  std::vector<ParameterTreeNode*> rows_;
  std::uint64_t generation_ = 0;
  int actionDepth_ = 0;
  bool committing_ = false;

  CanvasFont font_;
  const ImageList* iconList_ = nullptr;
  std::vector<NamedImageList> containerLists_;
  std::int32_t scrollBars_ = 4;
  bool checkboxes_ = false;
  bool autoGray_ = false;
  std::int16_t indent_ = 165;
  std::int32_t renderFlags_ = 31;
  bool enabled_ = true;
  bool designMode_ = false;
  std::int32_t width_ = DefaultWidth;
  std::int32_t height_ = DefaultHeight;

  ptScrollData scroll_;
  TreeRect canvasPlace_;
  TreeScrollBar vbar_;
  TreeScrollBar hbar_;
  bool cornerVisible_ = false;
  TreeRect cornerPlace_{0.0f, 0.0f, BarThickness, BarThickness};
  TreeEditorState editor_;

  bool paintLock_ = false;
  bool repaintPending_ = false;
  bool ignoreNextRelease_ = false;
  // A drag moved the selection mark and no release has made it current yet.
  bool dragMarked_ = false;
};

}  // namespace quendrel
