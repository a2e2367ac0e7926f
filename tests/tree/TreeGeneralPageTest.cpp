// The tree's property page: reading a tree into the controls, applying them back, and
// refusing, whole, a page with an indent or a list choice the tree cannot take.
#include <gtest/gtest.h>

#include "platform/ScriptedUi.h"
#include "tree/TreeGeneralPage.h"
#include "tree/support/TreeTestSupport.h"

namespace quendrel {
namespace {

using test::MakeTree;

TEST(TreeGeneralPageTest, ReadsTheTreeIntoTheControls) {
  FakeImageList small;
  FakeImageList large;
  auto tree = MakeTree();
  tree->SetContainerImageLists({{"ilSmall", &small}, {"ilLarge", &large}});
  tree->SetIconList(&large);
  tree->SetAppearance(6);
  tree->SetScrollBars(2);
  tree->SetIndent(200);
  tree->SetCheckboxes(false);
  tree->SetAutoGray(true);
  TreeGeneralPage page;
  page.Changed = true;
  page.SelectionChanged(*tree);
  EXPECT_TRUE(page.EnabledChecked);
  EXPECT_FALSE(page.CheckboxesChecked);
  EXPECT_TRUE(page.AutoGrayChecked);
  EXPECT_FALSE(page.AutoGrayAvailable);
  EXPECT_EQ(page.IndentText, "200");
  EXPECT_EQ(TreeGeneralPage::AppearanceEntries()[page.AppearanceIndex].Text, "6 - Text, Plus/Minus, Lines");
  EXPECT_EQ(TreeGeneralPage::ScrollBarEntries()[page.ScrollBarsIndex].Text, "2 - Vertical Only");
  EXPECT_EQ(page.IconListEntries, (std::vector<std::string>{"<None>", "ilSmall", "ilLarge"}));
  EXPECT_EQ(page.IconListIndex, 2);
  EXPECT_FALSE(page.Changed);
}

TEST(TreeGeneralPageTest, AutomaticWithBarBitsShowsAutomaticAndAppliesFour) {
  for (const int bars : {5, 6, 7}) {
    auto tree = MakeTree();
    tree->SetScrollBars(bars);
    TreeGeneralPage page;
    page.SelectionChanged(*tree);
    EXPECT_EQ(TreeGeneralPage::ScrollBarEntries()[page.ScrollBarsIndex].Text, "4 - Automatic");
    tree->SetPaintLock(true);  // keep the bits from being recomputed before the check
    ASSERT_TRUE(page.ApplyChanges(*tree));
    EXPECT_EQ(tree->ScrollBars(), 4) << bars;
  }
}

TEST(TreeGeneralPageTest, WithoutImageListsOnlyNoneIsOfferedAndNoneIsApplied) {
  FakeImageList icons;
  auto tree = MakeTree();
  tree->SetIconList(&icons);
  TreeGeneralPage page;
  page.SelectionChanged(*tree);
  EXPECT_EQ(page.IconListEntries, std::vector<std::string>{"<None>"});
  ASSERT_TRUE(page.ApplyChanges(*tree));
  EXPECT_EQ(tree->IconList(), nullptr);
}

TEST(TreeGeneralPageTest, UntickingCheckboxesDisablesGreyButKeepsItsTick) {
  auto tree = MakeTree();
  tree->SetCheckboxes(true);
  tree->SetAutoGray(true);
  TreeGeneralPage page;
  page.SelectionChanged(*tree);
  EXPECT_TRUE(page.AutoGrayAvailable);
  page.SetCheckboxesChecked(false);
  EXPECT_FALSE(page.AutoGrayAvailable);
  EXPECT_TRUE(page.AutoGrayChecked);
  EXPECT_TRUE(page.Changed);
  ASSERT_TRUE(page.ApplyChanges(*tree));
  EXPECT_FALSE(tree->Checkboxes());
  EXPECT_TRUE(tree->AutoGray());
}

TEST(TreeGeneralPageTest, AppliesEverySettingInOneGo) {
  FakeImageList icons;
  auto tree = MakeTree();
  tree->SetContainerImageLists({{"ilIcons", &icons}});
  TreeGeneralPage page;
  page.SelectionChanged(*tree);
  page.EnabledChecked = false;
  page.CheckboxesChecked = true;
  page.IndentText = "&H10";
  page.AppearanceIndex = 2;
  page.ScrollBarsIndex = 3;
  page.IconListIndex = 1;
  ASSERT_TRUE(page.ApplyChanges(*tree));
  EXPECT_FALSE(tree->Enabled());
  EXPECT_TRUE(tree->Checkboxes());
  EXPECT_EQ(tree->Indent(), 16);
  EXPECT_EQ(tree->Appearance(), 3);
  EXPECT_EQ(tree->ScrollBars(), 3);
  EXPECT_EQ(tree->IconList(), &icons);
}

TEST(TreeGeneralPageTest, IndentMustBeAWholeNumberTextThatFits) {
  struct IndentCase {
    const char* text;
    bool ok;
    int applied;
  };
  const std::vector<IndentCase> cases = {
      {" 200 ", true, 200},   {"12.5", true, 12},     {"13.5", true, 14},
      {"&O17", true, 15},     {"-32768", true, -32768}, {"32767.4", true, 32767},
      {"", false, 0},         {"abc", false, 0},      {"12px", false, 0},
      {"32767.5", false, 0},  {"-32769", false, 0},   {"1e6", false, 0},
      {"1 2", false, 0}};
  for (const IndentCase& c : cases) {
    ScriptedUi ui;
    auto tree = MakeTree();
    TreeGeneralPage page;
    page.SelectionChanged(*tree);
    page.IndentText = c.text;
    page.AppearanceIndex = 0;
    page.Changed = true;
    if (!c.ok) ui.AnswerMsgBox(vbOK);
    const bool applied = page.ApplyChanges(*tree);
    SCOPED_TRACE(std::string("indent \"") + c.text + "\"");
    EXPECT_EQ(applied, c.ok);
    EXPECT_EQ(tree->Indent(), c.ok ? c.applied : 165);
    EXPECT_EQ(tree->Appearance(), c.ok ? 1 : 8);
    EXPECT_EQ(page.Changed, !c.ok);
    EXPECT_EQ(ui.Questions().size(), c.ok ? 0u : 1u);
  }
}

TEST(TreeGeneralPageTest, AListWithoutAChoiceIsReportedAndNothingIsApplied) {
  for (const bool appearanceZero : {true, false}) {  // else no Scrollbars entry
    ScriptedUi ui;
    ui.AnswerMsgBox(vbOK);
    auto tree = MakeTree();
    if (appearanceZero) tree->SetRenderFlags(5);
    TreeGeneralPage page;
    page.SelectionChanged(*tree);
    if (!appearanceZero) page.ScrollBarsIndex = -1;
    page.EnabledChecked = false;
    page.CheckboxesChecked = true;
    page.IndentText = "300";
    EXPECT_FALSE(page.ApplyChanges(*tree));
    EXPECT_EQ(ui.Questions().size(), 1u);
    EXPECT_TRUE(tree->Enabled() && !tree->Checkboxes() && tree->Indent() == 165) << appearanceZero;
    EXPECT_EQ(tree->RenderFlags(), appearanceZero ? 5 : 31);
  }
}

}  // namespace
}  // namespace quendrel
