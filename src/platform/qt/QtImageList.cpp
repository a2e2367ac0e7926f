#include "platform/qt/QtImageList.h"

#include "platform/qt/QtConvert.h"

namespace quendrel {

CanvasImage QtImageList::Image(const std::string& key) const {
  const auto found = images_.find(key);
  return found == images_.end() ? CanvasImage{} : found->second.Pixels;
}

bool QtImageList::Add(const std::string& key, const QPixmap& pixmap) {
  if (pixmap.isNull()) return false;
  const QPixmap sized = pixmap.size() == QSize(width_, height_)
                            ? pixmap
                            : pixmap.scaled(width_, height_, Qt::IgnoreAspectRatio,
                                            Qt::SmoothTransformation);
  images_[key] = Entry{sized, FromQImage(sized.toImage(), key)};
  return true;
}

bool QtImageList::AddFile(const std::string& key, const QString& path) {
  return Add(key, QPixmap(path));
}

QPixmap QtImageList::Pixmap(const std::string& key) const {
  const auto found = images_.find(key);
  return found == images_.end() ? QPixmap() : found->second.Pixmap;
}

}  // namespace quendrel
