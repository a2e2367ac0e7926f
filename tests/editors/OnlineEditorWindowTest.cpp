// The online editor's window connected to the simulated drive and after losing it, drawn to
// edit-online*.png; and its single instance in the MDI area, closed only once a tick has ended.
#include <gtest/gtest.h>

#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>

#include "editors/qt/frmEditOnlineWindow.h"
#include "params/support/TransferRig.h"
#include "platform/ScriptedUi.h"
#include "support/QtTestApp.h"
#include "support/TestOutput.h"
#include "tree/qt/ParameterTreeWidget.h"
#include "widgets/TreeIcons.h"
#include "widgets/qt/windows/Artwork.h"

namespace quendrel {
namespace {

class OnlineEditorWindowTest : public ::testing::Test {
 protected:
  OnlineEditorWindowTest() : icons(Artwork::TreeIconSize, Artwork::TreeIconSize) {
    Artwork::FillTreeIcons(icons, IconSetKind::Cards);
    SetUseIcons(true);
    main.setCentralWidget(area);
    main.resize(700, 760);
    main.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&main));
    frmEditOnlineWindow::Links links;
    links.Server = &rig.Server();
    links.MainStatus = [this](const std::string& text) { mainStatus = text; };
    window = frmEditOnlineWindow::ShowWindow(WindowHost{area, &icons, &main}, links);
    QApplication::processEvents();
  }
  ~OnlineEditorWindowTest() override {
    area->closeAllSubWindows();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    SetUseIcons(false);
  }

  void Save(const std::string& name) {
    QApplication::processEvents();
    EXPECT_TRUE(main.grab().save(QString::fromStdString(TestOutputPath("editors", name))));
  }

  QApplication& app = QtTestApp();
  ScriptedUi ui;
  TransferRig rig;
  QtImageList icons;
  QMainWindow main;
  QMdiArea* area = new QMdiArea;
  frmEditOnlineWindow* window = nullptr;
  std::string mainStatus;
};

TEST_F(OnlineEditorWindowTest, DrawsConnectedAndLost) {
  EXPECT_EQ(frmEditOnlineWindow::ShowWindow(WindowHost{area, &icons, &main}, {}), window);
  EXPECT_EQ(area->subWindowList().size(), 1);
  QTest::mouseClick(window->ConnectButton(), Qt::LeftButton);
  EXPECT_EQ(window->ConnectedLabel()->text(), "Connection Established to Drive 1");
  EXPECT_TRUE(window->UpdateTimer()->isActive());
  ParameterTree& tree = window->TreeWidget()->Tree();
  for (const char* menu : {"M00P00", "M01P00", "M04P00"}) tree.Node(menu).SetExpanded(true);
  tree.SetSelected(&tree.Node("M01P02"));
  tree.RepaintAll();
  Save("edit-online-connected.png");

  rig.Sim().SetFault("stop");
  window->Core().TimerUpdate_Timer();
  EXPECT_EQ(window->ConnectedLabel()->text(), "Connection Lost");
  EXPECT_FALSE(window->UpdateTimer()->isActive());
  EXPECT_TRUE(window->ReconnectTimer()->isActive());
  EXPECT_EQ(mainStatus, "Error communicating with drive.");
  Save("edit-online-lost.png");
}

TEST_F(OnlineEditorWindowTest, ConnectShowsItsDeadControlsBeforeItYieldsAndIgnoresThem) {
  int pumps = 0;
  ui.OnPump([&] {
    if (++pumps > 1) return;
    EXPECT_FALSE(window->ConnectButton()->isEnabled());
    EXPECT_FALSE(window->DriveAddressBox()->isEnabled());
    EXPECT_FALSE(window->TreeWidget()->isEnabled());
    window->Core().bSaveFile_Click();  // would ask for a file, which no test answers
    window->Core().tbDescription_Change("typed meanwhile");
    window->Core().tbDriveAddr_Change("2");
  });
  QTest::mouseClick(window->ConnectButton(), Qt::LeftButton);
  ui.OnPump({});
  EXPECT_GT(pumps, 0);
  EXPECT_EQ(window->ConnectedLabel()->text(), "Connection Established to Drive 1");
  EXPECT_NE(window->Core().Set().Description(), "typed meanwhile");
}

// Typed with real keys into the row's editor: a text whose leading number is not what was typed, and a
// value no register holds, reach nothing, and the status line says so.
TEST_F(OnlineEditorWindowTest, ARefusedValueIsShownInTheStatusLineAndNotWritten) {
  QTest::mouseClick(window->ConnectButton(), Qt::LeftButton);
  ParameterTree& tree = window->TreeWidget()->Tree();
  tree.Node("M03P00").SetExpanded(true);
  tree.Refresh();
  tree.SetSelected(&tree.Node("M03P03"));
  rig.Sim().ResetStats();
  for (const char* typed : {"12,5", "70000"}) {
    tree.EditCurrentValue();
    QLineEdit* box = window->TreeWidget()->EditBox();
    ASSERT_TRUE(box->isVisible()) << typed;
    box->selectAll();
    QTest::keyClicks(box, typed);
    QTest::keyPress(box, Qt::Key_Return);
    QTest::keyRelease(box, Qt::Key_Return);
    EXPECT_EQ(window->StatusLabel()->text(), "Value out of range - not written") << typed;
  }
  EXPECT_EQ(rig.Sim().RequestCount(0x46), 0);
  EXPECT_EQ(rig.Sim().Value(303), 1450);
  EXPECT_FLOAT_EQ(tree.Node("M03P03").Value(), 1450.0f);
  Save("edit-online-refused.png");
}

TEST_F(OnlineEditorWindowTest, CloseDuringATickHappensWhenTheTickEnds) {
  QTest::mouseClick(window->ConnectButton(), Qt::LeftButton);
  QPointer<frmEditOnlineWindow> guarded(window);
  int pumps = 0;
  ui.OnPump([&] {
    if (++pumps == 1) {
      EXPECT_FALSE(window->parentWidget()->close());
    }
  });
  window->Core().TimerUpdate_Timer();
  ui.OnPump({});
  QApplication::processEvents();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(guarded.isNull());
  EXPECT_EQ(frmEditOnlineWindow::Instance(), nullptr);
}

}  // namespace
}  // namespace quendrel
