// What a parameter tree tells its host window about the user's actions, raised after the
// tree has changed the node; the host acts on the node's fields and asks for a repaint.
#pragma once

namespace quendrel {

class ParameterTreeNode;

class ParameterTreeEvents {
 public:
  virtual ~ParameterTreeEvents() = default;

  // Both by reference: a host may swallow the key by setting KeyCode to 0.
  virtual void KeyUp(int& KeyCode, int& Shift) { (void)KeyCode, (void)Shift; }
  virtual void Click() {}
  virtual void DblClick() {}
  // node is null when the selection was taken away.
  virtual void SelectionChanged(ParameterTreeNode* node) { (void)node; }
  virtual void ExpandChanged(ParameterTreeNode& node) { (void)node; }
  virtual void ValueChanged(ParameterTreeNode& node) { (void)node; }
  virtual void CheckChanged(ParameterTreeNode& node) { (void)node; }
  virtual void ValueCommit(ParameterTreeNode& node) { (void)node; }
  // The typed text was no value to send (no number, or digits left over after it): the node is back
  // at its value from before the edit and nothing was committed; the host says so.
  virtual void ValueRefused(ParameterTreeNode& node) { (void)node; }
};

}  // namespace quendrel
