// Keys, mouse and in-place editing of the parameter tree.
#include <cmath>

#include "foundation/text/NumberText.h"
#include "foundation/values/RuntimeError.h"
#include "tree/ParameterTree.h"
#include "tree/TreeRenderFlags.h"

namespace quendrel {
namespace {

constexpr float Tw(double pixels) { return static_cast<float>(pixels * TreeTwipsPerPixel); }
std::int32_t Nearest(double value) { return RoundHalfEven(value); }

bool IsArrowKey(int keyCode) { return keyCode >= vbKeyLeft && keyCode <= vbKeyDown; }

[[noreturn]] void NoSelection() {
  throw RuntimeError(91, "ParameterTree", "Object variable or With block variable not set");
}

}  // namespace

// --- Keys ---

void ParameterTree::CanvasKeyUp(int KeyCode, int Shift) {
  if (!enabled_) return;
  ActionScope scope(*this);
  if (dragMarked_) AdoptDragMark();
  ParameterTreeNode* sel = FindSelectedNode();
  if (sel == nullptr) {
    if (!IsArrowKey(KeyCode)) return;
    const std::uint64_t generation = generation_;
    SelectNode(First());
    if (generation != generation_) return;
    FinishKey(KeyCode, Shift, true);
    return;
  }
  bool fullRepaint = false;
  if (!KeyAction(*sel, KeyCode, fullRepaint)) return;
  FinishKey(KeyCode, Shift, fullRepaint);
}

bool ParameterTree::KeyAction(ParameterTreeNode& sel, int KeyCode, bool& fullRepaint) {
  const auto select = [&](ParameterTreeNode* node) { return SelectByKey(node, fullRepaint); };
  switch (KeyCode) {
    case vbKeyUp: {
      ParameterTreeNode* previous = FindPrecedingNode(&sel, true);
      if (previous != nullptr && previous != root_) return select(previous);
      fullRepaint = ScrollToSelected();
      return true;
    }
    case vbKeyDown: {
      ParameterTreeNode* next = NextVisibleNode(sel);
      if (next != nullptr) return select(next);
      fullRepaint = ScrollToSelected();
      return true;
    }
    case vbKeyRight:
      if (sel.Child() != nullptr && !sel.Expanded()) {
        sel.SetExpanded(true);
        fullRepaint = true;
        return true;
      }
      if (sel.Child() != nullptr) return select(sel.Child());
      fullRepaint = ScrollToSelected();
      return true;
    case vbKeyLeft:
      if (sel.Child() != nullptr && sel.Expanded()) {
        sel.SetExpanded(false);
        UpdateScrollbars();
        fullRepaint = true;
        return true;
      }
      if (sel.parent() != nullptr && sel.parent() != root_) return select(sel.parent());
      fullRepaint = ScrollToSelected();
      return true;
    case vbKeyPageUp: {
      const std::int32_t target = Nearest(sel.SiteY() - canvasPlace_.Height);
      if (target >= 0) return PageWalk(sel, target, fullRepaint);
      if (&sel == First()) return true;
      return select(First());
    }
    case vbKeyPageDown:
      return PageWalk(sel, Nearest(sel.SiteY() - sel.MinHeight() / 2.0 + canvasPlace_.Height),
                      fullRepaint);
    case vbKeyHome:
      return select(First());
    case vbKeyEnd:
      return select(LastVisibleNode());
    case vbKeySpace:
      if (!checkboxes_) return true;
      return ToggleCheckByKey(sel);
    default:
      return true;
  }
}

bool ParameterTree::PageWalk(ParameterTreeNode& sel, std::int32_t target, bool& fullRepaint) {
  ParameterTreeNode* found = nullptr;
  for (ParameterTreeNode* node = First(); node != nullptr; node = NextVisibleNode(*node)) {
    found = node;
    if (node->SiteY() >= target) break;
  }
  if (found == nullptr || found == &sel) return true;
  return SelectByKey(found, fullRepaint);
}

bool ParameterTree::SelectByKey(ParameterTreeNode* node, bool& fullRepaint) {
  const std::uint64_t generation = generation_;
  SelectNode(node);
  if (generation != generation_) return false;
  fullRepaint = ScrollToSelected();
  return true;
}

bool ParameterTree::ToggleCheckByKey(ParameterTreeNode& sel) {
  const std::int32_t checked = sel.Checked();
  sel.SetChecked(checked == 1 || checked == 2 ? 0 : 1);
  sel.SetDirty(true);
  if (autoGray_) {
    sel.SetChildTreeChecked(sel.Checked());
    root_->UpdateGrayed();
  }
  if (!Raise([&sel](ParameterTreeEvents& events) { events.CheckChanged(sel); })) return false;
  RepaintAll();
  return true;
}

void ParameterTree::FinishKey(int KeyCode, int Shift, bool fullRepaint) {
  if (!Raise([&](ParameterTreeEvents& events) { events.KeyUp(KeyCode, Shift); })) return;
  if (fullRepaint) {
    RepaintAll();
  } else {
    RepaintDirty();
  }
}

// --- Mouse ---

void ParameterTree::CanvasMouseUp(int Button, int Shift, float X, float Y) {
  (void)Button;
  if (!enabled_) return;
  ActionScope scope(*this);
  // The release that ends a double-click belongs to it, not to a new click.
  if (ignoreNextRelease_) {
    ignoreNextRelease_ = false;
    return;
  }
  if (!CommitBeforePointerAction()) return;
  const RowHit hit = RowAt(X, Y);
  if (hit.Kind == HitKind::Outside) {
    if ((Shift & (vbShiftMask | vbCtrlMask)) == 0) {
      root_->DeselectAll();
      ClearCurrent();
    }
    // A drag kept by Shift or Ctrl keeps its mark, which must become current or the arrow
    // keys would move a selection nobody can see and leave the mark behind.
    if (dragMarked_) AdoptDragMark();
    if (!Raise([](ParameterTreeEvents& events) { events.Click(); })) return;
    RepaintDirty();
    return;
  }
  dragMarked_ = false;
  root_->DeselectAll();
  if (hit.Kind == HitKind::PastLastRow) {
    // Nothing is selected now, so nothing may stay current either, or the arrow keys could
    // not select the node that was.
    ClearCurrent();
    RepaintDirty();
    return;
  }
  ParameterTreeNode& node = *hit.Node;
  node.SetSelected(true);
  node.SetFocus(true);
  if (current_ != nullptr && current_ != &node) {
    current_->SetFocus(false);
    current_->SetDirty(true);
  }
  current_ = &node;
  node.SetDirty(true);
  const bool wasExpanded = node.Expanded();
  const std::int32_t wasChecked = node.Checked();
  const bool toggled = node.Click(*canvas_, hit.X - node.SiteX(), hit.Y - node.SiteY(),
                                  (renderFlags_ & rfPlusMinus) != 0);
  if (toggled) {
    RepaintAll();
  } else {
    RepaintDirty();
  }
  if (node.Expanded() != wasExpanded &&
      !Raise([&node](ParameterTreeEvents& events) { events.ExpandChanged(node); })) {
    return;
  }
  if (checkboxes_ && node.Checked() != wasChecked) {
    if (autoGray_) root_->UpdateGrayed();
    if (!Raise([&node](ParameterTreeEvents& events) { events.CheckChanged(node); })) return;
    RepaintAll();
  }
  Raise([](ParameterTreeEvents& events) { events.Click(); });
}

void ParameterTree::CanvasMouseMove(int Button, int Shift, float X, float Y) {
  (void)Shift;
  if (Button == 0 || !enabled_) return;
  // Between the second press of a double-click and its release the pointer moves whenever
  // the hand shakes or the pointer is put on the editor just opened; none of that is a drag,
  // and the release still belongs to the double-click.
  if (ignoreNextRelease_) return;
  ActionScope scope(*this);
  if (!CommitBeforePointerAction()) return;
  const RowHit hit = RowAt(X, Y);
  if (hit.Kind == HitKind::Outside) return;
  root_->DeselectAll();
  dragMarked_ = true;
  if (hit.Kind == HitKind::Row) {
    hit.Node->SetSelected(true);
    hit.Node->SetFocus(true);
    hit.Node->SetDirty(true);
  }
  RepaintDirty();
}

bool ParameterTree::CommitBeforePointerAction() {
  const std::uint64_t generation = generation_;
  CommitEdit();
  return generation == generation_;
}

void ParameterTree::AdoptDragMark() {
  dragMarked_ = false;
  ParameterTreeNode* marked = FindSelectedNode();
  if (marked == current_) return;
  ClearCurrent();
  current_ = marked;
}

void ParameterTree::CanvasDblClick() {
  if (!enabled_) return;
  ActionScope scope(*this);
  Raise([](ParameterTreeEvents& events) { events.DblClick(); });
  ignoreNextRelease_ = true;
}

void ParameterTree::ControlGotFocus() { MarkCurrentFocus(true); }

void ParameterTree::ControlLostFocus() { MarkCurrentFocus(false); }

void ParameterTree::MarkCurrentFocus(bool focus) {
  if (current_ == nullptr) return;
  current_->SetFocus(focus);
  current_->SetDirty(true);
  RepaintDirty();
}

// --- Editing ---

void ParameterTree::EditCurrentValue() {
  ActionScope scope(*this);
  ParameterTreeNode* node = EditableSelection();
  if (node == nullptr) return;
  OpenEditor(*node);
  editor_.TextShown = true;
  const std::string text = node->FormattedValue();
  const bool changed = text != editor_.Text;
  editor_.Text = text;
  NotifyEditors();
  if (changed) {
    const std::uint64_t generation = generation_;
    EditTextChanged(text);
    if (generation != generation_ || !editor_.TextShown) return;
  }
  if (view_ != nullptr) view_->FocusTextEditor();
  PositionEditor();
  MovePointerToEditor(editor_.TextPlace);
}

void ParameterTree::SelectCurrentValue() {
  ActionScope scope(*this);
  ParameterTreeNode* node = EditableSelection();
  if (node == nullptr) return;
  OpenEditor(*node);
  editor_.ListShown = true;
  editor_.Items.clear();
  editor_.ListIndex = -1;
  for (int i = 0; i < node->DVDCount(); ++i) {
    editor_.Items.push_back(node->DVD(static_cast<std::int16_t>(i)));
    if (node->Value() == static_cast<float>(i)) editor_.ListIndex = i;
  }
  NotifyEditors();
  if (view_ != nullptr) view_->FocusListEditor();
  PositionEditor();
  MovePointerToEditor(editor_.ListPlace);
}

ParameterTreeNode* ParameterTree::EditableSelection() const {
  if (!enabled_) return nullptr;
  ParameterTreeNode* node = FindSelectedNode();
  if (node == nullptr) NoSelection();
  return node->Enabled() ? node : nullptr;
}

void ParameterTree::OpenEditor(ParameterTreeNode& node) {
  // Typing changes the node's value as it goes, so the value to go back to is the one from
  // before the first editor opened on it.
  if (!(EditorOpen() && editNode_ == &node)) valueBeforeEdit_ = node.Value();
  editNode_ = &node;
}

void ParameterTree::PositionEditor() {
  const ParameterTreeNode* selected = FindSelectedNode();
  if (selected == nullptr || !EditorOpen()) return;
  const float top = selected->SiteY() - Tw(scroll_.scrolly);
  const float column = selected->Col2X() - Tw(scroll_.scrollx);
  if (editor_.TextShown) {
    const float width = 2.0f * static_cast<float>(selected->Col2X() - selected->MinWidth());
    editor_.TextPlace = {column - width / 2.0f, top, width, static_cast<float>(selected->MinHeight())};
  }
  if (editor_.ListShown) {
    editor_.ListPlace.Left = column - editor_.ListPlace.Width / 2.0f;
    editor_.ListPlace.Top = top;
  }
  NotifyEditors();
}

void ParameterTree::MovePointerToEditor(const TreeRect& place) const {
  if (view_ == nullptr) return;
  const double x = Canvas::TwipsToPixelsX(place.Left) + Canvas::TwipsToPixelsX(place.Width / 2.0f);
  const double y = Canvas::TwipsToPixelsY(place.Top) + Canvas::TwipsToPixelsY(place.Height / 2.0f);
  view_->MovePointer(Tw(Nearest(x)), Tw(Nearest(y)));
}

void ParameterTree::EditTextChanged(const std::string& text) {
  ActionScope scope(*this);
  editor_.Text = text;
  if (!editor_.TextShown || editNode_ == nullptr) return;
  ParameterTreeNode& node = *editNode_;
  node.SetValue(static_cast<float>(LeadingNumber(text)));
  Raise([&node](ParameterTreeEvents& events) { events.ValueChanged(node); });
}

void ParameterTree::EditListChanged(int index) {
  ActionScope scope(*this);
  editor_.ListIndex = index;
  if (!editor_.ListShown || editNode_ == nullptr || index < 0) return;
  ParameterTreeNode& node = *editNode_;
  node.SetValue(static_cast<float>(index));
  Raise([&node](ParameterTreeEvents& events) { events.ValueChanged(node); });
}

void ParameterTree::EditorKeyUp(int KeyCode) {
  if (KeyCode == vbKeyReturn) CommitEdit();
  if (KeyCode == vbKeyEscape) CancelEdit();
}

void ParameterTree::CloseEditors() {
  editor_.TextShown = false;
  editor_.ListShown = false;
  editNode_ = nullptr;
  NotifyEditors();
  if (view_ != nullptr) view_->FocusCanvas();
}

void ParameterTree::CommitEdit() {
  ActionScope scope(*this);
  // Hiding a focused editor makes it lose the focus, which commits again.
  if (committing_ || !EditorOpen()) return;
  committing_ = true;
  ParameterTreeNode* node = editNode_;
  const bool fromText = editor_.TextShown;
  const std::string typed = editor_.Text;
  const int chosen = editor_.ListIndex;
  CloseEditors();
  committing_ = false;
  if (node == nullptr) return;
  if (fromText) {
    const std::optional<float> value = TypedNumberValue(typed);
    if (!value) {
      // Never send a running drive a number the user did not type.
      RestoreValueBeforeEdit(*node);
      Raise([node](ParameterTreeEvents& events) { events.ValueRefused(*node); });
      return;
    }
    node->SetValue(*value);
    if (!Raise([node](ParameterTreeEvents& events) { events.ValueCommit(*node); })) return;
  } else if (chosen >= 0) {
    node->SetValue(static_cast<float>(chosen));
    if (!Raise([node](ParameterTreeEvents& events) { events.ValueCommit(*node); })) return;
  }
  node->SetDirty(true);
  RepaintDirty();
}

void ParameterTree::CancelEdit() {
  ActionScope scope(*this);
  if (!EditorOpen()) return;
  ParameterTreeNode* node = editNode_;
  CloseEditors();
  if (node != nullptr) RestoreValueBeforeEdit(*node);
}

void ParameterTree::RestoreValueBeforeEdit(ParameterTreeNode& node) {
  node.SetValue(valueBeforeEdit_);
  node.SetDirty(true);
  RepaintDirty();
}

}  // namespace quendrel
