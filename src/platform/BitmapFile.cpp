#include "platform/BitmapFile.h"

#include <cstdint>
#include <fstream>

namespace quendrel {
namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kPixelsPerMetre = 3780;  // 96 dpi

void PutLittleEndian(std::string& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFFu));
}

}  // namespace

std::string BitmapFileBytes(const CanvasImage& image) {
  const auto width = static_cast<std::uint32_t>(image.Width);
  const auto height = static_cast<std::uint32_t>(image.Height);
  const std::uint32_t rowBytes = (width * 3 + 3) / 4 * 4;
  const std::uint32_t pixelBytes = rowBytes * height;
  const std::uint32_t offset = kFileHeaderSize + kInfoHeaderSize;

  std::string data;
  data.reserve(offset + pixelBytes);
  data += "BM";
  PutLittleEndian(data, offset + pixelBytes, 4);
  PutLittleEndian(data, 0, 4);
  PutLittleEndian(data, offset, 4);
  PutLittleEndian(data, kInfoHeaderSize, 4);
  PutLittleEndian(data, width, 4);
  PutLittleEndian(data, height, 4);
  PutLittleEndian(data, 1, 2);   // planes
  PutLittleEndian(data, 24, 2);  // bits per pixel
  PutLittleEndian(data, 0, 4);   // no compression
  PutLittleEndian(data, pixelBytes, 4);
  PutLittleEndian(data, kPixelsPerMetre, 4);
  PutLittleEndian(data, kPixelsPerMetre, 4);
  PutLittleEndian(data, 0, 4);
  PutLittleEndian(data, 0, 4);
  for (int y = image.Height - 1; y >= 0; --y) {
    const std::size_t rowStart = data.size();
    for (int x = 0; x < image.Width; ++x) {
      const std::uint32_t argb = image.Pixel(x, y);
      PutLittleEndian(data, argb & 0xFFFFFFu, 3);  // blue, green, red
    }
    data.resize(rowStart + rowBytes, '\0');
  }
  return data;
}

bool SaveBitmapFile(const CanvasImage& image, const std::string& path) {
  if (image.IsEmpty()) return false;
  const std::string data = BitmapFileBytes(image);
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (!file) return false;
  file.write(data.data(), static_cast<std::streamsize>(data.size()));
  file.close();
  return static_cast<bool>(file);
}

}  // namespace quendrel
