// The receiving side of RTU framing on any byte link: finds the reply to a request among the bytes
// that arrive, skips late replies and local echoes, and hands single bytes to the byte channel.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "comms/modules/ByteLink.h"
#include "comms/server/DriveRequest.h"
#include "comms/server/udtDriveResponse.h"

namespace quendrel {

class Clock;

class RtuChannel {
 public:
  enum class Outcome { Data, Invalid, TimedOut, LinkFailed };

  // Deadlines are in the clock's monotonic seconds.
  RtuChannel(ByteLink& link, Clock& clock) : link_(link), clock_(clock) {}

  // Forgets every byte received and not yet used, in the link too.
  bool Discard();
  void Forget() { received_.clear(); }
  // Waits for at least one more byte.
  Outcome ReadMore(double deadline);
  // Drops the next count bytes, for an adapter that echoes what it sends.
  Outcome DropBytes(std::size_t count, double deadline);
  // Reads and drops until the link has been quiet for `quiet` seconds, so the rest of a broken reply
  // cannot run into the next request.
  void DrainUntilQuiet(double quiet, double deadline);
  // Data: the response holds the decoded reply, an exception included. Otherwise its rawreply holds
  // what came; after Invalid the link has been drained.
  Outcome ReadReply(const DriveRequest& request, udtDriveResponse& response, double quiet, double deadline);
  Outcome TakeByte(std::uint8_t& byte, double deadline);

  // When the link last carried a byte either way.
  double LastActivity() const { return lastActivity_; }
  void NoteActivity();

 private:
  Outcome TakeFrame(const DriveRequest& request, std::size_t length, udtDriveResponse& response, bool& stale);

  ByteLink& link_;
  Clock& clock_;
  std::string received_;
  double lastActivity_ = -1e9;
};

}  // namespace quendrel
