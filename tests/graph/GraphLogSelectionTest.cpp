// The scan window's parameter selection: the tree of the uploaded set, series for ticked nodes, the
// scan list that brings them back, and the series list's edits written to the drive.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "comms/server/GIOError.h"
#include "graph/data/GraphPalette.h"
#include "graph/data/ScanList.h"
#include "graph/support/GraphLogRig.h"

namespace quendrel {
namespace {

using testing::GraphLogRig;

class GraphLogSelectionTest : public ::testing::Test {
 protected:
  void Connect() {
    rig.Load();
    rig.Connect();
  }
  GraphLogRig rig;
  GraphLogSession& session = *rig.session;
};

TEST_F(GraphLogSelectionTest, TheTreeHoldsEveryParameterUnderItsMenu) {
  Connect();
  struct Row {
    const char* key;
    const char* caption;
    const char* parent;
    const char* icon;
    bool bold, greyed;
  };
  for (const Row& row : {Row{"M01P00", "M01P00: Speed Reference", "", "", true, false},
                         Row{"M01P04", "M01P04: Preset Speed 2", "M01P00", "pram", false, false},
                         Row{"M10P03", "M10P03: DC Bus Voltage", "M10P00", "readonly", false, true},
                         Row{"M08P02", "M08P02: Stall Prevention", "M08P00", "bitpram1", false, false},
                         Row{"M05P05", "M05P05: DI1 State", "M05P00", "readonlybit0", false, true},
                         Row{"M05P06", "M05P06: DI2 State", "M05P00", "readonlybit1", false, true},
                         Row{"M11P39", "M11P39: Firmware Upload", "M11P00", "pram", false, false}}) {
    const ParameterTreeNode& node = rig.Node(row.key);
    EXPECT_EQ(node.Caption(), row.caption) << row.key;
    const ParameterTreeNode* parent = node.parent();
    EXPECT_EQ(parent == &rig.tree->Root() ? "" : parent->Caption().substr(0, 6), row.parent) << row.key;
    EXPECT_EQ(node.Icon(), row.icon) << row.key;
    EXPECT_EQ(node.Bold(), row.bold) << row.key;
    EXPECT_EQ(node.Greyed(), row.greyed) << row.key;
    EXPECT_EQ(node.Tag(), std::stoi(std::string(row.key).substr(1, 2)) * 100 + std::stoi(std::string(row.key).substr(4)));
    EXPECT_EQ(node.Checked(), 0);
  }
  EXPECT_EQ(rig.tree->First()->Caption(), "M00P00: Quick Setup");
  EXPECT_EQ(rig.tree->VScroll(), 0);
}

TEST_F(GraphLogSelectionTest, WithoutIconsNoNodeHasOne) {
  GraphLogRig plain("", false);
  plain.Load();
  plain.Connect();
  for (ParameterTreeNode* node = plain.tree->First(); node != nullptr; node = node->Sibling()) {
    EXPECT_EQ(node->Icon(), "");
    for (const ParameterTreeNode* child = node->Child(); child != nullptr; child = child->Sibling()) {
      EXPECT_EQ(child->Icon(), "") << child->Caption();
    }
  }
}

TEST_F(GraphLogSelectionTest, AParameterWhoseHeaderIsMissingStandsAtTheTop) {
  auto fit = rig.OwnTemplate();
  fit->SetTemplate(500, {});
  Connect();
  EXPECT_EQ(rig.tree->FindNode("M05P00"), nullptr);
  EXPECT_EQ(rig.Node("M05P01").parent(), &rig.tree->Root());
  rig.Tick("M05P01");
  EXPECT_EQ(rig.SeriesNames(), std::vector<std::string>{"M05P01"});
}

TEST_F(GraphLogSelectionTest, ATickMakesASeriesOfTheParameterAndTheScanListKeepsIt) {
  Connect();
  rig.Tick("M02P03");
  rig.Tick("M01P03");
  rig.drive->FailReads(802, {gioInvalidDataAddress});
  rig.Tick("M08P02");
  rig.Tick("M10P03");
  const gdSeries& ramp = *rig.Series("M02P03");
  EXPECT_EQ(ramp.LongName(), "Ramp Mode");
  EXPECT_EQ(ramp.Color(), kGraphPalette[7]);  // 203 mod 7 = 0
  EXPECT_TRUE(ramp.Visible());
  EXPECT_TRUE(ramp.Logged());
  EXPECT_EQ(ramp.Gain(), 1.0);
  EXPECT_EQ(ramp.FormatString(), "######0");
  ASSERT_EQ(ramp.NumDVDs(), 3);
  EXPECT_EQ(ramp.DVD(0), "Linear");
  EXPECT_EQ(ramp.DVD(2), "Fast Stop");
  EXPECT_EQ(ramp.PointCount(), 1u);
  EXPECT_EQ(rig.Series("M01P03")->FormatString(), "######0.0");
  EXPECT_EQ(rig.Series("M01P03")->Color(), kGraphPalette[103 % 7 + 7]);
  EXPECT_FLOAT_EQ(static_cast<float>(rig.Series("M01P03")->MostRecentValue()), 10.0f);
  EXPECT_TRUE(rig.Series("M08P02")->BitPram());
  EXPECT_EQ(rig.Series("M08P02")->PointCount(), 0u);  // its first reading failed
  EXPECT_FALSE(rig.Series("M08P02")->ReadOnly());
  EXPECT_TRUE(rig.Series("M10P03")->ReadOnly());
  EXPECT_TRUE(ScanList().Parameter(203));
  EXPECT_EQ(ScanList().Color(203), kGraphPalette[7]);
  EXPECT_TRUE(ScanList().Graphed(203) && ScanList().Logged(203));
  EXPECT_EQ(ScanList().Gain(203), 1.0);

  rig.Tick("M02P03", false);
  EXPECT_EQ(rig.SeriesNames(), (std::vector<std::string>{"M01P03", "M08P02", "M10P03"}));
  EXPECT_FALSE(ScanList().Parameter(203));
  // Unticked without a series: only the scan list changes.
  ScanList().SetParameter(105, true);
  rig.Tick("M01P05", false);
  EXPECT_FALSE(ScanList().Parameter(105));
  EXPECT_EQ(rig.SeriesNames().size(), 3u);
}

TEST_F(GraphLogSelectionTest, AMenuHeaderTicksItsWholeMenu) {
  Connect();
  rig.Tick("M02P00");
  EXPECT_EQ(rig.SeriesNames(), (std::vector<std::string>{"M02P01", "M02P02", "M02P03", "M02P04"}));
  EXPECT_EQ(rig.Node("M02P04").Checked(), 1);
  EXPECT_FALSE(ScanList().Parameter(200));  // the header's own entry is not touched
  rig.Tick("M02P00", false);
  EXPECT_TRUE(rig.SeriesNames().empty());
  EXPECT_EQ(rig.Node("M02P01").Checked(), 0);
}

// The scan list re-ticks its parameters at every connect; a header's own entry ticks its menu once
// the menu's nodes exist, and a parameter ticked already stays as it is.
TEST_F(GraphLogSelectionTest, TheScanListBringsTheSeriesBack) {
  PLF& list = ScanList();
  list.SetParameter(103, true);
  list.SetColor(103, 0x123456);
  list.SetGraphed(103, false);
  list.SetLogged(103, false);
  list.SetGain(103, 2.5);
  list.SetParameter(200, true);
  list.SetParameter(202, true);
  list.SetColor(202, 0x00FF00);
  list.SetGraphed(202, true);
  list.SetLogged(202, true);
  list.SetGain(202, 1.0);
  Connect();
  EXPECT_EQ(rig.SeriesNames(), (std::vector<std::string>{"M01P03", "M02P02", "M02P01", "M02P03", "M02P04"}));
  const gdSeries& m0103 = *rig.Series("M01P03");
  EXPECT_EQ(m0103.Color(), 0x123456u);
  EXPECT_FALSE(m0103.Visible());
  EXPECT_FALSE(m0103.Logged());
  EXPECT_EQ(m0103.Gain(), 2.5);
  EXPECT_EQ(rig.Node("M01P03").Checked(), 1);
  EXPECT_EQ(rig.Node("M02P00").Checked(), 1);
  EXPECT_EQ(rig.Series("M02P02")->Color(), 0x00FF00u);
  EXPECT_EQ(rig.Series("M02P02")->PointCount(), 1u);
  EXPECT_TRUE(list.Parameter(201));
}

TEST_F(GraphLogSelectionTest, RemoveAllUnticksEveryNode) {
  Connect();
  rig.Tick("M02P00");
  rig.Tick("M10P03");
  session.bRemoveAll_Click();
  EXPECT_TRUE(rig.SeriesNames().empty());
  EXPECT_EQ(rig.Node("M02P00").Checked(), 0);
  EXPECT_EQ(rig.Node("M10P03").Checked(), 0);
  EXPECT_FALSE(ScanList().Parameter(1003));
  EXPECT_FALSE(ScanList().Parameter(202));
}

TEST_F(GraphLogSelectionTest, ADoubleClickBelowTheRowsDoesNothing) {
  Connect();
  ParameterTreeNode& header = rig.Node("M03P00");
  rig.tree->SetSelected(&header);
  session.treePramList_DblClick();
  EXPECT_TRUE(header.Expanded());
  // The click below the last row takes the selection away before the double-click arrives.
  rig.tree->RepaintAll();
  rig.tree->CanvasMouseUp(1, 0, 200.0f, 1.0e6f);
  ASSERT_EQ(rig.tree->Selected(), nullptr);
  rig.tree->CanvasDblClick();
  EXPECT_TRUE(header.Expanded());
  rig.tree->SetSelected(&rig.Node("M03P01"));
  session.treePramList_DblClick();  // a parameter has nothing to expand
  EXPECT_FALSE(rig.Node("M03P01").Expanded());
}

// --- The series list's edits ---

TEST_F(GraphLogSelectionTest, AnEditedValueReachesTheDriveAsItsLow16Bits) {
  Connect();
  struct Case {
    const char* key;
    double value;
    int parameter;
    int raw;
    double shown;
  };
  for (const Case c : {Case{"M01P03", 12.5, 103, 125, 12.5}, Case{"M01P01", 60.55, 101, 6055, 60.55},
                       Case{"M03P03", 40000, 303, -25536, -25536}, Case{"M03P03", -1, 303, -1, -1},
                       Case{"M02P03", 2, 203, 2, 2}}) {
    SCOPED_TRACE(c.key);
    if (rig.Series(c.key) == nullptr) rig.Tick(c.key);
    gdSeries& series = *rig.Series(c.key);
    session.slbSeries_ValueChanged(series, c.value);
    EXPECT_EQ(rig.drive->Value(c.parameter), c.raw);
    EXPECT_NEAR(series.MostRecentValue(), c.shown, 1e-4);
    EXPECT_FALSE(series.Error());
  }
}

TEST_F(GraphLogSelectionTest, ValuesWithoutARawWordAndRefusedWritesAreReported) {
  Connect();
  rig.Tick("M03P03");
  rig.Tick("M10P03");
  gdSeries& speed = *rig.Series("M03P03");
  for (const double value : {1e10, std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
    rig.drive->Forget();
    session.slbSeries_ValueChanged(speed, value);
    EXPECT_TRUE(rig.drive->Writes().empty()) << value;
    EXPECT_EQ(session.StatusText(), "Value out of range - not written");
    EXPECT_FALSE(speed.Error());
  }
  EXPECT_EQ(rig.drive->Value(303), 1450);
  gdSeries& bus = *rig.Series("M10P03");
  session.slbSeries_ValueChanged(bus, 600);  // read-only: the drive refuses
  EXPECT_EQ(session.StatusText(), "Error writing new value for M10P03");
  EXPECT_TRUE(bus.Error());
  EXPECT_EQ(bus.PointCount(), 1u);
}

TEST_F(GraphLogSelectionTest, ATypedTextThatIsNoNumberIsRefusedAloud) {
  Connect();
  rig.Tick("M03P03");
  SeriesListBox& list = session.slbSeries();
  list.SetListIndex(1);
  list.DblClick();
  ASSERT_EQ(list.Editor().Open, SeriesListEditorKind::Number);
  rig.drive->Forget();
  list.EditorTextChanged("12,5");
  list.EditorKeyDown(vbKeyReturn);
  EXPECT_TRUE(rig.drive->Writes().empty());
  EXPECT_EQ(session.StatusText(), "Value out of range - not written");
}

// A quick setup slot shows the parameter its pointer names, and the drive writes the slot in that
// parameter's scale; an unset slot is answered from its own row, in its own scale.
TEST_F(GraphLogSelectionTest, SlotsAreWrittenInTheScaleTheyShow) {
  auto fit = rig.OwnTemplate();
  udtUploadTemplateData slot = fit->Template(1);
  slot.iPad = (slot.iPad & ~3) | 1;  // one decimal of its own; M01P01, which it shows, has two
  fit->SetTemplate(1, slot);
  rig.drive->SetValue(1202, 0);  // slot 2 is not set
  Connect();
  rig.Tick("M00P01");
  rig.Tick("M00P02");
  gdSeries& bound = *rig.Series("M00P01");
  EXPECT_EQ(bound.FormatString(), "######0.00");
  session.slbSeries_ValueChanged(bound, 12.34);
  EXPECT_EQ(rig.drive->Value(101), 1234);
  EXPECT_NEAR(bound.MostRecentValue(), 12.34, 1e-4);

  gdSeries& unset = *rig.Series("M00P02");
  EXPECT_EQ(unset.FormatString(), "######0.0");  // M00P00 has none
  EXPECT_EQ(unset.LongName(), "Accel Time");
  session.slbSeries_ValueChanged(unset, 7.5);
  EXPECT_EQ(rig.drive->Value(2), 75);
  EXPECT_EQ(rig.drive->Value(201), 50);
  EXPECT_NEAR(unset.MostRecentValue(), 7.5, 1e-4);
}

// A slot pointed elsewhere on the drive after it was ticked: its row goes on showing the parameter
// it is named after, never the new target's value under the old name and scale.
TEST_F(GraphLogSelectionTest, AScannedSlotRowShowsTheParameterItIsNamedAfter) {
  Connect();
  rig.Tick("M00P01");
  gdSeries& bound = *rig.Series("M00P01");
  rig.drive->SetValue(101, 1234);
  rig.drive->SetValue(1201, 203);
  rig.drive->SetValue(203, 2);
  session.bStartGraph_Click();
  session.TimerScan_Timer();
  EXPECT_NEAR(bound.MostRecentValue(), 12.34, 1e-4);
}

}  // namespace
}  // namespace quendrel
