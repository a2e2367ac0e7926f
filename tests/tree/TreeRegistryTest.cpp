// The tree's node registry, its settings and presets, and what it saves and loads.
#include <gtest/gtest.h>

#include "tree/support/TreeTestSupport.h"

namespace quendrel {
namespace {

using test::AddNodes;
using test::ErrorNumberOf;
using test::EventLog;
using test::MakeTree;
using test::Recording;
using test::TreeOf;

TEST(TreeRegistryTest, MissingParentMakesATopLevelNodeThatStaysThere) {
  auto tree = MakeTree();
  tree->AddNode("child", "later", "Child");
  tree->AddNode("later", "", "Later");
  EXPECT_EQ(tree->First(), &tree->Node("child"));
  EXPECT_EQ(tree->Node("child").Sibling(), &tree->Node("later"));
  EXPECT_EQ(tree->Node("later").Child(), nullptr);
  EXPECT_EQ(tree->Node("child").parent(), &tree->Root());
}

TEST(TreeRegistryTest, DuplicateAndUnknownKeysRaise) {
  auto tree = TreeOf({"A - "});
  EXPECT_EQ(ErrorNumberOf([&] { tree->AddNode("A", "", "again"); }), 457);
  EXPECT_EQ(ErrorNumberOf([&] { tree->AddNode("", "", "root again"); }), 457);
  EXPECT_EQ(tree->Root().DescendantCount(false), 1);
  EXPECT_EQ(ErrorNumberOf([&] { tree->Node("nope"); }), 5);
  EXPECT_EQ(tree->FindNode("nope"), nullptr);
  EXPECT_EQ(&tree->Node(""), &tree->Root());
  EXPECT_EQ(tree->Root().Caption(), "ROOT");
}

TEST(TreeRegistryTest, ClearStartsANewRootAndForgetsEveryKey) {
  auto tree = TreeOf({"A - ", "A1 A"});
  tree->SetSelected(&tree->Node("A1"));
  tree->Clear();
  EXPECT_TRUE(tree->Root().Expanded());
  EXPECT_EQ(tree->FindNode("A"), nullptr);
  EXPECT_EQ(tree->First(), nullptr);
  EXPECT_EQ(tree->Selected(), nullptr);
  EXPECT_EQ(tree->CurrentNode(), nullptr);
  tree->AddNode("A", "", "again");  // the key is free again
}

TEST(TreeRegistryTest, AppearanceAndRenderFlagsMapThroughThePresets) {
  const std::vector<std::pair<int, int>> presets = {{1, 6},  {2, 22}, {3, 7},  {4, 14},
                                                    {5, 15}, {6, 30}, {7, 23}, {8, 31}};
  auto tree = MakeTree();
  for (const auto& [appearance, flags] : presets) {
    tree->SetAppearance(appearance);
    EXPECT_EQ(tree->RenderFlags(), flags);
    tree->SetRenderFlags(flags);
    EXPECT_EQ(tree->Appearance(), appearance);
  }
  tree->SetRenderFlags(5);
  EXPECT_EQ(tree->Appearance(), 0);
  tree->SetAppearance(9);
  EXPECT_EQ(tree->RenderFlags(), 0);
}

TEST(TreeRegistryTest, SettingsRoundTripThroughThePropertyBag) {
  FakeImageList icons;
  auto tree = MakeTree();
  tree->SetContainerImageLists({{"ilSmall", nullptr}, {"ilIcons", &icons}});
  tree->SetScrollBars(2);
  tree->SetAppearance(5);
  tree->SetCheckboxes(true);
  tree->SetAutoGray(true);
  tree->SetIndent(240);
  tree->SetIconList(&icons);
  CanvasFont font;
  font.Name = "Arial";
  font.Size = 10;
  font.Bold = true;
  tree->SetFont(font);
  PropertyBag bag;
  tree->WriteProperties(bag);
  EXPECT_EQ(bag.Read(PropertyKey<std::int32_t>{"Appearance", 8}), 5);
  EXPECT_EQ(bag.Read(PropertyKey<std::string>{"IconList", ""}), "ilIcons");
  EXPECT_TRUE(bag.Read(PropertyKey<bool>{"Checkboxes", false}));

  auto loaded = MakeTree();
  loaded->SetContainerImageLists({{"ilIcons", &icons}});
  loaded->ReadProperties(bag);
  EXPECT_EQ(loaded->ScrollBars(), 2);
  EXPECT_EQ(loaded->Appearance(), 5);
  EXPECT_TRUE(loaded->Checkboxes());
  EXPECT_TRUE(loaded->AutoGray());
  EXPECT_EQ(loaded->Indent(), 240);
  EXPECT_EQ(loaded->IconList(), &icons);
  EXPECT_EQ(loaded->Font(), font);
  EXPECT_EQ(loaded->CanvasRef().Font(), font);
}

TEST(TreeRegistryTest, UnmatchedFlagsSaveAppearanceZeroAndAutomaticBarsSaveAsTheyStand) {
  auto tree = MakeTree();
  for (int i = 0; i < 40; ++i) tree->AddNode(std::to_string(i), "", "N");
  tree->SetRenderFlags(5);
  ASSERT_EQ(tree->ScrollBars(), 6);
  PropertyBag bag;
  tree->WriteProperties(bag);
  EXPECT_EQ(bag.Read(PropertyKey<std::int32_t>{"Appearance", 8}), 0);
  EXPECT_EQ(bag.Read(PropertyKey<std::int32_t>{"ScrollBars", 4}), 6);
  auto loaded = MakeTree();
  loaded->ReadProperties(bag);
  EXPECT_EQ(loaded->RenderFlags(), 0);  // no decoration: the flags themselves are not saved
}

TEST(TreeRegistryTest, DefaultsForAnEmptyBagAndAnUnknownIconList) {
  PropertyBag bag;
  bag.Write(PropertyKey<std::string>{"IconList", ""}, std::string("ilGone"));
  auto tree = MakeTree();
  tree->ReadProperties(bag);
  EXPECT_EQ(tree->ScrollBars() & 4, 4);
  EXPECT_EQ(tree->Appearance(), 8);
  EXPECT_EQ(tree->Indent(), 165);
  EXPECT_FALSE(tree->Checkboxes());
  EXPECT_EQ(tree->IconList(), nullptr);
  EXPECT_EQ(tree->Font(), CanvasFont());
}

TEST(TreeRegistryTest, WritingSelectedRaisesSelectionChangedOnlyForANewNode) {
  auto tree = MakeTree();
  EventLog events(*tree);
  AddNodes(*tree, {"A - ", "B - "});
  tree->SetSelected(&tree->Node("A"));
  tree->SetSelected(&tree->Node("A"));
  tree->SetSelected(&tree->Node("B"));
  tree->SetSelected(nullptr);
  EXPECT_EQ(events.Lines, (std::vector<std::string>{"SelectionChanged A", "SelectionChanged B",
                                                    "SelectionChanged none"}));
  EXPECT_FALSE(tree->Node("A").Selected());
  EXPECT_FALSE(tree->Node("B").Focus());
}

TEST(TreeRegistryTest, SelectedFindsTheFirstFlaggedNodeEvenInACollapsedBranch) {
  auto tree = TreeOf({"A - ", "A1 A", "A11 A1", "B - "});
  tree->Node("B").SetSelected(true);
  tree->Node("A11").SetSelected(true);
  EXPECT_EQ(tree->Selected(), &tree->Node("A11"));
}

TEST(TreeRegistryTest, CollapseAllKeepsTheTopLevelAndExpandAllDoesNotRepaint) {
  auto tree = TreeOf({"A - ", "A1 A", "B - "});
  tree->RepaintAll();
  Recording(*tree).ClearLog();
  tree->ExpandAll();
  EXPECT_TRUE(Recording(*tree).Log().empty());
  EXPECT_TRUE(tree->Node("A").Expanded());
  tree->CollapseAll();
  EXPECT_TRUE(tree->Root().Expanded());
  EXPECT_FALSE(tree->Node("A").Expanded());
  tree->RepaintAll();
  EXPECT_EQ(tree->LaidOutRows().size(), 2u);
}

TEST(TreeRegistryTest, AutoGrayOnRecomputesParents) {
  auto tree = TreeOf({"A - ", "A1 A", "A2 A"});
  tree->Node("A1").SetChecked(1);
  tree->SetAutoGray(true);
  EXPECT_EQ(tree->Node("A").Checked(), 2);
}

}  // namespace
}  // namespace quendrel
