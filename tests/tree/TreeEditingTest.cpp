// In-place editing: opening the text and list editors, typing, committing by every route,
// taking an edit back, refusing text that is no number, and hosts that re-enter the tree.
#include <gtest/gtest.h>

#include <sstream>

#include "foundation/values/RuntimeError.h"
#include "platform/ScriptedUi.h"
#include "tree/support/TreeTestSupport.h"

namespace quendrel {
namespace {

using test::EventLog;
using test::MenuTree;
using test::RowMiddleY;

constexpr float kCaptionX = 1000.0f;

// A tree whose host opens the text editor on a double-click, as the editors do.
struct EditFixture {
  EditFixture() : tree(MenuTree()), events(*tree) {
    tree->Node("B2").SetValue(7.5f);
    events.OnDblClick = [this] { tree->EditCurrentValue(); };
  }
  void DoubleClick(const char* key) {
    const float y = RowMiddleY(*tree, tree->Node(key));
    tree->CanvasMouseUp(1, 0, kCaptionX, y);
    tree->CanvasDblClick();
    tree->CanvasMouseUp(1, 0, kCaptionX, y);
    events.Lines.clear();
  }
  // Opens the list editor on B2 holding value, with a name "K<key>" for each key.
  ParameterTreeNode& OpenList(float value, std::initializer_list<int> keys) {
    ParameterTreeNode& node = tree->Node("B2");
    node.SetValue(value);
    for (const int key : keys) node.AddDVD(static_cast<std::int16_t>(key), "K" + std::to_string(key));
    tree->SetSelected(&node);
    tree->SelectCurrentValue();
    events.Lines.clear();
    return node;
  }

