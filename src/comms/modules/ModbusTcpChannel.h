// The receiving side of Modbus/TCP on a byte link: finds the reply to a transaction among the units
// that arrive, drops late replies to earlier transactions and never lets the stream fall out of step.
#pragma once

#include <cstdint>
#include <string>

#include "comms/modules/ByteLink.h"
#include "comms/server/DriveRequest.h"
#include "comms/server/udtDriveResponse.h"

namespace quendrel {

class Clock;

class ModbusTcpChannel {
 public:
  enum class Outcome {
    Data,       // the response holds the decoded reply, an exception included
    Invalid,    // a reply came that this request cannot have; the stream is still in step
    OutOfStep,  // the stream cannot be read on: the connection must be closed
    TimedOut,
    LinkFailed,
  };

  // Deadlines are in the clock's monotonic seconds.
  ModbusTcpChannel(ByteLink& link, Clock& clock) : link_(link), clock_(clock) {}

  void Forget() { received_.clear(); }
  // Takes in what has arrived without losing any of it; false when the link is gone.
  bool Poll() { return link_.ReadAvailable(received_); }
  Outcome ReadReply(const DriveRequest& request, std::uint16_t transaction, udtDriveResponse& response,
                    double deadline);

 private:
  Outcome ReadMore(double deadline);
  Outcome TakeUnit(const DriveRequest& request, std::uint16_t transaction, std::size_t length,
                   udtDriveResponse& response, bool& stale);

  ByteLink& link_;
  Clock& clock_;
  std::string received_;
};

}  // namespace quendrel
