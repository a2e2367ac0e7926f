#include "flash/support/LoaderModule.h"

#include "comms/server/GIOError.h"

namespace quendrel {

namespace {

constexpr std::uint8_t kCarriageReturn = 13;
constexpr std::uint8_t kAcknowledgement = 0x06;

}  // namespace

udtDriveResponse LoaderModule::Exchange(const DriveRequest&, double, bool) {
  udtDriveResponse response;
  response.Error = true;
  response.intData = gioTimeout;
  return response;
}

bool LoaderModule::WriteByte(std::uint8_t byte, bool waitForEcho) {
  written.push_back(static_cast<char>(byte));
  if (!waitForEcho) {
    if (byte == kCarriageReturn && ++carriageReturns > carriageReturnsSwallowed && syncAnswer) {
      incoming_.push_back(*syncAnswer);
    }
    return true;
  }
  const auto index = static_cast<long>(echoTested.size());
  echoTested.push_back(static_cast<char>(byte));
  return index != failEchoAt;
}

bool LoaderModule::TakeByte(std::uint8_t& byte, double timeoutSeconds) {
  if (timeoutSeconds > 0) {
    waits.push_back(timeoutSeconds);
    if (acknowledge) byte = kAcknowledgement;
    return acknowledge;
  }
  if (incoming_.empty()) return false;
  byte = incoming_.front();
  incoming_.pop_front();
  return true;
}

std::vector<int> LittleEndianWords(const std::string& bytes) {
  std::vector<int> words;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    words.push_back(static_cast<std::uint8_t>(bytes[i]) | static_cast<std::uint8_t>(bytes[i + 1]) << 8);
  }
  return words;
}

}  // namespace quendrel
