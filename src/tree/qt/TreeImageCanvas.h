// A painter canvas that owns the image it draws into, so the tree can make a new one
// whenever its canvas changes size.
#pragma once

#include <QImage>

#include "platform/qt/PainterCanvas.h"

namespace quendrel {

// The image is a base so it exists before the canvas that draws into it.
struct TreeImageHolder {
  TreeImageHolder(int width, int height) : Image(width, height, QImage::Format_RGB32) {}
  QImage Image;
};

class TreeImageCanvas : private TreeImageHolder, public PainterCanvas {
 public:
  TreeImageCanvas(int pixelWidth, int pixelHeight)
      : TreeImageHolder(pixelWidth, pixelHeight), PainterCanvas(Image) {}

  const QImage& Picture() const { return Image; }
};

}  // namespace quendrel
