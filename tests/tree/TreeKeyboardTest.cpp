// Keys released on the canvas: where the selection goes, what expands, collapses and ticks,
// which events are raised and in which order.
#include <gtest/gtest.h>

#include "tree/support/TreeTestSupport.h"

namespace quendrel {
namespace {

using test::EventLog;
using test::MakeTree;
using test::MenuTree;
using test::Recording;

// Visible rows: A A1 A2 A3 B B1 B2 B3 C, with C collapsed over C1..C3. SelectionChanged comes
// before KeyUp, and only when the selection moved.
TEST(TreeKeyboardTest, KeysMoveTheSelectionAndReportIt) {
  struct KeyCase {
    const char* start;
    int key;
    const char* after;
  };
  const std::vector<KeyCase> cases = {
      {"A3", vbKeyDown, "B"},   {"C", vbKeyDown, "C"},      {"A", vbKeyUp, "A"},
      {"A1", vbKeyUp, "A"},     {"B", vbKeyUp, "A3"},       {"B", vbKeyRight, "B1"},
      {"A1", vbKeyRight, "A1"}, {"B2", vbKeyLeft, "B"},     {"C", vbKeyLeft, "C"},
      {"B2", vbKeyHome, "A"},   {"A", vbKeyEnd, "C"},       {"B", vbKeyReturn, "B"},
      {"B", vbKeySpace, "B"},   {"B", 'X', "B"}};
  for (const KeyCase& c : cases) {
    auto tree = MenuTree();
    tree->SetSelected(&tree->Node(c.start));
    EventLog events(*tree);
    tree->CanvasKeyUp(c.key, 0);
    SCOPED_TRACE(std::string(c.start) + " key " + std::to_string(c.key));
    ASSERT_NE(tree->Selected(), nullptr);
    EXPECT_EQ(tree->Selected()->Caption(), c.after);
    std::vector<std::string> expected;
    if (std::string(c.start) != c.after) expected.push_back("SelectionChanged " + std::string(c.after));
    expected.push_back("KeyUp " + std::to_string(c.key) + " 0");
    EXPECT_EQ(events.Lines, expected);
  }
}

TEST(TreeKeyboardTest, RightExpandsAClosedMenuFirstAndLeftClosesItWithoutExpandEvents) {
  auto tree = MenuTree();
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
  auto tree = MenuTree();
  EventLog events(*tree);
  tree->CanvasKeyUp(vbKeyReturn, 0);
  tree->CanvasKeyUp(vbKeyHome, 0);
  EXPECT_TRUE(events.Lines.empty());
  tree->CanvasKeyUp(vbKeyRight, vbShiftMask);
  EXPECT_EQ(events.Lines, (std::vector<std::string>{"SelectionChanged A", "KeyUp 39 1"}));
  EXPECT_EQ(tree->Selected(), &tree->Node("A"));
}

TEST(TreeKeyboardTest, KeyUpComesBeforeTheRepaintAndAClearingHostStopsIt) {
  for (const bool clears : {false, true}) {
    auto tree = MenuTree();
    tree->SetSelected(&tree->Node("A"));
    EventLog events(*tree);
    std::size_t drawnAtKeyUp = 99;
    events.OnKeyUp = [&](int&, int&) {
      drawnAtKeyUp = Recording(*tree).Log().size();
      if (clears) tree->Clear();
    };
    Recording(*tree).ClearLog();
    tree->CanvasKeyUp(vbKeyDown, 0);
    EXPECT_EQ(drawnAtKeyUp, 0u);
    EXPECT_EQ(Recording(*tree).Log().empty(), clears);
  }
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
    // Thirty rows of 195 twips in a view 1460 twips high.
    auto tree = MakeTree();
    for (int i = 0; i < 30; ++i) tree->AddNode(std::to_string(i), "", "N" + std::to_string(i));
    tree->Resize(3000, 1500);
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
  auto tree = MenuTree();
  tree->SetCheckboxes(true);
  tree->SetAutoGray(true);
  tree->SetSelected(&tree->Node("B"));
  EventLog events(*tree);
  int childAtEvent = -1;
  events.OnCheckChanged = [&](ParameterTreeNode&) { childAtEvent = tree->Node("B1").Checked(); };
  tree->CanvasKeyUp(vbKeySpace, 0);
  EXPECT_EQ(tree->Node("B").Checked(), 1);
  EXPECT_EQ(tree->Node("B3").Checked(), 1);
  EXPECT_EQ(childAtEvent, 1);
  EXPECT_EQ(events.Lines, (std::vector<std::string>{"CheckChanged B 1", "KeyUp 32 0"}));
  tree->SetSelected(&tree->Node("B2"));
  tree->CanvasKeyUp(vbKeySpace, 0);
  EXPECT_EQ(tree->Node("B").Checked(), 2);
  tree->SetSelected(&tree->Node("B"));
  tree->CanvasKeyUp(vbKeySpace, 0);
  EXPECT_EQ(tree->Node("B").Checked(), 0);
  EXPECT_EQ(tree->Node("B1").Checked(), 0);
}

}  // namespace
}  // namespace quendrel
