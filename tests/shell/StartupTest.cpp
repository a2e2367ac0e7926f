// Start-up runs its steps in the fixed order and handles every failure as the user must see it:
// refused second instance, the missing compatibility setting, unreadable templates or scan
// list, and the splash's minimum time on the clock.
#include "shell/Startup.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "foundation/settings/Config.h"
#include "foundation/values/RuntimeError.h"
#include "platform/FakeClock.h"
#include "platform/ScriptedUi.h"

namespace quendrel {
namespace {

// Every hook records its name (and the path it was given) in the order start-up calls it.
struct StartupRecorder {
  std::vector<std::string> steps;
  bool otherInstance = false;
  bool templatesLoad = true;
  bool scanListExists = true;
  bool scanListFails = false;
  std::string userFC2Path = "Quendrel.FC2";

  StartupHooks Hooks() {
    StartupHooks hooks;
    hooks.AnotherInstanceRunning = Answering("AnotherInstanceRunning", otherInstance);
    hooks.SetGlobals = Recorder("SetGlobals");
    hooks.ShowSplash = Recorder("ShowSplash");
    hooks.CloseSplash = Recorder("CloseSplash");
    hooks.BuildCrcTables = Recorder("BuildCrcTables");
    hooks.LoadSettings = [this] {
      steps.push_back("LoadSettings");
      Config().SetValue("FC2Path", "Files", userFC2Path);
    };
    hooks.StartCommunications = Recorder("StartCommunications");
    hooks.FileExists = [this](const std::string& path) {
      steps.push_back("FileExists " + path);
      return scanListExists;
    };
    hooks.LoadScanList = [this](const std::string& path) {
      steps.push_back("LoadScanList " + path);
      if (scanListFails) throw RuntimeError(53, "PLF", "File not found");
    };
    hooks.LoadFunctionTemplates = Answering("LoadFunctionTemplates", templatesLoad);
    hooks.LoadCompatibilityFile = [this](const std::string& path) {
      steps.push_back("LoadCompatibilityFile " + path);
    };
    hooks.CreateScriptParser = Recorder("CreateScriptParser");
    return hooks;
  }

  std::function<void()> Recorder(const std::string& name) {
    return [this, name] { steps.push_back(name); };
  }

  std::function<bool()> Answering(const std::string& name, const bool& answer) {
    return [this, name, &answer] {
      steps.push_back(name);
      return answer;
    };
  }
};

class StartupTest : public ::testing::Test {
 protected:
  StartupTest() { ResetConfig(); }
  ~StartupTest() override { ResetConfig(); }

  StartupOutcome Run(double splashSeconds = 0.0) {
    return Startup(recorder.Hooks(), ui, clock, splashSeconds);
  }

