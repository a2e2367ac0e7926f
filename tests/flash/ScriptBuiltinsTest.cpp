// The control, message and file built-ins, with a scripted user and a clock that never waits.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "flash/support/ScriptRig.h"
#include "support/CaseName.h"
#include "support/TempFolder.h"

namespace quendrel {
namespace {

namespace fs = std::filesystem;

struct ControlCase {
  std::string name;
  std::string script;
  std::string expected;  // "name=value" pairs after the run
  dfResponseCodes failure = dfResponseOK;  // the code of the one failing step
};

class ControlBuiltin : public testing::TestWithParam<ControlCase> {};

TEST_P(ControlBuiltin, RunsAsTheScriptExpects) {
  ScriptRig rig;
  ASSERT_TRUE(rig.Load(GetParam().script));
  const auto codes = rig.Run();
  ASSERT_EQ(codes.back(), dfResponseEOF);
  const int failures = static_cast<int>(std::count(codes.begin(), codes.end(), GetParam().failure));
  if (GetParam().failure != dfResponseOK) {
    EXPECT_EQ(failures, 1);
  }
  EXPECT_EQ(rig.Vars(GetParam().expected), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Control, ControlBuiltin,
    testing::Values(
        ControlCase{"IfZeroSkipsOne", "a = 0; b = 0; if(0); a = 1; b = 1;", "a=0 b=1"},
        ControlCase{"IfOneRunsBoth", "if(1); a = 1; b = 1;", "a=1 b=1"},
        ControlCase{"IfKeepsTheCallsFailure", "x = 1; if(forceflashmode()); x = 2; y = 3;", "x=1 y=3",
                    dfResponseGeneralError},
        ControlCase{"IfQuotedTextFails", "if(\"1\"); x = 2;", "x=2", dfResponseGeneralError},
        ControlCase{"GotoBareLabel", "goto(there); x = 1; there: y = 2;", "x= y=2"},
        ControlCase{"GotoLiteralNeverMatches", "r = goto(\"there\"); x = 1; there: y = 2;", "r=False x=1 y=2"},
        ControlCase{"EndStopsTheScript", "x = 1; end(); x = 2;", "x=1", dfResponseEOF},
        ControlCase{"BreakOutsideLoop", "break; x = 1;", "x=1", dfResponseGeneralError},
        ControlCase{"MissingArgument", "message(); x = 1;", "x=1", dfResponseGeneralError},
        ControlCase{"DriveCommandWithoutDrive", "forceflashmode(); x = 1;", "x=1", dfResponseGeneralError}),
    NameByField<&ControlCase::name>());

TEST(ScriptBuiltins, MessageAsksOnlyWithAKind) {
  ScriptRig rig;
  rig.ui.AnswerMsgBox(vbNo);
  rig.ui.AnswerMsgBox(vbOK);
  ASSERT_TRUE(rig.Load("message(\"quiet\"); r = message(\"go on?\", choice); message(\"note\", information);"));
  rig.Run();
  EXPECT_EQ(rig.ui.Prompts(), (std::vector<std::string>{"go on?", "note"}));
  EXPECT_EQ(rig.ui.Titles(), (std::vector<std::string>{"User Message", "User Message"}));
  EXPECT_EQ(rig.ui.Questions()[0].Style, vbYesNo | vbInformation);
  EXPECT_EQ(rig.Var("data"), "7");
  EXPECT_EQ(rig.Var("r"), "7");
}

TEST(ScriptBuiltins, WaitSleepsOnTheClockAndRefusesHugeTimes) {
  ScriptRig rig;
  ASSERT_TRUE(rig.Load("wait(0.25); wait(\"3\"); wait(3000000);"));
  const auto codes = rig.Run();
  EXPECT_EQ(rig.clock.Sleeps(), (std::vector<double>{0.25, 0.0}));
  EXPECT_EQ(codes, (std::vector{dfResponseOK, dfResponseOK, dfResponseGeneralError, dfResponseEOF}));
}

TEST(ScriptBuiltins, FileNamesResolveInTheWorkingFolder) {
  const TempFolder temp;
  const fs::path& folder = temp.Path();
  fs::create_directories(folder / "my.dir");
  for (const char* name : {"log.txt", "log (1).txt", "a.b.c", "my.dir/log.txt"}) std::ofstream(folder / name) << "x";
  {
    ScriptRig rig;
    ASSERT_TRUE(rig.Load("a = makefilename(\"log.txt\"); b = makefilename(\"a.b.c\"); c = makefilename(\"my.dir/log.txt\");"
                         "d = makefilename(\"fresh.txt\", 1); e = fileexists(\"a.b.c\"); f = fileexists(d);"));
    rig.Script().SetWorkingFolder(folder.string());
    rig.Run();
    EXPECT_EQ(rig.Var("a"), "log (2).txt");
    EXPECT_EQ(rig.Var("b"), "a (1).b.c");
    EXPECT_EQ(rig.Var("c"), "my.dir/log (1).txt");
    EXPECT_EQ(rig.Var("d"), "fresh.txt");
    EXPECT_EQ(rig.Var("e"), "True");
    EXPECT_EQ(rig.Var("f"), "False");
    std::ofstream(folder / "fresh.txt") << "temporary";
    rig.Release();
  }
  EXPECT_FALSE(fs::exists(folder / "fresh.txt")) << "registered as temporary by the flag";
  EXPECT_TRUE(fs::exists(folder / "log.txt"));
}

}  // namespace
}  // namespace quendrel
