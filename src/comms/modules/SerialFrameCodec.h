// Wraps a drive request in a serial frame (address, function, data, CRC) and finds its reply in the
// bytes received, for the serial line and for RTU frames carried over TCP alike.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "comms/server/DriveRequest.h"
#include "comms/server/udtDriveResponse.h"

namespace quendrel {

class SerialFrameCodec {
 public:
  enum class Scan {
    NeedMore,  // the bytes so far may still become the reply
    Invalid,   // the bytes so far can never be the reply
    Complete,  // a frame with a valid CRC from the right address and function starts the bytes
    // A reply to a function without a known layout whose CRC checks so far: a serial frame carries no
    // length, so only silence after it says it is whole.
    CompleteIfQuiet,
  };

  struct ScanResult {
    Scan status = Scan::NeedMore;
    std::size_t length = 0;  // of the complete frame
  };

  // Address, the longest PDU, CRC.
  static constexpr std::size_t kMaxFrameLength = 256;

  static std::string Frame(std::uint8_t address, std::string_view pdu);
  // The request as it goes on the line; nullopt when it does not fit in one frame.
  static std::optional<std::string> RequestFrame(const DriveRequest& request);

  // Looks for the reply to a request sent to `address` with `function` at the start of `received`;
  // laidOut says whether the program knows the layout of that function's replies.
  static ScanResult ScanReply(std::string_view received, std::uint8_t address, std::uint8_t function,
                              bool laidOut);

  // The function byte and data of a complete frame.
  static std::string_view Pdu(std::string_view frame);

  // The response of a request that could not be sent, carrying the frame it would have gone in,
  // so a raw listing still shows its function byte.
  static udtDriveResponse Unsent(const DriveRequest& request, int errorCode);

 private:
  static ScanResult ScanUnlaidOut(std::string_view received);
};

}  // namespace quendrel
