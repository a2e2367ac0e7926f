// The running average of the last 16 exchange round-trip times, shown as the drive response time.
#pragma once

#include <array>
#include <cstddef>

namespace quendrel {

class RoundTripAverage {
 public:
  static constexpr std::size_t kWindow = 16;

  void Add(double seconds);
  // Seconds; 0 before the first exchange.
  double Average() const;
  std::size_t Count() const { return count_; }
  void Clear();

 private:
  std::array<double, kWindow> samples_{};
  std::size_t next_ = 0;
  std::size_t count_ = 0;
};

}  // namespace quendrel
