#include "foundation/files/FileCipher.h"

#include <cstdint>

namespace quendrel {

namespace {

// Never change these three: they define the format of every enciphered file already written.
constexpr std::uint32_t kSeed = 0x51E4D7A3U;
constexpr std::uint32_t kMultiplier = 1103515245U;
constexpr std::uint32_t kIncrement = 12345U;

}  // namespace

std::string DecryptString(std::string_view bytes) {
  std::string out(bytes);
  std::uint32_t x = kSeed;
  for (char& c : out) {
    x = x * kMultiplier + kIncrement;  // unsigned arithmetic wraps mod 2^32 by definition
    const auto key = static_cast<std::uint8_t>((x >> 16) & 0xFFU);
    c = static_cast<char>(static_cast<std::uint8_t>(c) ^ key);
  }
  return out;
}

}  // namespace quendrel
