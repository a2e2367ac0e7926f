// A set of same-sized pictures reached by key, such as the parameter tree's icons.
#pragma once

#include <string>

#include "platform/Canvas.h"
#include "platform/CanvasImage.h"

namespace quendrel {

class ImageList {
 public:
  virtual ~ImageList() = default;

  // Every picture of a list has this size, in pixels.
  virtual int ImageWidth() const = 0;
  virtual int ImageHeight() const = 0;
  virtual bool HasImage(const std::string& key) const = 0;
  // An empty image when the key is unknown.
  virtual CanvasImage Image(const std::string& key) const = 0;

  // The picture sizes in HIMETRIC (hundredths of a millimetre) at 96 pixels per inch.
  double ImageWidthHimetric() const { return ImageWidth() * 2540.0 / 96.0; }
  double ImageHeightHimetric() const { return ImageHeight() * 2540.0 / 96.0; }

  // Draws the picture with its top left at x, y (twips); an unknown key draws nothing.
  void Draw(Canvas& canvas, const std::string& key, float x, float y, bool transparent) const {
    canvas.PaintPicture(Image(key), x, y, transparent);
  }
};

}  // namespace quendrel
