// Mouse releases, drags and double-clicks on the canvas: which row they hit below expanded
// branches and in the gaps, what they select, toggle and tick, and the events in order.
#include <gtest/gtest.h>

#include "tree/support/TreeTestSupport.h"

namespace quendrel {
namespace {

using test::EventLog;
using test::MenuTree;
using test::RowMiddleY;

constexpr float kCaptionX = 1000.0f;  // right of every box, over the captions
constexpr float kPlusMinusX = 82.0f;
constexpr int kLeft = 1;
constexpr int kRight = 2;

struct Fixture {
  Fixture() : tree(MenuTree()), events(*tree) {}
  float MiddleOf(const char* key) const { return RowMiddleY(*tree, tree->Node(key)); }
  void ReleaseAt(float y, float x = kCaptionX, int shift = 0) { tree->CanvasMouseUp(kLeft, shift, x, y); }
  void ReleaseOn(const char* key, float x = kCaptionX) { ReleaseAt(MiddleOf(key), x); }
  float LastBottom() const {
    const ParameterTreeNode& last = *tree->LaidOutRows().back();
    return static_cast<float>(last.SiteY() + last.MinHeight());
  }

  std::shared_ptr<ParameterTree> tree;
  EventLog events;
};

TEST(TreeMouseTest, ReleaseSelectsTheRowUnderThePointerBelowOpenBranches) {
  // Rows: A 0, A1 225, A2 420, A3 615, B 840, B1 1065, B2 1260, B3 1455, C 1680.
  struct HitCase {
    float y;
    const char* selected;
  };
  const std::vector<HitCase> cases = {{0, "A"},        {194, "A"},  {210, "A"},  {225, "A1"},
                                      {1064, "B"},     {1065, "B1"}, {1670, "B3"}, {1680, "C"},
                                      {1874, "C"}};
  for (const HitCase& c : cases) {
    Fixture f;
    f.ReleaseAt(c.y);
    ASSERT_NE(f.tree->Selected(), nullptr) << c.y;
    EXPECT_EQ(f.tree->Selected()->Caption(), c.selected) << "y " << c.y;
    EXPECT_EQ(f.tree->CurrentNode(), f.tree->Selected());
    EXPECT_EQ(f.events.Lines, std::vector<std::string>{"Click"}) << "y " << c.y;
  }
}

TEST(TreeMouseTest, HitsFollowTheScrollPosition) {
  Fixture f;
  for (int i = 0; i < 30; ++i) f.tree->AddNode("N" + std::to_string(i), "", "N" + std::to_string(i));
  f.tree->RepaintAll();
  f.tree->SetVScroll(30);
  f.tree->RepaintAll();
  f.ReleaseOn("N3");
  EXPECT_EQ(f.tree->Selected(), &f.tree->Node("N3"));
}

TEST(TreeMouseTest, ReleaseJustPastTheLastRowDeselectsWithoutClickAndFreesTheArrows) {
  Fixture f;
  f.ReleaseOn("A");
  f.events.Lines.clear();
  f.ReleaseAt(f.LastBottom() + 10);
  EXPECT_EQ(f.tree->Selected(), nullptr);
  EXPECT_EQ(f.tree->CurrentNode(), nullptr);
  EXPECT_FALSE(f.tree->Node("A").Focus());
  EXPECT_TRUE(f.events.Lines.empty());
  f.tree->CanvasKeyUp(vbKeyDown, 0);
  EXPECT_EQ(f.tree->Selected(), &f.tree->Node("A"));
  EXPECT_EQ(f.events.Lines, (std::vector<std::string>{"SelectionChanged A", "KeyUp 40 0"}));
}

TEST(TreeMouseTest, ReleaseFurtherOutsideClearsUnlessShiftOrCtrlAndAlwaysClicks) {
  for (const int shift : {0, vbShiftMask, vbCtrlMask}) {
    Fixture f;
    f.ReleaseOn("B");
    f.events.Lines.clear();
    f.ReleaseAt(f.LastBottom() + 400, kCaptionX, shift);
    EXPECT_EQ(f.tree->Selected() != nullptr, shift != 0) << shift;
    EXPECT_EQ(f.tree->CurrentNode() != nullptr, shift != 0) << shift;
    EXPECT_EQ(f.events.Lines, std::vector<std::string>{"Click"});
  }
  Fixture above;
  above.ReleaseAt(-20);
  EXPECT_EQ(above.events.Lines, std::vector<std::string>{"Click"});
}

TEST(TreeMouseTest, ShiftClickAndRightButtonStillSelectOnlyThatRow) {
  Fixture f;
  f.tree->Node("A1").SetSelected(true);
  f.tree->CanvasMouseUp(kRight, vbShiftMask, kCaptionX, f.MiddleOf("B2"));
  EXPECT_EQ(f.tree->Selected(), &f.tree->Node("B2"));
  EXPECT_FALSE(f.tree->Node("A1").Selected());
  f.ReleaseOn("C");
  EXPECT_FALSE(f.tree->Node("B2").Focus());
}

TEST(TreeMouseTest, PlusMinusClickTogglesAndRaisesExpandChangedBeforeClick) {
  Fixture f;
  f.ReleaseOn("C", kPlusMinusX);
  EXPECT_TRUE(f.tree->Node("C").Expanded());
  EXPECT_EQ(f.tree->LaidOutRows().size(), 12u);
  EXPECT_EQ(f.events.Lines, (std::vector<std::string>{"ExpandChanged C", "Click"}));
  f.ReleaseOn("B1", kPlusMinusX + 165);  // a leaf's box position
  EXPECT_TRUE(f.tree->Node("B1").Expanded());
}

TEST(TreeMouseTest, CheckBoxClickRaisesCheckChangedWithTheBranchUpdated) {
  Fixture f;
  f.tree->SetCheckboxes(true);
  f.tree->SetAutoGray(true);
  f.ReleaseOn("A", 270);
  EXPECT_EQ(f.tree->Node("A3").Checked(), 1);
  f.events.Lines.clear();
  int parentAtEvent = -1;
  f.events.OnCheckChanged = [&](ParameterTreeNode&) { parentAtEvent = f.tree->Node("B").Checked(); };
  f.ReleaseOn("B2", 165 + 270);
  EXPECT_EQ(f.tree->Node("B2").Checked(), 1);
  EXPECT_EQ(parentAtEvent, 2);
  EXPECT_EQ(f.events.Lines, (std::vector<std::string>{"CheckChanged B2 1", "Click"}));
}

TEST(TreeMouseTest, AppearancesWithoutPlusMinusLetTheMouseTickNothing) {
  for (const int appearance : {1, 3, 4, 5}) {
    Fixture f;
    f.tree->SetAppearance(appearance);
    f.tree->SetCheckboxes(true);
    f.ReleaseOn("C", 270);
    f.ReleaseOn("C", kPlusMinusX);
    EXPECT_EQ(f.tree->Node("C").Checked(), 0) << appearance;
    EXPECT_FALSE(f.tree->Node("C").Expanded()) << appearance;
  }
}

TEST(TreeMouseTest, DoubleClickSwallowsTheSecondReleaseAndTheMovesBeforeIt) {
  Fixture f;
  f.ReleaseOn("A2");
  f.tree->CanvasDblClick();
  // A shaking hand, then the pointer put onto an editor two rows down.
  f.tree->CanvasMouseMove(kLeft, 0, kCaptionX + 15, f.MiddleOf("A2"));
  f.tree->CanvasMouseMove(kLeft, 0, kCaptionX, f.MiddleOf("B"));
  f.ReleaseOn("B");
  EXPECT_EQ(f.tree->Selected(), &f.tree->Node("A2"));
  EXPECT_EQ(f.events.Lines, (std::vector<std::string>{"Click", "DblClick"}));
  f.ReleaseOn("B");
  EXPECT_EQ(f.tree->Selected(), &f.tree->Node("B"));
}

TEST(TreeMouseTest, DraggingMovesTheMarkButNotTheCurrentNode) {
  Fixture f;
  f.ReleaseOn("A");
  f.events.Lines.clear();
  f.tree->CanvasMouseMove(0, 0, kCaptionX, f.MiddleOf("B1"));
  EXPECT_EQ(f.tree->Selected(), &f.tree->Node("A"));
  f.tree->CanvasMouseMove(kLeft, 0, kCaptionX, f.MiddleOf("B1"));
  EXPECT_EQ(f.tree->Selected(), &f.tree->Node("B1"));
  EXPECT_EQ(f.tree->CurrentNode(), &f.tree->Node("A"));
  f.tree->CanvasMouseMove(kLeft, 0, kCaptionX, f.LastBottom() + 400);
  EXPECT_EQ(f.tree->Selected(), &f.tree->Node("B1"));
  EXPECT_TRUE(f.events.Lines.empty());
  f.ReleaseOn("B1");
  EXPECT_EQ(f.tree->CurrentNode(), &f.tree->Node("B1"));
  EXPECT_EQ(f.events.Lines, std::vector<std::string>{"Click"});
}

TEST(TreeMouseTest, ADragKeptByShiftOrCtrlBelowTheRowsLeavesOneCurrentRowForTheArrows) {
  for (const int shift : {vbShiftMask, vbCtrlMask}) {
    for (const bool ontoRow : {true, false}) {  // a drag onto B1, or past the last row
      Fixture f;
      f.ReleaseOn("A");
      f.tree->CanvasMouseMove(kLeft, 0, kCaptionX, ontoRow ? f.MiddleOf("B1") : f.LastBottom() + 10);
      f.ReleaseAt(f.LastBottom() + 400, kCaptionX, shift);
      f.tree->CanvasKeyUp(vbKeyDown, 0);
      ParameterTreeNode& expected = f.tree->Node(ontoRow ? "B2" : "A");
      std::vector<ParameterTreeNode*> selected;
      for (ParameterTreeNode* row : f.tree->LaidOutRows()) {
        if (row->Selected()) selected.push_back(row);
      }
      EXPECT_EQ(selected, std::vector<ParameterTreeNode*>{&expected}) << shift << ontoRow;
      EXPECT_EQ(f.tree->CurrentNode(), &expected);
    }
  }
}

TEST(TreeMouseTest, ADisabledTreeTakesNoInputOpensNoEditorAndRaisesNothing) {
  Fixture f;
  f.tree->SetCheckboxes(true);
  f.events.OnDblClick = [&] { f.tree->EditCurrentValue(); };
  f.ReleaseOn("B2");
  f.tree->EditCurrentValue();
  f.tree->EditTextChanged("42");
  f.events.Lines.clear();
  // Disabling takes back the edit in progress: the drive it was for is gone.
  f.tree->SetEnabled(false);
  EXPECT_EQ(f.tree->Node("B2").Value(), 0.0f);
  f.ReleaseOn("A");
  f.tree->CanvasMouseMove(kLeft, 0, kCaptionX, f.MiddleOf("A"));
  for (const int key : {vbKeyDown, vbKeySpace, vbKeyReturn}) f.tree->CanvasKeyUp(key, 0);
  f.tree->CanvasDblClick();
  f.tree->EditCurrentValue();
  f.tree->SelectCurrentValue();
  EXPECT_TRUE(f.events.Lines.empty());
  EXPECT_FALSE(f.tree->EditorOpen());
  EXPECT_EQ(f.tree->Selected(), &f.tree->Node("B2"));
  EXPECT_EQ(f.tree->Node("B2").Checked(), 0);
}

TEST(TreeMouseTest, FocusOfTheControlMovesTheFocusMark) {
  Fixture f;
  f.ReleaseOn("B");
  f.tree->ControlLostFocus();
  EXPECT_FALSE(f.tree->Node("B").Focus());
  EXPECT_TRUE(f.tree->Node("B").Selected());
  f.tree->ControlGotFocus();
  EXPECT_TRUE(f.tree->Node("B").Focus());
}

TEST(TreeMouseTest, AnExpandHandlerThatPumpsAndClearsTheTreeEndsTheRelease) {
  Fixture f;
  f.events.OnExpandChanged = [&](ParameterTreeNode& node) {
    f.tree->Clear();
    node.SetCaption("still here");  // the node outlives the event that removed it
  };
  f.ReleaseOn("C", kPlusMinusX);
  EXPECT_EQ(f.events.Lines, std::vector<std::string>{"ExpandChanged C"});
  EXPECT_EQ(f.tree->First(), nullptr);
  f.ReleaseAt(10);
}

TEST(TreeMouseTest, TheTreeSurvivesItsOwnerDroppingItDuringAnEvent) {
  // A window that closes in its Click handler and releases its tree with it.
  struct ClosingHost : ParameterTreeEvents {
    std::shared_ptr<ParameterTree>* owner = nullptr;
    void Click() override { owner->reset(); }
  };
  auto tree = MenuTree();
  ClosingHost host;
  host.owner = &tree;
  tree->SetEvents(&host);
  std::weak_ptr<ParameterTree> watch = tree;
  tree.get()->CanvasMouseUp(kLeft, 0, kCaptionX, 10);
  EXPECT_TRUE(watch.expired());
}

}  // namespace
}  // namespace quendrel
