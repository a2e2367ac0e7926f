#include "comms/server/GIOError.h"

#include <algorithm>
#include <array>
#include <utility>

namespace quendrel {

namespace {

constexpr std::array<std::pair<int, const char*>, 21> kTexts{{
    {gioInvalidFunction, "Invalid Function"},
    {gioInvalidDataAddress, "Invalid Data Address"},
    {gioInvalidDataValue, "Invalid Data Value"},
    {gioSlaveDeviceFailure, "Slave Device Failure"},
    {gioAcknowledge, "Acknowledge"},
    {gioSlaveDeviceBusy, "Slave Device Busy"},
    {gioNegativeAcknowledge, "Negative Acknowledge"},
    {gioMemoryParityError, "Memory Parity Error"},
    {gioGatewayPathUnavailable, "Gateway Path Unavailable"},
    {gioSlaveNotResponding, "Slave Device is not responding"},
    {gioPortOpenFailed, "Unable to open communication port"},
    {gioConnectFailed, "Unable to connect to host"},
    {gioAuthenticationFailed, "Authentication failed"},
    {gioConnectionClosed, "Connection closed by host"},
    {gioSendFailed, "Send failed"},
    {gioReceiveFailed, "Receive failed"},
    {gioTimeout, "Timeout"},
    {gioInvalidPacket, "Invalid Packet"},
    {gioBroadcastRefused, "Invalid drive address"},
    {gioRequestTooLong, "Request too long"},
    {gioNoModule, "No communication module selected"},
}};

}  // namespace

std::string GIOErrorText(int code) {
  const auto found =
      std::find_if(kTexts.begin(), kTexts.end(), [code](const auto& entry) { return entry.first == code; });
  return found == kTexts.end() ? "Unknown Error" : found->second;
}

bool IsConnectionLost(int code) { return code == gioTimeout || code == gioSlaveNotResponding; }

}  // namespace quendrel
