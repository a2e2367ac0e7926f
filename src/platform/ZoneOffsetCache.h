// The local zone's offset from UTC at a second, asked of the system once per second. A zone lookup
// takes the C library's zone lock and walks the zone's rules, which costs more than reading the
// clock; a scan that stamps every read would pay it hundreds of times a second for the same answer.
// A zone's offset changes only on a whole second, so one second's offset serves every moment in it,
// the summer time edges included.
#pragma once

#include <ctime>

namespace quendrel {

class ZoneOffsetCache {
 public:
  // Seconds east of UTC of local time at that second. A zone the process switches to with tzset
  // counts from the next second asked for.
  long OffsetAt(std::time_t second);

 private:
  std::time_t second_ = 0;
  long offset_ = 0;
  bool known_ = false;
};

}  // namespace quendrel
