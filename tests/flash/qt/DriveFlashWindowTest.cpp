// The drive flash window with real clicks on the offscreen platform: Start, Pause in the middle of a
// run, seeking with a click on the progress bar, the mode buttons, a close in the middle of a run,
// and the pictures of its three states.
#include <gtest/gtest.h>

#include <QTest>
#include <fstream>

#include "comms/server/GIOServer.h"
#include "comms/support/FakeModule.h"
#include "flash/language/ParseEngine.h"
#include "flash/qt/frmDriveFlash.h"
#include "foundation/settings/Config.h"
#include "platform/FakeClock.h"
#include "platform/ScriptedUi.h"
#include "support/QtTestApp.h"
#include "support/TempFolder.h"
#include "support/TestOutput.h"
#include "widgets/qt/progress/TextProgressBar.h"

namespace quendrel {
namespace {

ParseEngine& Parser() {
  static ParseEngine engine;
  return engine;
}

class DriveFlashWindowTest : public ::testing::Test {
 protected:
  DriveFlashWindowTest() {
    QtTestApp();
    ResetConfig();
    server_.RegisterModule(std::make_unique<FakeModule>("Fake"));
    server_.SelectModule("Fake");
  }
  ~DriveFlashWindowTest() override { ResetConfig(); }

  frmDriveFlash::Links Links() {
    frmDriveFlash::Links links;
    links.Environment = {&ui_, &clock_, &Parser(), {}, &server_, nullptr, nullptr, &Config()};
    links.Environment.driveCommands = [this](const std::string& name, const std::vector<Variant>& values,
                                             const std::vector<Variant>&, IFlashCommandFile&, ProgressServer*,
                                             dfResponseCodes&) {
      calls_.push_back(name + "(" + (values.empty() ? "" : values[0].AsText()) + ")");
      return Variant(true);
    };
    return links;
  }

  std::unique_ptr<frmDriveFlash> Open() {
    auto window = std::make_unique<frmDriveFlash>(Links(), nullptr);
    window->resize(560, 470);
    window->show();
    window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    return window;
  }

  std::string Script(const std::string& text) {
    const std::string path = folder_.File("release.fl2");
    std::ofstream(path) << text;
    return path;
  }

  static void Save(QWidget& window, const char* name) {
    EXPECT_TRUE(window.grab().save(QString::fromStdString(TestOutputPath("flash", name))));
  }

  static void TypeInto(QLineEdit* box, const std::string& text) {
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, QString::fromStdString(text));
  }

  FakeClock clock_;
  GIOServer server_{clock_};
  ScriptedUi ui_;
  TempFolder folder_;
  std::vector<std::string> calls_;
};

TEST_F(DriveFlashWindowTest, StartPauseAndABarClickReachTheScript) {
  auto window = Open();
  TypeInto(window->FileNameBox(), Script("Poke(1); Poke(2); Poke(3); Poke(4); Poke(5);"));
  Save(*window, "drive-flash-idle.png");
  int pumps = 0;
  ui_.OnPump([&] {
    if (++pumps != 2) return;
    EXPECT_TRUE(window->PauseButton()->isEnabled()) << "the running state shows before the pump";
    EXPECT_FALSE(window->StartButton()->isEnabled());
    EXPECT_FALSE(window->FileNameBox()->isEnabled());
    Save(*window, "drive-flash-running.png");
    QTest::mouseClick(window->PauseButton(), Qt::LeftButton);
  });
  QTest::mouseClick(window->StartButton(), Qt::LeftButton);
  ui_.OnPump(nullptr);
  EXPECT_EQ(calls_, (std::vector<std::string>{"Poke(1)", "Poke(2)"}));
  EXPECT_EQ(window->StatusLabel()->text(), "Paused");
  EXPECT_EQ(window->CommandBox()->text(), "Poke(3)");
  EXPECT_TRUE(window->StartButton()->isEnabled());
  EXPECT_FALSE(window->PauseButton()->isEnabled());
  Save(*window, "drive-flash-paused.png");

  TextProgressBar* bar = window->ProgressBar();
  QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(1, bar->height() / 2));
  EXPECT_EQ(window->Core().Script()->PC(), 1);
  EXPECT_EQ(window->CommandBox()->text(), "Poke(1)");

  ui_.AnswerMsgBox(vbOK);
  QTest::mouseClick(window->StartButton(), Qt::LeftButton);
  EXPECT_EQ(calls_.size(), 7U) << "Start goes on from where the click put the script";
  EXPECT_EQ(window->StatusLabel()->text(), "Finished");
  EXPECT_TRUE(window->FileNameBox()->isEnabled());
}

TEST_F(DriveFlashWindowTest, TheModeChoosesWhichButtonShowsAndTheAddressBoxKeepsWholeNumbers) {
  auto window = Open();
  const QRect place = window->StartButton()->geometry();
  QTest::mouseClick(window->SingleStepOption(), Qt::LeftButton);
  EXPECT_TRUE(window->SingleStepButton()->isVisible());
  EXPECT_FALSE(window->StartButton()->isVisible());
  EXPECT_EQ(window->SingleStepButton()->geometry().topLeft(), place.topLeft());

  TypeInto(window->DriveAddressBox(), "7.5");
  EXPECT_EQ(window->DriveAddressBox()->text(), "75");
  TypeInto(window->DriveAddressBox(), "x");
  EXPECT_EQ(window->DriveAddressBox()->text(), "0");
}

TEST_F(DriveFlashWindowTest, ACloseDuringARunWaitsForTheRunAndThenTheWindowGoes) {
  const std::string path = Script("Poke(1); Poke(2); Poke(3);");
  bool stillOpenAfterClose = false;
  frmDriveFlash::OnOpen([&](frmDriveFlash& window) {
    window.FileNameBox()->setText(QString::fromStdString(path));
    emit window.FileNameBox()->textEdited(window.FileNameBox()->text());
    ui_.OnPump([&] {
      window.close();
      stillOpenAfterClose = window.isVisible();
    });
    QTest::mouseClick(window.StartButton(), Qt::LeftButton);
  });
  frmDriveFlash::ShowModal(WindowHost{}, Links());
  EXPECT_TRUE(stillOpenAfterClose) << "not while the run is on the stack";
  EXPECT_EQ(calls_, std::vector<std::string>{"Poke(1)"});
  EXPECT_EQ(Config().Value("LastScriptFile", "Drive Flash"), path) << "the window unloaded";
  EXPECT_TRUE(ui_.Questions().empty());
}

}  // namespace
}  // namespace quendrel
