// The firmware upgrade wizard's dialog on the offscreen platform with real clicks and keys: it upgrades
// the simulated drive on a pseudo-terminal from a package, refuses to close while the upgrade runs,
// shows a failed upgrade, and draws its pages to upgrade-wizard-*.png.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "comms/server/GIOContext.h"
#include "comms/server/GIOError.h"
#include "comms/server/GIOServer.h"
#include "comms/support/FakeModule.h"
#include "comms/support/SerialRig.h"
#include "flash/qt/frmUserFlash.h"
#include "flash/support/LoaderFileText.h"
#include "flash/support/PackageWriter.h"
#include "flash/support/WizardRig.h"
#include "foundation/settings/Config.h"
#include "platform/Clock.h"
#include "platform/FakeClock.h"
#include "platform/ScriptedUi.h"
#include "support/QtTestApp.h"
#include "support/TempFolder.h"
#include "support/TestOutput.h"
#include "widgets/TextProgressBarModel.h"
#include "widgets/qt/progress/TextProgressBar.h"

namespace quendrel {
namespace {

constexpr const char* kFailedText =
    "Failed to upgrade firmware!\r\nIf the keypad LCD is blank after resetting the drive, your drive's firmware may be "
    "corrupted.";

void Draw(QWidget& dialog, const std::string& name) {
  EXPECT_TRUE(dialog.grab().save(QString::fromStdString(TestOutputPath("flash", "upgrade-wizard-" + name + ".png"))));
}

ScriptEnvironment Environment(ScriptedUi& ui, GIOServer& server, SerialModule* serial) {
  ScriptEnvironment environment{&ui, &SystemClockInstance(), &WizardRig::Parser(), {}, &server, serial, nullptr,
                                &Config()};
  environment.loaderWaitSeconds = 5.0;
  return environment;
}

class UpgradeWizardWindow : public ::testing::Test {
 protected:
  UpgradeWizardWindow() {
    dialog.resize(620, 400);
    dialog.show();
    dialog.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
  }
  ~UpgradeWizardWindow() override {
    if (!dialog.Core().Running()) dialog.reject();
  }

  void Click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
  // Next on the first page, then Browse with the file dialog answering the package's path.
  void ChoosePackage(const std::string& path) {
    Click(dialog.NextButton());
    ui.AnswerFileDialog(path);
    Click(dialog.BrowseButton());
  }

