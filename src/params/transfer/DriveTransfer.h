// The policy every parameter transfer follows: reads and writes retried while the line may recover,
// the progress report and message pump once per parameter, and the window's stop and cancel requests.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "comms/server/udtDriveResponse.h"

namespace quendrel {

class GIOContext;
class ProgressServer;

class DriveTransfer {
 public:
  // Calls per request: [General] Retries as CommSettings checks it, at least one, read once so a window
  // changing the setting mid-transfer does not give half the parameters a different policy.
  DriveTransfer(GIOContext& ctx, ProgressServer& progress);

  // Reports parameter n with the detail text, pumps messages once, then looks whether the window asked
  // to stop or cancel or closed the context meanwhile: false means the transfer must end now.
  bool Step(std::int32_t n, const std::string& detail);

  // Timeouts, a silent drive and garbled replies are repeated; a drive exception is an answer and is not.
  udtDriveResponse ReadValue(std::int32_t n);
  udtDriveResponse ReadName(std::int32_t n);
  udtDriveResponse ReadPAD(std::int32_t n);
  udtDriveResponse ReadDVD(std::int32_t n, std::int32_t index);
  udtDriveResponse WriteValue(std::int32_t n, std::int16_t raw);
  // The parameter the global compatibility file names as the software version; sglData is the version.
  udtDriveResponse ReadSoftwareVersion();

  // Nothing more can be exchanged, so the transfer fails: the drive is gone (46, 11), the port or
  // connection failed (40-45), another window holds the module (6), the context names no single drive
  // (48) or it was closed under the transfer (51). Going on would only report every further parameter
  // as refused without a byte sent.
  static bool EndsTransfer(const udtDriveResponse& response);
  // A drive exception with that code (2: no such parameter, 3: end of a value-name list).
  static bool IsException(const udtDriveResponse& response, int code);

  std::int32_t Attempts() const { return attempts_; }
  // Exchanges the drive answered without an error, so a transfer can tell that it read anything at all.
  std::int32_t Answered() const { return answered_; }

 private:
  udtDriveResponse Repeated(const std::function<udtDriveResponse()>& exchange);

  GIOContext& ctx_;
  ProgressServer& progress_;
  std::int32_t attempts_;
  std::int32_t answered_ = 0;
};

}  // namespace quendrel
