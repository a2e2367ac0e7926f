// The drive test window's grid and special controls without a display: the rows a template gives,
// the in-place editor's commits, and the arguments (or the refusal) a command's fields give.
#include <gtest/gtest.h>

#include "comms/FunctionTemplates.h"
#include "flash/DriveTestGrid.h"
#include "flash/DriveTestPanel.h"
#include "platform/KeyCodes.h"

namespace quendrel {
namespace {

const char* const kTemplates =
    "FUNCTION Bare\n CODE 96\nEND\n"
    "FUNCTION Probe\n CODE 97\n PARAMETER P \"Parameter\" MXXPXX\n RETURN V \"Raw Value\" SHORT\nEND\n"
    "FUNCTION Mixed\n CODE 98\n PARAMETER A \"Count\" BYTE\n PARAMETER P \"Where\" MXXPXX\n"
    " PARAMETER T \"Label\" STRING 0\n PARAMETER F \"Gain\" FIXED 2\nEND\n";

std::vector<std::string> Column(const DriveTestGrid& grid, bool value) {
  std::vector<std::string> texts;
  for (int row = 0; row < grid.Rows(); ++row) texts.push_back(value ? grid.RowAt(row).value : grid.RowAt(row).caption);
  return texts;
}

std::vector<std::string> Texts(const qovArrayList& list) {
  std::vector<std::string> texts;
  for (int i = 1; i <= list.Count(); ++i) texts.push_back(list.Item(i).AsText());
  return texts;
}

class DriveTestGridTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(LoadFunctionTemplates(kTemplates)); }
  void TearDown() override { LoadFunctionTemplates(); }

  DriveTestGrid Built(const std::string& name) {
    DriveTestGrid grid;
    grid.Build(*FindFunctionTemplate(name));
    return grid;
  }
};

TEST_F(DriveTestGridTest, RowsFollowTheTemplate) {
  const DriveTestGrid bare = Built("Bare");
  EXPECT_EQ(Column(bare, true), (std::vector<std::string>{"Value", "No Return Value"}));
  EXPECT_EQ(bare.CurrentRow(), 1);
  EXPECT_FALSE(bare.HighlightOn());
  EXPECT_TRUE(bare.RowAt(1).merged);

  const DriveTestGrid probe = Built("Probe");
  EXPECT_EQ(Column(probe, false), (std::vector<std::string>{"Parameter", "Menu", "Parameter", "", "Raw Value"}));
  EXPECT_EQ(Column(probe, true), (std::vector<std::string>{"Value", "", "", "Return Values", "16-bit Integer"}));
  EXPECT_EQ(probe.RowAt(2).rowData, 1);
  EXPECT_EQ(probe.RowAt(4).rowData, -1);
  EXPECT_TRUE(probe.RowAt(4).greyed);
}

TEST_F(DriveTestGridTest, EditorCommitsOnceAndMovesAsTheKeySays) {
  DriveTestGrid grid = Built("Mixed");
  grid.SetCurrentCell(2, 0);
  EXPECT_EQ(grid.CurrentColumn(), 1);
  ASSERT_TRUE(grid.BeginCellEdit());
  EXPECT_TRUE(grid.EditorKey(vbKeyEscape, "x"));
  EXPECT_EQ(grid.RowAt(2).value, "");
  struct KeyCase {
    int startRow;
    int key;
    int endRow;
  };
  for (const KeyCase& c : {KeyCase{2, vbKeyReturn, 2}, KeyCase{2, vbKeyDown, 3}, KeyCase{2, vbKeyUp, 1},
                           KeyCase{1, vbKeyUp, 1}}) {
    grid.SetCurrentCell(c.startRow, 1);
    ASSERT_TRUE(grid.BeginCellEdit());
    grid.EditorKey(c.key, "7");
    EXPECT_EQ(grid.CurrentRow(), c.endRow) << c.key;
    EXPECT_EQ(grid.RowAt(c.startRow).value, "7");
  }
  grid.SetCurrentCell(3, 1);
  ASSERT_TRUE(grid.BeginCellEdit());
  grid.EditorLostFocus("12");
  grid.EditorLostFocus("12");  // hiding the editor loses the focus again
  EXPECT_EQ(grid.CurrentRow(), 4);
  grid.SetCurrentCell(6, 1);  // the separator
  EXPECT_FALSE(grid.BeginCellEdit());
  grid.Build(*FindFunctionTemplate("Mixed"));
  EXPECT_EQ(grid.RowAt(3).value, "");
}

