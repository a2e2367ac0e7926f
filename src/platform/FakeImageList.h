// An image list for tests: plain pictures made on the spot, so drawing code needs no icon files.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "platform/ImageList.h"

namespace quendrel {

class FakeImageList : public ImageList {
 public:
  explicit FakeImageList(int width = 16, int height = 16) : width_(width), height_(height) {}

  int ImageWidth() const override { return width_; }
  int ImageHeight() const override { return height_; }
  bool HasImage(const std::string& key) const override { return images_.count(key) != 0; }
  CanvasImage Image(const std::string& key) const override {
    const auto found = images_.find(key);
    return found == images_.end() ? CanvasImage{} : found->second;
  }

  // A picture of the list's size in one colour (0xAARRGGBB), named after its key.
  void AddSolid(const std::string& key, std::uint32_t argb) {
    CanvasImage image;
    image.Name = key;
    image.Width = width_;
    image.Height = height_;
    image.Pixels.assign(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), argb);
    images_[key] = std::move(image);
  }
  void Add(const std::string& key, CanvasImage image) {
    image.Name = key;
    images_[key] = std::move(image);
  }

 private:
  int width_;
  int height_;
  std::map<std::string, CanvasImage> images_;
};

}  // namespace quendrel
