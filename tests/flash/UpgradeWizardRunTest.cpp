// The firmware upgrade wizard's root script: loading it from the package and every way that fails,
// the run from start to end against the simulated drive, and what the window and the other windows
// see while it runs and after it ends or fails.
#include <gtest/gtest.h>

#include "comms/server/GIOContext.h"
#include "comms/server/GIOError.h"
#include "comms/support/SerialRig.h"
#include "flash/scripts/IFlashCommandFile.h"
#include "flash/support/PackageWriter.h"
#include "flash/support/WizardRig.h"
#include "platform/ScriptedUi.h"
#include "support/TempFolder.h"

namespace quendrel {
namespace {

constexpr const char* kFatalError = "An error was encountered while upgrading the firmware!";
constexpr const char* kFailedText =
    "Failed to upgrade firmware!\r\nIf the keypad LCD is blank after resetting the drive, your drive's firmware may be "
    "corrupted.";

class UpgradeWizardRun : public ::testing::Test {
 protected:
  // Chooses a 2.105 package with the root script for the simulated drive's 2.105 and goes on to the
  // upgrade page.
  void Load(const std::string& rootScript, const std::string& rootName = "main.fl2") {
    rig.ChoosePackage(WriteUpgradePackage(folder, "2.105", rootName, rootScript));
    wizard().bNextFinish_Click();
  }
  UpgradeWizard& wizard() { return rig.Wizard(); }
  // Another window's exchange, on a context of its own.
  udtDriveResponse ForeignRead() { return foreign->ReadValue(11, 29); }

