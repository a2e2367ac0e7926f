// Helpers for the tree's tests: an event recorder with hooks, and trees built from short
// outlines.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/FakeImageList.h"
#include "platform/RecordingCanvas.h"
#include "tree/ParameterTree.h"
#include "tree/ParameterTreeEvents.h"

namespace quendrel::test {

// Records every event as a short line ("KeyUp 40 0", "Click", "SelectionChanged 2") where the
// node is named by its Caption; hooks run after recording.
class EventLog : public ParameterTreeEvents {
 public:
  explicit EventLog(ParameterTree& tree) : tree_(tree) { tree.SetEvents(this); }
  ~EventLog() override { tree_.SetEvents(nullptr); }

  std::vector<std::string> Lines;
  std::function<void(int& keyCode, int& shift)> OnKeyUp;
  std::function<void()> OnClick;
  std::function<void()> OnDblClick;
  std::function<void(ParameterTreeNode&)> OnExpandChanged;
  std::function<void(ParameterTreeNode&)> OnCheckChanged;
  std::function<void(ParameterTreeNode&)> OnValueCommit;

  void KeyUp(int& KeyCode, int& Shift) override;
  void Click() override;
  void DblClick() override;
  void SelectionChanged(ParameterTreeNode* node) override;
  void ExpandChanged(ParameterTreeNode& node) override;
  void ValueChanged(ParameterTreeNode& node) override;
  void CheckChanged(ParameterTreeNode& node) override;
  void ValueCommit(ParameterTreeNode& node) override;
  void ValueRefused(ParameterTreeNode& node) override;

 private:
  ParameterTree& tree_;
};

// A tree on a recording canvas, owned the way windows own it.
std::shared_ptr<ParameterTree> MakeTree();

// Adds nodes from lines "key parent caption" (parent "-" for the top level); every node's
// caption is its key when no caption is given. Returns nothing; use tree.Node(key).
void AddNodes(ParameterTree& tree, const std::vector<std::string>& lines);
// A new tree holding AddNodes' nodes.
std::shared_ptr<ParameterTree> TreeOf(const std::vector<std::string>& lines);

// Menus A, B, C at the top level, each with three parameters (A1..A3, ...), A and B expanded.
void AddMenus(ParameterTree& tree);

// A tree with AddMenus' nodes, laid out and drawn.
std::shared_ptr<ParameterTree> MenuTree();

// Everything a row can show: menus M0, M1, ... of eight parameters (M0P0 ...) with every icon
// kind, plain, formatted and named values, check marks in all three states, bold and grey
// rows, and M?P5 nested under M?P4 so that lines pass rows far from where they start. M0 and
// M1 are expanded.
void FillSample(ParameterTree& tree, int menus);

RecordingCanvas& Recording(const ParameterTree& tree);

// The log lines that start with a prefix.
std::vector<std::string> LinesStartingWith(const RecordingCanvas& canvas, const std::string& prefix);

// The number of the RuntimeError the action raises, 0 when it raises none.
int ErrorNumberOf(const std::function<void()>& action);

// A list of the seven parameter icons and "blank", each in its own colour.
std::unique_ptr<FakeImageList> MakeIcons(int size = 16);

// Canvas position (twips) of the middle of a row's caption area.
float RowMiddleY(const ParameterTree& tree, const ParameterTreeNode& node);

}  // namespace quendrel::test
