// What a user puts into the drive test window's grid, without a display: the menu and parameter
// cells read as one number, and text fields holding characters the wire cannot carry.
#include <gtest/gtest.h>

#include "comms/functions/FunctionTemplates.h"
#include "flash/drivetest/DriveTestGrid.h"
#include "platform/KeyCodes.h"

namespace quendrel {
namespace {

const char* const kTemplates =
    "FUNCTION Probe\n CODE 97\n PARAMETER P \"Parameter\" MXXPXX\nEND\n"
    "FUNCTION Named\n CODE 98\n PARAMETER A \"Count\" BYTE\n PARAMETER P \"Where\" MXXPXX\n"
    " PARAMETER T \"Label\" STRING 0\n PARAMETER C \"Mark\" CHARACTER\nEND\n";

class DriveTestGridInputTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(LoadFunctionTemplates(kTemplates)); }
  void TearDown() override { LoadFunctionTemplates(); }

  DriveTestGrid Built(const std::string& name) {
    DriveTestGrid grid;
    grid.Build(*FindFunctionTemplate(name));
    return grid;
  }
};

// A negative cell would borrow from its neighbour (Parameter -48 under Menu 1.5 would name 102): no
// address byte carries it, so it is refused like any other cell the request cannot carry.
TEST_F(DriveTestGridInputTest, MenuAndParameterCellsAreRoundedOnceAsOneNumber) {
  struct CellCase {
    const char* menu;
    const char* parameter;
    const char* argument;  // none when refused
    const char* refused = "";
  };
  for (const CellCase& c : {CellCase{"1.5", "-48", "", "Parameter"}, CellCase{"7", "12", "712"},
                            CellCase{"7", "12.5", "712"}, CellCase{"7", "13.5", "714"}, CellCase{"0.125", "0", "12"},
                            CellCase{"0.375", "0", "38"}, CellCase{"-0.5", "49.75", "", "Menu"}}) {
    DriveTestGrid grid = Built("Probe");
    grid.SetValue(1, c.menu);
    grid.SetValue(2, c.parameter);
    qovArrayList arguments;
    ASSERT_EQ(grid.CollectArguments(*FindFunctionTemplate("Probe"), arguments), c.refused)
        << c.menu << " " << c.parameter;
    if (*c.refused != '\0') continue;
    EXPECT_EQ(arguments.Item(1).AsText(), c.argument) << c.menu << " " << c.parameter;
  }
}

TEST_F(DriveTestGridInputTest, TextFieldsBeyondLatin1AreNamedNumberFieldsAreNot) {
  const auto& named = *FindFunctionTemplate("Named");  // Count, Menu, Parameter, Label, Mark
  DriveTestGrid grid = Built("Named");
  EXPECT_EQ(grid.TextOutsideLatin1(named), "");
  grid.SetValue(1, "12 ?", false);  // a unit sign beyond Latin-1 after a number reads as "12 Hz" does
  EXPECT_EQ(grid.TextOutsideLatin1(named), "");
  grid.SetCurrentCell(5, 1);
  ASSERT_TRUE(grid.BeginCellEdit());
  grid.EditorKey(vbKeyDown, "?", false);
  EXPECT_EQ(grid.TextOutsideLatin1(named), "Mark");
  grid.SetCurrentCell(4, 1);
  ASSERT_TRUE(grid.BeginCellEdit());
  grid.EditorLostFocus("Gr\xFC\xDF" "e ?", false);
  EXPECT_EQ(grid.TextOutsideLatin1(named), "Label");
  EXPECT_EQ(grid.RowAt(4).value, "Gr\xFC\xDF" "e ?");
  grid.SetCurrentCell(4, 1);
  ASSERT_TRUE(grid.BeginCellEdit());
  grid.EditorKey(vbKeyReturn, "Gr\xFC\xDF" "e");
  EXPECT_EQ(grid.TextOutsideLatin1(named), "Mark");
  grid.Build(named);
  EXPECT_EQ(grid.TextOutsideLatin1(named), "");
}

}  // namespace
}  // namespace quendrel
