// The real start-up steps in a program folder of their own: the user's settings come from the
// folder with the built-in ones behind them, and the services they name are set up from them.
#include "shell/ProgramServices.h"

#include <gtest/gtest.h>

#include "comms/CommServer.h"
#include "comms/FunctionTemplates.h"
#include "foundation/Config.h"
#include "params/FirmwareCompatibilityFile.h"
#include "platform/FakeClock.h"
#include "platform/ScriptedUi.h"
#include "shell/AppGlobals.h"
#include "shell/support/ShellTestSupport.h"
#include "widgets/TreeIcons.h"

namespace quendrel {
namespace {

class ProgramStartupTest : public ::testing::Test {
 protected:
  ProgramStartupTest() { ResetConfig(); }
  ~ProgramStartupTest() override {
    CommServer().Shutdown();
    ResetConfig();
  }

  StartupOutcome Start() { return Startup(ProgramStartupHooks(folder.Path()), ui, clock, 0.0); }

  TempFolder folder;
  ScriptedUi ui;
  FakeClock clock;
};

TEST_F(ProgramStartupTest, ReadsTheUsersSettingsFromTheProgramFolder) {
  folder.Write(SettingsFileName,
               "[General]\nGIOTarget=None\nUseIcons=False\n[Serial Port]\nBaudRate=9600\n");
  ASSERT_EQ(Start(), StartupOutcome::Running);
  EXPECT_EQ(AppFolder(), folder.Path() + "/");
  EXPECT_EQ(Config().Value("BaudRate", "Serial Port"), "9600");
  EXPECT_EQ(Config().Value("Timeout", "Serial Port"), "1");  // from the built-in defaults
  EXPECT_EQ(Config().Path().empty(), false);
  EXPECT_FALSE(UseIcons());
  EXPECT_EQ(CommServer().SelectedModule(), "None");
}

TEST_F(ProgramStartupTest, WithoutAUserFileTheDefaultsSelectTheSerialModule) {
  ASSERT_EQ(Start(), StartupOutcome::Running);
  EXPECT_TRUE(UseIcons());
  EXPECT_EQ(CommServer().SelectedModule(), "Serial");
  EXPECT_TRUE(ui.Questions().empty());
}

TEST_F(ProgramStartupTest, AnEmptyCompatibilitySettingInTheUsersFileEndsTheProgram) {
  folder.Write(SettingsFileName, "[Files]\nFC2Path=\n");
  ui.AnswerMsgBox(vbOK);
  EXPECT_EQ(Start(), StartupOutcome::Failed);
  EXPECT_EQ(ui.Titles(), std::vector<std::string>{"Critical Error"});
}

TEST_F(ProgramStartupTest, LoadsTheCompatibilityFileNamedInTheSettingsAndTheTemplates) {
  FirmwareCompatibilityFile written;
  written.SetSoftwareVersion(1234);
  ASSERT_TRUE(written.Save(folder.File("Plant.FC2")));
  folder.Write(SettingsFileName, "[Files]\nFC2Path=Plant.FC2\n");
  ASSERT_EQ(Start(), StartupOutcome::Running);
  EXPECT_EQ(FirmwareCompatibility().SoftwareVersion(), 1234);
  EXPECT_NE(FindFunctionTemplate("readvalue"), nullptr);
  EXPECT_GT(FunctionTemplates().Count(), 10);
}

TEST_F(ProgramStartupTest, AMissingCompatibilityFileLeavesItEmptyWithoutAQuestion) {
  folder.Write(SettingsFileName, "[Files]\nFC2Path=Missing.FC2\n");
  ASSERT_EQ(Start(), StartupOutcome::Running);
  EXPECT_TRUE(FirmwareCompatibility().VersionList().empty());
  EXPECT_EQ(FirmwareCompatibility().SoftwareVersion(), FirmwareCompatibilityFile::kDefaultSoftwareVersion);
  EXPECT_TRUE(ui.Questions().empty());
}

TEST_F(ProgramStartupTest, RelativePathsAreFoundInTheProgramFolder) {
  SetAppFolder(folder.Path());
  EXPECT_EQ(ResolveProgramPath("Quendrel.SCP"), folder.Path() + "/Quendrel.SCP");
  EXPECT_EQ(ResolveProgramPath("/var/lib/scan.SCP"), "/var/lib/scan.SCP");
  EXPECT_EQ(ResolveProgramPath(""), "");
}

}  // namespace
}  // namespace quendrel
