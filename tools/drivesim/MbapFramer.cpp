#include "drivesim/MbapFramer.h"

#include <cstdint>

namespace quendrel {

MbapFramer::Status MbapFramer::Next(std::string& adu) {
  if (buffer_.size() < kHeaderSize) return Status::Incomplete;
  // The length counts the unit byte and the PDU, which holds at least a function code.
  const std::size_t length = (static_cast<std::uint8_t>(buffer_[4]) << 8) | static_cast<std::uint8_t>(buffer_[5]);
  if (length < 2 || length + 6 > kMaxAdu) return Status::Broken;
  if (buffer_.size() < length + 6) return Status::Incomplete;
  adu = buffer_.substr(0, length + 6);
  buffer_.erase(0, length + 6);
  return Status::Complete;
}

}  // namespace quendrel
