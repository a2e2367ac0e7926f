#include "comms/modules/ByteLink.h"

#include "platform/Clock.h"

namespace quendrel {

ByteLink::Wait ByteLink::ReadMore(std::string& into, const Clock& clock, double deadline) {
  while (true) {
    const double left = deadline - clock.MonotonicSeconds();
    if (left <= 0) return Wait::TimedOut;
    const Wait wait = WaitReadable(left);
    if (wait != Wait::Readable) {
      if (wait == Wait::Failed) return Wait::Failed;
      continue;
    }
    const std::size_t before = into.size();
    if (!ReadAvailable(into)) return Wait::Failed;
    if (into.size() != before) return Wait::Readable;
  }
}

}  // namespace quendrel
