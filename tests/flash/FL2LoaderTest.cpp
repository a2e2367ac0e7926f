// Loading version-2 scripts: statement cutting around literals and comments, blocks and loops
// lowered into jumps that end, and malformed scripts refused.

#include <gtest/gtest.h>

#include "flash/support/ScriptRig.h"
#include "support/CaseName.h"

namespace quendrel {
namespace {

struct LoweringCase {
  std::string name;
  std::string script;
  std::string expected;  // "name=value" pairs after the run, separated by blanks
};

class FL2Lowering : public testing::TestWithParam<LoweringCase> {};

TEST_P(FL2Lowering, RunsToTheEndWithTheExpectedVariables) {
  ScriptRig rig;
  ASSERT_TRUE(rig.Load(GetParam().script)) << rig.ui.Prompts().size();
  const auto codes = rig.Run();
  ASSERT_EQ(codes.back(), dfResponseEOF) << "the script must end in bounded steps";
  EXPECT_EQ(rig.Vars(GetParam().expected), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, FL2Lowering,
    testing::Values(
        LoweringCase{"IfTrueBlock", "x = 0; if (1) { x = 1; } y = 2;", "x=1 y=2"},
        LoweringCase{"IfFalseBlockAtEnd", "x = 0; if (0) { x = 1; }", "x=0"},
        LoweringCase{"WhileBlockAtEnd", "i = 0; while (i < 3) { i = i + 1; }", "i=3"},
        LoweringCase{"NestedBlocks", "n = 0; i = 0; while (i < 2) { i = i + 1; if (i == 2) { n = n + 10; } n = n + 1; }",
                     "i=2 n=12"},
        LoweringCase{"SingleStatementWhile", "i = 0; while (i < 4) i = i + 1; z = 1;", "i=4 z=1"},
        LoweringCase{"SingleStatementWhileLast", "i = 0; while (i < 4) i = i + 1;", "i=4"},
        LoweringCase{"BreakAfterLaterSingleWhile",
                     "n = 0; while (1) { j = 0; while (j < 2) j = j + 1; n = n + 1; break; } after = n;",
                     "j=2 n=1 after=1"},
        LoweringCase{"ContinueSkipsRest", "i = 0; s = 0; while (i < 3) { i = i + 1; continue; s = 9; } ", "i=3 s=0"},
        LoweringCase{"ParenInLiteral", "s = \"Step (1 of 3)\"; x = 1; y = 2", "x=1 y=2"},
        LoweringCase{"SlashesInLiteral", "s = \"http://x\"; t = \"a /* b\"; x = 1;", "s=\"http://x\" x=1"},
        LoweringCase{"EscapedQuoteInLiteral", "s = \"a \\\" ( b\"; x = 1;", "x=1"},
        LoweringCase{"Comments", "x = 1; // y = 2;\n/* x = 3; */ z = 4; /* open to the end", "x=1 z=4"},
        LoweringCase{"LastStatementWithoutSemicolon", "x = 1; y = 2", "y=2"},
        LoweringCase{"LabelAloneIsNoOp", "x = 1; lbl:; y = 2;", "x=1 y=2"}),
    NameByField<&LoweringCase::name>());

TEST(FL2Loader, RefusesUnclosedOrConditionlessBlocks) {
  for (const std::string script : {"s = \"open;", "f(1; x = 2;", "if (1) { x = 1;", "if () { x = 1; }",
                                   "while () x = 1;", "while (1) { x = 1;"}) {
    ScriptRig rig;
    rig.ui.AnswerMsgBox(vbOK);
    EXPECT_FALSE(rig.Load(script)) << script;
    ASSERT_FALSE(rig.ui.Prompts().empty()) << script;
    EXPECT_EQ(rig.ui.Prompts().back(), "Syntax error in FL2 file.") << script;
    EXPECT_EQ(rig.ui.Titles().back(), "Unable to load FL2 script") << script;
  }
}

TEST(FL2Loader, LoweringLayoutAndGeneratedLabels) {
  ScriptRig rig;
  ASSERT_TRUE(rig.Load("autolabel0: x = 1; i = 0; while (i < 2) i = i + 1; if (0) { x = 2; }"));
  FL2File& script = rig.Script();
  // Two statements, the four of the loop, then the if, goto, body and emptied end.
  EXPECT_EQ(script.ProgramLength(), 10);
  EXPECT_EQ(script.Label("autolabel0"), 1) << "a user's label is never reused";
  EXPECT_EQ(script.Label("autolabel1"), 7);
  EXPECT_EQ(script.Label("autolabel2"), 3);
  EXPECT_EQ(script.Label("autolabel3"), 11);
  EXPECT_EQ(script.CommandString(10), "");
  script.SetPC(10);
  EXPECT_EQ(script.PC(), 11) << "an emptied block end is passed over";
  EXPECT_EQ(script.CommandString(-1), "");
}

}  // namespace
}  // namespace quendrel
