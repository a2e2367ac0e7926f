#include "tree/support/TreeTestSupport.h"

#include <sstream>

#include "foundation/values/RuntimeError.h"

namespace quendrel::test {
namespace {

std::string NameOf(const ParameterTreeNode* node) { return node == nullptr ? "none" : node->Caption(); }

std::string WithValue(const std::string& event, const ParameterTreeNode& node) {
  std::ostringstream line;
  line << event << node.Caption() << " " << node.Value();
  return line.str();
}

}  // namespace

void EventLog::KeyUp(int& KeyCode, int& Shift) {
  Lines.push_back("KeyUp " + std::to_string(KeyCode) + " " + std::to_string(Shift));
  if (OnKeyUp) OnKeyUp(KeyCode, Shift);
}

void EventLog::Click() {
  Lines.push_back("Click");
  if (OnClick) OnClick();
}

void EventLog::DblClick() {
  Lines.push_back("DblClick");
  if (OnDblClick) OnDblClick();
}

void EventLog::SelectionChanged(ParameterTreeNode* node) { Lines.push_back("SelectionChanged " + NameOf(node)); }

void EventLog::ExpandChanged(ParameterTreeNode& node) {
  Lines.push_back("ExpandChanged " + NameOf(&node));
  if (OnExpandChanged) OnExpandChanged(node);
}

void EventLog::ValueChanged(ParameterTreeNode& node) { Lines.push_back(WithValue("ValueChanged ", node)); }

void EventLog::CheckChanged(ParameterTreeNode& node) {
  Lines.push_back("CheckChanged " + NameOf(&node) + " " + std::to_string(node.Checked()));
  if (OnCheckChanged) OnCheckChanged(node);
}

void EventLog::ValueCommit(ParameterTreeNode& node) {
  Lines.push_back(WithValue("ValueCommit ", node));
  if (OnValueCommit) OnValueCommit(node);
}

void EventLog::ValueRefused(ParameterTreeNode& node) { Lines.push_back(WithValue("ValueRefused ", node)); }

std::shared_ptr<ParameterTree> MakeTree() { return std::make_shared<ParameterTree>(); }

void AddNodes(ParameterTree& tree, const std::vector<std::string>& lines) {
  for (const std::string& line : lines) {
    std::istringstream fields(line);
    std::string key;
    std::string parent;
    std::string caption;
    fields >> key >> parent >> caption;
    if (parent == "-") parent.clear();
    tree.AddNode(key, parent, caption.empty() ? key : caption);
  }
}

std::shared_ptr<ParameterTree> TreeOf(const std::vector<std::string>& lines) {
  auto tree = MakeTree();
  AddNodes(*tree, lines);
  return tree;
}

void AddMenus(ParameterTree& tree) {
  for (const std::string menu : {"A", "B", "C"}) {
    tree.AddNode(menu, "", menu);
    for (int i = 1; i <= 3; ++i) {
      const std::string key = menu + std::to_string(i);
      tree.AddNode(key, menu, key);
    }
  }
  tree.Node("A").SetExpanded(true);
  tree.Node("B").SetExpanded(true);
}

std::shared_ptr<ParameterTree> MenuTree() {
  auto tree = MakeTree();
  AddMenus(*tree);
  tree->RepaintAll();
  return tree;
}

void FillSample(ParameterTree& tree, int menus) {
  tree.SetPaintLock(true);
  const char* kinds[] = {"pram", "readonly", "bitpram0", "bitpram1", "readonlybit0", "readonlybit1"};
  for (int m = 0; m < menus; ++m) {
    const std::string key = "M" + std::to_string(m);
    tree.AddNode(key, "", "Menu " + std::to_string(m + 1)).SetIcon("menu");
    for (int p = 0; p < 8; ++p) {
      const std::string caption = "Parameter " + std::to_string(m + 1) + "." + std::to_string(p + 1);
      ParameterTreeNode& node =
          tree.AddNode(key + "P" + std::to_string(p), p == 5 ? key + "P4" : key, caption);
      node.SetIcon(kinds[p % 6]);
      node.SetValue(static_cast<float>(p * 12.5 + m));
      if (p >= 3) node.SetFormatString("0");
      node.SetChecked(p % 3);
      node.SetGreyed(p == 1);
      node.SetBold(p == 0 && m == 1);
      if (p == 2) {
        node.AddDVD(0, "Off");
        node.AddDVD(1, "On");
        node.SetValue(1);
      }
    }
  }
  if (menus > 1) {
    tree.Node("M0").SetExpanded(true);
    tree.Node("M1").SetExpanded(true);
  }
  tree.SetPaintLock(false);
}

RecordingCanvas& Recording(const ParameterTree& tree) {
  return dynamic_cast<RecordingCanvas&>(tree.CanvasRef());
}

std::vector<std::string> LinesStartingWith(const RecordingCanvas& canvas, const std::string& prefix) {
  std::vector<std::string> found;
  for (const std::string& line : canvas.Log()) {
    if (line.rfind(prefix, 0) == 0) found.push_back(line);
  }
  return found;
}

int ErrorNumberOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const RuntimeError& error) {
    return error.Number();
  }
  return 0;
}

std::unique_ptr<FakeImageList> MakeIcons(int size) {
  auto icons = std::make_unique<FakeImageList>(size, size);
  icons->AddSolid("menu", 0xFFE0A000u);
  icons->AddSolid("pram", 0xFF2060E0u);
  icons->AddSolid("readonly", 0xFF808080u);
  icons->AddSolid("bitpram0", 0xFF20A020u);
  icons->AddSolid("bitpram1", 0xFFE02020u);
  icons->AddSolid("readonlybit0", 0xFF206020u);
  icons->AddSolid("readonlybit1", 0xFF802020u);
  icons->AddSolid("blank", 0x00000000u);
  return icons;
}

float RowMiddleY(const ParameterTree& tree, const ParameterTreeNode& node) {
  return static_cast<float>(node.SiteY()) - tree.VScroll() * 15.0f + node.MinHeight() / 2.0f;
}

}  // namespace quendrel::test
