// The offline editor's window on a loaded file, drawn to edit-offline*.png, and its unsaved edits
// keeping it open when the MDI area closes its children.
#include <gtest/gtest.h>

#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>

#include "editors/qt/frmEditOfflineWindow.h"
#include "foundation/settings/OptOutMsgBox.h"
#include "params/compatibility/FirmwareCompatibilityFile.h"
#include "platform/ScriptedUi.h"
#include "support/QtTestApp.h"
#include "support/TempFolder.h"
#include "support/TestOutput.h"
#include "tree/qt/ParameterTreeWidget.h"
#include "widgets/TreeIcons.h"
#include "widgets/qt/windows/Artwork.h"

namespace quendrel {
namespace {

class OfflineEditorWindowTest : public ::testing::Test {
 protected:
  OfflineEditorWindowTest() : icons(Artwork::TreeIconSize, Artwork::TreeIconSize) {
    Artwork::FillTreeIcons(icons, IconSetKind::Cards);
    SetUseIcons(true);
    EXPECT_TRUE(FirmwareCompatibility().Load(QUENDREL_DRIVESIM_FC2));
    KVBFile file;
    EXPECT_TRUE(file.BuildFromTemplate(2.105));
    file.SetValue(1129, "2.105");
    file.SetValue(1201, "10.03");  // M00P01 shows a read-only parameter: its row is greyed
    file.SetValue(1205, "7.03");
    file.SetValue(703, "12.5");
    file.SetIdentifier(405, "M04B05");
    file.SetDescription("Pump station");
    EXPECT_TRUE(file.SaveKVBFile(path, false));
    main.setCentralWidget(area);
    main.resize(640, 700);
    main.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&main));
    window = frmEditOfflineWindow::ShowWindow(WindowHost{area, &icons, &main});
    window->parentWidget()->resize(600, 640);
  }
  ~OfflineEditorWindowTest() override {
    area->closeAllSubWindows();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    SetUseIcons(false);
    FirmwareCompatibility() = FirmwareCompatibilityFile{};
  }

  QApplication& app = QtTestApp();
  ScriptedUi ui;
  TempFolder folder;
  std::string path = folder.File("set.KVB");
  QtImageList icons;
  QMainWindow main;
  QMdiArea* area = new QMdiArea;
  frmEditOfflineWindow* window = nullptr;
};

TEST_F(OfflineEditorWindowTest, DrawsALoadedFileAndKeepsUnsavedEditsOpen) {
  QTest::keyClicks(window->FileNameBox(), QString::fromStdString(path));
  QTest::mouseClick(window->LoadButton(), Qt::LeftButton);
  EXPECT_EQ(window->DescriptionBox()->text(), "Pump station");
  EXPECT_FALSE(window->Core().Unsaved());
  ParameterTree& tree = window->TreeWidget()->Tree();
  for (const char* menu : {"M00P00", "M04P00", "M10P00"}) tree.Node(menu).SetExpanded(true);
  tree.SetSelected(&tree.Node("M00P05"));
  tree.RepaintAll();
  QApplication::processEvents();
  EXPECT_TRUE(main.grab().save(QString::fromStdString(TestOutputPath("editors", "edit-offline.png"))));

  QTest::keyClicks(window->DescriptionBox(), "!");
  EXPECT_TRUE(window->Core().Unsaved());
  ui.AnswerOptOutBox(vbCancel);
  area->closeAllSubWindows();
  EXPECT_EQ(area->subWindowList().size(), 1);
  ui.AnswerOptOutBox(vbNo);
  area->closeAllSubWindows();
  EXPECT_TRUE(area->subWindowList().isEmpty());
}

// A folder typed where the file belongs: one box saying so, and the window shows the set it still holds.
TEST_F(OfflineEditorWindowTest, AFolderTypedForTheFileLeavesTheLoadedSetOnScreen) {
  QTest::keyClicks(window->FileNameBox(), QString::fromStdString(path));
  QTest::mouseClick(window->LoadButton(), Qt::LeftButton);
  const std::string dir = folder.File("");
  window->FileNameBox()->clear();
  QTest::keyClicks(window->FileNameBox(), QString::fromStdString(dir));
  ui.AnswerMsgBox(vbOK);
  QTest::mouseClick(window->LoadButton(), Qt::LeftButton);

  EXPECT_EQ(ui.Titles(), std::vector<std::string>{"File open error"});
  EXPECT_EQ(ui.Prompts(), std::vector<std::string>{"Unable to open " + dir + ": it is a folder."});
  EXPECT_EQ(window->DescriptionBox()->text(), "Pump station");
  EXPECT_EQ(window->Core().Set().Description(), "Pump station");
  EXPECT_EQ(window->Core().Set().Value(703), "12.5");
  EXPECT_NE(window->TreeWidget()->Tree().FindNode("M07P03"), nullptr);
}

}  // namespace
}  // namespace quendrel
