// Cuts the byte stream arriving on the drive's serial line into request frames.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "drivesim/SimTime.h"

namespace quendrel {

class RequestFramer {
 public:
  // silence: how long the line must be quiet before an unfinished frame counts as ended.
  explicit RequestFramer(SimDuration silence) : silence_(silence) {}

  void SetSilence(SimDuration silence) { silence_ = silence; }
  void Append(std::string_view bytes, SimTime now);
  // The next whole frame (address to CRC, checked); bytes that cannot start a frame are dropped.
  std::optional<std::string> Next(SimTime now);
  // When silence will settle the bytes still waiting, if any wait.
  std::optional<SimTime> Deadline() const;
  void Clear() { buffer_.clear(); }

  std::size_t Pending() const { return buffer_.size(); }
  long DroppedBytes() const { return dropped_; }

  static constexpr std::size_t kMaxFrame = 256;

 private:
  enum class Verdict { Complete, Incomplete, Bad };
  struct Examination {
    Verdict verdict;
    std::size_t length = 0;
  };

  Examination Examine(bool idle) const;
  Examination ExamineKnown(std::size_t shortest, std::size_t longest) const;
  Examination ExamineUnknown(bool idle) const;

  SimDuration silence_;
  std::string buffer_;
  SimTime lastByte_{};
  long dropped_ = 0;
};

}  // namespace quendrel
