// The quick setup wizard's dialog, uploaded from the simulated drive: its four pages drawn to
// quick-setup-*.png, user actions reaching the core only through the user's own signals, the source
// controls dead while an upload yields, and slots chosen with real keys and clicks.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "editors/qt/frmConfigureQuickSetupDialog.h"
#include "params/support/TransferRig.h"
#include "platform/ScriptedUi.h"
#include "support/QtTestApp.h"
#include "support/TestOutput.h"

namespace quendrel {
namespace {

void Draw(QWidget& dialog, const std::string& name) {
  QApplication::processEvents();
  EXPECT_TRUE(dialog.grab().save(QString::fromStdString(TestOutputPath("editors", "quick-setup-" + name + ".png"))));
}

TEST(QuickSetupDialogTest, DrawsItsPagesOpenedModally) {
  QtTestApp();
  ScriptedUi ui;
  TransferRig rig;
  QWidget owner;
  bool opened = false;
  frmConfigureQuickSetupDialog::OnOpen([&](frmConfigureQuickSetupDialog& dialog) {
    opened = true;
    EXPECT_TRUE(dialog.isModal());
    EXPECT_EQ(dialog.parentWidget(), &owner);
    dialog.resize(720, 430);
    Draw(dialog, "source");
    dialog.Act([&] { dialog.Core().bConnect_Click(); });
    EXPECT_TRUE(dialog.Tabs()->isTabEnabled(3));
    for (const char* page : {"slots", "options"}) {
      dialog.Act([&] { dialog.Core().bNext_Click(); });
      if (std::string(page) == "slots") dialog.Act([&] { dialog.Core().lbM00_Click(0); });
      if (std::string(page) == "options") dialog.Act([&] { dialog.Core().cbSpecialSelect_Click(0); });
      Draw(dialog, page);
    }
    dialog.Act([&] { dialog.Core().bNext_Click(); });
    EXPECT_EQ(dialog.Tabs()->currentIndex(), 3);
    Draw(dialog, "preview-header");
    dialog.Act([&] { dialog.Core().bPreviewUp_Click(); });
    Draw(dialog, "preview-slot");
    // A programmatic fill reaches no handler: the name choice is still the uploaded one.
    EXPECT_EQ(dialog.Core().Set().Value(1211), "0");
    dialog.reject();
  });
  frmConfigureQuickSetupDialog::ShowModal({nullptr, nullptr, &owner}, &rig.Server());
  EXPECT_TRUE(opened);
}

class QuickSetupDialogInputTest : public ::testing::Test {
 protected:
  QuickSetupDialogInputTest() {
    dialog.resize(720, 430);
    dialog.show();
    dialog.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
  }
  ~QuickSetupDialogInputTest() override { dialog.reject(); }

  // The first slot's extra options, after an upload from the drive.
  QLineEdit* UploadAndOpenTheScaleBox() {
    QTest::mouseClick(dialog.UploadButton(), Qt::LeftButton);
    dialog.Act([&] {
      dialog.Core().bNext_Click();
      dialog.Core().bNext_Click();
      dialog.Core().cbSpecialSelect_Click(0);
    });
    return dialog.ScaleBox();
  }

