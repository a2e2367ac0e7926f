#include "params/support/TransferRig.h"

#include <stdexcept>

#include "comms/modules/SerialModule.h"
#include "foundation/settings/Config.h"
#include "foundation/text/NumberText.h"
#include "foundation/values/Crc16.h"
#include "params/compatibility/FirmwareCompatibilityFile.h"
#include "params/support/OwnTemplate.h"
#include "platform/Clock.h"

namespace quendrel {

TransferRig::TransferRig(std::vector<std::string> simulatorArguments)
    : sim_(std::make_unique<DriveSimProcess>(std::move(simulatorArguments))), server_(SystemClockInstance()) {
  ResetConfig();
  if (!FirmwareCompatibility().Load(QUENDREL_DRIVESIM_FC2)) {
    throw std::runtime_error("cannot load the simulated drive's compatibility file");
  }
  Config().SetValue("PortNames", "Serial Port", sim_->DevicePath());
  Config().SetValue("ComPort", "Serial Port", "0");
  Config().SetValue("Timeout", "Serial Port", DoubleToText(kTimeout));
  Config().SetValue("Retries", "Serial Port", "0");
  SetRetries(0);
  server_.RegisterModule(std::make_unique<SerialModule>(SystemClockInstance()));
  server_.Startup();
  server_.SelectModule("Serial");
  context_ = server_.OpenContext(1, -1);
  progress_.SetupPrimary(nullptr, nullptr, nullptr, status_, nullptr, detail_, nullptr, 0, 2099, 0);
}

TransferRig::~TransferRig() {
  context_.reset();
  server_.Shutdown();
  FirmwareCompatibility() = FirmwareCompatibilityFile{};
  ResetConfig();
}

void TransferRig::SetRetries(int retries) { Config().SetValue("Retries", "General", std::to_string(retries)); }

std::shared_ptr<FirmwareInformationTemplate> TransferRig::OwnTemplate() { return InstallOwnTemplate(); }

namespace {

// Request lengths by function; 0x44 carries a name read (6 bytes) or a value-name read (8 bytes), and
// 0x45 a length-prefixed text, so those two are told apart by where a CRC checks.
bool FrameChecks(const std::string& bytes, std::size_t at, std::size_t length) {
  if (at + length > bytes.size()) return false;
  return HasValidCrc16(std::string_view(bytes).substr(at, length));
}

std::size_t RequestLength(const std::string& bytes, std::size_t at) {
  const auto function = static_cast<std::uint8_t>(bytes[at + 1]);
  switch (function) {
    case 0x42:
    case 0x43:
      return 6;
    case 0x46:
      return 8;
    case 0x44:
      return FrameChecks(bytes, at, 6) ? 6 : 8;
    case 0x45:
      return at + 6 < bytes.size() ? 9 + static_cast<std::uint8_t>(bytes[at + 6]) : bytes.size() - at;
    default:
      return bytes.size() - at;
  }
}

}  // namespace

std::vector<SentRequest> SplitRequests(const std::string& bytes) {
  std::vector<SentRequest> requests;
  std::size_t at = 0;
  while (at + 4 <= bytes.size()) {
    const std::size_t length = RequestLength(bytes, at);
    SentRequest request;
    request.Function = static_cast<std::uint8_t>(bytes[at + 1]);
    request.Parameter = static_cast<std::uint8_t>(bytes[at + 2]) * 100 + static_cast<std::uint8_t>(bytes[at + 3]);
    if (request.Function == 0x46 && at + 6 <= bytes.size()) {
      request.Value = static_cast<std::int16_t>(static_cast<std::uint8_t>(bytes[at + 4]) << 8 |
                                                static_cast<std::uint8_t>(bytes[at + 5]));
    }
    requests.push_back(request);
    at += length;
  }
  return requests;
}

std::vector<SentRequest> RequestsOf(const std::string& bytes, std::uint8_t function) {
  std::vector<SentRequest> requests = SplitRequests(bytes);
  std::erase_if(requests, [function](const SentRequest& r) { return r.Function != function; });
  return requests;
}

}  // namespace quendrel
