// Scripts as users' disks, editors and generators deliver them: as long as the statement counter
// reaches and no longer, any line end, statements too long to chart, failures inside jumps, loops
// left by goto for hours, and file tests that meet folders.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include "flash/language/ParseLattice.h"
#include "flash/scripts/FLAFile.h"
#include "flash/support/ScriptRig.h"
#include "support/CaseName.h"
#include "support/TempFolder.h"

namespace quendrel {
namespace {

std::string Repeated(const std::string& text, int times) {
  std::string result;
  result.reserve(text.size() * static_cast<std::size_t>(times));
  for (int i = 0; i < times; ++i) result += text;
  return result;
}

struct LengthCase {
  std::string name;
  std::string script;
  int statements;  // after lowering; 0 when the load is refused
  std::string refusedCount;
};

class ScriptLength : public ::testing::TestWithParam<LengthCase> {};

TEST_P(ScriptLength, LoadsUpToTheCounterAndRefusesBeyondItWithTheCount) {
  ScriptRig rig;
  if (GetParam().statements == 0) rig.ui.AnswerMsgBox(vbOK);
  const bool loaded = rig.Load(GetParam().script);
  if (GetParam().statements != 0) {
    ASSERT_TRUE(loaded);
    EXPECT_EQ(rig.Script().ProgramLength(), GetParam().statements);
    EXPECT_TRUE(rig.ui.Prompts().empty());
    return;
  }
  EXPECT_FALSE(loaded);
  ASSERT_EQ(rig.ui.Prompts().size(), 1u);
  EXPECT_EQ(rig.ui.Prompts().front(),
            "The script has " + GetParam().refusedCount + " statements; at most 32767 can be run.");
  EXPECT_EQ(rig.ui.Titles().front(), "Unable to load FL2 script");
  EXPECT_EQ(rig.Script().ProgramLength(), 0);
  EXPECT_EQ(rig.Script().Label("far"), -1) << "a refused load registers no label";
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, ScriptLength,
    ::testing::Values(LengthCase{"Longest", Repeated("x = 1;", 32767), 32767, ""},
                    LengthCase{"OneTooMany", Repeated("x = 1;", 32768), 0, "32768"},
                    LengthCase{"FarBeyond", Repeated("x = 1;", 40000), 0, "40000"},
                    LengthCase{"LabelBeyondTheLimit", Repeated("x = 1;", 32767) + "far: y = 2;", 0, "32768"},
                    LengthCase{"LoweringGoesBeyond", Repeated("x = 1;", 32764) + "while (x) x = 0;", 0, "32768"}),
    NameByField<&LengthCase::name>());

TEST(ScriptLength, AJumpReachesTheLastStatementOfTheLongestScript) {
  ScriptRig rig;
  ASSERT_TRUE(rig.Load("goto last;" + Repeated("x = 1;", 32765) + "last: y = 2;"));
  ASSERT_EQ(rig.Script().Label("last"), 32767);
  EXPECT_EQ(rig.Run(), (std::vector{dfResponseOK, dfResponseEOF}));
  EXPECT_EQ(rig.Var("y"), "2");
  EXPECT_EQ(rig.Var("x"), "");
}

TEST(ScriptLength, ABlockEndingTheLongestScriptJumpsToItsEnd) {
  ScriptRig rig;
  ASSERT_TRUE(rig.Load(Repeated("x = 1;", 32763) + "if (0) { y = 2; }"));
  ASSERT_EQ(rig.Script().ProgramLength(), 32767);
  EXPECT_EQ(rig.Script().Label("autolabel0"), 32768) << "one past the end: the script has ended";
  const auto codes = rig.Run(40000);
  ASSERT_EQ(codes.size(), 32766u) << "every x, the if and its jump past the end";
  EXPECT_EQ(codes[32765], dfResponseEOF);
  EXPECT_EQ(rig.Var("y"), "");
}

TEST(ScriptLength, VersionOneScriptsBeyondTheCounterAreRefused) {
  static ParseEngine parser;
  ScriptedUi ui;
  FakeClock clock;
  ui.AnswerMsgBox(vbOK);
  FLAFile script(ScriptEnvironment{&ui, &clock, &parser, {}});
  EXPECT_TRUE(script.LoadText(Repeated("wait;1\r\n", 32767)));
  EXPECT_EQ(script.ProgramLength(), 32767);
  EXPECT_FALSE(script.LoadText(Repeated("wait;1\r\n", 32768)));
  EXPECT_EQ(script.ProgramLength(), 0);
  EXPECT_EQ(ui.Prompts(), (std::vector<std::string>{"The script has 32768 statements; at most 32767 can be run."}));
  EXPECT_EQ(ui.Titles(), (std::vector<std::string>{"Unable to load FLA script"}));
}

struct LineEndCase {
  std::string name;
  std::string end;
};

class ScriptLineEnds : public ::testing::TestWithParam<LineEndCase> {};

TEST_P(ScriptLineEnds, EachEndsALineComment) {
  const std::string& end = GetParam().end;
  ScriptRig rig;
  ASSERT_TRUE(rig.Load("x = 1; // first" + end + "y = 2; // second" + end + "z = 3;" + end));
  EXPECT_EQ(rig.Script().ProgramLength(), 3);
  rig.Run();
  EXPECT_EQ(rig.Vars("x y z"), "x=1 y=2 z=3");
}

INSTANTIATE_TEST_SUITE_P(Ends, ScriptLineEnds,
                         ::testing::Values(LineEndCase{"CR", "\r"}, LineEndCase{"LF", "\n"},
                                         LineEndCase{"CRLF", "\r\n"}),
                         NameByField<&LineEndCase::name>());

TEST(ScriptLoader, InsertedJumpsCarryNoText) {
  ScriptRig rig;
  ASSERT_TRUE(rig.Load("n = 2; while (n) n = n - 1;"));
  const FL2File& script = rig.Script();
  ASSERT_EQ(script.ProgramLength(), 5);
  const std::vector<std::string> texts = {script.CommandString(1), script.CommandString(2), script.CommandString(3),
                                          script.CommandString(4), script.CommandString(5)};
  EXPECT_EQ(texts, (std::vector<std::string>{"n = 2", "while (n) n = n - 1", "", "while (n) n = n - 1", ""}));
}

// Sums of this many tokens would take seconds and gigabytes to chart; a unary chain is cheap
// to chart, so it shows the limit itself.
TEST(ScriptLoader, StatementsLongerThanTheTokenLimitAreSyntaxErrors) {
  const auto chain = [](std::size_t tokens) { return "x = " + Repeated("- ", static_cast<int>(tokens) - 3) + "1;"; };
  ScriptRig rig;
  EXPECT_TRUE(rig.Load(chain(ParseLattice::kLongestStatement)));
  for (const std::string& text : {chain(ParseLattice::kLongestStatement + 1), "x = 1" + Repeated(" + 1", 20000) + ";",
                                  "x = 1" + Repeated("==1", 3000) + ";"}) {
    ScriptRig refusing;
    refusing.ui.AnswerMsgBox(vbOK);
    refusing.ui.AnswerMsgBox(vbOK);
    EXPECT_FALSE(refusing.Load(text));
    ASSERT_FALSE(refusing.ui.Prompts().empty());
    EXPECT_EQ(refusing.ui.Prompts().back(), "Syntax error in FL2 file.");
  }
}

struct RepeatCase {
  std::string name;
  std::string script;
  std::vector<dfResponseCodes> codes;
  std::string expected;
};

class FailedJump : public ::testing::TestWithParam<RepeatCase> {};

TEST_P(FailedJump, MovesOnPastTheStatementThatFailed) {
  ScriptRig rig;
  ASSERT_TRUE(rig.Load(GetParam().script));
  EXPECT_EQ(rig.Run(20), GetParam().codes);
  EXPECT_EQ(rig.Vars(GetParam().expected), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, FailedJump,
    ::testing::Values(RepeatCase{"BackwardsAtTheEnd", "y = 0; L0: y = y + 1; x = 1 && goto(L0);",
                               {dfResponseOK, dfResponseOK, dfResponseGeneralError, dfResponseEOF}, "y=1"},
                    RepeatCase{"BackwardsInTheMiddle", "y = 0; L0: y = y + 1; x = 1 && goto(L0); z = 1;",
                               {dfResponseOK, dfResponseOK, dfResponseGeneralError, dfResponseEOF}, "y=1 z=1"},
                    RepeatCase{"ForwardsOverStatements", "x = 1 && goto(L9); a = 1; b = 1; L9: c = 1;",
                               {dfResponseGeneralError, dfResponseOK, dfResponseOK, dfResponseEOF}, "a=1 b=1 c=1"},
                    RepeatCase{"OntoTheNextStatement", "x = 1 && goto(L1); L1: a = 1; b = 1;",
                               {dfResponseGeneralError, dfResponseOK, dfResponseEOF}, "a=1 b=1"},
                    RepeatCase{"OntoItself", "L0: x = 1 && goto(L0);", {dfResponseGeneralError, dfResponseEOF}, "x="}),
    NameByField<&RepeatCase::name>());

TEST(ScriptLoops, AScriptPollingThroughGotoKeepsItsLoopStackBounded) {
  ScriptRig rig;
  ASSERT_TRUE(rig.Load("n = 0;"
                       "top: while (1) { j = 0; while (j < 1) j = j + 1; n = n + 1; goto out; }"
                       "out: if (n < 100000) goto top;"
                       "done = 1;"));
  FL2File& script = rig.Script();
  script.Reset();
  std::size_t deepest = 0;
  dfResponseCodes code = dfResponseOK;
  for (int step = 0; step < 2'000'000 && code != dfResponseEOF; ++step) {
    code = script.singleStep();
    ASSERT_NE(code, dfResponseGeneralError) << "at step " << step;
    deepest = std::max(deepest, script.LoopStack().size());
  }
  EXPECT_EQ(code, dfResponseEOF);
  EXPECT_EQ(rig.Vars("n done"), "n=100000 done=1");
  EXPECT_LE(deepest, 2u) << "the two nested loops, whatever the number of passes";
  EXPECT_TRUE(script.LoopStack().empty());
}

TEST(ScriptLoops, AJumpInsideTheLoopKeepsItAndBreakStillLeavesIt) {
  ScriptRig rig;
  ASSERT_TRUE(rig.Load("i = 0; while (1) { i = i + 1; if (i < 3) goto again; break; again: k = i; } after = i;"));
  rig.Run();
  EXPECT_EQ(rig.Vars("i k after"), "i=3 k=2 after=3");
  EXPECT_TRUE(rig.Script().LoopStack().empty());
}

TEST(ScriptBuiltins, FileExistsOnlyForAnExistingFile) {
  const TempFolder folder;
  folder.Write("present.txt", "x");
  std::filesystem::create_directories(folder.Path() / "folder");
  ScriptRig rig;
  ASSERT_TRUE(rig.Load("a = fileexists(\"present.txt\"); b = fileexists(\"folder\"); c = fileexists(\"\");"
                       "d = fileexists(\"missing.txt\"); e = fileexists(\".\");"));
  rig.Script().SetWorkingFolder(folder.Path().string());
  rig.Run();
  EXPECT_EQ(rig.Vars("a b c d e"), "a=True b=False c=False d=False e=False");
}

}  // namespace
}  // namespace quendrel