  SerialRig line;
  ScriptedUi ui;
  TempFolder folder;
  WizardRig rig{line.Server(), &line.Module(), ui};
  std::shared_ptr<GIOContext> foreign = line.Server().OpenContext(1, 0.4F);
};

TEST_F(UpgradeWizardRun, AScriptThatEndsShowsTheLastPage) {
  Load("a = 1; b = a + 1; c = b * 2;");
  ASSERT_EQ(rig.View().Page, UpgradeWizard::PerformUpgrade);
  EXPECT_FALSE(wizard().bNextFinish_Click());
  const UpgradeWizard::Controls& view = rig.View();
  EXPECT_EQ(view.Page, UpgradeWizard::UpgradeComplete);
  EXPECT_EQ(view.bNextFinishCaption, "&Finish");
  EXPECT_TRUE(view.bNextFinishEnabled);
  EXPECT_FALSE(view.bPrevEnabled);
  EXPECT_TRUE(view.bCancelEnabled);
  EXPECT_EQ(view.BarTextStyle, UpgradeWizard::kBarTextOnly);
  EXPECT_EQ(wizard().Script()->Variable("c").AsText(), "4");
  EXPECT_EQ(rig.tpbProgress->max, 3);
  EXPECT_EQ(rig.tpbProgress->value, 3);
  EXPECT_TRUE(rig.tpbProgress->painted);
  EXPECT_TRUE(wizard().Script()->Context()->IsClosed());
  EXPECT_EQ(ui.Questions().size(), 1U);  // the file dialog
  EXPECT_TRUE(wizard().bNextFinish_Click());
  // The window never pumps during a run, so it showed what the run disabled before the first step.
  ASSERT_EQ(rig.shown.size(), 1U);
  EXPECT_TRUE(rig.shownRunning[0]);
  EXPECT_FALSE(rig.shown[0].bPrevEnabled || rig.shown[0].bNextFinishEnabled || rig.shown[0].bCancelEnabled);
  EXPECT_EQ(rig.shown[0].BarTextStyle, UpgradeWizard::kBarTextAndPercent);
  EXPECT_EQ(ui.Pumps(), 0);
}

struct FailingScript {
  std::string name;
  std::string text;
};

class UpgradeWizardFailedRun : public UpgradeWizardRun, public ::testing::WithParamInterface<FailingScript> {};

// A failed run keeps the script and the page; only Cancel is left, and the line is free again.
TEST_P(UpgradeWizardFailedRun, TellsTheUserAndLeavesOnlyCancel) {
  Load("message(\"Erasing\", 1); " + GetParam().text);
  ASSERT_EQ(rig.View().Page, UpgradeWizard::PerformUpgrade);
  ui.WhileAsked([&](const UiQuestion& question) {
    if (question.Title == "User Message") {
      EXPECT_EQ(ForeignRead().intData, gioSlaveDeviceBusy);
    }
  });
  ui.AnswerMsgBox(vbYes);
  ui.AnswerMsgBox(vbOK);
  wizard().bNextFinish_Click();
  ASSERT_EQ(ui.Questions().size(), 3U);
  EXPECT_EQ(ui.Questions()[2].Title, "Fatal Error");
  EXPECT_EQ(ui.Questions()[2].Prompt, kFatalError);
  EXPECT_EQ(ui.Questions()[2].Style & vbIconMask, vbCritical);
  const UpgradeWizard::Controls& view = rig.View();
  EXPECT_EQ(view.Page, UpgradeWizard::PerformUpgrade);
  EXPECT_FALSE(view.bPrevEnabled);
  EXPECT_FALSE(view.bNextFinishEnabled);
  EXPECT_TRUE(view.bCancelEnabled);
  EXPECT_EQ(view.BarTextStyle, UpgradeWizard::kBarTextOnly);
  EXPECT_EQ(rig.lblFlashStatus->caption, kFailedText);
  EXPECT_NE(wizard().Script(), nullptr);
  EXPECT_TRUE(wizard().Form_QueryUnload());
  EXPECT_FALSE(ForeignRead().Error);
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, UpgradeWizardFailedRun,
    ::testing::Values(FailingScript{"FailsInTheMiddle", "a = 1; goto nowhere; b = 2;"},
                      // The last statement's failure is no end of the script.
                      FailingScript{"LastStatementFails", "a = 1; goto nowhere;"},
                      FailingScript{"BreakOutsideALoop", "break;"}),
    [](const auto& info) { return info.param.name; });

struct EndingScript {
  std::string name;
  std::string text;
};

class UpgradeWizardEndingRun : public UpgradeWizardRun, public ::testing::WithParamInterface<EndingScript> {};

// Scripts whose last statement is the end of a block, whichever way the block is left.
TEST_P(UpgradeWizardEndingRun, ReachesTheLastPage) {
  Load(GetParam().text);
  wizard().bNextFinish_Click();
  EXPECT_EQ(rig.View().Page, UpgradeWizard::UpgradeComplete);
}

INSTANTIATE_TEST_SUITE_P(Scripts, UpgradeWizardEndingRun,
                         ::testing::Values(EndingScript{"IfTaken", "a = 1; if (a == 1) { b = 2; }"},
                                           EndingScript{"IfSkipped", "a = 0; if (a == 1) { b = 2; }"},
                                           EndingScript{"Loop", "a = 0; while (a < 3) { a = a + 1; }"},
                                           EndingScript{"LoopLeftByBreak",
                                                        "a = 0; while (a < 5) { a = a + 1; if (a == 3) { break; } }"}),
                         [](const auto& info) { return info.param.name; });

// A script's own box is where the window's events run during an upgrade: a close asked for there is
// refused, the wizard's handlers do nothing, and no other window's frame reaches the drive.
TEST_F(UpgradeWizardRun, WhileAScriptsBoxIsUpTheWizardStaysAndHoldsTheLine) {
  Load("a = 1; message(\"Keep the drive powered\", 1); b = 2;");
  bool asked = false;
  ui.WhileAsked([&](const UiQuestion& question) {
    if (question.Title != "User Message") return;
    asked = true;
    EXPECT_TRUE(wizard().Running());
    EXPECT_FALSE(wizard().Form_QueryUnload());
    EXPECT_NO_THROW(wizard().bPrev_Click());
    EXPECT_FALSE(wizard().bNextFinish_Click());
    wizard().tbAddress_Change("9");
    EXPECT_EQ(rig.View().tbAddressText, "1");
    const long requests = line.Sim().RequestCount();
    const udtDriveResponse refused = ForeignRead();
    EXPECT_TRUE(refused.Error);
    EXPECT_EQ(refused.intData, gioSlaveDeviceBusy);
    EXPECT_EQ(line.Sim().RequestCount(), requests);
  });
  ui.AnswerMsgBox(vbYes);
  wizard().bNextFinish_Click();
  EXPECT_TRUE(asked);
  EXPECT_EQ(rig.View().Page, UpgradeWizard::UpgradeComplete);
  EXPECT_TRUE(wizard().Form_QueryUnload());
  EXPECT_FALSE(ForeignRead().Error);
}

TEST_F(UpgradeWizardRun, ARootNamedInCapitalsIsFoundAndAVersionOneRootLoads) {
  Load("a = 1;", "MAIN.FL2");
  EXPECT_EQ(rig.View().Page, UpgradeWizard::PerformUpgrade);
  wizard().bPrev_Click();
  rig.Browse(WriteUpgradePackage(folder, "2.105", "start.fla", "// a version-1 script\r\nwait;0\r\n", 0, "v1.fup"));
  wizard().bNextFinish_Click();
  EXPECT_EQ(rig.View().Page, UpgradeWizard::PerformUpgrade);
  wizard().bNextFinish_Click();
  EXPECT_EQ(rig.View().Page, UpgradeWizard::UpgradeComplete);
}

struct LoadFailure {
  std::string name;
  std::string rootName;
  std::string memberName;
  std::string script;
  std::vector<std::string> titles;  // after the file dialog
  std::string lastPrompt;
};

class UpgradeWizardLoadFailure : public UpgradeWizardRun, public ::testing::WithParamInterface<LoadFailure> {};

TEST_P(UpgradeWizardLoadFailure, StaysOnTheSecondPage) {
  PackageSpec spec;
  spec.versionText = "2.105";
  spec.rootName = GetParam().rootName;
  spec.members = {{GetParam().memberName, GetParam().script}};
  for (std::size_t i = 0; i < GetParam().titles.size(); ++i) ui.AnswerMsgBox(vbOK);
  rig.ChoosePackage(folder.Write("broken.fup", PackageImage(spec)));
  const long requests = line.Sim().RequestCount();
  wizard().bNextFinish_Click();
  EXPECT_EQ(rig.View().Page, UpgradeWizard::LoadUpgradeFile);
  EXPECT_EQ(wizard().Script(), nullptr);
  std::vector<std::string> titles = ui.Titles();
  titles.erase(titles.begin());
  EXPECT_EQ(titles, GetParam().titles);
  EXPECT_EQ(ui.Prompts().back(), GetParam().lastPrompt);
  EXPECT_EQ(line.Sim().RequestCount(), requests);
}

INSTANTIATE_TEST_SUITE_P(
    Packages, UpgradeWizardLoadFailure,
    ::testing::Values(
        LoadFailure{"UnknownRoot", "main.txt", "main.txt", "a = 1;", {"FUP Error"},
                    "This firmware update file contains a rootscript in an unknown format."},
        LoadFailure{"NoRootName", "", "main.fl2", "a = 1;", {"FUP Error"},
                    "This firmware update file contains a rootscript in an unknown format."},
        // A member whose stored name holds capitals is never found: the load raises an error.
        LoadFailure{"RootStoredInCapitals", "Main.FL2", "Main.FL2", "a = 1;", {"FUP Error"},
                    "Unable to load the rootscript from the FUP."},
        LoadFailure{"RootMissing", "main.fl2", "other.fl2", "a = 1;", {"FUP Error"},
                    "Unable to load the rootscript from the FUP."},
        LoadFailure{"SyntaxError", "main.fl2", "main.fl2", "a = ;", {"FL2 Execution Error", "Unable to load FL2 script", "FUP Error"},
                    "Unable to load the rootscript from the FUP."}),
    [](const auto& info) { return info.param.name; });

// A package that fails to load after a good one runs nothing of its own: the good one stays chosen,
// shown, and its root script is what Next loads again.
TEST_F(UpgradeWizardRun, AFailedPackageAfterAGoodOneRunsNothing) {
  line.Sim().SetValue(1129, 500);
  rig.ChoosePackage(WriteUpgradePackage(folder, "0.500", "main.fl2", "a = 1;"));
  wizard().bNextFinish_Click();
  ASSERT_EQ(rig.View().Page, UpgradeWizard::PerformUpgrade);
  wizard().bPrev_Click();
  ui.AnswerMsgBox(vbOK);
  rig.Browse(folder.Write("damaged.fup", "FUP?not a package"));
  EXPECT_EQ(ui.Titles().back(), "Damaged FUP file");
  EXPECT_EQ(rig.View().lblNewFirmwareVersion, "0.500");
  const long requests = line.Sim().RequestCount();
  wizard().bNextFinish_Click();
  ASSERT_EQ(rig.View().Page, UpgradeWizard::PerformUpgrade);
  EXPECT_EQ(wizard().Script()->ProgramLength(), 1);
  EXPECT_EQ(line.Sim().RequestCount(), requests);
}

}  // namespace
}  // namespace quendrel
