// The drive test window with real keys and clicks on the offscreen platform, against the simulated
// drive: the in-place editor, Single Command right after typing, poll ticks, a close during a
// transfer, and the pictures people look at.
#include <gtest/gtest.h>

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "comms/FunctionTemplates.h"
#include "comms/support/SerialRig.h"
#include "flash/qt/frmDriveTest.h"
#include "platform/ScriptedUi.h"
#include "support/QtTestApp.h"
#include "support/TestOutput.h"

namespace quendrel {
namespace {

class DriveTestWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QtTestApp();
    ASSERT_TRUE(LoadFunctionTemplates());
    window_ = std::make_unique<frmDriveTest>(rig_.Server());
    window_->resize(700, 420);
    window_->show();
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
  }

  void Choose(const std::string& name) {
    const int index = window_->CommandBox()->findText(QString::fromStdString(FindFunctionTemplate(name)->Description()));
    window_->CommandBox()->setCurrentIndex(index);
    emit window_->CommandBox()->activated(index);
  }

  QRect Cell(int row, int column) const { return window_->Grid()->visualRect(window_->Grid()->model()->index(row, column)); }
  QString CellText(int row) const { return window_->Grid()->item(row, 1)->text(); }
  void Type(QWidget* target, const char* keys) { QTest::keyClicks(target, QString::fromLatin1(keys)); }

  SerialRig rig_;
  std::unique_ptr<frmDriveTest> window_;
};

TEST_F(DriveTestWindowTest, TypingEditsTheValueCells) {
  Choose("WriteValue");  // Menu, Parameter, Raw Value, separator, 2 replies
  QTableWidget* grid = window_->Grid();
  grid->setFocus();
  window_->Console().Grid().SetValue(1, "old");
  QTest::keyClick(grid, Qt::Key_Q);
  EXPECT_TRUE(window_->CellEditor()->isVisible());
  EXPECT_EQ(window_->CellEditor()->text(), "q");
  QTest::keyClick(window_->CellEditor(), Qt::Key_Escape);
  EXPECT_FALSE(window_->CellEditor()->isVisible());
  struct KeyCase {
    int key;
    int row;
  };
  for (const KeyCase& c : {KeyCase{Qt::Key_Return, 0}, KeyCase{Qt::Key_Down, 1}, KeyCase{Qt::Key_Up, 0},
                           KeyCase{Qt::Key_Up, 0}}) {
    const int from = grid->currentRow();
    Type(grid, "5");
    QTest::keyClick(window_->CellEditor(), static_cast<Qt::Key>(c.key));
    EXPECT_EQ(grid->currentRow(), c.row) << c.key;
    EXPECT_EQ(CellText(from), "5");
  }
  QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, Cell(2, 0).center());
  EXPECT_TRUE(window_->CellEditor()->isVisible());
  EXPECT_EQ(window_->CellEditor()->geometry(), Cell(2, 1));
  QTest::keyClick(window_->CellEditor(), Qt::Key_Escape);
  for (int row : {3, 4}) {  // the separator and a reply row
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, Cell(row, 1).center());
    EXPECT_FALSE(window_->CellEditor()->isVisible()) << row;
  }
}

TEST_F(DriveTestWindowTest, SingleCommandRightAfterTypingSendsTheTypedValue) {
  Choose("WriteValue");
  window_->Console().Grid().SetValue(1, "1");
  window_->Console().Grid().SetValue(2, "4");
  QTest::mouseDClick(window_->Grid()->viewport(), Qt::LeftButton, {}, Cell(2, 1).center());
  Type(window_->CellEditor(), "321");
  QTest::mouseClick(window_->ExecuteButton(), Qt::LeftButton);
  EXPECT_EQ(rig_.Sim().Value(104), 321);
  EXPECT_TRUE(window_->ResultBox()->toPlainText().endsWith("Raw Value: 321\n")) << window_->ResultBox()->toPlainText().toStdString();
  QImage picture(window_->size(), QImage::Format_RGB32);
  window_->render(&picture);
  EXPECT_TRUE(picture.save(QString::fromStdString(TestOutputPath("flash", "drive-test-command.png"))));
}

