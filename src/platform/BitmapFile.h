// Writes a picture as a Windows bitmap file, the format graph snapshots are saved in.
#pragma once

#include <string>

#include "platform/CanvasImage.h"

namespace quendrel {

// The file's bytes: 24 bits per pixel, rows bottom-up and padded to 4 bytes, 96 dpi.
std::string BitmapFileBytes(const CanvasImage& image);

// 24 bits per pixel, rows bottom-up and padded to 4 bytes, 96 dpi; alpha is dropped. False
// when the file cannot be written (the old file, if any, may then be gone).
bool SaveBitmapFile(const CanvasImage& image, const std::string& path);

}  // namespace quendrel
