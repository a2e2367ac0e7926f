#include "graph/scan/ScanTiming.h"

#include <cmath>

#include "foundation/NumberText.h"

namespace quendrel {

std::int32_t ScanIntervalFromSeconds(double seconds) {
  const double ms = RoundHalfEvenValue(seconds * 1000.0);
  if (std::isnan(ms) || ms < 1.0) return 0;
  if (ms >= 32765.0) return 32766;
  return static_cast<std::int32_t>(ms);
}

std::optional<std::int32_t> KeepaliveIntervalFromSetting(std::string_view seconds) {
  const std::optional<double> value = NumericTextValue(seconds);
  if (!value) return std::nullopt;
  const double ms = RoundHalfEvenValue(*value * 1000.0);
  if (std::isnan(ms) || ms < 1.0) return std::nullopt;
  if (ms >= static_cast<double>(kLongestTimerInterval)) return kLongestTimerInterval;
  return static_cast<std::int32_t>(ms);
}

double ClampScanPeriod(double seconds) {
  if (seconds < 1.0) return 1.0;
  if (seconds >= 65530.0) return 65532.0;
  return seconds;
}

double ClampWindowLength(double seconds) {
  if (seconds < 1.0) return 1.0;
  if (seconds >= 32765.0) return 32766.0;
  return seconds;
}

}  // namespace quendrel
