// The program's source of random numbers, seedable so that anything drawn from it can be replayed.
#pragma once

#include <cstdint>
#include <random>

namespace quendrel {

class RandomGenerator {
 public:
  explicit RandomGenerator(std::uint64_t seed = kDefaultSeed) : engine_(seed) {}

  void Seed(std::uint64_t seed) { engine_.seed(seed); }
  // Seeds from the system's entropy source, for draws that should differ from run to run.
  void Randomize();

  // Uniform in [0, 1).
  double Next();
  // Uniform whole number from low to high, both included; low when high < low.
  std::int32_t Between(std::int32_t low, std::int32_t high);

  static constexpr std::uint64_t kDefaultSeed = 5489U;

 private:
  // Our own mapping from engine output to ranges, so a seed gives the same draws with every library.
  std::uint64_t Below(std::uint64_t bound);

  std::mt19937_64 engine_;
};

// The global generator; seeded with kDefaultSeed until someone calls Seed or Randomize.
RandomGenerator& Random();

}  // namespace quendrel
