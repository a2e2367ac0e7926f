// An image list of Qt pixmaps reached by key, for icons drawn on a canvas and shown by widgets.
#pragma once

#include <QPixmap>
#include <QString>
#include <map>
#include <string>

#include "platform/ImageList.h"

namespace quendrel {

class QtImageList : public ImageList {
 public:
  QtImageList(int width, int height) : width_(width), height_(height) {}

  int ImageWidth() const override { return width_; }
  int ImageHeight() const override { return height_; }
  bool HasImage(const std::string& key) const override { return images_.count(key) != 0; }
  CanvasImage Image(const std::string& key) const override;

  // The picture is scaled to the list's size when it differs. A null pixmap is not added.
  bool Add(const std::string& key, const QPixmap& pixmap);
  // Loads a picture file (PNG, BMP, ... or a Qt resource path); false when it cannot be read.
  bool AddFile(const std::string& key, const QString& path);
  // A null pixmap for an unknown key.
  QPixmap Pixmap(const std::string& key) const;

 private:
  struct Entry {
    QPixmap Pixmap;
    CanvasImage Pixels;
  };

  int width_;
  int height_;
  std::map<std::string, Entry> images_;
};

}  // namespace quendrel
