#include "foundation/values/RandomGenerator.h"

#include <limits>

namespace quendrel {

void RandomGenerator::Randomize() {
  std::random_device device;
  const std::uint64_t high = device();
  Seed((high << 32) | device());
}

double RandomGenerator::Next() {
  // The top 53 bits fill a double's mantissa exactly, so 1.0 can never come out.
  return static_cast<double>(engine_() >> 11) * 0x1.0p-53;
}

std::uint64_t RandomGenerator::Below(std::uint64_t bound) {
  // Draws from the largest multiple of bound are uniform; the few values above it are redrawn.
  const std::uint64_t limit = std::numeric_limits<std::uint64_t>::max() -
                              std::numeric_limits<std::uint64_t>::max() % bound;
  std::uint64_t draw = engine_();
  while (draw >= limit) draw = engine_();
  return draw % bound;
}

std::int32_t RandomGenerator::Between(std::int32_t low, std::int32_t high) {
  if (high <= low) return low;
  const auto span = static_cast<std::uint64_t>(static_cast<std::int64_t>(high) - low) + 1;
  return static_cast<std::int32_t>(low + static_cast<std::int64_t>(Below(span)));
}

RandomGenerator& Random() {
  static RandomGenerator generator;
  return generator;
}

}  // namespace quendrel
