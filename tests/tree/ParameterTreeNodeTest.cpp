// What a node shows and how it walks its subtree: value texts, descriptions, counts,
// check-mark propagation, expand, collapse and deselect walks, and its measurements.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "tree/support/TreeTestSupport.h"

namespace quendrel {
namespace {

using test::MakeTree;
using test::TreeOf;

TEST(ParameterTreeNodeTest, PrintableValueShowsTheValueAsTheRowDoes) {
  constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
  constexpr float kInf = std::numeric_limits<float>::infinity();
  struct ValueTextCase {
    float value;
    const char* format;  // nullptr: the default
    bool withNames;      // 0 "Off", 1 "On"
    const char* expected;
  };
  const std::vector<ValueTextCase> cases = {
      {12.5f, nullptr, false, "12.5"},   {3.0f, nullptr, false, "3.0"},
      {0.123456f, nullptr, false, "0.12346"}, {12.6f, "######0", false, "13"},
      {2.5f, "0.00", false, "2.50"},    {1.9f, nullptr, true, "On"},
      {-0.5f, nullptr, true, "<ERROR>"}, {2.0f, nullptr, true, "<ERROR>"},
      {40000.0f, nullptr, true, "<ERROR>"}, {-32769.0f, nullptr, true, "<ERROR>"},
      {kNaN, nullptr, true, "<ERROR>"}, {kInf, nullptr, true, "<ERROR>"}};
  for (const ValueTextCase& c : cases) {
    auto tree = MakeTree();
    ParameterTreeNode& node = tree->AddNode("n", "", "Speed");
    node.SetValue(c.value);
    if (c.format != nullptr) node.SetFormatString(c.format);
    if (c.withNames) {
      node.AddDVD(0, "Off");
      node.AddDVD(1, "On");
    }
    EXPECT_EQ(node.PrintableValue(), c.expected) << c.value << " format " << (c.format ? c.format : "-");
  }
}

TEST(ParameterTreeNodeTest, DescriptionsAreKeyedByIndexAndRefuseDuplicates) {
  auto tree = MakeTree();
  ParameterTreeNode& node = tree->AddNode("n", "", "Mode");
  node.AddDVD(-1, "Minus one");
  node.AddDVD(3, "Three");
  EXPECT_EQ(node.DVD(-1), "Minus one");
  EXPECT_EQ(node.DVD(3), "Three");
  EXPECT_EQ(node.DVD(0), "<ERROR>");
  EXPECT_EQ(node.DVDCount(), 2);
  EXPECT_EQ(test::ErrorNumberOf([&] { node.AddDVD(3, "Again"); }), 457);
  EXPECT_EQ(node.DVD(3), "Three");
}

TEST(ParameterTreeNodeTest, DescendantCountFollowsOnlyExpandedChildrenWhenAskedTo) {
  auto tree = TreeOf({"P - ", "A P", "A1 A", "A2 A", "A3 A", "B P", "B1 B", "B2 B"});
  tree->Node("B").SetExpanded(true);
  ParameterTreeNode& parent = tree->Node("P");
  EXPECT_EQ(parent.DescendantCount(true), 4);
  EXPECT_EQ(parent.DescendantCount(false), 7);
}

struct GreyCase {
  std::vector<int> children;
  int expected;
};

TEST(ParameterTreeNodeTest, UpdateGrayedSumsUpTheChildren) {
  const std::vector<GreyCase> cases = {{{1, 0}, 2}, {{1, 2}, 2}, {{0, 0}, 0}, {{1, 1}, 1}, {{2}, 2}};
  for (const GreyCase& c : cases) {
    auto tree = MakeTree();
    ParameterTreeNode& parent = tree->AddNode("P", "", "P");
    parent.SetChecked(7);
    for (std::size_t i = 0; i < c.children.size(); ++i) {
      tree->AddNode("C" + std::to_string(i), "P", "C").SetChecked(c.children[i]);
    }
    tree->Root().UpdateGrayed();
    EXPECT_EQ(parent.Checked(), c.expected) << "children " << ::testing::PrintToString(c.children);
  }
}

TEST(ParameterTreeNodeTest, UpdateGrayedWorksBottomUpAndLeavesLeavesAlone) {
  auto tree = TreeOf({"M - ", "S M", "S1 S", "S2 S", "L M"});
  tree->Node("S1").SetChecked(1);
  tree->Node("S2").SetChecked(1);
  tree->Node("L").SetChecked(1);
  tree->Node("M").SetChecked(0);
  tree->Root().UpdateGrayed();
  EXPECT_EQ(tree->Node("S").Checked(), 1);
  EXPECT_EQ(tree->Node("M").Checked(), 1);
  EXPECT_EQ(tree->Node("L").Checked(), 1);
}

TEST(ParameterTreeNodeTest, SetChildTreeCheckedReachesCollapsedDescendantsButNotTheNode) {
  auto tree = TreeOf({"M - ", "S M", "S1 S", "L M"});
  tree->Node("M").SetChildTreeChecked(1);
  EXPECT_EQ(tree->Node("M").Checked(), 0);
  EXPECT_EQ(tree->Node("S").Checked(), 1);
  EXPECT_EQ(tree->Node("S1").Checked(), 1);
  EXPECT_EQ(tree->Node("L").Checked(), 1);
}

TEST(ParameterTreeNodeTest, ExpandAllStartsAtTheNodeAndGoesOnlyForward) {
  auto tree = TreeOf({"A - ", "A1 A", "B - ", "B1 B", "B11 B1", "C - ", "C1 C"});
  tree->Node("B").ExpandAll();
  EXPECT_FALSE(tree->Node("A").Expanded());
  EXPECT_TRUE(tree->Node("B").Expanded());
  EXPECT_TRUE(tree->Node("B1").Expanded());
  EXPECT_TRUE(tree->Node("C").Expanded());
  tree->Node("B1").CollapseAll();
  EXPECT_FALSE(tree->Node("B1").Expanded());
  EXPECT_TRUE(tree->Node("B").Expanded());
}

TEST(ParameterTreeNodeTest, DeselectAllClearsEverySelectionAndMarksOnlyThoseDirty) {
  auto tree = TreeOf({"A - ", "A1 A", "B - ", "B1 B"});
  tree->Node("B1").SetSelected(true);
  tree->Node("B1").SetFocus(true);
  tree->Node("A").SetSelected(true);
  for (const char* key : {"A", "A1", "B", "B1"}) tree->Node(key).SetDirty(false);
  tree->First()->DeselectAll();
  EXPECT_FALSE(tree->Node("A").Selected());
  EXPECT_FALSE(tree->Node("B1").Selected());
  EXPECT_TRUE(tree->Node("B1").Focus());
  EXPECT_TRUE(tree->Node("A").Dirty());
  EXPECT_TRUE(tree->Node("B1").Dirty());
  EXPECT_FALSE(tree->Node("A1").Dirty());
  EXPECT_FALSE(tree->Node("B").Dirty());
}

// Recording canvas at the default 8.25 point font: 82.5 twips a character, 165 a line.
TEST(ParameterTreeNodeTest, MinWidthAddsTheColumnsTheAppearanceShows) {
  auto tree = MakeTree();
  auto icons = test::MakeIcons();
  ParameterTreeNode& node = tree->AddNode("n", "", "Speed");  // 5 characters
  node.SetValue(12.5f);                                       // "12.5": 4 characters
  node.SetIcon("pram");
  tree->SetRenderFlags(6);
  EXPECT_EQ(node.MinWidth(), 1155);  // 14 characters
  tree->SetRenderFlags(2);
  EXPECT_EQ(node.MinWidth(), 825);
  tree->SetRenderFlags(14);
  EXPECT_EQ(node.MinWidth(), 1155 + 165);
  tree->SetCheckboxes(true);
  EXPECT_EQ(node.MinWidth(), 1155 + 165 + 210);
  tree->SetIconList(icons.get());
  tree->SetRenderFlags(15);
  EXPECT_EQ(node.MinWidth(), 1155 + 165 + 210 + 270);
  // With names the value column is as wide as the longest of them.
  ParameterTreeNode& named = tree->AddNode("m", "", "M");
  named.AddDVD(0, "ab");
  named.AddDVD(1, "abcd");
  named.AddDVD(2, "abc");
  tree->SetCheckboxes(false);
  tree->SetRenderFlags(6);
  EXPECT_EQ(named.MinWidth(), static_cast<std::int16_t>(82.5 * 10));
}

TEST(ParameterTreeNodeTest, MinHeightIsTheTallerOfTextAndIcon) {
  auto tree = MakeTree();
  auto icons = test::MakeIcons(16);
  ParameterTreeNode& node = tree->AddNode("n", "", "M");
  EXPECT_EQ(node.MinHeight(), 195);
  tree->SetIconList(icons.get());
  EXPECT_EQ(node.MinHeight(), 270);
  tree->SetRenderFlags(6);
  EXPECT_EQ(node.MinHeight(), 195);
}

}  // namespace
}  // namespace quendrel
