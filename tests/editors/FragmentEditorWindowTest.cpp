// The fragment editor's window with a new fragment, one menu ticked and one partly ticked, drawn
// on both tabs to edit-fragment*.png.
#include <gtest/gtest.h>

#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>

#include "editors/qt/frmEditFragmentWindow.h"
#include "params/compatibility/FirmwareCompatibilityFile.h"
#include "platform/ScriptedUi.h"
#include "support/QtTestApp.h"
#include "support/TestOutput.h"
#include "tree/qt/ParameterTreeWidget.h"
#include "widgets/TreeIcons.h"
#include "widgets/qt/windows/Artwork.h"

namespace quendrel {
namespace {

TEST(FragmentEditorWindowTest, DrawsTicksAndThePreview) {
  QtTestApp();
  ScriptedUi ui;
  QtImageList icons(Artwork::TreeIconSize, Artwork::TreeIconSize);
  Artwork::FillTreeIcons(icons, IconSetKind::Cards);
  SetUseIcons(true);
  ASSERT_TRUE(FirmwareCompatibility().Load(QUENDREL_DRIVESIM_FC2));
  QMainWindow main;
  auto* area = new QMdiArea;
  main.setCentralWidget(area);
  main.resize(640, 700);
  main.show();
  frmEditFragmentWindow* window = frmEditFragmentWindow::ShowWindow(WindowHost{area, &icons, &main});
  window->parentWidget()->resize(600, 640);
  QTest::mouseClick(window->CreateButton(), Qt::LeftButton);
  ParameterTree& tree = window->TreeWidget()->Tree();
  for (const auto& [key, checked] : {std::pair{"M02P00", 1}, {"M04P02", 1}, {"M04P04", 1}}) {
    tree.Node(key).SetChecked(checked);
    window->Core().pTree_CheckChanged(tree.Node(key));
  }
  for (const char* menu : {"M02P00", "M04P00"}) tree.Node(menu).SetExpanded(true);
  EXPECT_EQ(tree.Node("M04P00").Checked(), 2);
  tree.RepaintAll();
  QApplication::processEvents();
  EXPECT_TRUE(main.grab().save(QString::fromStdString(TestOutputPath("editors", "edit-fragment-tree.png"))));

  window->Tabs()->setCurrentIndex(1);
  EXPECT_EQ(window->PreviewList()->count(), 1 + 5 + 2);
  QApplication::processEvents();
  EXPECT_TRUE(main.grab().save(QString::fromStdString(TestOutputPath("editors", "edit-fragment-preview.png"))));

  ui.AnswerOptOutBox(vbNo);
  area->closeAllSubWindows();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  SetUseIcons(false);
  FirmwareCompatibility() = FirmwareCompatibilityFile{};
}

}  // namespace
}  // namespace quendrel
