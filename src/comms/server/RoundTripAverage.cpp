#include "comms/server/RoundTripAverage.h"

#include <numeric>

namespace quendrel {

void RoundTripAverage::Add(double seconds) {
  samples_[next_] = seconds;
  next_ = (next_ + 1) % kWindow;
  if (count_ < kWindow) ++count_;
}

double RoundTripAverage::Average() const {
  if (count_ == 0) return 0.0;
  // Before the window fills, the unused slots are zero and add nothing.
  return std::accumulate(samples_.begin(), samples_.end(), 0.0) / static_cast<double>(count_);
}

void RoundTripAverage::Clear() {
  samples_.fill(0.0);
  next_ = 0;
  count_ = 0;
}

}  // namespace quendrel
