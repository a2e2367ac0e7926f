// Where rows go, how far the tree scrolls, when the bars show, and that the drawing that
// leaves out rows off the canvas gives the same picture as drawing every row.
#include <gtest/gtest.h>

#include "tree/support/TreeTestSupport.h"

namespace quendrel {
namespace {

using test::AddMenus;
using test::AddNodes;
using test::LinesStartingWith;
using test::MakeTree;
using test::Recording;
using test::TreeOf;

// Rows are 195 twips high at the default font; a branch adds a 2-pixel (30 twip) gap before
// its first child and after its end.
TEST(TreeLayoutTest, RowsOfNestedExpandedBranchesHaveGapsAndIndents) {
  auto tree = MakeTree();
  AddMenus(*tree);
  AddNodes(*tree, {"A21 A2", "A22 A2"});
  tree->Node("A2").SetExpanded(true);
  tree->RepaintAll();
  struct Site {
    const char* key;
    int x, y;
  };
  const std::vector<Site> sites = {{"A", 0, 0},      {"A1", 165, 225}, {"A2", 165, 420},
                                   {"A21", 330, 645}, {"A22", 330, 840}, {"A3", 165, 1065},
                                   {"B", 0, 1290},    {"B3", 165, 1905}, {"C", 0, 2130}};
  for (const Site& site : sites) {
    EXPECT_EQ(tree->Node(site.key).SiteX(), site.x) << site.key;
    EXPECT_EQ(tree->Node(site.key).SiteY(), site.y) << site.key;
  }
  EXPECT_FALSE(tree->Node("C1").Sited());
  EXPECT_EQ(tree->ScrollData().virtualHeight, 2130 + 195);
  EXPECT_EQ(tree->LaidOutRows().size(), 11u);
}

TEST(TreeLayoutTest, ValueColumnEndsAtTheVirtualWidth) {
  auto tree = TreeOf({"A - Alpha", "A1 A Long", "A11 A1 x"});
  tree->ExpandAll();
  tree->SetAppearance(1);
  tree->RepaintAll();
  // Widest: "Alpha" + 5 spaces + "0.0" = 13 characters = 1072.5 twips; deepest level 2.
  EXPECT_EQ(tree->ScrollData().virtualWidth, 75 + 2 * 165 + 1072 + 2 * 165);
  EXPECT_EQ(tree->Node("A11").Col2X(), tree->ScrollData().virtualWidth);
}

// Many expanded branches in a small control, so the gaps add up to several rows.
std::shared_ptr<ParameterTree> BranchyTree() {
  auto tree = MakeTree();
  for (int menu = 0; menu < 12; ++menu) {
    const std::string key = "M" + std::to_string(menu);
    tree->AddNode(key, "", key).SetExpanded(true);
    for (int p = 0; p < 2; ++p) tree->AddNode(key + "." + std::to_string(p), key, "P");
  }
  tree->Resize(3000, 1500);
  return tree;
}

TEST(TreeLayoutTest, TheLastRowCanBeScrolledFullyIntoView) {
  auto tree = BranchyTree();
  tree->RepaintAll();
  tree->SetVScroll(100000);
  tree->RepaintAll();
  const ParameterTreeNode& last = *tree->LaidOutRows().back();
  const int bottom = last.SiteY() + last.MinHeight() - tree->VScroll() * 15;
  EXPECT_LE(bottom, tree->CanvasPlace().Height);
  EXPECT_GT(bottom, tree->CanvasPlace().Height - 15);
  const auto visible = tree->VisibleNodes();
  ASSERT_FALSE(visible.empty());
  EXPECT_EQ(visible.back(), &last);
}

TEST(TreeLayoutTest, AutomaticBarsShowWhenRowsStopFitting) {
  auto tree = TreeOf({"A - "});
  tree->RepaintAll();
  EXPECT_FALSE(tree->VerticalBar().Visible);
  EXPECT_FALSE(tree->HorizontalBar().Visible);
  EXPECT_EQ(tree->CanvasPlace().Width, 4800 - 40);
  EXPECT_EQ(tree->CanvasPlace().Height, 3600 - 40);
  EXPECT_EQ(tree->ScrollBars(), 4);
  for (int i = 0; i < 30; ++i) tree->AddNode("N" + std::to_string(i), "", "N");
  tree->RepaintAll();
  EXPECT_TRUE(tree->VerticalBar().Visible);
  EXPECT_TRUE(tree->VerticalBar().Enabled);
  EXPECT_FALSE(tree->HorizontalBar().Visible);
  EXPECT_EQ(tree->CanvasPlace().Width, 4800 - 255 - 60);
  EXPECT_EQ(tree->VerticalBar().Place.Left, 4800 - 255 - 60);
  EXPECT_EQ(tree->ScrollBars(), 6);
  tree->SetDesignMode(true);
  EXPECT_EQ(tree->ScrollBars(), 4);
}

TEST(TreeLayoutTest, BothBarsLeaveACornerBetweenThem) {
  auto tree = MakeTree();
  for (int i = 0; i < 30; ++i) tree->AddNode("N" + std::to_string(i), "", std::string(80, 'w'));
  tree->RepaintAll();
  tree->RepaintAll();
  EXPECT_EQ(tree->ScrollBars(), 7);
  EXPECT_TRUE(tree->CornerVisible());
  EXPECT_EQ(tree->CornerPlace().Left, tree->HorizontalBar().Place.Width);
  EXPECT_EQ(tree->CornerPlace().Top, tree->VerticalBar().Place.Height);
  EXPECT_EQ(tree->CanvasPlace().Height, 3600 - 255 - 60);
}

TEST(TreeLayoutTest, ScrollPositionsStayInTheBarRange) {
  auto tree = BranchyTree();
  tree->RepaintAll();
  tree->SetVScroll(-5);
  EXPECT_EQ(tree->VScroll(), 0);
  tree->SetVScroll(100000);
  EXPECT_EQ(tree->VScroll(), tree->VerticalBar().Max);
  tree->SetHScroll(30);
  EXPECT_EQ(tree->HScroll(), 0);
  tree->SetScrollBars(1);  // horizontal only keeps the view at the top
  tree->SetVScroll(50);
  tree->RepaintAll();
  EXPECT_EQ(tree->VScroll(), 0);
  EXPECT_FALSE(tree->VerticalBar().Visible);
}

TEST(TreeLayoutTest, DisablingTheControlDisablesBothBarsAndScrollsHome) {
  auto tree = BranchyTree();
  for (int i = 0; i < 3; ++i) tree->AddNode("W" + std::to_string(i), "", std::string(80, 'w'));
  tree->RepaintAll();
  tree->SetVScroll(40);
  tree->SetHScroll(40);
  tree->SetEnabled(false);
  EXPECT_FALSE(tree->VerticalBar().Enabled);
  EXPECT_FALSE(tree->HorizontalBar().Enabled);
  EXPECT_EQ(tree->VScroll(), 0);
  EXPECT_EQ(tree->HScroll(), 0);
}

TEST(TreeLayoutTest, ScrollToSelectedBringsTheLowerEdgeToTheBottom) {
  auto tree = BranchyTree();
  tree->RepaintAll();
  ParameterTreeNode& target = tree->Node("M6.1");
  tree->SetSelected(&target);
  ASSERT_TRUE(tree->ScrollToSelected());
  tree->RepaintAll();
  const float bottom = target.SiteY() + target.MinHeight() - tree->VScroll() * 15.0f;
  EXPECT_NEAR(bottom, tree->CanvasPlace().Height, 7.5);
  EXPECT_FALSE(tree->ScrollToSelected());
  tree->SetSelected(&tree->Node("M0"));
  EXPECT_TRUE(tree->ScrollToSelected());
  EXPECT_EQ(tree->VScroll(), 0);
}

TEST(TreeLayoutTest, ResizeReturnsToTheTopThenShowsTheSelectedRow) {
  auto tree = BranchyTree();
  tree->RepaintAll();
  tree->SetSelected(&tree->Node("M1"));
  tree->SetVScroll(200);
  tree->Resize(3000, 1600);
  EXPECT_EQ(tree->VScroll(), 0);
  tree->SetSelected(&tree->Node("M9.1"));
  tree->Resize(3000, 1500);
  const ParameterTreeNode& selected = tree->Node("M9.1");
  EXPECT_GT(tree->VScroll(), 0);
  EXPECT_LE(selected.SiteY() + selected.MinHeight() - tree->VScroll() * 15.0f,
            tree->CanvasPlace().Height + 7.5f);
}

TEST(TreeLayoutTest, PaintLockTurnsManyRequestsIntoOneFullRepaint) {
  auto tree = test::MenuTree();
  tree->SetPaintLock(true);
  Recording(*tree).ClearLog();
  for (int i = 0; i < 10; ++i) tree->RepaintDirty();
  EXPECT_TRUE(Recording(*tree).Log().empty());
  tree->SetPaintLock(false);
  EXPECT_EQ(LinesStartingWith(Recording(*tree), "Cls").size(), 1u);
  Recording(*tree).ClearLog();
  tree->SetPaintLock(true);
  tree->SetPaintLock(false);
  EXPECT_TRUE(Recording(*tree).Log().empty());
}

TEST(TreeLayoutTest, RepaintDirtyDrawsOverThePictureWithoutLayout) {
  auto tree = test::MenuTree();
  tree->Node("C").SetExpanded(true);
  Recording(*tree).ClearLog();
  tree->RepaintDirty();
  EXPECT_TRUE(LinesStartingWith(Recording(*tree), "Cls").empty());
  EXPECT_EQ(tree->LaidOutRows().size(), 9u);
}

TEST(TreeLayoutTest, VisibleNodesAreTheRowsInsideTheView) {
  auto tree = BranchyTree();
  tree->RepaintAll();
  tree->SetVScroll(20);  // 300 twips: M0 (0..195) is above, M0.0 (225..420) is cut
  const auto visible = tree->VisibleNodes();
  ASSERT_FALSE(visible.empty());
  EXPECT_EQ(visible.front(), &tree->Node("M0.0"));
  const float viewBottom = 20 * 15.0f + tree->CanvasPlace().Height;
  EXPECT_LE(visible.back()->SiteY(), viewBottom + 7.5f);
  const auto& rows = tree->LaidOutRows();
  const auto after = std::find(rows.begin(), rows.end(), visible.back()) + 1;
  ASSERT_NE(after, rows.end());
  EXPECT_GT((*after)->SiteY(), viewBottom);
  auto empty = MakeTree();
  empty->RepaintAll();
  EXPECT_TRUE(empty->VisibleNodes().empty());
}

TEST(TreeLayoutTest, CulledDrawingGivesTheSamePixelsAsDrawingEveryRow) {
  const auto icons = test::MakeIcons();
  for (const int appearance : {1, 4, 6, 8}) {
    auto tree = MakeTree();
    tree->SetIconList(icons.get());
    tree->SetCheckboxes(true);
    tree->SetAppearance(appearance);
    test::FillSample(*tree, 6);
    tree->ExpandAll();
    tree->Node("M2P6").SetSelected(true);
    tree->Node("M2P6").SetFocus(true);
    tree->Resize(4000, 2000);
    for (const int scroll : {0, 7, 100, 213, 380, 100000}) {
      tree->SetVScroll(scroll);
      Recording(*tree).ClearLog();
      tree->RepaintAll();
      RecordingCanvas& canvas = Recording(*tree);
      const CanvasImage culled = canvas.Snapshot();
      const std::size_t culledCalls = canvas.Log().size();
      canvas.ClearLog();
      canvas.Cls();
      tree->RenderUnculled();
      const CanvasImage full = canvas.Snapshot();
      SCOPED_TRACE("Appearance " + std::to_string(appearance) + " scroll " + std::to_string(scroll));
      EXPECT_TRUE(culled.Pixels == full.Pixels);
      EXPECT_LT(culledCalls, canvas.Log().size());
    }
  }
}

}  // namespace
}  // namespace quendrel
