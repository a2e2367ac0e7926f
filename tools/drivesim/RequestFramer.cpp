#include "drivesim/RequestFramer.h"

#include <algorithm>

#include "drivesim/SimFrame.h"

// A serial line carries no frame boundaries, so a request ends where its layout says it ends.
// The parameter services have fixed or length-prefixed layouts (code 5 also that of the standard
// coil write); for every other function (flash, EIB, raw queries) the frame is the whole burst once
// its CRC checks, or, after the line has been quiet for the silence time, its longest prefix whose
// CRC checks. Bytes that start no frame are dropped one at a time, so noise before a request costs
// only the noise.

namespace quendrel {

namespace {

constexpr std::size_t kShortestFrame = 4;
constexpr std::size_t kCoilWriteFrame = 8;

}  // namespace

void RequestFramer::Append(std::string_view bytes, SimTime now) {
  if (bytes.empty()) return;
  buffer_.append(bytes);
  lastByte_ = now;
}

std::optional<std::string> RequestFramer::Next(SimTime now) {
  const bool idle = now - lastByte_ >= silence_;
  while (!buffer_.empty()) {
    const Examination found = Examine(idle);
    if (found.verdict == Verdict::Complete) {
      std::string frame = buffer_.substr(0, found.length);
      buffer_.erase(0, found.length);
      return frame;
    }
    if (found.verdict == Verdict::Incomplete && !idle) return std::nullopt;
    buffer_.erase(0, 1);
    ++dropped_;
  }
  return std::nullopt;
}

std::optional<SimTime> RequestFramer::Deadline() const {
  if (buffer_.empty()) return std::nullopt;
  return lastByte_ + silence_;
}

RequestFramer::Examination RequestFramer::Examine(bool idle) const {
  if (buffer_.size() < kShortestFrame) return {Verdict::Incomplete};
  switch (static_cast<std::uint8_t>(buffer_[1]) & 0xBF) {  // 0x4k and legacy k alike
    case 2:
    case 3:
      return ExamineKnown(6, 6);
    case 4:  // ReadName (menu, param) and ReadDVD (menu, param, index) share the code
      return ExamineKnown(6, 8);
    case 6:
      return ExamineKnown(8, 8);
    case 5: {
      // WriteDVD, length-prefixed; on a current drive code 5 is also the standard eight-byte coil write.
      if (buffer_.size() < 7) return {Verdict::Incomplete};
      const std::size_t length = 9 + static_cast<std::uint8_t>(buffer_[6]);
      return ExamineKnown(kCoilWriteFrame, length);
    }
    default:
      return ExamineUnknown(idle);
  }
}

RequestFramer::Examination RequestFramer::ExamineKnown(std::size_t shortest, std::size_t longest) const {
  const std::string_view view(buffer_);
  if (buffer_.size() >= longest && SimFrame::CrcMatches(view.substr(0, longest))) {
    return {Verdict::Complete, longest};
  }
  if (shortest != longest && buffer_.size() >= shortest && SimFrame::CrcMatches(view.substr(0, shortest))) {
    return {Verdict::Complete, shortest};
  }
  return {buffer_.size() < longest ? Verdict::Incomplete : Verdict::Bad};
}

RequestFramer::Examination RequestFramer::ExamineUnknown(bool idle) const {
  const std::string_view view(buffer_);
  if (buffer_.size() <= kMaxFrame && SimFrame::CrcMatches(view)) return {Verdict::Complete, buffer_.size()};
  if (!idle && buffer_.size() < kMaxFrame) return {Verdict::Incomplete};
  for (std::size_t length = std::min(buffer_.size(), kMaxFrame); length >= kShortestFrame; --length) {
    if (SimFrame::CrcMatches(view.substr(0, length))) return {Verdict::Complete, length};
  }
  return {Verdict::Bad};
}

}  // namespace quendrel
