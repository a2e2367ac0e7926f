// The communication error codes carried in udtDriveResponse.intData, and their texts for messages.
#pragma once

#include <string>

namespace quendrel {

enum GIOErrorCode : int {
  // Modbus exception codes, as the drive (or a gateway in front of it) answers them.
  gioInvalidFunction = 1,
  gioInvalidDataAddress = 2,
  gioInvalidDataValue = 3,
  gioSlaveDeviceFailure = 4,
  gioAcknowledge = 5,
  gioSlaveDeviceBusy = 6,
  gioNegativeAcknowledge = 7,
  gioMemoryParityError = 8,
  gioGatewayPathUnavailable = 10,
  gioSlaveNotResponding = 11,
  // Our own: 40-45 travel in extraData behind an 11, because every window treats 11 as "drive gone".
  gioPortOpenFailed = 40,
  gioConnectFailed = 41,
  gioAuthenticationFailed = 42,
  gioConnectionClosed = 43,
  gioSendFailed = 44,
  gioReceiveFailed = 45,
  gioTimeout = 46,
  gioInvalidPacket = 47,
  // Refused before sending: the request was addressed to every drive on the line at once.
  gioBroadcastRefused = 48,
  gioRequestTooLong = 49,
  gioNoModule = 51,
};

// "Unknown Error" for any code without a text of its own.
std::string GIOErrorText(int code);

// True for the codes after which windows treat the drive as gone and start pinging for it.
bool IsConnectionLost(int code);

}  // namespace quendrel
