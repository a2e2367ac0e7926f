// Loading version-2 scripts: statement cutting around literals and comments, blocks and loops
// lowered into jumps that end, and malformed scripts refused.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "flash/scripts/StatementTrees.h"
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

// A statement's tree is parsed again from its text when it runs; what the lowering made of it must
// come back with it: the negated condition and loop targets of a header, jumps for braces, the
// inserted jumps and the emptied block end.
TEST(FL2Loader, EachStatementRunsTheTreeTheLoweringMade) {
  const std::string script =
      "if (x) goto done; lbl: g(a && b, \"s;\"); while (k) { while (j) j = j - 1; continue; } "
      "if (0) { x = 2; } done: y = f(1, -2);";
  const std::string negated = "plist[expr[value[unaryop[\"!\"], value[\"(\", expr[value[";
  const std::string jump = "statement[statement-body[goto(goto), ID(autolabel";
  const std::vector<std::string> expected = {
      "if (x) goto done | statement[statement-body[fcall[ID(if), \"(\", plist[expr[value[ID(x)]]], \")\"]]] @0/0",
      "if (x) goto done | statement[statement-body[\"goto\", ID(done)]]",
      "lbl: g(a && b, \"s;\") | statement[ID(lbl), \":\", statement-body[fcall[ID(g), \"(\", plist[expr[comp-e["
      "add-e[mul-e[bit-e[value[ID(a)]]]]], binlog[\"&&\"], expr[value[ID(b)]]], \",\", plist[expr[value[STRING(s;)]]]]"
      ", \")\"]]] @0/0",
      "while (k) | statement[statement-body[fcall[ID(if), \"(\", " + negated + "ID(k)]], \")\"]]]], \")\"]]] @12/4",
      "{ | statement[statement-body[" + jump + "0)]]]]",
      "while (j) j = j - 1 | statement[statement-body[fcall[ID(if), \"(\", " + negated +
          "ID(j)]], \")\"]]]], \")\"]]] @10/6",
      " | " + jump + "2)]]",
      "while (j) j = j - 1 | statement[statement-body[assign[ID(j), \"=\", expr[comp-e[add-e[mul-e[bit-e[value["
      "ID(j)]]], binadd[\"-\"], add-e[mul-e[bit-e[value[NUMBER(1)]]]]]]]]]]",
      " | " + jump + "3)]]",
      "continue | statement[ID(continue)]",
      "} | " + jump + "1)]]",
      "if (0) | statement[statement-body[fcall[ID(if), \"(\", " + negated + "NUMBER(0)]], \")\"]]]], \")\"]]] @0/0",
      "{ | statement[statement-body[" + jump + "4)]]]]",
      "x = 2 | statement[statement-body[assign[ID(x), \"=\", expr[value[NUMBER(2)]]]]]",
      " | ()",
      "done: y = f(1, -2) | statement[ID(done), \":\", statement-body[assign[ID(y), \"=\", expr[comp-e[add-e[mul-e["
      "bit-e[value[fcall[ID(f), \"(\", plist[expr[value[NUMBER(1)]], \",\", plist[expr[comp-e[add-e[mul-e[bit-e["
      "value[unaryop[\"-\"], value[NUMBER(2)]]]]]]]]], \")\"]]]]]]]]]]",
  };
  ScriptRig rig;
  ASSERT_TRUE(rig.Load(script));
  FL2File& loaded = rig.Script();
  std::vector<std::string> shown;
  for (int i = 1; i <= loaded.ProgramLength(); ++i) {
    const ParseTreeNodePtr tree = loaded.StatementTree(i);
    std::string text = loaded.CommandString(i) + " | " + tree->ToTreeText();
    const ParseTreeNodePtr body = FL2Loader::PPHelperGetBody(tree);
    const ParseTreeNodePtr call = body ? body->Child() : nullptr;
    if (call != nullptr && call->Token() == "fcall") {
      text += " @" + std::to_string(call->Child()->BreakTo()) + "/" + std::to_string(call->Child()->ContinueTo());
    }
    shown.push_back(text);
  }
  EXPECT_EQ(shown, expected);
  EXPECT_EQ(loaded.Label("lbl"), 3);
  EXPECT_EQ(loaded.Label("done"), 16);
  EXPECT_EQ(loaded.Label("autolabel0"), 12);
  EXPECT_EQ(loaded.Label("autolabel2"), 10);
}

// A loop is known on the loop stack by its header's node, so the header's tree stays while the
// trees of a body too long to keep are parsed again on every pass.
TEST(FL2Loader, ALoopLongerThanTheKeptTreesKeepsOneEntryOnTheLoopStack) {
  const int body = static_cast<int>(StatementTrees::kMostTrees) + 8;
  std::string script = "i = 0; n = 0; while (i < 30) { i = i + 1;";
  for (int k = 0; k < body; ++k) script += " n = n + 1;";
  script += " if (i == 15) { continue; } n = n + 1000; } after = n;";
  ScriptRig rig;
  ASSERT_TRUE(rig.Load(script));
  FL2File& loaded = rig.Script();
  loaded.Reset();
  std::size_t deepest = 0;
  int steps = 0;
  for (; steps < 5000 && loaded.singleStep() != dfResponseEOF; ++steps) {
    deepest = std::max(deepest, loaded.LoopStack().size());
  }
  EXPECT_LT(steps, 5000);
  EXPECT_EQ(deepest, 1u);
  const std::string n = std::to_string(30 * body + 29 * 1000);
  EXPECT_EQ(rig.Vars("i n after"), "i=30 n=" + n + " after=" + n);
}

}  // namespace
}  // namespace quendrel
