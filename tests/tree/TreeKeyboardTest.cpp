// Keys released on the canvas: where the selection goes, what expands, collapses and ticks,
// which events are raised and in which order.
#include <gtest/gtest.h>

#include "tree/support/TreeTestSupport.h"

namespace quendrel {
namespace {

using test::AddMenus;
using test::EventLog;
using test::MakeTree;
using test::Recording;

struct KeyCase {
  const char* name;
  const char* start;
  int key;
  const char* selectedAfter;
  std::vector<std::string> events;
};

class TreeKeyTest : public ::testing::TestWithParam<KeyCase> {};

// Visible rows: A A1 A2 A3 B B1 B2 B3 C, with C collapsed over C1..C3.
TEST_P(TreeKeyTest, MovesTheSelectionAndReportsIt) {
  const KeyCase& c = GetParam();
  auto tree = MakeTree();
  AddMenus(*tree);
  tree->RepaintAll();
  tree->SetSelected(&tree->Node(c.start));
  EventLog events(*tree);
  tree->CanvasKeyUp(c.key, 0);
  ASSERT_NE(tree->Selected(), nullptr);
  EXPECT_EQ(tree->Selected()->Caption(), c.selectedAfter);
  EXPECT_EQ(events.Lines, c.events);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, TreeKeyTest,
    ::testing::Values(
        KeyCase{"DownIntoNextMenu", "A3", vbKeyDown, "B", {"SelectionChanged B", "KeyUp 40 0"}},
        KeyCase{"DownOnLastRow", "C", vbKeyDown, "C", {"KeyUp 40 0"}},
        KeyCase{"UpOnFirstRow", "A", vbKeyUp, "A", {"KeyUp 38 0"}},
        KeyCase{"UpToParent", "A1", vbKeyUp, "A", {"SelectionChanged A", "KeyUp 38 0"}},
        KeyCase{"UpIntoOpenBranch", "B", vbKeyUp, "A3", {"SelectionChanged A3", "KeyUp 38 0"}},
        KeyCase{"RightIntoOpenMenu", "B", vbKeyRight, "B1", {"SelectionChanged B1", "KeyUp 39 0"}},
        KeyCase{"RightOnLeaf", "A1", vbKeyRight, "A1", {"KeyUp 39 0"}},
        KeyCase{"LeftToParent", "B2", vbKeyLeft, "B", {"SelectionChanged B", "KeyUp 37 0"}},
        KeyCase{"LeftOnClosedTopLevel", "C", vbKeyLeft, "C", {"KeyUp 37 0"}},
        KeyCase{"Home", "B2", vbKeyHome, "A", {"SelectionChanged A", "KeyUp 36 0"}},
        KeyCase{"End", "A", vbKeyEnd, "C", {"SelectionChanged C", "KeyUp 35 0"}},
        KeyCase{"Enter", "B", vbKeyReturn, "B", {"KeyUp 13 0"}},
        KeyCase{"SpaceWithoutCheckBoxes", "B", vbKeySpace, "B", {"KeyUp 32 0"}},
        KeyCase{"Letter", "B", 'X', "B", {"KeyUp 88 0"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TreeKeyboardTest, RightExpandsAClosedMenuFirstAndLeftClosesItWithoutExpandEvents) {
  auto tree = MakeTree();
  AddMenus(*tree);
  tree->RepaintAll();
  tree->SetSelected(&tree->Node("C"));
  EventLog events(*tree);
  tree->CanvasKeyUp(vbKeyRight, 0);
  EXPECT_TRUE(tree->Node("C").Expanded());
  EXPECT_EQ(tree->Selected(), &tree->Node("C"));
  EXPECT_EQ(tree->LaidOutRows().size(), 12u);
  tree->CanvasKeyUp(vbKeyLeft, 0);
  EXPECT_FALSE(tree->Node("C").Expanded());
  EXPECT_EQ(events.Lines, (std::vector<std::string>{"KeyUp 39 0", "KeyUp 37 0"}));
}

TEST(TreeKeyboardTest, WithoutSelectionOnlyArrowsSelectAndRaiseKeyUp) {
  auto tree = MakeTree();
  AddMenus(*tree);
  tree->RepaintAll();
  EventLog events(*tree);
  tree->CanvasKeyUp(vbKeyReturn, 0);
  tree->CanvasKeyUp(vbKeyHome, 0);
  EXPECT_TRUE(events.Lines.empty());
  tree->CanvasKeyUp(vbKeyRight, vbShiftMask);
  EXPECT_EQ(events.Lines, (std::vector<std::string>{"SelectionChanged A", "KeyUp 39 1"}));
  EXPECT_EQ(tree->Selected(), &tree->Node("A"));
}

TEST(TreeKeyboardTest, KeyUpComesBeforeTheRepaint) {
  auto tree = MakeTree();
  AddMenus(*tree);
  tree->RepaintAll();
  tree->SetSelected(&tree->Node("A"));
  EventLog events(*tree);
  std::size_t drawnAtKeyUp = 99;
  events.OnKeyUp = [&](int&, int&) { drawnAtKeyUp = Recording(*tree).Log().size(); };
  Recording(*tree).ClearLog();
  tree->CanvasKeyUp(vbKeyDown, 0);
  EXPECT_EQ(drawnAtKeyUp, 0u);
  EXPECT_FALSE(Recording(*tree).Log().empty());
}

// Thirty rows of 195 twips in a view 1460 twips high.
std::shared_ptr<ParameterTree> ListTree() {
  auto tree = MakeTree();
  for (int i = 0; i < 30; ++i) tree->AddNode(std::to_string(i), "", "N" + std::to_string(i));
  tree->Resize(3000, 1500);
  return tree;
}

TEST(TreeKeyboardTest, PageKeysMoveByAViewAndScrollAlong) {
  struct PageCase {
    const char* start;
    int key;
    const char* after;
  };
  const std::vector<PageCase> cases = {{"0", vbKeyPageDown, "N7"},  {"7", vbKeyPageDown, "N14"},
                                       {"14", vbKeyPageUp, "N7"},  {"3", vbKeyPageUp, "N0"},
                                       {"0", vbKeyPageUp, "N0"},   {"27", vbKeyPageDown, "N29"},
                                       {"29", vbKeyPageDown, "N29"}};
  for (const PageCase& c : cases) {
    auto tree = ListTree();
    tree->SetSelected(&tree->Node(c.start));
    tree->ScrollToSelected();
    tree->RepaintAll();
    tree->CanvasKeyUp(c.key, 0);
    ASSERT_NE(tree->Selected(), nullptr);
    EXPECT_EQ(tree->Selected()->Caption(), c.after) << "from " << c.start << " key " << c.key;
    const ParameterTreeNode& selected = *tree->Selected();
    const float top = selected.SiteY() - tree->VScroll() * 15.0f;
    EXPECT_GE(top, -7.5f);
    EXPECT_LE(top + selected.MinHeight(), tree->CanvasPlace().Height + 7.5f);
  }
}

TEST(TreeKeyboardTest, SpaceTicksUnticksAndPropagatesWithAutoGray) {
  auto tree = MakeTree();
  AddMenus(*tree);
  tree->SetCheckboxes(true);
  tree->SetAutoGray(true);
  tree->RepaintAll();
  tree->SetSelected(&tree->Node("B"));
  EventLog events(*tree);
  int parentAtEvent = -1;
  events.OnCheckChanged = [&](ParameterTreeNode&) { parentAtEvent = tree->Node("B1").Checked(); };
  tree->CanvasKeyUp(vbKeySpace, 0);
  EXPECT_EQ(tree->Node("B").Checked(), 1);
  EXPECT_EQ(tree->Node("B3").Checked(), 1);
  EXPECT_EQ(parentAtEvent, 1);
  EXPECT_EQ(events.Lines, (std::vector<std::string>{"CheckChanged B 1", "KeyUp 32 0"}));
  tree->SetSelected(&tree->Node("B2"));
  tree->CanvasKeyUp(vbKeySpace, 0);
  EXPECT_EQ(tree->Node("B").Checked(), 2);
  tree->SetSelected(&tree->Node("B"));
  tree->CanvasKeyUp(vbKeySpace, 0);
  EXPECT_EQ(tree->Node("B").Checked(), 0);
  EXPECT_EQ(tree->Node("B1").Checked(), 0);
}

TEST(TreeKeyboardTest, AHostClearingTheTreeInKeyUpStopsTheRepaint) {
  auto tree = MakeTree();
  AddMenus(*tree);
  tree->RepaintAll();
  tree->SetSelected(&tree->Node("A"));
  EventLog events(*tree);
  events.OnKeyUp = [&](int&, int&) { tree->Clear(); };
  Recording(*tree).ClearLog();
  tree->CanvasKeyUp(vbKeyDown, 0);
  EXPECT_TRUE(Recording(*tree).Log().empty());
  EXPECT_EQ(tree->First(), nullptr);
}

}  // namespace
}  // namespace quendrel