  QApplication& app = QtTestApp();
  ScriptedUi ui;
  TransferRig rig;
  frmConfigureQuickSetupDialog dialog{&rig.Server(), nullptr};
};

TEST_F(QuickSetupDialogInputTest, TypingAndClickingDuringAnUploadReachNothing) {
  bool pumped = false;
  ui.OnPump([&] {
    if (std::exchange(pumped, true)) return;
    EXPECT_FALSE(dialog.DriveAddressBox()->isEnabled());
    EXPECT_FALSE(dialog.UploadButton()->isEnabled());
    Draw(dialog, "uploading");
    const long requests = rig.Sim().RequestCount();
    dialog.DriveAddressBox()->setFocus();
    QTest::keyClicks(dialog.DriveAddressBox(), QStringLiteral("2"));
    QTest::mouseClick(dialog.UploadButton(), Qt::LeftButton);
    EXPECT_EQ(rig.Sim().RequestCount(), requests);
  });
  QTest::mouseClick(dialog.UploadButton(), Qt::LeftButton);
  ASSERT_TRUE(pumped);
  EXPECT_EQ(dialog.Core().View().lblConnectStatus, "Upload Complete");
  EXPECT_EQ(dialog.DriveAddressBox()->text(), "1");
  EXPECT_EQ(dialog.Core().View().tbDriveIDText, "1");
}

TEST_F(QuickSetupDialogInputTest, KeysChooseTheSlotAndThePickerTakesTheFocus) {
  dialog.Act([&] {
    dialog.Core().tbFirmwareVersion_Change("2.105");
    dialog.Core().bGenerate_Click();
    dialog.Core().bNext_Click();
  });
  QListWidget* slotList = dialog.SlotList();
  QTest::mouseClick(slotList->viewport(), Qt::LeftButton, {}, slotList->visualItemRect(slotList->item(0)).center());
  EXPECT_EQ(dialog.Core().View().lbM00Selected, 0);
  EXPECT_TRUE(dialog.Picker()->hasFocus());
  for (const int row : {1, 2}) {
    slotList->setFocus();
    QTest::keyClick(slotList, Qt::Key_Down);
    EXPECT_EQ(dialog.Core().View().lbM00Selected, row);
    EXPECT_TRUE(dialog.Picker()->isEnabled() && dialog.Picker()->hasFocus()) << row;
  }
  QTreeWidget* picker = dialog.Picker();
  const auto found = picker->findItems(QStringLiteral("M01P00: "), Qt::MatchStartsWith);
  ASSERT_EQ(found.size(), 1);
  QTest::mouseClick(picker->viewport(), Qt::LeftButton, {}, picker->visualItemRect(found.front()).center());
  EXPECT_EQ(dialog.Core().Set().Value(1203), "1");  // the slot the keys chose, M00P03
  EXPECT_EQ(dialog.Core().Set().Value(1201), "0");
  EXPECT_TRUE(slotList->item(2)->text().startsWith(QStringLiteral("M00P03: ")));
  Draw(dialog, "slot-by-keys");
}

// The picker's highlight and the slot's binding never part: a parameter reached with the keys is bound.
TEST_F(QuickSetupDialogInputTest, KeysInThePickerBindWhatTheyHighlight) {
  dialog.Act([&] {
    dialog.Core().tbFirmwareVersion_Change("2.105");
    dialog.Core().bGenerate_Click();
    dialog.Core().bNext_Click();
  });
  QListWidget* slotList = dialog.SlotList();
  QTest::mouseClick(slotList->viewport(), Qt::LeftButton, {}, slotList->visualItemRect(slotList->item(0)).center());
  QTreeWidget* picker = dialog.Picker();
  const auto found = picker->findItems(QStringLiteral("M01P00: "), Qt::MatchStartsWith);
  ASSERT_EQ(found.size(), 1);
  QTest::mouseClick(picker->viewport(), Qt::LeftButton, {}, picker->visualItemRect(found.front()).center());
  ASSERT_EQ(dialog.Core().Set().Value(1201), "1");
  for (int step = 0; step < 2; ++step) {
    QTest::keyClick(picker, Qt::Key_Down);
    QCoreApplication::processEvents();
    ASSERT_NE(picker->currentItem(), nullptr);
    EXPECT_EQ(slotList->item(0)->text().mid(8), picker->currentItem()->text(0).mid(8)) << step;
  }
  EXPECT_NE(dialog.Core().Set().Value(1201), "1");
}

TEST_F(QuickSetupDialogInputTest, ScaleBoxTakesTheDrivesWholeScale) {
  rig.Sim().SetValue(1221, -250);
  QLineEdit* scale = UploadAndOpenTheScaleBox();
  EXPECT_EQ(scale->text(), "-0.250");
  scale->setFocus();
  scale->end(false);
  QTest::keyClick(scale, Qt::Key_Backspace);
  QTest::keyClicks(scale, QStringLiteral("1x7"));  // one digit too many, a letter never
  EXPECT_EQ(scale->text(), "-0.251");
  EXPECT_EQ(dialog.Core().Set().Value(1221), "-0.251");
  scale->selectAll();
  QTest::keyClicks(scale, QStringLiteral("12"));
  QTest::keyClick(scale, Qt::Key_Return);
  EXPECT_EQ(scale->text(), "12.000");
  EXPECT_TRUE(dialog.isVisible() && dialog.Tabs()->currentIndex() == 2);  // Enter pressed no button
  Draw(dialog, "scale");
}

// Each key reaches the core as the whole text typed so far; only the whole is what the user chose.
TEST_F(QuickSetupDialogInputTest, ScaleTheBoxRefusesIsNeverSentAsAPrefix) {
  QLineEdit* scale = UploadAndOpenTheScaleBox();
  ASSERT_EQ(scale->text(), "1.000");
  struct Case {
    const char* typed;
    const char* shown;  // once the box has lost the focus to Send
    int sent;
  };
  const Case cases[] = {
      {"32.768", "1.000", 1000},  // 32.76 on the way
      {"99.999", "1.000", 1000},  // 9 on the way
      {"-32.768", "-32.768", -32768},
      {"-0.5", "-0.500", -500},  // the next edit starts from here
      {"32.768", "-0.500", -500},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    scale->setFocus();
    scale->selectAll();
    QTest::keyClicks(scale, QString::fromLatin1(c.typed));
    ASSERT_EQ(scale->text(), QString::fromLatin1(c.typed));
    QTest::mouseClick(dialog.SendButton(), Qt::LeftButton);
    EXPECT_EQ(scale->text(), QString::fromLatin1(c.shown));
    EXPECT_EQ(rig.Sim().Value(1221), c.sent);
  }
  Draw(dialog, "scale-refused");
}

}  // namespace
}  // namespace quendrel
