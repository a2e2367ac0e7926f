#include "foundation/values/Crc16.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>

namespace quendrel {
namespace {

using namespace std::string_literals;

struct KnownVector {
  std::string bytes;
  std::uint16_t crc;
};

// Published CRC-16/MODBUS check values and frames captured from Modbus RTU documentation.
TEST(Crc16Test, MatchesKnownVectors) {
  const KnownVector cases[] = {
      {"", 0xFFFF},
      {"123456789", 0x4B37},
      {std::string("\x01\x03\x00\x00\x00\x0A", 6), 0xCDC5},
      {std::string("\x11\x03\x00\x6B\x00\x03", 6), 0x8776},
      {std::string("\x00", 1), 0x40BF},
      {std::string("\xFF", 1), 0x00FF},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Crc16(c.bytes), c.crc) << "bytes of length " << c.bytes.size();
  }
}

TEST(Crc16Test, UpdateInPiecesEqualsWholeFrame) {
  const std::string frame = "The drive answers in pieces\x00\xFF\x80"s;
  for (std::size_t split = 0; split <= frame.size(); ++split) {
    const std::uint16_t head = Crc16(frame.substr(0, split));
    EXPECT_EQ(Crc16Update(head, frame.substr(split)), Crc16(frame)) << "split at " << split;
  }
}

TEST(Crc16Test, AppendsLowByteFirst) {
  std::string frame("\x01\x03\x00\x00\x00\x0A", 6);
  AppendCrc16(frame);
  ASSERT_EQ(frame.size(), 8U);
  EXPECT_EQ(static_cast<std::uint8_t>(frame[6]), 0xC5);
  EXPECT_EQ(static_cast<std::uint8_t>(frame[7]), 0xCD);
}

TEST(Crc16Test, ValidatesOnlyIntactFrames) {
  std::string frame = "\x11\x03\x06\x02\x2B\x00\x00\x00\x64"s;
  AppendCrc16(frame);
  EXPECT_TRUE(HasValidCrc16(frame));
  // A frame with its checksum appended checks to zero, the property receivers rely on.
  EXPECT_EQ(Crc16(frame), 0);

  std::string flipped = frame;
  flipped[3] = static_cast<char>(flipped[3] ^ 0x01);
  EXPECT_FALSE(HasValidCrc16(flipped));

  std::string swapped = frame;
  std::swap(swapped[swapped.size() - 1], swapped[swapped.size() - 2]);
  EXPECT_FALSE(HasValidCrc16(swapped));

  EXPECT_FALSE(HasValidCrc16("\x01"));
}

}  // namespace
}  // namespace quendrel
