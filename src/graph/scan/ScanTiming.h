// The scan window's time rules: the scan timer's interval from a scan period, the keepalive's from
// its setting, and the limits the two time pickers hold their values to.
#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>

namespace quendrel {

// The longest interval a window timer takes, in milliseconds.
inline constexpr std::int32_t kLongestTimerInterval = std::numeric_limits<std::int32_t>::max();

// Seconds × 1000, rounded half to even; below 1 ms gives 0 (a timer that never fires), 32765 ms or
// more gives 32766 ms.
std::int32_t ScanIntervalFromSeconds(double seconds);

// [General] KeepalivePeriod, in seconds, as the keepalive timer's interval: any period of 1 ms or
// more, held to the longest a timer takes. Nothing (the keepalive stays off) for a shorter or
// negative period or a text that is not a number.
std::optional<std::int32_t> KeepaliveIntervalFromSetting(std::string_view seconds);

// The scan period picker's limits: below 1 s gives 1 s, 65530 s or more gives 65532 s.
double ClampScanPeriod(double seconds);
// The window length picker's: below 1 s gives 1 s, 32765 s or more gives 32766 s.
double ClampWindowLength(double seconds);

}  // namespace quendrel
