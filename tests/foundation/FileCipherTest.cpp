#include "foundation/files/FileCipher.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace quendrel {
namespace {

// Enciphering zero bytes exposes the key stream itself. These values pin the file format:
// if this test fails, files written by earlier builds can no longer be read.
TEST(FileCipherTest, KeyStreamIsPinned) {
  const std::uint8_t expected[] = {0x35, 0x96, 0xC3, 0x63, 0x5A, 0x11, 0xCE, 0x2B};
  const std::string key = DecryptString(std::string(sizeof expected, '\0'));
  ASSERT_EQ(key.size(), sizeof expected);
  for (std::size_t i = 0; i < sizeof expected; ++i) {
    EXPECT_EQ(static_cast<std::uint8_t>(key[i]), expected[i]) << "key byte " << i;
  }
}

TEST(FileCipherTest, KeyStreamRestartsAtEveryCall) {
  const std::string first = DecryptString("same text");
  const std::string second = DecryptString("same text");
  EXPECT_EQ(first, second);
  // A longer input shares its prefix with a shorter one because the stream starts over.
  EXPECT_EQ(DecryptString("same text, longer").substr(0, first.size()), first);
}

TEST(FileCipherTest, RoundTripsEveryByteValue) {
  std::string all;
  for (int repeat = 0; repeat < 4; ++repeat) {
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  }
  const std::string hidden = DecryptString(all);
  EXPECT_NE(hidden, all);
  EXPECT_EQ(hidden.size(), all.size());
  EXPECT_EQ(DecryptString(hidden), all);
}

TEST(FileCipherTest, EmptyInputGivesEmptyOutput) { EXPECT_EQ(DecryptString(""), ""); }

}  // namespace
}  // namespace quendrel
