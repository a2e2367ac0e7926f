#include "comms/modules/RtuChannel.h"

#include <algorithm>

#include "comms/modules/SerialFrameCodec.h"
#include "comms/server/DrivePdu.h"
#include "platform/Clock.h"

namespace quendrel {

bool RtuChannel::Discard() {
  received_.clear();
  return link_.DiscardInput();
}

void RtuChannel::NoteActivity() { lastActivity_ = clock_.MonotonicSeconds(); }

RtuChannel::Outcome RtuChannel::ReadMore(double deadline) {
  switch (link_.ReadMore(received_, clock_, deadline)) {
    case ByteLink::Wait::Readable:
      NoteActivity();
      return Outcome::Data;
    case ByteLink::Wait::TimedOut:
      return Outcome::TimedOut;
    case ByteLink::Wait::Failed:
      break;
  }
  return Outcome::LinkFailed;
}

RtuChannel::Outcome RtuChannel::DropBytes(std::size_t count, double deadline) {
  while (received_.size() < count) {
    const Outcome outcome = ReadMore(deadline);
    if (outcome != Outcome::Data) return outcome;
  }
  received_.erase(0, count);
  return Outcome::Data;
}

void RtuChannel::DrainUntilQuiet(double quiet, double deadline) {
  while (true) {
    const double now = clock_.MonotonicSeconds();
    const double until = std::min(deadline, now + quiet);
    if (until <= now || ReadMore(until) != Outcome::Data) break;
  }
  received_.clear();
}

RtuChannel::Outcome RtuChannel::ReadReply(const DriveRequest& request, udtDriveResponse& response,
                                          double quiet, double deadline) {
  const std::uint8_t function = DrivePdu::FunctionCode(request);
  const bool laidOut = DrivePdu::HasReplyLayout(request);
  while (true) {
    const auto scan = SerialFrameCodec::ScanReply(received_, request.address, function, laidOut);
    if (scan.status == SerialFrameCodec::Scan::Invalid) {
      response.rawreply = received_;
      DrainUntilQuiet(quiet, deadline);
      return Outcome::Invalid;
    }
    const bool wholeIfQuiet = scan.status == SerialFrameCodec::Scan::CompleteIfQuiet;
    Outcome outcome = Outcome::TimedOut;
    if (scan.status != SerialFrameCodec::Scan::Complete) {
      outcome = ReadMore(wholeIfQuiet ? std::min(deadline, clock_.MonotonicSeconds() + quiet) : deadline);
      if (outcome == Outcome::Data) continue;
    }
    // A frame with no length of its own ends where the line falls silent after it.
    if (outcome == Outcome::TimedOut && scan.length > 0) {
      bool stale = false;
      const Outcome taken = TakeFrame(request, scan.length, response, stale);
      // A late answer to an earlier request: skip it and wait for ours.
      if (!stale) return taken;
      continue;
    }
    response.rawreply = received_;
    return outcome;
  }
}

RtuChannel::Outcome RtuChannel::TakeFrame(const DriveRequest& request, std::size_t length,
                                          udtDriveResponse& response, bool& stale) {
  const std::string frame = received_.substr(0, length);
  received_.erase(0, length);
  udtDriveResponse decoded = response;
  const auto verdict = DrivePdu::Decode(request, SerialFrameCodec::Pdu(frame), decoded);
  stale = verdict == DrivePdu::Verdict::Stale;
  if (stale) return Outcome::Data;
  decoded.rawreply = frame;
  decoded.driveID = static_cast<std::uint8_t>(frame[0]);
  response = decoded;
  return verdict == DrivePdu::Verdict::Accept ? Outcome::Data : Outcome::Invalid;
}

RtuChannel::Outcome RtuChannel::TakeByte(std::uint8_t& byte, double deadline) {
  if (received_.empty() && !link_.ReadAvailable(received_)) return Outcome::LinkFailed;
  while (received_.empty()) {
    const Outcome outcome = ReadMore(deadline);
    if (outcome != Outcome::Data) return outcome;
  }
  byte = static_cast<std::uint8_t>(received_[0]);
  received_.erase(0, 1);
  return Outcome::Data;
}

}  // namespace quendrel
