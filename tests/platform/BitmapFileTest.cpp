// Saved snapshots must be bitmap files other programs open: right header, bottom-up rows
// padded to four bytes, blue-green-red pixels.
#include "platform/BitmapFile.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "support/FileText.h"
#include "support/TempFolder.h"
#include "support/TestOutput.h"

namespace quendrel {
namespace {

std::uint32_t LittleEndianAt(const std::string& data, std::size_t offset, int bytes) {
  std::uint32_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) {
    value = (value << 8) | static_cast<unsigned char>(data[offset + static_cast<std::size_t>(i)]);
  }
  return value;
}

TEST(BitmapFileTest, WritesHeaderAndBottomUpPaddedRows) {
  CanvasImage image;
  image.Width = 3;
  image.Height = 2;
  // Top row red, green, blue; bottom row white, black, grey.
  image.Pixels = {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFFFFFFFFu, 0xFF000000u, 0x00808080u};
  const std::string path = TestOutputPath("platform", "bitmap-file-test.bmp");
  ASSERT_TRUE(SaveBitmapFile(image, path));

  const std::string data = ReadTestFile(path);
  ASSERT_EQ(data.size(), 54u + 2 * 12u);  // 9 bytes per row padded to 12
  EXPECT_EQ(data.substr(0, 2), "BM");
  EXPECT_EQ(LittleEndianAt(data, 2, 4), data.size());
  EXPECT_EQ(LittleEndianAt(data, 10, 4), 54u);
  EXPECT_EQ(LittleEndianAt(data, 18, 4), 3u);
  EXPECT_EQ(LittleEndianAt(data, 22, 4), 2u);
  EXPECT_EQ(LittleEndianAt(data, 28, 2), 24u);
  // First stored row is the bottom one: white, black, grey.
  EXPECT_EQ(LittleEndianAt(data, 54, 3), 0xFFFFFFu);
  EXPECT_EQ(LittleEndianAt(data, 57, 3), 0x000000u);
  EXPECT_EQ(LittleEndianAt(data, 60, 3), 0x808080u);
  EXPECT_EQ(LittleEndianAt(data, 63, 3), 0u);  // padding
  // Then red as blue, green, red bytes 00 00 FF.
  EXPECT_EQ(data.substr(66, 3), std::string("\x00\x00\xFF", 3));
  EXPECT_EQ(data.substr(72, 3), std::string("\xFF\x00\x00", 3));
}

TEST(BitmapFileTest, FailsOnAnEmptyPictureOrAnUnwritablePath) {
  const TempFolder folder;
  EXPECT_FALSE(SaveBitmapFile(CanvasImage{}, folder.File("empty.bmp")));
  CanvasImage image;
  image.Width = 1;
  image.Height = 1;
  image.Pixels = {0xFF000000u};
  EXPECT_FALSE(SaveBitmapFile(image, "/nonexistent-folder/snapshot.bmp"));
}

}  // namespace
}  // namespace quendrel
