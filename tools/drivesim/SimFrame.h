// The simulated drive's own serial frame layout: address, PDU (function and data), CRC-16.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quendrel {

// A request as the drive sees it once framing is gone.
struct SimRequest {
  std::uint8_t address = 0;
  std::uint8_t function = 0;
  std::string data;

  std::size_t FrameSize() const { return data.size() + 4; }  // address, function, data, CRC
};

class SimFrame {
 public:
  // address + pdu + CRC (low byte first).
  static std::string Wrap(std::uint8_t address, std::string_view pdu);
  // The request inside a checked frame; nothing when the frame is short or its CRC is wrong.
  static std::optional<SimRequest> Unwrap(std::string_view frame);
  static bool CrcMatches(std::string_view frame);

  // PDUs of the drive's replies.
  static std::string CountedReply(std::uint8_t function, std::string_view data);  // function, count, data
  static std::string ExceptionReply(std::uint8_t function, std::uint8_t code);    // function | 0x80, code
};

}  // namespace quendrel