TEST_F(DriveTestGridTest, ArgumentsOrTheFieldThatHoldsNoNumber) {
  struct ArgumentCase {
    std::vector<std::string> cells;  // Count, Menu, Parameter, Label, Gain
    std::string refused;
    std::vector<std::string> arguments;
  };
  const ArgumentCase cases[] = {
      {{"5", "7", "12", "", "1.5"}, "", {"5", "712", "", "1.5"}},
      {{"&H10", " 7", "12.5", "a b", "-2"}, "", {"&H10", "712", "a b", "-2"}},
      {{"", "7", "12", "x", "1"}, "Count", {}},
      {{"5", "", "12", "x", "1"}, "Menu", {}},
      {{"5", "7", "abc", "x", "1"}, "Parameter", {}},
      {{"5", "7", "1", "x", "volts"}, "Gain", {}},
      {{"2147483648", "7", "1", "x", "1"}, "Count", {}},
      {{"1", "30000000", "1", "x", "1"}, "Menu", {}},
  };
  for (const ArgumentCase& c : cases) {
    DriveTestGrid grid = Built("Mixed");
    for (int i = 0; i < 5; ++i) grid.SetValue(i + 1, c.cells[static_cast<std::size_t>(i)]);
    qovArrayList arguments;
    EXPECT_EQ(grid.CollectArguments(*FindFunctionTemplate("Mixed"), arguments), c.refused) << c.cells[0];
    EXPECT_EQ(Texts(arguments), c.arguments) << c.cells[0];
  }
}

TEST(DriveTestPanelTest, SpecialControlsAndTheirArguments) {
  ASSERT_TRUE(LoadFunctionTemplates());
  DriveTestPanel panel;
  panel.ShowTemplateControls(*FindFunctionTemplate("WriteFileToBuffer"));
  EXPECT_TRUE(panel.Controls().fileControls.visible);
  EXPECT_FALSE(panel.Controls().gridShown);

  panel.ShowTemplateControls(*FindFunctionTemplate("SetEIBValue"));
  EXPECT_EQ(panel.Controls().eibValues.size(), 10U);
  EXPECT_EQ(panel.Controls().chosenEib, 0);
  EXPECT_TRUE(panel.Controls().eibValue.visible);
  EXPECT_FALSE(panel.Controls().flag.visible);
  qovArrayList arguments;
  bool send = false;
  EXPECT_EQ(panel.CollectArguments(arguments, send), "Value");
  panel.SetEibValueText("70000");
  EXPECT_EQ(panel.CollectArguments(arguments, send), "");
  EXPECT_EQ(Texts(arguments), (std::vector<std::string>{"1", "4464", "0"}));

  panel.ShowTemplateControls(*FindFunctionTemplate("SetEIBValue"));
  panel.ChooseEibValue(2);  // MBTCP Enable
  EXPECT_FALSE(panel.Controls().eibValue.visible);
  EXPECT_EQ(panel.Controls().flagCaption, "Enable");
  panel.SetFlagTicked(true);
  qovArrayList flagged;
  EXPECT_EQ(panel.CollectArguments(flagged, send), "");
  EXPECT_EQ(Texts(flagged), (std::vector<std::string>{"3", "0", "1"}));

  panel.ShowTemplateControls(*FindFunctionTemplate("ResetEIB"));
  EXPECT_EQ(panel.Controls().flagCaption, "Reset to Defaults");
  EXPECT_TRUE(panel.Controls().flagTicked);  // left as it was
  qovArrayList reset;
  panel.CollectArguments(reset, send);
  EXPECT_EQ(Texts(reset), (std::vector<std::string>{"True"}));

  panel.ShowTemplateControls(*FindFunctionTemplate("ProcessorReset"));
  EXPECT_TRUE(panel.Controls().gridShown);
  EXPECT_FALSE(panel.Controls().flag.visible);
}

}  // namespace
}  // namespace quendrel
