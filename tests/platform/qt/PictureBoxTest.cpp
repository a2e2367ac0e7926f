// The picture box must keep what its canvas drew and show it, redraw through its handler on
// resize and Refresh, and follow its new size.
#include "platform/qt/PictureBox.h"

#include <gtest/gtest.h>

#include "support/QtTestApp.h"

namespace quendrel {
namespace {

class PictureBoxTest : public ::testing::Test {
 protected:
  PictureBoxTest() { QtTestApp(); }
};

TEST_F(PictureBoxTest, ResizeRedrawsThroughTheHandlerAtTheNewSize) {
  PictureBox box;
  int paints = 0;
  box.SetPaintHandler([&paints](Canvas& canvas) {
    ++paints;
    canvas.SetBackColor(0xFFFFFF);
    canvas.Cls();
    canvas.Box(0, 0, canvas.ScaleWidth() - 15, canvas.ScaleHeight() - 15, 0x0000FF);
  });
  box.resize(100, 50);
  box.show();
  EXPECT_GE(paints, 1);
  EXPECT_EQ(box.GetCanvas().PixelWidth(), 100);
  EXPECT_EQ(box.Picture().size(), QSize(100, 50));
  EXPECT_EQ(box.Picture().pixelColor(99, 49), QColor(255, 0, 0));

  box.resize(60, 40);
  EXPECT_EQ(box.GetCanvas().ScaleWidth(), 900.0f);
  EXPECT_EQ(box.Picture().pixelColor(59, 39), QColor(255, 0, 0));
  EXPECT_EQ(box.Picture().pixelColor(58, 38), QColor(255, 255, 255));
}

TEST_F(PictureBoxTest, DrawingOutsideThePaintEventShowsOnScreen) {
  PictureBox box;
  box.resize(40, 30);
  box.show();
  Canvas& canvas = box.GetCanvas();
  canvas.SetBackColor(0x000000);
  canvas.Cls();
  canvas.FilledBox(150, 150, 300, 300, 0x00FF00);
  const QImage shown = box.grab().toImage();
  EXPECT_EQ(shown.pixelColor(10, 10), QColor(0, 255, 0));
  EXPECT_EQ(shown.pixelColor(21, 21), QColor(0, 0, 0));
}

TEST_F(PictureBoxTest, RefreshRunsTheHandler) {
  PictureBox box;
  box.resize(20, 20);
  box.show();
  int paints = 0;
  box.SetPaintHandler([&paints](Canvas&) { ++paints; });
  box.Refresh();
  box.Refresh();
  EXPECT_EQ(paints, 2);
}

}  // namespace
}  // namespace quendrel
