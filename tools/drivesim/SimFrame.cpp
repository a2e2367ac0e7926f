#include "drivesim/SimFrame.h"

#include "foundation/values/Crc16.h"

namespace quendrel {

std::string SimFrame::Wrap(std::uint8_t address, std::string_view pdu) {
  std::string frame(1, static_cast<char>(address));
  frame.append(pdu);
  AppendCrc16(frame);
  return frame;
}

bool SimFrame::CrcMatches(std::string_view frame) { return frame.size() >= 4 && HasValidCrc16(frame); }

std::optional<SimRequest> SimFrame::Unwrap(std::string_view frame) {
  if (!CrcMatches(frame)) return std::nullopt;
  SimRequest request;
  request.address = static_cast<std::uint8_t>(frame[0]);
  request.function = static_cast<std::uint8_t>(frame[1]);
  request.data = std::string(frame.substr(2, frame.size() - 4));
  return request;
}

std::string SimFrame::CountedReply(std::uint8_t function, std::string_view data) {
  std::string pdu;
  pdu.push_back(static_cast<char>(function));
  pdu.push_back(static_cast<char>(data.size()));
  pdu.append(data);
  return pdu;
}

std::string SimFrame::ExceptionReply(std::uint8_t function, std::uint8_t code) {
  return {static_cast<char>(function | 0x80), static_cast<char>(code)};
}

}  // namespace quendrel
