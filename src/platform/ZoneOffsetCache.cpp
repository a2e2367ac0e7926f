#include "platform/ZoneOffsetCache.h"

namespace quendrel {

long ZoneOffsetCache::OffsetAt(std::time_t second) {
  if (known_ && second == second_) return offset_;
  std::tm local{};
  localtime_r(&second, &local);
  second_ = second;
  offset_ = local.tm_gmtoff;
  known_ = true;
  return offset_;
}

}  // namespace quendrel