  QApplication& app = QtTestApp();
  SerialRig line;
  ScriptedUi ui;
  TempFolder folder;
  int communicationUpdates = 0;
  frmUserFlash dialog{Environment(ui, line.Server(), &line.Module()), nullptr, [this] { ++communicationUpdates; }};
};

// The package a release would bring: the root script sends the drive into its loader and feeds it the
// program image and the data file.
TEST_F(UpgradeWizardWindow, UpgradesTheSimulatedDriveFromAPackage) {
  const std::string program = HexWords(300, 1);
  const std::string data = HexWords(260, 2);
  PackageSpec spec;
  spec.versionText = "2.200";
  spec.rootName = "upgrade.fl2";
  spec.members = {
      {"upgrade.fl2",
       "flash = forcedriveflash(); sync = initializebaudrate(); initializewriteprogram(\"image.hex\");"
       "message(\"Sending the parameter data\", 1); sent = initializewritedata(\"data.txt\");"},
      {"image.hex", "0000" + Hex4(300) + "2000" "0000\r\n" + program + "\r\nDownload completed"},
      {"data.txt", "0001\r\n" + Hex4(260) + "1000" "0000\r\n" + data + "\r\nDownload completed"},
  };
  const std::string package = folder.Write("release.fup", PackageImage(spec));

  Draw(dialog, "page1");
  ChoosePackage(package);
  EXPECT_EQ(dialog.Pages()->currentIndex(), UpgradeWizard::LoadUpgradeFile);
  Draw(dialog, "page2");
  Click(dialog.NextButton());
  ASSERT_EQ(dialog.Pages()->currentIndex(), UpgradeWizard::PerformUpgrade);

  bool asked = false;
  std::shared_ptr<GIOContext> foreign = line.Server().OpenContext(1, 0.4F);
  ui.WhileAsked([&](const UiQuestion& question) {
    if (question.Title != "User Message") return;
    asked = true;
    EXPECT_FALSE(dialog.PrevButton()->isEnabled());
    EXPECT_FALSE(dialog.NextButton()->isEnabled());
    EXPECT_FALSE(dialog.CancelButton()->isEnabled());
    EXPECT_EQ(dialog.ProgressBar()->TextStyle(), TextProgressBarModel::TextAndPercent);
    EXPECT_EQ(dialog.FlashStatus()->text(), "Sending the parameter data");
    Draw(dialog, "page3");
    // Neither the window's close nor Escape ends the dialog while the upgrade runs.
    EXPECT_FALSE(dialog.close());
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_TRUE(dialog.isVisible());
    const long requests = line.Sim().RequestCount();
    EXPECT_EQ(foreign->ReadValue(11, 29).intData, gioSlaveDeviceBusy);
    EXPECT_EQ(line.Sim().RequestCount(), requests);
  });
  ui.AnswerMsgBox(vbYes);
  Click(dialog.NextButton());
  EXPECT_TRUE(asked);

  ASSERT_EQ(dialog.Pages()->currentIndex(), UpgradeWizard::UpgradeComplete);
  EXPECT_EQ(line.Sim().LoaderImage(), "2000 " + program);
  EXPECT_EQ(line.Sim().LoaderData(), "1000:" + data.substr(0, 800) + " 10C8:" + data.substr(800));
  EXPECT_EQ(dialog.NextButton()->text(), "&Finish");
  EXPECT_TRUE(dialog.NextButton()->isEnabled());
  EXPECT_FALSE(dialog.PrevButton()->isEnabled());
  EXPECT_EQ(dialog.ProgressBar()->TextStyle(), TextProgressBarModel::TextOnly);
  EXPECT_FALSE(dialog.SubProgressBar()->isVisible());
  Draw(dialog, "page4");
  Click(dialog.NextButton());
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

TEST_F(UpgradeWizardWindow, AFailedUpgradeLeavesOnlyCancel) {
  ChoosePackage(WriteUpgradePackage(folder, "2.105", "main.fl2", "a = 1; goto nowhere;"));
  Click(dialog.NextButton());
  ui.AnswerMsgBox(vbOK);
  Click(dialog.NextButton());
  EXPECT_EQ(ui.Titles().back(), "Fatal Error");
  EXPECT_EQ(dialog.Pages()->currentIndex(), UpgradeWizard::PerformUpgrade);
  EXPECT_FALSE(dialog.PrevButton()->isEnabled());
  EXPECT_FALSE(dialog.NextButton()->isEnabled());
  EXPECT_TRUE(dialog.CancelButton()->isEnabled());
  EXPECT_EQ(dialog.FlashStatus()->text().toStdString(), kFailedText);
  EXPECT_EQ(dialog.ProgressBar()->TextStyle(), TextProgressBarModel::TextOnly);
  Draw(dialog, "failed");
  Click(dialog.CancelButton());
  EXPECT_FALSE(dialog.isVisible());
}

// The page keeps showing the package that stays chosen.
TEST_F(UpgradeWizardWindow, ADamagedPickLeavesTheChosenVersionShown) {
  ChoosePackage(WriteUpgradePackage(folder, "2.105", "main.fl2", "a = 1;"));
  ui.AnswerFileDialog(folder.Write("повреждённый.fup", std::string("FUP!\0\1", 6)));
  ui.AnswerMsgBox(vbOK);
  Click(dialog.BrowseButton());
  EXPECT_EQ(ui.Titles().back(), "Damaged FUP file");
  EXPECT_EQ(dialog.Core().View().lblNewFirmwareVersion, "2.105");
  Draw(dialog, "damaged-pick");
}

TEST_F(UpgradeWizardWindow, TheAddressBoxRewritesWhatIsTyped) {
  QLineEdit* box = dialog.AddressBox();
  box->selectAll();
  QTest::keyClicks(box, QStringLiteral("300"));
  EXPECT_EQ(box->text(), "44");
  EXPECT_EQ(dialog.Core().View().tbAddressText, "44");
  box->selectAll();
  QTest::keyClick(box, Qt::Key_Delete);
  EXPECT_EQ(box->text(), "1");
  box->selectAll();
  QTest::keyClicks(box, QStringLiteral("256"));
  EXPECT_EQ(box->text(), "1");
}

// Choosing a transport selects its module and tells the main window.
TEST(UpgradeWizardWindowModules, TheOptionsSelectTheirModules) {
  QtTestApp();
  ResetConfig();
  FakeClock clock;
  GIOServer server(clock);
  server.RegisterModule(std::make_unique<FakeModule>("Serial"));
  server.RegisterModule(std::make_unique<FakeModule>("Ethernet"));
  server.SelectModule("Serial");
  ScriptedUi ui;
  int updates = 0;
  frmUserFlash dialog(Environment(ui, server, nullptr), nullptr, [&] { ++updates; });
  dialog.show();
  EXPECT_TRUE(dialog.CommModeButton(0)->isChecked());
  EXPECT_EQ(updates, 0);
  QRadioButton* ethernet = dialog.CommModeButton(1);
  // On the option's circle: the button stretches past its caption.
  QTest::mouseClick(ethernet, Qt::LeftButton, {}, QPoint(6, ethernet->height() / 2));
  EXPECT_EQ(server.SelectedModule(), "Ethernet");
  EXPECT_EQ(updates, 1);
  EXPECT_TRUE(dialog.CommModeButton(1)->isChecked());
  dialog.reject();
  ResetConfig();
}

}  // namespace
}  // namespace quendrel
