#include "params/transfer/DriveTransfer.h"

#include <algorithm>

#include "comms/server/CommSettings.h"
#include "comms/server/GIOContext.h"
#include "comms/server/GIOError.h"
#include "foundation/progress/ProgressServer.h"
#include "params/compatibility/FirmwareCompatibilityFile.h"
#include "platform/UiServices.h"

namespace quendrel {

namespace {

constexpr std::int16_t kStateCancel = -1;
constexpr std::int16_t kStateStop = 2;

std::uint8_t MenuOf(std::int32_t n) { return static_cast<std::uint8_t>(n / 100); }
std::uint8_t PramOf(std::int32_t n) { return static_cast<std::uint8_t>(n % 100); }

// Codes a module reports in its own right when the port or the connection failed.
bool IsTransportFailure(int code) { return code >= gioPortOpenFailed && code <= gioReceiveFailed; }

bool WorthRepeating(const udtDriveResponse& response) {
  if (!response.Error) return false;
  return response.intData == gioTimeout || response.intData == gioSlaveNotResponding ||
         response.intData == gioInvalidPacket;
}

}  // namespace

DriveTransfer::DriveTransfer(GIOContext& ctx, ProgressServer& progress)
    : ctx_(ctx), progress_(progress), attempts_(std::max(1, CommSettings::Retries("General"))) {}

bool DriveTransfer::Step(std::int32_t n, const std::string& detail) {
  progress_.SetProgress(n);
  progress_.SetDetail(detail);
  Ui().PumpMessages();
  const std::int16_t state = progress_.state();
  if (state == kStateCancel || state == kStateStop) return false;
  return !ctx_.IsClosed();
}

udtDriveResponse DriveTransfer::Repeated(const std::function<udtDriveResponse()>& exchange) {
  udtDriveResponse response = exchange();
  for (std::int32_t calls = 1; calls < attempts_ && WorthRepeating(response); ++calls) response = exchange();
  if (!response.Error) ++answered_;
  return response;
}

udtDriveResponse DriveTransfer::ReadValue(std::int32_t n) {
  return Repeated([&] { return ctx_.ReadValue(MenuOf(n), PramOf(n)); });
}

udtDriveResponse DriveTransfer::ReadName(std::int32_t n) {
  return Repeated([&] { return ctx_.ReadName(MenuOf(n), PramOf(n)); });
}

udtDriveResponse DriveTransfer::ReadPAD(std::int32_t n) {
  return Repeated([&] { return ctx_.ReadPAD(MenuOf(n), PramOf(n)); });
}

udtDriveResponse DriveTransfer::ReadDVD(std::int32_t n, std::int32_t index) {
  return Repeated([&] { return ctx_.ReadDVD(MenuOf(n), PramOf(n), static_cast<std::int16_t>(index)); });
}

udtDriveResponse DriveTransfer::WriteValue(std::int32_t n, std::int16_t raw) {
  return Repeated([&] { return ctx_.WriteValue(MenuOf(n), PramOf(n), raw); });
}

udtDriveResponse DriveTransfer::ReadSoftwareVersion() {
  return ReadValue(FirmwareCompatibility().SoftwareVersion());
}

bool DriveTransfer::EndsTransfer(const udtDriveResponse& response) {
  if (!response.Error) return false;
  const int code = response.intData;
  return IsConnectionLost(code) || IsTransportFailure(code) || code == gioSlaveDeviceBusy || code == gioNoModule ||
         code == gioBroadcastRefused;
}

bool DriveTransfer::IsException(const udtDriveResponse& response, int code) {
  return response.Error && response.intData == code;
}

}  // namespace quendrel