TEST_F(DriveTestWindowTest, PollingSendsOneExchangePerTickAndNoneAtZero) {
  Choose("ReadValue");
  window_->Console().Grid().SetValue(1, "1");
  window_->Console().Grid().SetValue(2, "4");
  auto* period = qobject_cast<QLineEdit*>(window_->ChildNamed("tbScanPeriod"));
  auto* repeat = qobject_cast<QCheckBox*>(window_->ChildNamed("chkRepeat"));
  period->selectAll();
  QTest::keyClick(period, Qt::Key_Delete);
  EXPECT_EQ(period->text(), "0");
  repeat->click();
  EXPECT_FALSE(window_->PollTimer()->isActive());
  period->selectAll();
  Type(period, "1");
  ASSERT_TRUE(window_->PollTimer()->isActive());
  int ticks = 0;
  QObject::connect(window_->PollTimer(), &QTimer::timeout, [&ticks] { ++ticks; });
  rig_.Sim().ResetStats();
  for (int i = 0; i < 200 && ticks < 3; ++i) QTest::qWait(5);
  repeat->click();
  EXPECT_EQ(rig_.Sim().RequestCount(), ticks);
}

TEST_F(DriveTestWindowTest, ClosingDuringATransferEndsItAndTheWindowGoesAfterwards) {
  const std::string path = (std::filesystem::temp_directory_path() / "quendrel-window-test.hex").string();
  std::ofstream(path) << ":0401000001020304F1\r\n:03011000AABBCCBB\r\n:01012000FFDF\r\n:00000001FF\r\n";
  Choose("WriteFileToBuffer");
  qobject_cast<QLineEdit*>(window_->ChildNamed("tbFilename"))->setText(QString::fromStdString(path));
  QMdiArea area;
  QPointer<frmDriveTest> window = window_.release();
  window->setAttribute(Qt::WA_DeleteOnClose);
  QMdiSubWindow* frame = area.addSubWindow(window);
  area.show();
  ScriptedUi ui;
  ui.OnPump([&] {
    QTest::mouseClick(window->ExecuteButton(), Qt::LeftButton);
    frame->close();
    EXPECT_FALSE(window.isNull());
  });
  rig_.Sim().ResetStats();
  QTest::mouseClick(window->ExecuteButton(), Qt::LeftButton);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(window.isNull());
  EXPECT_EQ(rig_.Sim().RequestCount(), 1);
  std::filesystem::remove(path);
}

TEST_F(DriveTestWindowTest, ExchangeButtonsAreDeadWhileATransferRuns) {
  const std::string path = (std::filesystem::temp_directory_path() / "quendrel-window-busy.hex").string();
  std::ofstream(path) << ":0401000001020304F1\r\n:00000001FF\r\n";
  Choose("WriteFileToBuffer");
  qobject_cast<QLineEdit*>(window_->ChildNamed("tbFilename"))->setText(QString::fromStdString(path));
  const std::vector<QWidget*> buttons = {window_->ExecuteButton(), window_->ChildNamed("bUnlockDrive"),
                                         window_->ChildNamed("bForceFU")};
  ScriptedUi ui;
  int pumps = 0;
  ui.OnPump([&] {
    if (++pumps > 1) return;
    for (QWidget* button : buttons) EXPECT_FALSE(button->isEnabled()) << button->objectName().toStdString();
    QImage picture(window_->size(), QImage::Format_RGB32);
    window_->render(&picture);
    EXPECT_TRUE(picture.save(QString::fromStdString(TestOutputPath("flash", "drive-test-transfer.png"))));
  });
  QTest::mouseClick(window_->ExecuteButton(), Qt::LeftButton);
  EXPECT_GT(pumps, 0);
  for (QWidget* button : buttons) EXPECT_TRUE(button->isEnabled()) << button->objectName().toStdString();
  std::filesystem::remove(path);
}

TEST_F(DriveTestWindowTest, Pictures) {
  struct PictureCase {
    const char* command;
    const char* file;
    QSize size;
  };
  for (const PictureCase& c : {PictureCase{"SetEIBValue", "drive-test-eib.png", QSize(700, 420)},
                               PictureCase{"WriteFileToBuffer", "drive-test-file.png", QSize(700, 420)},
                               PictureCase{"ReadPAD", "drive-test-minimum.png", QSize(1, 1)}}) {
    Choose(c.command);
    window_->resize(c.size);
    QCoreApplication::processEvents();  // the layout settles in a posted event
    QImage picture(window_->size(), QImage::Format_RGB32);
    window_->render(&picture);
    EXPECT_TRUE(picture.save(QString::fromStdString(TestOutputPath("flash", c.file))));
  }
  // The smallest size is the designed 550 x 272, wider only where the font needs it to show every
  // caption whole; the halves split it evenly.
  EXPECT_GE(window_->width(), 550);
  EXPECT_EQ(window_->height(), 272);
  EXPECT_EQ(window_->ChildNamed("frameResults")->x(), window_->width() / 2);
}

}  // namespace
}  // namespace quendrel
