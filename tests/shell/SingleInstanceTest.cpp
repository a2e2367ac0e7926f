// Only one Quendrel runs at a time: a second start is refused with its message before it
// touches anything, and the lock is given up when the first one ends. The whole program also
// starts to a usable main window and writes its settings when that window closes.
#include "shell/qt/SingleInstanceLock.h"

#include <QLabel>
#include <QStatusBar>
#include <gtest/gtest.h>

#include "comms/server/CommServer.h"
#include "foundation/settings/Config.h"
#include "platform/FakeClock.h"
#include "platform/ScriptedUi.h"
#include "shell/ProgramServices.h"
#include "shell/qt/ShellApplication.h"
#include "shell/qt/frmMainMDI.h"
#include "shell/support/ShellTestSupport.h"
#include "support/TempFolder.h"

namespace quendrel {
namespace {

class SingleInstanceTest : public ::testing::Test {
 protected:
  SingleInstanceTest() {
    QtTestApp();
    ResetConfig();
  }
  ~SingleInstanceTest() override {
    CommServer().Shutdown();
    ResetConfig();
  }

  ShellApplication::Options OptionsIn(const TempFolder& where) const {
    ShellApplication::Options options;
    options.Folder = where.Path().string();
    options.SplashMinimumSeconds = 0.0;
    options.ShowSplash = false;
    options.LockPath = QString::fromStdString(locks.File("quendrel.lock"));
    return options;
  }

  TempFolder locks;
  TempFolder folder;
  ScriptedUi ui;
  FakeClock clock;
};

TEST_F(SingleInstanceTest, OneLockAtATimeAndFreeAgainWhenItsHolderGoes) {
  const QString path = QString::fromStdString(locks.File("quendrel.lock"));
  auto first = std::make_unique<SingleInstanceLock>(path);
  SingleInstanceLock second(path);
  EXPECT_TRUE(first->Acquire());
  EXPECT_TRUE(first->Acquire());  // asking again keeps it
  EXPECT_FALSE(second.Acquire());
  first.reset();
  EXPECT_TRUE(second.Acquire());
}

TEST_F(SingleInstanceTest, TheSecondStartIsRefusedAndOpensNothing) {
  SingleInstanceLock running(QString::fromStdString(locks.File("quendrel.lock")));
  ASSERT_TRUE(running.Acquire());
  ShellApplication second(OptionsIn(folder));
  ui.AnswerMsgBox(vbOK);
  EXPECT_EQ(second.Start(ui, clock), StartupOutcome::AlreadyRunning);
  EXPECT_EQ(ui.Titles(), std::vector<std::string>{"Error"});
  EXPECT_EQ(second.MainWindow(), nullptr);
  EXPECT_TRUE(Config().Path().empty());  // not even the settings were read
}

TEST_F(SingleInstanceTest, TheProgramStartsToItsMainWindowAndSavesItsSettingsOnExit) {
  folder.Write(SettingsFileName, "[General]\nGIOTarget=None\nDriveAddress=4\n");
  ShellApplication shell(OptionsIn(folder));
  ASSERT_EQ(shell.Start(ui, clock), StartupOutcome::Running);
  frmMainMDI* window = shell.MainWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(window->StatusPanelText(1), "No communications");

  Config().SetValue("DriveAddress", "General", "6");
  EXPECT_TRUE(window->close());
  const std::string saved = folder.Read(SettingsFileName);
  EXPECT_NE(saved.find("DriveAddress=6"), std::string::npos);
  EXPECT_NE(saved.find("GIOTarget=None"), std::string::npos);
}

}  // namespace
}  // namespace quendrel
