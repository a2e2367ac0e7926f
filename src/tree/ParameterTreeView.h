// What the tree's core asks of the widgets that show it: to follow its scroll bars, canvas
// geometry and editors, to show what it drew, to move the focus and the mouse pointer.
#pragma once

namespace quendrel {

class ParameterTreeView {
 public:
  virtual ~ParameterTreeView() = default;

  // The scroll bars, the corner frame or the canvas geometry changed.
  virtual void ControlsChanged() = 0;
  // An editor was shown, hidden, filled or moved.
  virtual void EditorsChanged() = 0;
  // The canvas holds a new picture.
  virtual void CanvasDrawn() = 0;
  virtual void FocusCanvas() = 0;
  virtual void FocusTextEditor() = 0;
  virtual void FocusListEditor() = 0;
  // A point of the control, in twips from its top left.
  virtual void MovePointer(float x, float y) = 0;
};

}  // namespace quendrel
