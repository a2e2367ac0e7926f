// How one row is drawn (columns, lines, boxes, colours, focus rectangle, icon cutting) and
// what a click inside it hits.
#include <gtest/gtest.h>

#include <algorithm>

#include "tree/support/TreeTestSupport.h"

namespace quendrel {
namespace {

using test::AddNodes;
using test::LinesStartingWith;
using test::MakeTree;
using test::Recording;
using test::TreeOf;

bool Has(const std::vector<std::string>& log, const std::string& text) {
  return std::any_of(log.begin(), log.end(),
                     [&](const std::string& line) { return line.find(text) != std::string::npos; });
}

// The log of drawing one row alone, after a full layout.
std::vector<std::string> RowLog(ParameterTree& tree, ParameterTreeNode& node) {
  tree.RepaintAll();
  Recording(tree).ClearLog();
  node.RenderRow(tree.ScrollData());
  return Recording(tree).Log();
}

struct PresetCase {
  int appearance;
  const char* captionAt;  // where the top-level caption is printed
  bool lines, plusMinus, picture;
};

TEST(NodeRenderingTest, EachAppearanceDrawsItsColumns) {
  const std::vector<PresetCase> cases = {
      {1, "Print (30,14.5)", false, false, false},
      {4, "Print (195,14.5)", true, false, false},
      {6, "Print (195,14.5)", true, true, false},
      {8, "Print (465,51.5)", true, true, true},
  };
  for (const PresetCase& c : cases) {
    auto tree = MakeTree();
    auto icons = test::MakeIcons();
    tree->SetIconList(icons.get());
    AddNodes(*tree, {"A - Alpha", "A1 A", "B - "});
    tree->Node("A").SetIcon("menu");
    tree->SetAppearance(c.appearance);
    const auto log = RowLog(*tree, tree->Node("A"));
    SCOPED_TRACE("Appearance " + std::to_string(c.appearance));
    EXPECT_TRUE(Has(log, std::string(c.captionAt) + " 0x80000008 \"Alpha\""));
    EXPECT_EQ(Has(log, "Line (82,"), c.lines);
    EXPECT_EQ(Has(log, "Box (22,"), c.plusMinus);
    EXPECT_EQ(Has(log, "Picture \"menu\""), c.picture);
  }
}

TEST(NodeRenderingTest, RowLayoutOfAnExpandedParent) {
  auto tree = TreeOf({"A - ", "A1 A", "B - "});
  tree->SetAppearance(6);
  tree->Node("A").SetExpanded(true);
  const auto log = RowLog(*tree, tree->Node("A"));
  const std::vector<std::string> expected = {
      "FilledBox (0,0)-(4800,210) 0x80000005",
      "Box (82,0)-(82,97) 0x80000011",
      "Line (82,97)-(165,97) 0x80000011",
      "Line (82,97)-(82,450) 0x80000011",
      "FilledBox (22,37)-(142,157) 0x80000005",
      "Box (22,37)-(142,157) 0x80000011",
      "Line (52,97)-(127,97) 0x80000015",
      "Print (195,14.5) 0x80000008 \"A\"",
      "Print (1237.5,14.5) 0x80000008 \"0.0\"",
  };
  EXPECT_EQ(log, expected);
  tree->Node("A").SetExpanded(false);
  EXPECT_TRUE(Has(RowLog(*tree, tree->Node("A")), "Line (82,67)-(82,142) 0x80000015"));  // the plus
}

TEST(NodeRenderingTest, LeafHasNoBoxAndTheLastChildsLineEndsAtItsMiddle) {
  auto tree = TreeOf({"A - ", "A1 A", "A2 A"});
  tree->SetAppearance(6);
  tree->Node("A").SetExpanded(true);
  tree->RepaintAll();
  ParameterTreeNode& a1 = tree->Node("A1");
  ParameterTreeNode& a2 = tree->Node("A2");
  const auto first = RowLog(*tree, a1);
  EXPECT_FALSE(Has(first, "0x80000015"));
  const std::string down = "Line (248,322)-(248," + std::to_string(a2.SiteY()) + ") 0x80000011";
  EXPECT_TRUE(Has(first, down));
  const auto last = RowLog(*tree, a2);
  EXPECT_TRUE(Has(last, "Box (248,420)-(248,517) 0x80000011"));
  EXPECT_EQ(LinesStartingWith(Recording(*tree), "Line (248,517)-(248,").size(), 0u);
}

struct SelectionCase {
  const char* name;
  bool selected, focus, greyed;
  const char* textColor;
  const char* lineColor;
  bool highlight, focusRect;
};

TEST(NodeRenderingTest, SelectionFocusAndGreyChooseTheColours) {
  const std::vector<SelectionCase> cases = {
      {"plain", false, false, false, "0x80000008", "0x80000011", false, false},
      {"greyed", false, false, true, "0x808080", "0x80000011", false, false},
      {"selected with focus", true, true, false, "0x8000000E", "0x80000015", true, true},
      {"greyed selected with focus", true, true, true, "0x8000000E", "0x80000015", true, true},
      {"selected without focus", true, false, false, "0x80000008", "0x000000", false, true},
  };
  for (const SelectionCase& c : cases) {
    auto tree = TreeOf({"A - ", "B - "});
    tree->SetAppearance(6);
    ParameterTreeNode& a = tree->Node("A");
    a.SetSelected(c.selected);
    a.SetFocus(c.focus);
    a.SetGreyed(c.greyed);
    const auto log = RowLog(*tree, a);
    SCOPED_TRACE(c.name);
    EXPECT_TRUE(Has(log, "Print (195,14.5) " + std::string(c.textColor) + " \"A\""));
    EXPECT_TRUE(Has(log, "Line (82,97)-(165,97) " + std::string(c.lineColor)));
    EXPECT_EQ(Has(log, "FilledBox (0,0)-(4800,210) 0x8000000D"), c.highlight);
    EXPECT_EQ(Has(log, "FocusRect 0,0-"), c.focusRect);
  }
}

TEST(NodeRenderingTest, FocusRectangleReachesIntoTheGapAfterExpandedAndLastRows) {
  auto tree = TreeOf({"A - ", "A1 A", "B - ", "C - "});
  tree->SetAppearance(6);
  for (const char* key : {"A", "B", "C"}) tree->Node(key).SetSelected(true);
  tree->Node("A").SetExpanded(true);
  tree->RepaintAll();
  const int width = Recording(*tree).PixelWidth();
  const auto rects = LinesStartingWith(Recording(*tree), "FocusRect");
  ASSERT_EQ(rects.size(), 3u);
  // A is expanded, B has a next sibling, C is the last row.
  EXPECT_EQ(rects[0], "FocusRect 0,0-" + std::to_string(width) + ",15");
  EXPECT_EQ(rects[1], "FocusRect 0,30-" + std::to_string(width) + ",43");
  EXPECT_EQ(rects[2], "FocusRect 0,43-" + std::to_string(width) + ",58");
}

TEST(NodeRenderingTest, CheckBoxStatesAndTheTick) {
  struct CheckCase {
    int checked;
    const char* fill;
    const char* tick;  // nullptr: no tick
  };
  const std::vector<CheckCase> cases = {
      {0, "0x80000005", nullptr}, {1, "0x80000005", "0x80000008"}, {2, "0x80000013", "0x80000003"}};
  for (const CheckCase& c : cases) {
    auto tree = TreeOf({"A - "});
    tree->SetAppearance(6);
    tree->SetCheckboxes(true);
    tree->Node("A").SetChecked(c.checked);
    const auto log = RowLog(*tree, tree->Node("A"));
    SCOPED_TRACE(c.checked);
    // The box is 11 x 11 pixels around 11 + 7 pixels from the row's left edge.
    EXPECT_TRUE(Has(log, "FilledBox (195,22)-(345,172) " + std::string(c.fill)));
    EXPECT_TRUE(Has(log, "Box (195,22)-(345,172) 0x80000008"));
    const auto ticks = LinesStartingWith(Recording(*tree), "Polyline");
    if (c.tick == nullptr) {
      EXPECT_TRUE(ticks.empty());
      continue;
    }
    ASSERT_EQ(ticks.size(), 3u);
    EXPECT_EQ(ticks[0], "Polyline " + std::string(c.tick) + " (225,82) (255,112) (330,37)");
    EXPECT_TRUE(Has(log, "Print (405,14.5)"));
  }
}

TEST(NodeRenderingTest, IconScrolledPartlyAboveTheCanvasIsCutNotShifted) {
  auto tree = MakeTree();
  auto icons = test::MakeIcons();
  tree->SetIconList(icons.get());
  for (int i = 0; i < 30; ++i) tree->AddNode(std::to_string(i), "", "N").SetIcon("pram");
  tree->RepaintAll();
  tree->SetVScroll(5);
  tree->RepaintAll();
  ASSERT_EQ(tree->VScroll(), 5);
  EXPECT_TRUE(Has(Recording(*tree).Log(), "PicturePart \"pram\" (0,57)+(240,183) at (165,0)"));
  EXPECT_TRUE(Has(Recording(*tree).Log(), "Picture \"pram\" 16x16 at (165,"));
}

TEST(NodeRenderingTest, ValueWithoutCaptionStartsWhereTheCaptionWouldAndBoldLastsOneRow) {
  auto tree = TreeOf({"A - "});
  tree->Node("A").SetValue(2.5f);
  tree->Node("A").SetBold(true);
  tree->SetRenderFlags(4 | 8);
  EXPECT_TRUE(Has(RowLog(*tree, tree->Node("A")), "Print (195,14.5) 0x80000008 \"2.5\""));
  const auto fonts = LinesStartingWith(Recording(*tree), "Font");
  ASSERT_EQ(fonts.size(), 2u);
  EXPECT_NE(fonts[0].find("bold"), std::string::npos);
  EXPECT_EQ(fonts[1].find("bold"), std::string::npos);
}

struct ClickCase {
  const char* name;
  bool withChild, checkboxes, plusMinus;
  float x, y;
  int checkedBefore;
  bool toggles;
  int checkedAfter;
};

TEST(NodeRenderingTest, ClickHitsThePlusMinusBoxAndTheCheckBox) {
  // Row height 195 twips: the centre line is at 97.5 rounded to 98.
  const std::vector<ClickCase> cases = {
      {"box centre", true, false, true, 82, 98, 0, true, 0},
      {"box edge", true, false, true, 142, 158, 0, true, 0},
      {"just past the box", true, false, true, 143, 98, 0, false, 0},
      {"leaf box position", false, false, true, 82, 98, 0, true, 0},
      {"check box ticks", false, true, true, 270, 98, 0, false, 1},
      {"check box unticks", false, true, true, 270, 98, 1, false, 0},
      {"partly ticked clears", false, true, true, 352.5f, 180.5f, 2, false, 0},
      {"just past the check box", false, true, true, 353, 98, 0, false, 0},
      {"check box off", false, false, true, 270, 98, 0, false, 0},
  };
  for (const ClickCase& c : cases) {
    auto tree = TreeOf({"A - "});
    if (c.withChild) AddNodes(*tree, {"A1 A"});
    tree->SetCheckboxes(c.checkboxes);
    ParameterTreeNode& node = tree->Node("A");
    node.SetChecked(c.checkedBefore);
    const bool result = node.Click(tree->CanvasRef(), c.x, c.y, c.plusMinus);
    SCOPED_TRACE(c.name);
    EXPECT_EQ(result, c.toggles);
    EXPECT_EQ(node.Expanded(), c.toggles);
    EXPECT_EQ(node.Checked(), c.checkedAfter);
  }
}

}  // namespace
}  // namespace quendrel
