#include "comms/modules/SerialFrameCodec.h"

#include "comms/server/DrivePdu.h"
#include "foundation/values/Crc16.h"

namespace quendrel {

std::string SerialFrameCodec::Frame(std::uint8_t address, std::string_view pdu) {
  std::string frame(1, static_cast<char>(address));
  frame += pdu;
  AppendCrc16(frame);
  return frame;
}

std::optional<std::string> SerialFrameCodec::RequestFrame(const DriveRequest& request) {
  const auto pdu = DrivePdu::Encode(request);
  if (!pdu) return std::nullopt;
  return Frame(request.address, *pdu);
}

SerialFrameCodec::ScanResult SerialFrameCodec::ScanReply(std::string_view received, std::uint8_t address,
                                                         std::uint8_t function, bool laidOut) {
  if (received.empty()) return {};
  // Checking the leading bytes at once lets noise or another drive's answer be told apart without
  // waiting for a length that garbage would make up.
  if (static_cast<std::uint8_t>(received[0]) != address) return {Scan::Invalid, 0};
  if (received.size() < 2) return {};
  const auto replied = static_cast<std::uint8_t>(received[1]);
  if (replied != function && replied != (function | DrivePdu::kExceptionFlag)) return {Scan::Invalid, 0};
  if (!laidOut && replied == function) return ScanUnlaidOut(received);
  const auto pduLength = DrivePdu::ReplyLength(received.substr(1));
  if (!pduLength) return {};
  const std::size_t length = 1 + *pduLength + 2;
  if (received.size() < length) return {};
  if (!HasValidCrc16(received.substr(0, length))) return {Scan::Invalid, 0};
  return {Scan::Complete, length};
}

SerialFrameCodec::ScanResult SerialFrameCodec::ScanUnlaidOut(std::string_view received) {
  if (received.size() > kMaxFrameLength) return {Scan::Invalid, 0};
  // Address, function and CRC at least.
  if (received.size() < 4 || !HasValidCrc16(received)) return {};
  return {Scan::CompleteIfQuiet, received.size()};
}

std::string_view SerialFrameCodec::Pdu(std::string_view frame) {
  return frame.size() < 3 ? std::string_view{} : frame.substr(1, frame.size() - 3);
}

udtDriveResponse SerialFrameCodec::Unsent(const DriveRequest& request, int errorCode) {
  udtDriveResponse response;
  response.Menu = request.menu;
  response.Pram = request.pram;
  response.function = DrivePdu::FunctionCode(request);
  response.Error = true;
  response.intData = static_cast<std::int16_t>(errorCode);
  // A request too long for a frame still shows its address and function byte.
  const auto pdu = DrivePdu::Encode(request);
  response.rawreq = pdu ? Frame(request.address, *pdu)
                        : Frame(request.address, std::string(1, static_cast<char>(response.function)));
  return response;
}

}  // namespace quendrel
