// The faults in force, deciding for each request what goes wrong with its reply.
#pragma once

#include <cstdint>
#include <random>
#include <vector>

#include "drivesim/FaultRule.h"

namespace quendrel {

// What happens to one reply; several rules may hit the same request and their effects add up.
struct FaultActions {
  bool serve = true;    // false: the request is not executed (stop, close)
  bool answer = true;   // false: no reply (drop, stop, close)
  bool corruptCrc = false;
  int fromAddress = -1;  // -1: our own address; -2: ours + 1
  int noiseBytes = 0;
  int pieces = 1;
  int pieceGapMs = 0;
  int lateMs = 0;
  bool closePort = false;
  int reopenAfterMs = 0;  // 0: the port stays closed
  bool cut = false;
  int lengthError = 0;
  int oldTid = -1;  // -1: none; 0: a stale copy before the reply; 1: only the stale copy
};

class FaultPlan {
 public:
  explicit FaultPlan(std::uint32_t seed = 1) : random_(seed) {}

  void Add(FaultRule rule) { rules_.push_back(std::move(rule)); }
  void Clear() { rules_.clear(); }
  void Seed(std::uint32_t seed) { random_.seed(seed); }
  bool Empty() const { return rules_.empty(); }

  // Counts the request against every request rule and merges the effects of those that hit.
  FaultActions Decide();
  // Counts a TCP login against the login rules; true when it is to be refused.
  bool RefuseLogin();
  // Bytes for the noise fault; drawn from the same seeded generator, so runs repeat exactly.
  std::string Noise(int count);

 private:
  std::vector<FaultRule> rules_;
  std::mt19937 random_;
};

}  // namespace quendrel
