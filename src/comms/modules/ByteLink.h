// A byte stream to a drive (a serial port now, a TCP socket later) as the RTU reader needs it.
#pragma once

#include <string>
#include <string_view>

namespace quendrel {

class Clock;

class ByteLink {
 public:
  enum class Wait { Readable, TimedOut, Failed };

  virtual ~ByteLink() = default;
  virtual bool Write(std::string_view bytes, double timeoutSeconds) = 0;
  virtual Wait WaitReadable(double timeoutSeconds) = 0;
  // Appends what has arrived without blocking; false once the link has failed or gone.
  virtual bool ReadAvailable(std::string& into) = 0;
  // Drops what has arrived and not been read; false once the link has failed or gone.
  virtual bool DiscardInput() = 0;

  // Waits until at least one more byte has been appended to `into`: Readable then, TimedOut once the
  // deadline (the clock's monotonic seconds) has passed, Failed once the link is gone.
  Wait ReadMore(std::string& into, const Clock& clock, double deadline);
};

}  // namespace quendrel
