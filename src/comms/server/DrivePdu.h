// Lays out and reads back the function byte and data of every drive service, whatever the transport.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "comms/server/DriveRequest.h"
#include "comms/server/udtDriveResponse.h"

namespace quendrel {

class DrivePdu {
 public:
  // A serial frame carries at most 256 bytes: address, this much, two CRC bytes.
  static constexpr std::size_t kMaxPduLength = 253;
  static constexpr std::uint8_t kExceptionFlag = 0x80;

  enum class Verdict {
    Accept,   // the reply to this request, decoded into the response
    Stale,    // a well-formed reply to some earlier request: drop it and keep reading
    Invalid,  // not a reply this request can have
  };

  static std::uint8_t FunctionCode(const DriveRequest& request);
  // Function byte and data; nullopt when the request does not fit in one frame.
  static std::optional<std::string> Encode(const DriveRequest& request);

  // Whether this program knows how a reply to the request is laid out: the drive's own functions in
  // the code set the context speaks, and those a function template defines. Other functions (standard
  // Modbus ones a script sends to a gateway) are taken as the transport delimits them; their
  // exceptions are laid out all the same.
  static bool HasReplyLayout(const DriveRequest& request);
  // The whole length of a laid-out reply whose first bytes (function byte onwards) are given, once
  // those bytes tell it; nullopt while more are needed.
  static std::optional<std::size_t> ReplyLength(std::string_view replyStart);

  // Decodes a complete reply into the response (data fields, Error and intData for an exception).
  static Verdict Decode(const DriveRequest& request, std::string_view reply, udtDriveResponse& response);

 private:
  static bool IsDriveFunction(std::uint8_t function, bool legacy);
  static Verdict DecodeUnlaidOut(std::string_view data, udtDriveResponse& response);
  static Verdict DecodeEcho(const DriveRequest& request, std::string_view data, udtDriveResponse& response);
  static Verdict DecodeCounted(const DriveRequest& request, std::string_view data,
                               udtDriveResponse& response);
};

}  // namespace quendrel
