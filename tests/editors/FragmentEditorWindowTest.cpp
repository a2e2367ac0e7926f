// The fragment editor's window with a new fragment, one menu ticked and one partly ticked, drawn
// on both tabs to edit-fragment*.png; and with two quick setup slots showing one parameter, drawn to
// edit-fragment-slots*.png.
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

class FragmentEditorWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Artwork::FillTreeIcons(icons, IconSetKind::Cards);
    SetUseIcons(true);
    ASSERT_TRUE(FirmwareCompatibility().Load(QUENDREL_DRIVESIM_FC2));
    main.setCentralWidget(area);
    main.resize(640, 700);
    main.show();
    window = frmEditFragmentWindow::ShowWindow(WindowHost{area, &icons, &main});
    window->parentWidget()->resize(600, 640);
    QTest::mouseClick(window->CreateButton(), Qt::LeftButton);
  }
  void TearDown() override {
    ui.AnswerOptOutBox(vbNo);
    area->closeAllSubWindows();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    SetUseIcons(false);
    FirmwareCompatibility() = FirmwareCompatibilityFile{};
  }
  ParameterTree& Tree() const { return window->TreeWidget()->Tree(); }
  void Tick(const char* key, int checked) {
    Tree().Node(key).SetChecked(checked);
    window->Core().pTree_CheckChanged(Tree().Node(key));
  }
  void Commit(const char* key, float value) {
    Tree().Node(key).SetValue(value);
    window->Core().pTree_ValueCommit(Tree().Node(key));
  }
  // The window shows the core's preview list when its tab is chosen.
  void ShowTab(int tab) { window->Tabs()->setCurrentIndex(tab); }
  void Draw(const char* name) {
    Tree().RepaintAll();
    QApplication::processEvents();
    EXPECT_TRUE(main.grab().save(QString::fromStdString(TestOutputPath("editors", name))));
  }

  QApplication& app = QtTestApp();
  ScriptedUi ui;
  QtImageList icons{Artwork::TreeIconSize, Artwork::TreeIconSize};
  QMainWindow main;
  QMdiArea* area = new QMdiArea;  // the main window's once set
  frmEditFragmentWindow* window = nullptr;
};

TEST_F(FragmentEditorWindowTest, DrawsTicksAndThePreview) {
  for (const auto& [key, checked] : {std::pair{"M02P00", 1}, {"M04P02", 1}, {"M04P04", 1}}) Tick(key, checked);
  for (const char* menu : {"M02P00", "M04P00"}) Tree().Node(menu).SetExpanded(true);
  EXPECT_EQ(Tree().Node("M04P00").Checked(), 2);
  Draw("edit-fragment-tree.png");
  ShowTab(1);
  EXPECT_EQ(window->PreviewList()->count(), 1 + 5 + 2);
  Draw("edit-fragment-preview.png");
}

// Both slots show Accel Time: one decimal on every row and line that holds its value.
TEST_F(FragmentEditorWindowTest, DrawsSlotsInTheScaleOfTheParameterTheyShow) {
  for (const char* key : {"M00P01", "M00P02", "M12P01", "M12P02"}) Tick(key, 1);
  Commit("M12P01", 2.01F);
  Commit("M12P02", 2.01F);
  Commit("M00P01", 7.5F);
  for (const char* menu : {"M00P00", "M02P00"}) Tree().Node(menu).SetExpanded(true);
  Draw("edit-fragment-slots-tree.png");
  ShowTab(1);
  ASSERT_EQ(window->PreviewList()->count(), 5);
  for (const int line : {1, 2}) {
    EXPECT_TRUE(window->PreviewList()->item(line)->text().endsWith(" <- 7.5")) << line;
  }
  Draw("edit-fragment-slots-preview.png");
}

}  // namespace
}  // namespace quendrel
