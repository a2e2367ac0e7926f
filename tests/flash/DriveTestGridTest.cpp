// The drive test window's grid and special controls without a display: the rows a template gives,
// the in-place editor's commits, and the arguments (or the refusal) a command's fields give.
#include <gtest/gtest.h>

#include "comms/functions/FunctionTemplates.h"
#include "flash/drivetest/DriveTestGrid.h"
#include "flash/drivetest/DriveTestPanel.h"
#include "platform/KeyCodes.h"

namespace quendrel {
namespace {

const char* const kTemplates =
    "FUNCTION Bare\n CODE 96\nEND\n"
    "FUNCTION Probe\n CODE 97\n PARAMETER P \"Parameter\" MXXPXX\n RETURN V \"Raw Value\" SHORT\nEND\n"
    "FUNCTION Mixed\n CODE 98\n PARAMETER A \"Count\" BYTE\n PARAMETER P \"Where\" MXXPXX\n"
    " PARAMETER T \"Label\" STRING 0\n PARAMETER F \"Gain\" FIXED 2\nEND\n"
    "FUNCTION Widths\n CODE 99\n PARAMETER B \"Byte\" BYTE\n PARAMETER S \"Short\" SHORT\n"
    " PARAMETER M \"Medium\" MEDIUM\n PARAMETER L \"Long\" LONG\n PARAMETER F \"Fixed\" FIXED 1\nEND\n";

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

// Each numeric field takes what its width holds, signed or unsigned, and nothing beyond: beyond it the
// bytes sent would be the low bits of another number (70000 in a short would go out as 4464).
TEST_F(DriveTestGridTest, ANumberItsFieldCannotCarryIsRefused) {
  struct WidthCase {
    int field;  // 0 Byte, 1 Short, 2 Medium, 3 Long, 4 Fixed (one decimal)
    const char* typed;
    bool taken;
  };
  const WidthCase cases[] = {
      {0, "255", true},        {0, "-128", true},       {0, "256", false},        {0, "-129", false},
      {0, "&HFF", true},       {0, "&H1FF", false},     {1, "65535", true},       {1, "40000", true},
      {1, "-32768", true},     {1, "70000", false},     {1, "-32769", false},     {1, "&HFFFF", true},
      {2, "16777215", true},   {2, "-8388608", true},   {2, "16777216", false},   {2, "-8388609", false},
      {2, "&HFFFFFF", true},   {2, "&H1000000", false}, {3, "4294967295", true},  {3, "-2147483648", true},
      {3, "4294967296", false}, {3, "-2147483649", false}, {3, "&HFFFFFFFF", true}, {3, "&H100000000", false},
      {4, "6553.5", true},     {4, "-3276.8", true},    {4, "6553.6", false},     {4, "-3276.9", false},
      {1, "12,5", false},      {1, "0x10", false},      {1, "1.2.3", false},      {1, "12 Hz", true},
      {1, "12abc", true},
  };
  const char* const names[] = {"Byte", "Short", "Medium", "Long", "Fixed"};
  for (const WidthCase& c : cases) {
    DriveTestGrid grid = Built("Widths");
    for (int row = 1; row <= 5; ++row) grid.SetValue(row, "1");
    grid.SetValue(c.field + 1, c.typed);
    qovArrayList arguments;
    const std::string refused = grid.CollectArguments(*FindFunctionTemplate("Widths"), arguments);
    EXPECT_EQ(refused, c.taken ? "" : names[c.field]) << names[c.field] << " \"" << c.typed << '"';
    EXPECT_EQ(arguments.Count(), c.taken ? 5 : 0) << names[c.field] << " \"" << c.typed << '"';
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
  // The value goes out as one 16-bit word: 70000 is no word's value, 40000 an unsigned one's.
  for (const char* typed : {"70000", "-32769", "12,5"}) {
    panel.SetEibValueText(typed);
    EXPECT_EQ(panel.CollectArguments(arguments, send), "Value") << typed;
  }
  panel.SetEibValueText("40000");
  EXPECT_EQ(panel.CollectArguments(arguments, send), "");
  EXPECT_EQ(Texts(arguments), (std::vector<std::string>{"1", "-25536", "0"}));

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