  std::shared_ptr<ParameterTree> tree;
  EventLog events;
};

TEST(TreeEditingTest, DoubleClickOpensTheTextEditorOnTheFormattedValue) {
  EditFixture f;
  f.DoubleClick("B2");
  EXPECT_TRUE(f.tree->Editor().TextShown);
  EXPECT_EQ(f.tree->Editor().Text, "7.5");
  EXPECT_EQ(f.tree->EditNode(), &f.tree->Node("B2"));
  const TreeRect& place = f.tree->Editor().TextPlace;
  const ParameterTreeNode& node = f.tree->Node("B2");
  EXPECT_EQ(place.Top, node.SiteY());
  EXPECT_EQ(place.Height, node.MinHeight());
  EXPECT_EQ(place.Width, 2.0f * (node.Col2X() - node.MinWidth()));
  EXPECT_EQ(place.Left + place.Width / 2, node.Col2X());
}

TEST(TreeEditingTest, TypingChangesTheValueAndEnterCommitsOnce) {
  EditFixture f;
  f.DoubleClick("B2");
  f.tree->EditTextChanged("1");
  f.tree->EditTextChanged("12");
  f.tree->EditorKeyUp(vbKeyReturn);
  f.tree->EditorLostFocus();  // hiding the focused editor
  EXPECT_FALSE(f.tree->EditorOpen());
  EXPECT_EQ(f.tree->EditNode(), nullptr);
  EXPECT_EQ(f.tree->Node("B2").Value(), 12.0f);
  EXPECT_EQ(f.events.Lines, (std::vector<std::string>{"ValueChanged B2 1", "ValueChanged B2 12",
                                                      "ValueCommit B2 12"}));
}

struct CommitCase {
  const char* typed;
  bool commits;
  float value;
};

TEST(TreeEditingTest, TextIsCommittedByItsLeadingNumberOrRefused) {
  const std::vector<CommitCase> cases = {
      {"12.5abc", true, 12.5f}, {"&H1F", true, 31.0f}, {" - 3", true, -3.0f}, {"1E3", true, 1000.0f},
      {"", false, 7.5f},        {"abc", false, 7.5f},  {"-", false, 7.5f},   {".", false, 7.5f},
      {"1e39", false, 7.5f},    {"-1D40", false, 7.5f},
      // A digit after the leading number says it is not the number that was typed.
      {"12 Hz", true, 12.0f},   {"12abc", true, 12.0f}, {"12,5", false, 7.5f}, {"0x10", false, 7.5f},
      {"1.2.3", false, 7.5f},   {"5 x2", false, 7.5f}};
  for (const CommitCase& c : cases) {
    EditFixture f;
    f.DoubleClick("B2");
    f.tree->EditTextChanged(c.typed);
    f.events.Lines.clear();
    f.tree->EditorLostFocus();
    SCOPED_TRACE(std::string("typed \"") + c.typed + "\"");
    EXPECT_FALSE(f.tree->EditorOpen());
    EXPECT_EQ(f.tree->Node("B2").Value(), c.value);
    // A refusal commits nothing and tells the host, which shows its refusal text.
    std::ostringstream raised;
    raised << (c.commits ? "ValueCommit" : "ValueRefused") << " B2 " << c.value;
    EXPECT_EQ(f.events.Lines, std::vector<std::string>{raised.str()});
  }
}

TEST(TreeEditingTest, EscapeTakesTheEditBack) {
  EditFixture f;
  f.DoubleClick("B2");
  f.tree->EditTextChanged("99");
  f.events.Lines.clear();
  f.tree->EditorKeyUp(vbKeyEscape);
  EXPECT_FALSE(f.tree->EditorOpen());
  EXPECT_EQ(f.tree->Node("B2").Value(), 7.5f);
  EXPECT_TRUE(f.events.Lines.empty());
  f.tree->EditorLostFocus();
  f.tree->CanvasMouseUp(1, 0, kCaptionX, 5);
  EXPECT_EQ(f.events.Lines, std::vector<std::string>{"Click"});
}

TEST(TreeEditingTest, ACanvasClickCommitsBeforeItSelects) {
  EditFixture f;
  f.DoubleClick("B2");
  f.tree->EditTextChanged("3");
  f.events.Lines.clear();
  f.tree->CanvasMouseUp(1, 0, kCaptionX, RowMiddleY(*f.tree, f.tree->Node("A")));
  EXPECT_EQ(f.events.Lines, (std::vector<std::string>{"ValueCommit B2 3", "Click"}));
  EXPECT_EQ(f.tree->Selected(), &f.tree->Node("A"));
  f.tree->SelectCurrentValue();  // a drag commits the list editor alike
  f.tree->EditListChanged(-1);
  f.tree->CanvasMouseMove(1, 0, kCaptionX, RowMiddleY(*f.tree, f.tree->Node("B")));
  EXPECT_FALSE(f.tree->EditorOpen());
}

TEST(TreeEditingTest, ListEditorPreselectsTheValueAndCommitsTheChoice) {
  EditFixture f;
  f.OpenList(1, {0, 1, 2});
  EXPECT_TRUE(f.tree->Editor().ListShown);
  EXPECT_EQ(f.tree->Editor().Items, (std::vector<std::string>{"K0", "K1", "K2"}));
  EXPECT_EQ(f.tree->Editor().ListIndex, 1);
  f.tree->EditListChanged(2);
  f.tree->EditorKeyUp(vbKeyReturn);
  EXPECT_EQ(f.events.Lines, (std::vector<std::string>{"ValueChanged B2 2", "ValueCommit B2 2"}));
  EXPECT_FALSE(f.tree->EditorOpen());
}

TEST(TreeEditingTest, ListEditorListsByPositionAndCommitsNothingUnchosen) {
  EditFixture f;
  const ParameterTreeNode& node = f.OpenList(4, {0, 1, 5});
  EXPECT_EQ(f.tree->Editor().Items, (std::vector<std::string>{"K0", "K1", "<ERROR>"}));
  EXPECT_EQ(f.tree->Editor().ListIndex, -1);
  f.tree->EditorLostFocus();
  EXPECT_TRUE(f.events.Lines.empty());
  EXPECT_EQ(node.Value(), 4.0f);
}

TEST(TreeEditingTest, EscapeInTheListRestoresTheValue) {
  EditFixture f;
  const ParameterTreeNode& node = f.OpenList(0, {0, 1});
  f.tree->EditListChanged(1);
  f.events.Lines.clear();
  f.tree->EditorKeyUp(vbKeyEscape);
  EXPECT_EQ(node.Value(), 0.0f);
  EXPECT_TRUE(f.events.Lines.empty());
}

TEST(TreeEditingTest, DisabledNodesAreNotEditedAndNoSelectionRaises) {
  EditFixture f;
  EXPECT_THROW(f.tree->EditCurrentValue(), RuntimeError);
  EXPECT_THROW(f.tree->SelectCurrentValue(), RuntimeError);
  f.tree->Node("B2").SetEnabled(false);
  f.tree->SetSelected(&f.tree->Node("B2"));
  f.tree->EditCurrentValue();
  f.tree->SelectCurrentValue();
  EXPECT_FALSE(f.tree->EditorOpen());
}

TEST(TreeEditingTest, AModalBoxInValueCommitDoesNotCommitTwice) {
  EditFixture f;
  ScriptedUi ui;
  ui.AnswerMsgBox(vbOK);
  f.events.OnValueCommit = [&](ParameterTreeNode&) {
    f.tree->EditorLostFocus();  // the box takes the focus from wherever it was
    Ui().MsgBox("Written", vbOKOnly, "Drive");
  };
  f.DoubleClick("B2");
  f.tree->EditTextChanged("4");
  f.events.Lines.clear();
  f.tree->EditorKeyUp(vbKeyReturn);
  f.tree->EditorLostFocus();
  EXPECT_EQ(f.events.Lines, std::vector<std::string>{"ValueCommit B2 4"});
  EXPECT_EQ(ui.Titles(), std::vector<std::string>{"Drive"});
}

TEST(TreeEditingTest, ClearingTheTreeInValueCommitEndsTheMouseAction) {
  EditFixture f;
  f.events.OnValueCommit = [&](ParameterTreeNode& node) {
    f.tree->Clear();
    f.tree->AddNode("X", "", "Rebuilt");
    node.SetCaption("old node still valid");
  };
  f.DoubleClick("B2");
  f.tree->EditTextChanged("4");
  f.events.Lines.clear();
  f.tree->CanvasMouseUp(1, 0, kCaptionX, 10);
  EXPECT_EQ(f.events.Lines, std::vector<std::string>{"ValueCommit B2 4"});
  EXPECT_EQ(f.tree->First()->Caption(), "Rebuilt");
  EXPECT_EQ(f.tree->Selected(), nullptr);
}

TEST(TreeEditingTest, AnEditorTheHostOpensInValueCommitStaysOpen) {
  EditFixture f;
  bool reopened = false;
  f.events.OnValueCommit = [&](ParameterTreeNode&) {
    if (reopened) return;
    reopened = true;
    f.tree->EditCurrentValue();
  };
  f.DoubleClick("B2");
  f.tree->EditorKeyUp(vbKeyReturn);
  EXPECT_TRUE(f.tree->Editor().TextShown);
  EXPECT_EQ(f.tree->EditNode(), &f.tree->Node("B2"));
}

TEST(TreeEditingTest, ClickingIntoAnEditorLetsTheNextCanvasReleaseThrough) {
  EditFixture f;
  f.tree->CanvasMouseUp(1, 0, kCaptionX, RowMiddleY(*f.tree, f.tree->Node("B2")));
  f.tree->CanvasDblClick();
  f.tree->EditorClicked();
  EXPECT_FALSE(f.tree->IgnoringNextRelease());
  f.events.Lines.clear();
  f.tree->CanvasMouseUp(1, 0, kCaptionX, RowMiddleY(*f.tree, f.tree->Node("A")));
  EXPECT_EQ(f.events.Lines, (std::vector<std::string>{"ValueCommit B2 7.5", "Click"}));
}

}  // namespace
}  // namespace quendrel
