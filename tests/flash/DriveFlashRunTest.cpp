// The drive flash window running a script: each failure's box and what its answers do, retries of
// the statement that failed, pause, abort and a close in the middle of a run, the module held for
// the script, single steps, skips, seeking and reset.
#include <gtest/gtest.h>

#include "comms/server/GIOContext.h"
#include "comms/server/GIOError.h"
#include "flash/support/DriveFlashRig.h"

namespace quendrel {
namespace {

const std::string kSuccess = "Drive Flash was successful.";

bool Idle(const DriveFlashControls& view) {
  return view.StartEnabled && view.SourceEnabled && view.ExecuteModeEnabled && !view.bPauseFlashEnabled &&
         !view.NavigationEnabled;
}

bool Paused(const DriveFlashControls& view) {
  return view.StartEnabled && view.ExecuteModeEnabled && !view.bPauseFlashEnabled && view.NavigationEnabled &&
         !view.SourceEnabled;
}

struct FailureCase {
  dfResponseCodes code;
  int answer;  // the button pressed in the box
  const char* prompt;
  const char* status;
  bool buttons;  // Abort, Retry and Ignore; OK otherwise
  // After the run: the script kept, at which statement, and whether the run went on to the end.
  bool kept;
  int pc;
  bool ranOn;
};

std::string FailureCaseName(const testing::TestParamInfo<FailureCase>& info) {
  const char* answers[] = {"", "OK", "", "Abort", "Retry", "Ignore"};
  return "Code" + std::to_string(info.param.code) + answers[info.param.answer];
}

class DriveFlashFailures : public testing::TestWithParam<FailureCase> {};

TEST_P(DriveFlashFailures, TheBoxAndItsAnswerDecideWhatHappensToTheScript) {
  const FailureCase& c = GetParam();
  DriveFlashRig rig;
  rig.UseScript("run.fl2", "n = 1; Fail(); Poke(n);");
  rig.Answer("Fail", {c.code});
  rig.ui.AnswerMsgBox(c.answer);
  if (c.ranOn) rig.ui.AnswerMsgBox(vbOK);
  rig.Start();

  ASSERT_GE(rig.ui.Questions().size(), 1U);
  const UiQuestion& box = rig.ui.Questions()[0];
  EXPECT_EQ(box.Prompt, c.prompt);
  EXPECT_EQ(box.Title, "Drive Flash");
  EXPECT_EQ(box.Style, vbInformation | (c.buttons ? vbAbortRetryIgnore : vbOKOnly));
  if (c.ranOn) {
    EXPECT_EQ(rig.Calls(), (std::vector<std::string>{"Fail()", "Poke(1)"}));
    EXPECT_EQ(rig.Prompts().back(), kSuccess);
    EXPECT_EQ(rig.View().lblStatus, "Finished");
    return;
  }
  EXPECT_EQ(rig.Calls(), std::vector<std::string>{"Fail()"});
  EXPECT_EQ(rig.View().lblStatus, c.status);
  EXPECT_TRUE(Idle(rig.View()));
  ASSERT_EQ(rig.Script() != nullptr, c.kept);
  if (!c.kept) return;
  EXPECT_EQ(rig.Script()->PC(), c.pc);
  // Start goes on where the retry left the script: the failed statement runs again.
  rig.ui.AnswerMsgBox(vbOK);
  rig.Start();
  EXPECT_EQ(rig.Calls(), (std::vector<std::string>{"Fail()", "Fail()", "Poke(1)"}));
}

INSTANTIATE_TEST_SUITE_P(
    Codes, DriveFlashFailures,
    testing::Values(
        FailureCase{dfResponseGeneralError, vbOK, "Unspecified error while executing Drive Flash script.",
                    "Script Execution Error", false, false, 0, false},
        FailureCase{dfResponseProgramFailed, vbOK, "Drive rejected program data as invalid.",
                    "Script Execution Failure", false, false, 0, false},
        FailureCase{dfResponseEraseFailed, vbOK, "Erase command failed at drive.", "Script Execution Failure", false,
                    false, 0, false},
        FailureCase{dfResponseTimeout, vbAbort, "No response from Drive -- timed out.", "Script Execution Timeout",
                    true, false, 0, false},
        FailureCase{dfResponseTimeout, vbRetry, "No response from Drive -- timed out.", "Script Execution Timeout",
                    true, true, 2, false},
        FailureCase{dfResponseTimeout, vbIgnore, "No response from Drive -- timed out.", "", true, true, 0, true},
        FailureCase{dfResponseFileAlreadyExists, vbAbort, "File already exists -- cannot overwrite.",
                    "File Already Exists", true, false, 0, false},
        FailureCase{dfResponseFileAlreadyExists, vbRetry, "File already exists -- cannot overwrite.",
                    "File Already Exists", true, true, 2, false},
        FailureCase{dfResponseFileAlreadyExists, vbIgnore, "File already exists -- cannot overwrite.", "", true, true,
                    0, true},
        FailureCase{dfResponseFileNotFound, vbAbort, "Couldn't find a required hex file.", "Paused", true, false, 0,
                    false},
        FailureCase{dfResponseFileNotFound, vbRetry, "Couldn't find a required hex file.", "Paused", true, true, 2,
                    false},
        FailureCase{dfResponseFileNotFound, vbIgnore, "Couldn't find a required hex file.", "", true, true, 0, true}),
    FailureCaseName);

TEST(DriveFlashRun, NoErrorsGoesOnSilently) {
  DriveFlashRig rig;
  rig.UseScript("run.fl2", "noerrors = 1; Fail(); Fail(); Poke(2);");
  rig.Answer("Fail", {dfResponseTimeout, dfResponseGeneralError});
  rig.ui.AnswerMsgBox(vbOK);
  rig.Start();
  EXPECT_EQ(rig.Calls(), (std::vector<std::string>{"Fail()", "Fail()", "Poke(2)"}));
  EXPECT_EQ(rig.Prompts(), std::vector<std::string>{kSuccess});
}

// The statement that failed runs again, however far its failure moved the program counter: not the
// one before it (which would repeat its drive writes), and not the one after it at statement 1.
TEST(DriveFlashRun, RetryRunsTheStatementThatFailed) {
  struct Case {
    const char* what;
    std::string script;
    dfResponseCodes code;
    std::vector<std::string> calls;
  };
  const Case cases[] = {
      {"the script's own retry, first statement", "Fail(); Poke(2);", dfResponseRetry, {"Fail()", "Fail()", "Poke(2)"}},
      {"the script's own retry inside a block", "n = 1; if (n == 1) { Poke(n); Fail(); } Poke(9);", dfResponseRetry,
       {"Poke(1)", "Fail()", "Fail()", "Poke(9)"}},
      {"the script's own retry of the last statement", "Poke(1); Fail();", dfResponseRetry,
       {"Poke(1)", "Fail()", "Fail()"}},
  };
  for (const Case& c : cases) {
    DriveFlashRig rig;
    rig.UseScript("run.fl2", c.script);
    rig.Answer("Fail", {c.code});
    rig.ui.AnswerMsgBox(vbOK);
    rig.Start();
    EXPECT_EQ(rig.Calls(), c.calls) << c.what;
    EXPECT_EQ(rig.Prompts(), std::vector<std::string>{kSuccess}) << c.what;
  }
}

TEST(DriveFlashRun, ATimeoutRetriedRunsTheFailedStatementWhereverItsFailureLeftTheScript) {
  struct Case {
    const char* what;
    std::string script;
    std::vector<std::string> calls;
  };
  const Case cases[] = {
      {"inside a block", "n = 0; n = n + 1; if (n == 1) { Fail(); } Poke(n);", {"Fail()", "Fail()", "Poke(1)"}},
      // A call as an argument runs twice, for the values and for the names.
      {"an if() whose failed call skipped the statement it guards", "if(Fail()); Poke(1); Poke(2);",
       {"Fail()", "Fail()", "Fail()", "Fail()", "Poke(1)", "Poke(2)"}},
  };
  for (const Case& c : cases) {
    DriveFlashRig rig;
    rig.UseScript("run.fl2", c.script);
    rig.Answer("Fail", {dfResponseTimeout});
    rig.ui.AnswerMsgBox(vbRetry);
    rig.Start();
    ASSERT_NE(rig.Script(), nullptr) << c.what;
    EXPECT_EQ(rig.Script()->PC(), rig.Script()->LastExecuted()) << c.what;
    rig.ui.AnswerMsgBox(vbOK);
    rig.Start();
    EXPECT_EQ(rig.Calls(), c.calls) << c.what;
  }
}

TEST(DriveFlashRun, AFailingLastStatementShowsItsBoxAndABlockAtTheEndEnds) {
  DriveFlashRig failing;
  failing.UseScript("run.fl2", "Poke(1); Fail();");
  failing.Answer("Fail", {dfResponseGeneralError});
  failing.ui.AnswerMsgBox(vbOK);
  failing.Start();
  EXPECT_EQ(failing.Prompts(), std::vector<std::string>{"Unspecified error while executing Drive Flash script."});

  DriveFlashRig block;
  block.UseScript("run.fl2", "n = 1; while (n < 3) { n = n + 1; Poke(n); }");
  block.ui.AnswerMsgBox(vbOK);
  block.Start();
  EXPECT_EQ(block.Calls(), (std::vector<std::string>{"Poke(2)", "Poke(3)"}));
  EXPECT_EQ(block.Prompts(), std::vector<std::string>{kSuccess});
}

TEST(DriveFlashRun, PauseDuringThePumpStopsAtTheNextStatementAndStartGoesOnWithAFreshContext) {
  DriveFlashRig rig;
  rig.UseScript("run.fl2", "Poke(1); Poke(2); Poke(3); Poke(4);");
  int pumps = 0;
  rig.ui.OnPump([&] {
    EXPECT_TRUE(rig.View().bPauseFlashEnabled) << "shown before the pump";
    EXPECT_FALSE(rig.View().StartEnabled);
    rig.Window().bStartFlash_Click();  // disabled while running: ignored
    if (++pumps == 2) rig.Window().bPauseFlash_Click();
  });
  rig.Start();
  EXPECT_EQ(rig.Calls().size(), 2U);
  ASSERT_NE(rig.Script(), nullptr);
  EXPECT_EQ(rig.Script()->PC(), 3);
  EXPECT_EQ(rig.View().lblStatus, "Paused");
  EXPECT_TRUE(Paused(rig.View()));
  EXPECT_EQ(rig.View().Focus, DriveFlashFocus::StartButton);
  EXPECT_EQ(rig.tbCommand->text, rig.Script()->CommandString(3));
  EXPECT_EQ(rig.tpbProgress->value, 3);
  EXPECT_EQ(rig.tpbProgress->max, 4);

  rig.ui.OnPump(nullptr);
  rig.ui.AnswerMsgBox(vbOK);
  rig.Start();
  EXPECT_EQ(rig.Calls(), (std::vector<std::string>{"Poke(1)", "Poke(2)", "Poke(3)", "Poke(4)"}));
  ASSERT_EQ(rig.contexts.size(), 4U);
  EXPECT_EQ(rig.contexts[0], rig.contexts[1]);
  EXPECT_NE(rig.contexts[1], rig.contexts[2]) << "every Start opens a context of its own";
}

TEST(DriveFlashRun, AnAbortingScriptAndACloseDuringARunEndTheRunAndThenTheWindow) {
  DriveFlashRig aborting;
  aborting.UseScript("run.fl2", "Fail(); Poke(1);");
  aborting.Answer("Fail", {dfResponseAbort});
  aborting.Start();
  EXPECT_EQ(aborting.ui.Pumps(), 0);
  EXPECT_TRUE(aborting.Window().CloseRequested());
  EXPECT_EQ(aborting.Script(), nullptr);
  EXPECT_TRUE(aborting.Prompts().empty());

  DriveFlashRig closing;
  closing.UseScript("run.fl2", "Poke(1); Poke(2); Poke(3);");
  closing.ui.OnPump([&] {
    EXPECT_FALSE(closing.Window().QueryClose()) << "not while the run is on the stack";
    EXPECT_FALSE(closing.Window().CloseRequested());
  });
  closing.Start();
  EXPECT_EQ(closing.Calls(), std::vector<std::string>{"Poke(1)"});
  EXPECT_TRUE(closing.Window().CloseRequested());
  EXPECT_EQ(closing.Script(), nullptr);
  EXPECT_TRUE(closing.Prompts().empty());
}

TEST(DriveFlashReservation, OtherContextsAreRefusedWhileAScriptIsLoaded) {
  DriveFlashRig rig;
  const auto foreign = rig.server.OpenContext(1, -1);
  auto refused = [&] {
    const udtDriveResponse reply = foreign->ReadValue(0, 0);
    return reply.Error && reply.intData == gioSlaveDeviceBusy;
  };
  rig.UseScript("run.fl2", "Poke(1); message(\"check\", 2); Poke(2); Poke(3);");
  int pumps = 0;
  rig.ui.OnPump([&] {
    EXPECT_TRUE(refused()) << "from the pump";
    if (++pumps == 3) rig.Window().bPauseFlash_Click();
  });
  rig.ui.WhileAsked([&](const UiQuestion&) { EXPECT_TRUE(refused()) << "from a script's box"; });
  rig.ui.AnswerMsgBox(vbOK);
  rig.Start();
  ASSERT_NE(rig.Script(), nullptr);
  EXPECT_TRUE(refused()) << "paused";
  EXPECT_TRUE(rig.module->sent.empty()) << "a refused frame is never sent";

  rig.ui.OnPump(nullptr);
  rig.ui.WhileAsked(nullptr);
  rig.ui.AnswerMsgBox(vbOK);
  rig.Start();
  EXPECT_FALSE(refused()) << "released at the end";
}

TEST(DriveFlashReservation, ReleasedOnEveryWayARunEnds) {
  struct Case {
    const char* what;
    dfResponseCodes code;
    int answer;  // 0: no box
    bool close;
  };
  const Case cases[] = {
      {"a failure", dfResponseGeneralError, vbOK, false},
      {"an abort in a box", dfResponseTimeout, vbAbort, false},
      {"the script aborting", dfResponseAbort, 0, false},
      {"a close during the run", dfResponseOK, 0, true},
  };
  for (const Case& c : cases) {
    DriveFlashRig rig;
    const auto foreign = rig.server.OpenContext(1, -1);
    rig.UseScript("run.fl2", "Fail(); Poke(1);");
    rig.Answer("Fail", {c.code});
    if (c.answer != 0) rig.ui.AnswerMsgBox(c.answer);
    if (c.close) rig.ui.OnPump([&] { rig.Window().QueryClose(); });
    rig.Start();
    EXPECT_FALSE(rig.server.IsReservedFor(foreign.get())) << c.what;
  }
  DriveFlashRig unloaded;
  const auto foreign = unloaded.server.OpenContext(1, -1);
  unloaded.UseScript("run.fl2", "Poke(1);");
  unloaded.Step();
  EXPECT_TRUE(unloaded.server.IsReservedFor(foreign.get())) << "held from the first single step";
  unloaded.Window().Form_Unload();
  EXPECT_FALSE(unloaded.server.IsReservedFor(foreign.get())) << "a closed window";
}

TEST(DriveFlashSingleStep, TheFirstClickLoadsAndEveryNextOneRunsOneStatement) {
  DriveFlashRig rig;
  rig.Window().rbExecuteMode_Click(true);
  rig.UseScript("run.fl2", "Poke(1); Fail(); Poke(3);");
  rig.Step();
  ASSERT_NE(rig.Script(), nullptr);
  EXPECT_TRUE(rig.Calls().empty()) << "nothing runs on the first click";
  EXPECT_EQ(rig.tbCommand->text, rig.Script()->CommandString(1));
  EXPECT_EQ(rig.View().lblStatus, "Paused");
  EXPECT_TRUE(Paused(rig.View()));
  EXPECT_EQ(rig.tpbProgress->value, 1);

  rig.Step();
  EXPECT_EQ(rig.Calls(), std::vector<std::string>{"Poke(1)"});
  EXPECT_EQ(rig.Script()->PC(), 2);

  rig.Answer("Fail", {dfResponseTimeout, dfResponseRetry});
  rig.ui.AnswerMsgBox(vbRetry);
  rig.Step();
  EXPECT_EQ(rig.Script()->PC(), 2) << "a box's retry stays on the failed statement";
  rig.Step();
  EXPECT_EQ(rig.Script()->PC(), 2) << "so does the script's own";
  rig.Step();
  EXPECT_EQ(rig.Script()->PC(), 3);

  rig.ui.AnswerMsgBox(vbOK);
  rig.Step();
  EXPECT_EQ(rig.Calls(), (std::vector<std::string>{"Poke(1)", "Fail()", "Fail()", "Fail()", "Poke(3)"}));
  EXPECT_EQ(rig.Prompts().back(), kSuccess);
  EXPECT_EQ(rig.View().lblStatus, "Finished");
  EXPECT_EQ(rig.Script(), nullptr);
  EXPECT_TRUE(Idle(rig.View()));
}

TEST(DriveFlashNavigation, SkipsStopAtBothEndsAndTheBarSeeksStatementsWithText) {
  DriveFlashRig rig;
  rig.Window().rbExecuteMode_Click(true);
  // Statements 3 and 5 are the lowered block's emptied ends.
  rig.UseScript("run.fl2", "a = 1; if (a == 1) { b = 2; } c = 3; d = 4;");
  rig.Step();
  IFlashCommandFile& script = *rig.Script();
  const int length = script.ProgramLength();

  rig.Window().bSkipBack_Click();
  EXPECT_EQ(script.PC(), 1);
  EXPECT_EQ(rig.View().lblStatus, "Beginning of file.");
  for (int i = 0; i < length + 2; ++i) rig.Window().bSkipFwd_Click();
  EXPECT_EQ(script.PC(), length);
  EXPECT_EQ(rig.View().lblStatus, "End of file.");
  EXPECT_EQ(rig.tbCommand->text, script.CommandString(length));

  std::vector<int> visited;
  for (int target = length; target >= 1; --target) {
    rig.Window().tpbProgress_Mouse(static_cast<float>(target));
    visited.push_back(script.PC());
    EXPECT_FALSE(script.CommandString(script.PC()).empty()) << "target " << target;
    EXPECT_LE(script.PC(), target) << "moving back never stops past the target";
  }
  EXPECT_EQ(visited.back(), 1);
  rig.Window().tpbProgress_Mouse(static_cast<float>(length));
  EXPECT_EQ(script.PC(), length);
  EXPECT_EQ(rig.tpbProgress->value, length);

  rig.Window().bReset_Click();
  EXPECT_EQ(script.PC(), 1);
  EXPECT_EQ(rig.tpbProgress->value, 1);
  EXPECT_EQ(rig.tbCommand->text, script.CommandString(1));
  EXPECT_FALSE(rig.tpbSubProgress->visible);
}

TEST(DriveFlashNavigation, TheBarSeeksOnlyWhileTheSkipsAreEnabled) {
  DriveFlashRig rig;
  rig.UseScript("run.fl2", "Poke(1); Poke(2); Poke(3);");
  rig.ui.OnPump([&] {
    rig.Window().tpbProgress_Mouse(1.0F);
    rig.Window().bSkipBack_Click();
    rig.Window().bReset_Click();
  });
  rig.ui.AnswerMsgBox(vbOK);
  rig.Start();
  EXPECT_EQ(rig.Calls(), (std::vector<std::string>{"Poke(1)", "Poke(2)", "Poke(3)"}));
}

}  // namespace
}  // namespace quendrel