  StartupRecorder recorder;
  ScriptedUi ui;
  FakeClock clock;
};

TEST_F(StartupTest, RunsEveryStepInOrderAndAsksNothing) {
  EXPECT_EQ(Run(), StartupOutcome::Running);
  const std::vector<std::string> expected = {
      "AnotherInstanceRunning", "SetGlobals", "ShowSplash", "BuildCrcTables", "LoadSettings",
      "StartCommunications", "FileExists Quendrel.SCP", "LoadScanList Quendrel.SCP",
      "LoadFunctionTemplates", "LoadCompatibilityFile Quendrel.FC2", "CreateScriptParser",
      "CloseSplash"};
  EXPECT_EQ(recorder.steps, expected);
  EXPECT_TRUE(ui.Questions().empty());
}

TEST_F(StartupTest, ASecondInstanceIsRefusedBeforeAnythingElse) {
  recorder.otherInstance = true;
  ui.AnswerMsgBox(vbOK);
  EXPECT_EQ(Run(), StartupOutcome::AlreadyRunning);
  EXPECT_EQ(recorder.steps, std::vector<std::string>{"AnotherInstanceRunning"});
  ASSERT_EQ(ui.Questions().size(), 1u);
  EXPECT_EQ(ui.Questions()[0].Prompt, "Quendrel is already running.");
  EXPECT_EQ(ui.Questions()[0].Title, "Error");
}

TEST_F(StartupTest, AnEmptyCompatibilitySettingEndsTheProgramBeforeTheParser) {
  recorder.userFC2Path = "";
  ui.AnswerMsgBox(vbOK);
  EXPECT_EQ(Run(3.0), StartupOutcome::Failed);
  ASSERT_EQ(ui.Questions().size(), 1u);
  EXPECT_EQ(ui.Questions()[0].Prompt,
            "Unknown error during program startup.\n\nUnable to run Quendrel.");
  EXPECT_EQ(ui.Questions()[0].Title, "Critical Error");
  EXPECT_EQ(ui.Questions()[0].Style & vbIconMask, vbCritical);
  // The splash goes before the message, and nobody waits out its minimum for a failure.
  EXPECT_EQ(recorder.steps.back(), "CloseSplash");
  for (const std::string& step : recorder.steps) {
    EXPECT_EQ(step.find("LoadCompatibilityFile"), std::string::npos);
    EXPECT_NE(step, "CreateScriptParser");
  }
  EXPECT_TRUE(clock.Sleeps().empty());
}

TEST_F(StartupTest, TemplatesThatCannotBeReadAreReportedAndStartUpGoesOn) {
  recorder.templatesLoad = false;
  ui.AnswerMsgBox(vbOK);
  EXPECT_EQ(Run(), StartupOutcome::Running);
  ASSERT_EQ(ui.Questions().size(), 1u);
  EXPECT_EQ(ui.Questions()[0].Prompt, "Unable to load function template data.");
  EXPECT_EQ(ui.Questions()[0].Title, "Internal Data Error");
  EXPECT_EQ(recorder.steps[recorder.steps.size() - 2], "CreateScriptParser");
}

TEST_F(StartupTest, AMissingScanListIsNotLoadedAndNotReported) {
  recorder.scanListExists = false;
  EXPECT_EQ(Run(), StartupOutcome::Running);
  for (const std::string& step : recorder.steps) EXPECT_EQ(step.rfind("LoadScanList", 0), std::string::npos);
  EXPECT_TRUE(ui.Questions().empty());
}

TEST_F(StartupTest, AScanListThatFailsToLoadIsReportedAndStartUpGoesOn) {
  recorder.scanListFails = true;
  ui.AnswerMsgBox(vbOK);
  EXPECT_EQ(Run(), StartupOutcome::Running);
  ASSERT_EQ(ui.Questions().size(), 1u);
  EXPECT_NE(ui.Questions()[0].Prompt.find("Quendrel.SCP"), std::string::npos);
  EXPECT_NE(ui.Questions()[0].Prompt.find("File not found"), std::string::npos);
  EXPECT_EQ(recorder.steps[recorder.steps.size() - 2], "CreateScriptParser");
}

TEST_F(StartupTest, AnUnexpectedFailureIsShownAsCriticalAndEndsTheProgram) {
  StartupHooks hooks = recorder.Hooks();
  hooks.StartCommunications = [] { throw std::runtime_error("Out of memory"); };
  ui.AnswerMsgBox(vbOK);
  EXPECT_EQ(Startup(hooks, ui, clock, 0.0), StartupOutcome::Failed);
  ASSERT_EQ(ui.Questions().size(), 1u);
  EXPECT_EQ(ui.Questions()[0].Prompt, "Out of memory\n\nUnable to run Quendrel.");
  EXPECT_EQ(ui.Questions()[0].Title, "Critical Error");
  EXPECT_EQ(recorder.steps.back(), "CloseSplash");
}

TEST_F(StartupTest, TheSplashStaysItsMinimumCountedFromWhenItWasShown) {
  StartupHooks hooks = recorder.Hooks();
  hooks.LoadSettings = [this] { clock.Advance(1.25); };  // a slow disk
  int pumps = 0;
  hooks.PumpMessages = [&pumps] { ++pumps; };
  bool closedAfterWait = false;
  hooks.CloseSplash = [&] { closedAfterWait = clock.MonotonicSeconds() >= 3.0; };
  EXPECT_EQ(Startup(hooks, ui, clock, 3.0), StartupOutcome::Running);
  EXPECT_TRUE(closedAfterWait);
  EXPECT_NEAR(clock.MonotonicSeconds(), 3.0, 1e-9);
  EXPECT_GT(pumps, 0);
}

}  // namespace
}  // namespace quendrel
