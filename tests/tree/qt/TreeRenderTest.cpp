// Pictures of the tree for people to look at, and the pixel check that goes with them: culled
// drawing on a real image.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "tree/qt/ParameterTreeWidget.h"
#include "tree/qt/TreeImageCanvas.h"
#include "tree/qt/support/QtTreeSupport.h"
#include "tree/support/TreeTestSupport.h"

namespace quendrel {
namespace {

// Dark pixels (the box outline) in one column of the first row.
int BoxOutlinePixels(const QImage& picture, int x) {
  int count = 0;
  for (int y = 0; y < 16; ++y) count += qGray(picture.pixel(x, y)) < 200 ? 1 : 0;
  return count;
}

TEST(TreeRenderTest, SampleTreeInSeveralAppearances) {
  test::EnsureApp();
  const auto icons = test::SampleIcons();
  struct Look {
    const char* file;
    int appearance;
    bool checkboxes;
    bool editor;
    bool boxes;
  };
  for (const Look& look : {Look{"tree-full.png", 8, true, true, true}, Look{"tree-text-only.png", 1, false, false, false},
                           Look{"tree-lines-boxes.png", 6, true, false, true},
                           Look{"tree-pictures-lines.png", 5, false, true, false}}) {
    ParameterTreeWidget widget;
    widget.resize(420, 300);
    ParameterTree& tree = widget.Tree();
    tree.SetIconList(icons.get());
    tree.SetAppearance(look.appearance);
    tree.SetCheckboxes(look.checkboxes);
    tree.SetAutoGray(look.checkboxes);
    test::FillSample(tree, 3);
    tree.Refresh();
    widget.show();
    tree.SetSelected(&tree.Node("M0P3"));
    tree.RepaintAll();
    if (look.editor) {
      tree.SetSelected(&tree.Node("M1P1"));
      tree.EditCurrentValue();
    }
    QApplication::processEvents();
    const QImage picture = widget.grab().toImage();
    EXPECT_FALSE(test::SaveRender(picture, look.file).isEmpty()) << look.file;
    EXPECT_EQ(picture.width(), 420);
    if (!look.boxes) continue;
    // The first row's 9-pixel box sits whole in its 11-pixel column, clear of the left edge.
    EXPECT_EQ(BoxOutlinePixels(picture, 0), 0) << look.file;
    EXPECT_EQ(BoxOutlinePixels(picture, 1), 9) << look.file;
    EXPECT_EQ(BoxOutlinePixels(picture, 9), 9) << look.file;
  }
}

TEST(TreeRenderTest, CulledDrawingMatchesEveryRowOnARealImage) {
  test::EnsureApp();
  const auto icons = test::SampleIcons();
  auto tree = std::make_shared<ParameterTree>(
      [](int width, int height) { return std::make_unique<TreeImageCanvas>(width, height); });
  tree->SetIconList(icons.get());
  tree->SetCheckboxes(true);
  test::FillSample(*tree, 3);
  tree->ExpandAll();
  tree->Node("M2P4").SetSelected(true);
  tree->Node("M2P4").SetFocus(true);
  tree->Resize(4000, 1800);
  for (const int scroll : {0, 9, 140, 100000}) {
    tree->SetVScroll(scroll);
    tree->RepaintAll();
    auto& canvas = dynamic_cast<TreeImageCanvas&>(tree->CanvasRef());
    const QImage culled = canvas.Picture().copy();
    canvas.Cls();
    tree->RenderUnculled();
    EXPECT_TRUE(culled == canvas.Picture()) << "scroll " << scroll;
  }
}

}  // namespace
}  // namespace quendrel
