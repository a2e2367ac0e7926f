// Exit runs its steps in the fixed order, stops when a child window refuses to close, keeps the
// settings when the scan list cannot be saved, and writes the INI file by its save rules.
#include "shell/Shutdown.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/settings/Config.h"
#include "foundation/settings/OptOutMsgBox.h"
#include "foundation/values/RuntimeError.h"
#include "platform/ScriptedUi.h"
#include "shell/AppGlobals.h"
#include "shell/ProgramServices.h"
#include "shell/support/ShellTestSupport.h"
#include "support/TempFolder.h"

namespace quendrel {
namespace {

class ShutdownTest : public ::testing::Test {
 protected:
  ShutdownTest() { ResetConfig(); }
  ~ShutdownTest() override { ResetConfig(); }

  ShutdownHooks RecordingHooks() {
    ShutdownHooks hooks;
    hooks.CloseChildWindows = [this] {
      steps.push_back("CloseChildWindows");
      return childrenClose;
    };
    hooks.SavePlacement = [this] { steps.push_back("SavePlacement"); };
    hooks.ShutdownCommunications = [this] { steps.push_back("ShutdownCommunications"); };
    hooks.SaveScanList = [this](const std::string& path) {
      steps.push_back("SaveScanList " + path);
      if (scanListFails) throw RuntimeError(75, "PLF", "Path/File access error");
    };
    hooks.SaveSettings = [this] {
      steps.push_back("SaveSettings");
      return true;
    };
    return hooks;
  }

  std::vector<std::string> steps;
  bool childrenClose = true;
  bool scanListFails = false;
  ScriptedUi ui;
};

TEST_F(ShutdownTest, RunsEveryStepInOrder) {
  EXPECT_TRUE(Shutdown(RecordingHooks(), ui));
  const std::vector<std::string> expected = {"CloseChildWindows", "SavePlacement",
                                             "ShutdownCommunications", "SaveScanList Quendrel.SCP",
                                             "SaveSettings"};
  EXPECT_EQ(steps, expected);
}

TEST_F(ShutdownTest, AChildWindowThatRefusesKeepsTheProgramRunning) {
  childrenClose = false;
  EXPECT_FALSE(Shutdown(RecordingHooks(), ui));
  EXPECT_EQ(steps, std::vector<std::string>{"CloseChildWindows"});
}

TEST_F(ShutdownTest, AScanListThatCannotBeSavedIsReportedAndTheSettingsAreStillSaved) {
  scanListFails = true;
  ui.AnswerMsgBox(vbOK);
  EXPECT_TRUE(Shutdown(RecordingHooks(), ui));
  EXPECT_EQ(steps.back(), "SaveSettings");
  ASSERT_EQ(ui.Questions().size(), 1u);
  EXPECT_NE(ui.Questions()[0].Prompt.find("Quendrel.SCP"), std::string::npos);
  EXPECT_NE(ui.Questions()[0].Prompt.find("Path/File access error"), std::string::npos);
}

// The real steps against a program folder of its own.
class ProgramExitTest : public ShutdownTest {
 protected:
  void StartIn(const TempFolder& where) {
    SetAppFolder(where.Path().string());
    LoadProgramSettings();
  }

  TempFolder folder;
};

TEST_F(ProgramExitTest, TheSettingsFileKeepsOnlyWhatDiffersFromTheDefaults) {
  StartIn(folder);
  Config().SetValue("DriveAddress", "General", "7");
  Config().SetValue("Retries", "General", "3");  // the default
  EXPECT_TRUE(Shutdown(ProgramShutdownHooks(), ui));
  const std::string saved = folder.Read(SettingsFileName);
  EXPECT_NE(saved.find("DriveAddress=7"), std::string::npos);
  EXPECT_EQ(saved.find("Retries"), std::string::npos);
}

TEST_F(ProgramExitTest, PreserveINIKeepsTheDefaultsToo) {
  StartIn(folder);
  Config().SetValue("PreserveINI", "General", true);
  Config().SetValue("Retries", "General", "3");
  EXPECT_TRUE(Shutdown(ProgramShutdownHooks(), ui));
  EXPECT_NE(folder.Read(SettingsFileName).find("Retries=3"), std::string::npos);
}

TEST_F(ProgramExitTest, TheSettingsGoBackToTheFileTheyWereReadFrom) {
  folder.Write(SettingsFileName, "[General]\nDriveAddress=5\n");
  StartIn(folder);
  EXPECT_EQ(Config().Value("DriveAddress", "General"), "5");
  TempFolder elsewhere;
  SetAppFolder(elsewhere.Path().string());
  Config().SetValue("DriveAddress", "General", "9");
  EXPECT_TRUE(Shutdown(ProgramShutdownHooks(), ui));
  EXPECT_NE(folder.Read(SettingsFileName).find("DriveAddress=9"), std::string::npos);
  EXPECT_EQ(elsewhere.Read(SettingsFileName), "");
}

TEST_F(ProgramExitTest, ARememberedAnswerSurvivesARestart) {
  StartIn(folder);
  ui.AnswerOptOutBox(vbNo, true);
  EXPECT_EQ(OptOutMsgBox("Discard the changes?", "Unsaved Data", 36, "UnsavedData", true), OptOutNo);
  EXPECT_TRUE(Shutdown(ProgramShutdownHooks(), ui));
  EXPECT_NE(folder.Read(SettingsFileName).find("UnsavedData=No"), std::string::npos);

  ResetConfig();
  StartIn(folder);
  // The scripted UI fails the test on any question: the answer must come from the file.
  EXPECT_EQ(OptOutMsgBox("Discard the changes?", "Unsaved Data", 36, "UnsavedData", true), OptOutNo);
  EXPECT_EQ(ui.Questions().size(), 1u);
}

}  // namespace
}  // namespace quendrel
