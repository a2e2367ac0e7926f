// The graph pane's popup menu, mouse rules and output commands, answered through ScriptedUi.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "graph/support/GraphPaneRig.h"
#include "platform/ScriptedUi.h"
#include "support/FileText.h"
#include "support/TempFolder.h"

namespace quendrel {
namespace {

using testing::GraphPaneRig;

struct GraphPaneMenuTest : ::testing::Test {
  GraphPaneMenuTest() {
    rig.pane.OnEvent([this](GraphPaneEvent event, const GraphPaneMouse&) { events.push_back(event); });
    rig.pane.OnSnapshot([this] {
      rig.pane.DrawGraph(rig.canvas);
      return rig.canvas.Snapshot();
    });
  }
  void RightClick() { rig.pane.MouseDown({2, 0, 150.0f, 300.0f}); }

  GraphPaneRig rig;
  ScriptedUi ui;
  TempFolder folder;
  std::vector<GraphPaneEvent> events;
};

TEST_F(GraphPaneMenuTest, MenuMarksAndTogglesWithoutNotifying) {
  int notified = 0;
  rig.pane.OnSettingsChanged([&] { ++notified; });
  rig.pane.SetShowAverage(true);
  ui.AnswerPopupMenu(8);  // "&Current Value"
  RightClick();
  const PopupMenuRequest& menu = ui.Menus().front();
  EXPECT_EQ(menu.Items[5].Caption, "Show");
  EXPECT_TRUE(menu.Items[5].Submenu[0].Checked);
  EXPECT_TRUE(menu.Items[4].Submenu[0].Checked);
  EXPECT_TRUE(menu.Items[7].Default);
  EXPECT_TRUE(rig.pane.ShowCurrent());
  EXPECT_FALSE(rig.pane.ShowAverage());
  EXPECT_EQ(notified, 1);
  EXPECT_EQ(events, std::vector<GraphPaneEvent>{GraphPaneEvent::MouseDown});

  ui.AnswerPopupMenu(6);  // "&Bar"
  RightClick();
  EXPECT_EQ(rig.pane.GraphType(), gpBar);
  rig.pane.SetGraphType(5);
  ui.AnswerPopupMenu(0);
  RightClick();
  for (const PopupMenuItem& type : ui.Menus().back().Items[4].Submenu) EXPECT_FALSE(type.Checked);
}

TEST_F(GraphPaneMenuTest, PreviewPaneOnlyPassesMovesAndUps) {
  rig.pane.SetIsPreviewPane(true);
  RightClick();
  rig.pane.Click();
  rig.pane.DblClick();
  rig.pane.MouseMove({});
  rig.pane.MouseUp({});
  rig.pane.SaveSnapshot();
  rig.pane.PrintSnapshot();
  EXPECT_EQ(events, (std::vector<GraphPaneEvent>{GraphPaneEvent::MouseMove, GraphPaneEvent::MouseUp}));
  EXPECT_TRUE(ui.Questions().empty());
}

TEST_F(GraphPaneMenuTest, PreferencesRunsTheDialogThenTheHostHook) {
  std::vector<std::string> calls;
  GraphPane::SetPreferencesDialog([&](GraphPane& pane) { calls.push_back("dialog " + pane.Name()); });
  rig.pane.OnPreferencesClosed([&] { calls.push_back("host"); });
  rig.pane.DblClick();
  GraphPane::SetPreferencesDialog(nullptr);
  EXPECT_EQ(calls, (std::vector<std::string>{"dialog gpGraph", "host"}));
  EXPECT_EQ(events, std::vector<GraphPaneEvent>{GraphPaneEvent::DblClick});
}

TEST_F(GraphPaneMenuTest, SnapshotIsABitmapUnderTheNameChosenAndAFailureSaysWhy) {
  rig.AddSeries("A", {1.0, 2.0});
  const std::string path = folder.File("graph");
  ui.AnswerFileDialog(path);
  rig.pane.SaveSnapshot();
  EXPECT_EQ(ReadTestFile(path).substr(0, 2), "BM");

  const std::string missing = folder.File("no/such/folder/graph.bmp");
  ui.AnswerFileDialog(missing);
  ui.AnswerMsgBox(vbOK);
  rig.pane.SaveSnapshot();
  EXPECT_EQ(ui.Titles().back(), "Graph Error");
  EXPECT_EQ(ui.Prompts().back().rfind("Unable to save " + missing + ".\n", 0), 0u);
  EXPECT_GT(ui.Prompts().back().size(), ("Unable to save " + missing + ".\n").size());
}

TEST_F(GraphPaneMenuTest, PrintTellsACancelFromAFailure) {
  ui.AnswerPrintDialog(false);
  rig.pane.PrintSnapshot();
  ui.FailPrintJob();
  ui.AnswerMsgBox(vbOK);
  rig.pane.PrintSnapshot();
  ui.AnswerPrintDialog(true);
  rig.pane.PrintSnapshot();
  EXPECT_EQ(ui.Prompts(), (std::vector<std::string>{"", "", "Unable to print the graph.", ""}));
  EXPECT_EQ(ui.Printed().size(), 1u);
}

// The page shows what was scanned while the print dialog was open; a cancelled dialog takes no picture.
TEST_F(GraphPaneMenuTest, PrintTakesItsPictureAfterTheDialogsOK) {
  gdSeries& series = rig.AddSeries("A", {1.0, 2.0});
  std::vector<std::string> order;
  rig.pane.OnSnapshot([&] {
    order.push_back("picture");
    rig.pane.DrawGraph(rig.canvas);
    return rig.canvas.Snapshot();
  });
  double scanned = testing::kNow;
  ui.WhileAsked([&](const UiQuestion&) {
    order.push_back("dialog");
    series.AddPoint(scanned += 1.0, 40.0);
  });
  rig.pane.DrawGraph(rig.canvas);
  const CanvasImage before = rig.canvas.Snapshot();

  ui.AnswerPrintDialog(false);
  rig.pane.PrintSnapshot();
  EXPECT_EQ(order, std::vector<std::string>{"dialog"});
  ui.AnswerPrintDialog(true);
  rig.pane.PrintSnapshot();
  EXPECT_EQ(order, (std::vector<std::string>{"dialog", "dialog", "picture"}));
  ASSERT_EQ(ui.Printed().size(), 1u);
  EXPECT_NE(ui.Printed()[0].Pixels, before.Pixels);
  rig.pane.DrawGraph(rig.canvas);
  EXPECT_EQ(ui.Printed()[0].Pixels, rig.canvas.Snapshot().Pixels);
}

TEST_F(GraphPaneMenuTest, GraphDataNeedsABoundControlAndAWritableFile) {
  rig.AddSeries("A", {1.0});
  ui.AnswerFileDialog(folder.File("graph.dat"));
  rig.pane.SaveGraphData();
  EXPECT_NE(ReadTestFile(folder.File("graph.dat")).find("A"), std::string::npos);

  ui.AnswerFileDialog(folder.File("none/graph.dat"));
  ui.AnswerMsgBox(vbOK);
  rig.pane.SaveGraphData();
  EXPECT_EQ(ui.Prompts().back().rfind("Unable to save " + folder.File("none/graph.dat") + ".\n", 0), 0u);

  rig.pane.SetDataSource("");
  ui.AnswerMsgBox(vbOK);
  rig.pane.SaveGraphData();
  EXPECT_EQ(ui.Prompts().back(), "No data is linked to this graph.");
}

}  // namespace
}  // namespace quendrel
