#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "foundation/text/BitText.h"

namespace quendrel {
namespace {

using namespace std::string_literals;

TEST(BitTextTest, BinaryStringsReadRightmostAsBitZero) {
  EXPECT_EQ(BinaryStringToLong(""), 0);
  EXPECT_EQ(BinaryStringToLong("1"), 1);
  EXPECT_EQ(BinaryStringToLong("0000000000000011"), 3);
  EXPECT_EQ(BinaryStringToLong("1000000000000000"), 32768);
  EXPECT_EQ(BinaryStringToLong("1 0x1"), 17);
  EXPECT_EQ(BinaryStringToLong(std::string(32, '1')), -1);
  EXPECT_EQ(BinaryStringToLong("1" + std::string(32, '0')), 0);
}

TEST(BitTextTest, BinaryStringsWriteSixteenBitsMostSignificantFirst) {
  EXPECT_EQ(LongToBinaryString(0, false), "0000000000000000");
  EXPECT_EQ(LongToBinaryString(0x8001, false), "1000000000000001");
  EXPECT_EQ(LongToBinaryString(0x12345, false), "0010001101000101");
  EXPECT_EQ(LongToBinaryString(-1, false), "1111111111111111");
  EXPECT_EQ(LongToBinaryString(0x00F1, true), "0000 0000 1111 0001");
  for (const std::int32_t value : {0, 1, 5, 0x7FFF, 0xFFFF, 0xA5A5}) {
    EXPECT_EQ(BinaryStringToLong(LongToBinaryString(value, false)), value);
  }
}

TEST(BitTextTest, LowWordIsSigned) {
  EXPECT_EQ(LowWordOf(40000), -25536);
  EXPECT_EQ(LowWordOf(0x12345678), 0x5678);
  EXPECT_EQ(LowWordOf(-1), -1);
}

struct ShiftCase {
  std::int16_t value;
  std::int16_t n;
  std::int16_t left;
  std::int16_t right;
};

TEST(BitTextTest, ShiftsKeepSixteenBitsAndDivideTowardZero) {
  const ShiftCase cases[] = {
      {1, 0, 1, 1},
      {-3, 1, -6, -1},
      {-1, 1, -2, 0},
      {0x4000, 1, -32768, 0x2000},
      {0x4001, 2, 4, 0x1000},
      {-32768, 15, 0, -1},
      {1, 15, -32768, 0},
      {123, 16, 0, 0},
      {256, -4, 16, 4096},
      {5, -32768, 0, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ShiftLeft(c.value, c.n), c.left) << c.value << " << " << c.n;
    EXPECT_EQ(ShiftRight(c.value, c.n), c.right) << c.value << " >> " << c.n;
  }
}

TEST(BitTextTest, ByteStringsAreBigEndianAndSigned) {
  EXPECT_EQ(Int16ToStr(0x1234), "\x12\x34"s);
  EXPECT_EQ(Int16ToStr(-2), "\xFF\xFE"s);
  EXPECT_EQ(StrToInt16("\x12\x34"s), 0x1234);
  EXPECT_EQ(StrToInt16("\xFF\xFE"
                       "extra"s),
            -2);
  EXPECT_EQ(StrToInt16("\x80\x00"s), -32768);
  EXPECT_EQ(StrToInt16("\x01"s), 0);
  EXPECT_EQ(StrToInt32("\x12\x34\x56\x78"s), 0x12345678);
  EXPECT_EQ(StrToInt32("\xFF\xFF\xFF\xFE"s), -2);
  EXPECT_EQ(StrToInt32("\x00\x00\x01\x00"
                       "\x99"s),
            256);
  EXPECT_EQ(StrToInt32("\x01\x02\x03"s), 0);
  for (const std::int16_t value : {0, 1, -1, 255, 256, -32768, 32767}) {
    EXPECT_EQ(StrToInt16(Int16ToStr(value)), value);
  }
}

TEST(BitTextTest, FormatHexPadsAndCutsToWidth) {
  EXPECT_EQ(FormatHex(10, 2, "0"), "0x0A");
  EXPECT_EQ(FormatHex(0xABC, 2, "0"), "0xBC");
  EXPECT_EQ(FormatHex(0x1F, 4, ""), "0x001F");
  EXPECT_EQ(FormatHex(0x1F, 4, "ab"), "0xaa1F");
  EXPECT_EQ(FormatHex(-1, 4, "0"), "0xFFFF");
  EXPECT_EQ(FormatHex(-1, 0, "0"), "0xFFFFFFFF");
  EXPECT_EQ(FormatHex(0, 0, "0"), "0x0");
}

}  // namespace
}  // namespace quendrel
