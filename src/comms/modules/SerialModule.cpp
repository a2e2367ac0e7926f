#include "comms/modules/SerialModule.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <utility>

#include "comms/modules/SerialFrameCodec.h"
#include "comms/server/CommSettings.h"
#include "comms/server/DrivePdu.h"
#include "comms/server/GIOError.h"
#include "comms/server/SettingsChecks.h"
#include "foundation/settings/Config.h"
#include "foundation/text/BaudRate.h"
#include "platform/Clock.h"

namespace quendrel {

namespace {

constexpr const char* kSection = "Serial Port";
// Modbus RTU delimits frames by this much silence; a request sent sooner would run into the reply
// before it on a drive that listens for the gap.
constexpr double kFrameGapCharacters = 3.5;
// After garbage the line must be quiet this long at least before the next request, so the rest of a
// broken reply cannot run into it, whatever the baud rate.
constexpr double kMinimumQuiet = 0.01;

std::vector<std::string> SplitPaths(const std::string& text) {
  std::vector<std::string> paths;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t end = std::min(text.find(';', start), text.size());
    std::string path = text.substr(start, end - start);
    path.erase(0, path.find_first_not_of(" \t"));
    path.erase(path.find_last_not_of(" \t") + 1);
    if (!path.empty()) paths.push_back(path);
    start = end + 1;
  }
  return paths;
}

// ttyS2 before ttyS10, as the ports are numbered.
bool NaturalLess(const std::string& a, const std::string& b) {
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < a.size() && j < b.size()) {
    const bool digitA = std::isdigit(static_cast<unsigned char>(a[i])) != 0;
    const bool digitB = std::isdigit(static_cast<unsigned char>(b[j])) != 0;
    if (digitA && digitB) {
      std::size_t endA = i;
      std::size_t endB = j;
      while (endA < a.size() && std::isdigit(static_cast<unsigned char>(a[endA]))) ++endA;
      while (endB < b.size() && std::isdigit(static_cast<unsigned char>(b[endB]))) ++endB;
      const unsigned long numberA = std::stoul(a.substr(i, endA - i));
      const unsigned long numberB = std::stoul(b.substr(j, endB - j));
      if (numberA != numberB) return numberA < numberB;
      i = endA;
      j = endB;
      continue;
    }
    if (a[i] != b[j]) return a[i] < b[j];
    ++i;
    ++j;
  }
  return a.size() - i < b.size() - j;
}

}  // namespace

SerialModule::SerialModule(Clock& clock, std::string deviceFolder)
    : clock_(clock), deviceFolder_(std::move(deviceFolder)) {}

SerialModule::~SerialModule() = default;

void SerialModule::Startup() { LoadSettings(); }

void SerialModule::Shutdown() {
  port_.Close();
  channel_.Forget();
}

double SerialModule::ConfiguredTimeout() const { return CommSettings::Timeout(kSection, 1.0); }

void SerialModule::LoadSettings() {
  baudRate_ = BaudRateIndex(CommSettings::Text("BaudRate", kSection, "19200"));
  comPort_ = CommSettings::CheckedInteger("ComPort", kSection, 0, ComPortProblem);
  parity_ = CommSettings::CheckedInteger("Parity", kSection, 0, ParityProblem);
  dataBits_ = CommSettings::CheckedInteger("DataBits", kSection, 8, DataBitsProblem);
  stopBits_ = CommSettings::CheckedInteger("StopBits", kSection, 0, StopBitsProblem);
  const std::string previous = devicePath_;
  ResolveDevice();
  if (devicePath_ != previous) Shutdown();
  ApplySettings();
}

void SerialModule::SaveSettings() const {
  INIFile& settings = Config();
  settings.SetValue("ComPort", kSection, std::to_string(comPort_));
  settings.SetValue("BaudRate", kSection, std::to_string(BaudRateFromIndex(baudRate_)));
  settings.SetValue("Parity", kSection, std::to_string(parity_));
  settings.SetValue("DataBits", kSection, std::to_string(dataBits_));
  settings.SetValue("StopBits", kSection, std::to_string(stopBits_));
}

void SerialModule::SetBaudRate(int code) {
  baudRate_ = std::clamp(code, 0, 9);
  ApplySettings();
}

void SerialModule::SetComPort(int index) {
  comPort_ = index;
  const std::string previous = devicePath_;
  ResolveDevice();
  // Another device: the next exchange opens it.
  if (devicePath_ != previous) Shutdown();
}

void SerialModule::ResolveDevice() {
  const std::vector<std::string> names = PortNames();
  const bool named = comPort_ >= 0 && static_cast<std::size_t>(comPort_) < names.size();
  devicePath_ = named ? names[static_cast<std::size_t>(comPort_)] : std::string();
}

void SerialModule::SetParity(int code) {
  parity_ = std::clamp(code, 0, 2);
  ApplySettings();
}

void SerialModule::Reset() {
  Shutdown();
  EnsureOpen();
}

void SerialModule::ClearBuffers() {
  channel_.Forget();
  if (!port_.IsOpen()) return;
  port_.DiscardInput();
  port_.DiscardOutput();
}

std::vector<std::string> SerialModule::PortNames() const {
  std::vector<std::string> configured = SplitPaths(CommSettings::Text("PortNames", kSection, ""));
  return configured.empty() ? PresentSerialDevices(deviceFolder_) : configured;
}

std::vector<std::string> SerialModule::PresentSerialDevices(const std::string& folder) {
  std::vector<std::string> devices;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    const std::string name = entry.path().filename().string();
    const bool serial =
        name.rfind("ttyS", 0) == 0 || name.rfind("ttyUSB", 0) == 0 || name.rfind("ttyACM", 0) == 0;
    if (serial) devices.push_back(entry.path().string());
  }
  std::sort(devices.begin(), devices.end(), NaturalLess);
  return devices;
}

SerialPort::Settings SerialModule::PortSettings() const {
  SerialPort::Settings settings;
  settings.baudRate = BaudRateFromIndex(baudRate_);
  settings.parity = parity_;
  settings.dataBits = dataBits_;
  settings.stopBits = stopBits_;
  return settings;
}

double SerialModule::CharacterTime() const {
  const double stopBits = stopBits_ == 0 ? 1.0 : (stopBits_ == 1 ? 1.5 : 2.0);
  const double bits = 1.0 + dataBits_ + (parity_ != 0 ? 1.0 : 0.0) + stopBits;
  return bits / static_cast<double>(BaudRateFromIndex(baudRate_));
}

void SerialModule::ApplySettings() {
  if (port_.IsOpen() && !port_.Configure(PortSettings())) Shutdown();
}

bool SerialModule::EnsureOpen() {
  if (port_.IsOpen()) return true;
  channel_.Forget();
  byteMode_ = false;
  // An adapter plugged in after the port was configured is found at the next open. Once ComPort names
  // a device, only that device: after an unplug the list shifts, and the same index would name
  // another adapter with another machine's drive behind it.
  if (devicePath_.empty()) ResolveDevice();
  return !devicePath_.empty() && port_.Open(devicePath_, PortSettings());
}

double SerialModule::QuietTime() const {
  return std::max(kMinimumQuiet, kFrameGapCharacters * CharacterTime());
}

bool SerialModule::WaitForSilence(double limit) {
  // A pseudo-terminal hands over whole writes at once and has no line whose silence a receiver could
  // listen for, so the gap would only cost time there.
  if (!port_.HasModemControl()) return true;
  const double gap = kFrameGapCharacters * CharacterTime();
  while (true) {
    const double now = clock_.MonotonicSeconds();
    const double quietAt = channel_.LastActivity() + gap;
    if (now >= quietAt || now >= limit) return true;
    switch (port_.WaitReadable(std::min(quietAt, limit) - now)) {
      case ByteLink::Wait::Failed:
        return false;
      case ByteLink::Wait::TimedOut:
        break;
      case ByteLink::Wait::Readable:
        // A stray byte restarts the silence and is no reply to what we are about to send.
        if (!channel_.Discard()) return false;
        channel_.NoteActivity();
        break;
    }
  }
}

udtDriveResponse SerialModule::Failed(udtDriveResponse response, int code, int detail) {
  response.Error = true;
  response.intData = static_cast<std::int16_t>(code);
  response.extraData = detail;
  if (code == gioSlaveNotResponding) {
    // The port is gone or broken; the next exchange opens it afresh, so a reconnect ping succeeds as
    // soon as the adapter is back.
    Shutdown();
  }
  return response;
}

udtDriveResponse SerialModule::Exchange(const DriveRequest& request, double timeoutSeconds, bool singleSend) {
  const auto frame = SerialFrameCodec::RequestFrame(request);
  if (!frame) return SerialFrameCodec::Unsent(request, gioRequestTooLong);
  byteMode_ = false;
  if (!EnsureOpen()) {
    return Failed(SerialFrameCodec::Unsent(request, 0), gioSlaveNotResponding, gioPortOpenFailed);
  }
  const bool localEcho = CommSettings::Boolean("LocalEcho", kSection, false);
  const int sends = (singleSend || timeoutSeconds <= 0) ? 1 : 1 + CommSettings::Retries(kSection);
  udtDriveResponse response;
  for (int send = 1; send <= sends; ++send) {
    response = SendAndRead(request, *frame, timeoutSeconds, localEcho);
    if (!(response.Error && response.intData == gioTimeout)) break;
  }
  return response;
}

udtDriveResponse SerialModule::SendAndRead(const DriveRequest& request, const std::string& frame,
                                           double timeoutSeconds, bool localEcho) {
  udtDriveResponse response = SerialFrameCodec::Unsent(request, 0);
  response.Error = false;
  if (!channel_.Discard()) return Failed(response, gioSlaveNotResponding, gioReceiveFailed);
  const double writeTimeout = std::max(timeoutSeconds, 1.0);
  if (!WaitForSilence(clock_.MonotonicSeconds() + writeTimeout)) {
    return Failed(response, gioSlaveNotResponding, gioReceiveFailed);
  }
  if (!port_.Write(frame, writeTimeout)) return Failed(response, gioSlaveNotResponding, gioSendFailed);
  channel_.NoteActivity();
  if (timeoutSeconds <= 0) return response;
  const double deadline = channel_.LastActivity() + timeoutSeconds;
  RtuChannel::Outcome outcome = RtuChannel::Outcome::Data;
  if (localEcho) outcome = channel_.DropBytes(frame.size(), deadline);
  if (outcome == RtuChannel::Outcome::Data)
    outcome = channel_.ReadReply(request, response, QuietTime(), deadline);
  switch (outcome) {
    case RtuChannel::Outcome::Data:
      return response;
    case RtuChannel::Outcome::Invalid:
      return Failed(response, gioInvalidPacket, 0);
    case RtuChannel::Outcome::TimedOut:
      return Failed(response, gioTimeout, 0);
    case RtuChannel::Outcome::LinkFailed:
      break;
  }
  return Failed(response, gioSlaveNotResponding, gioReceiveFailed);
}

bool SerialModule::EnterByteMode() {
  if (!EnsureOpen()) return false;
  if (byteMode_) return true;
  byteMode_ = true;
  if (channel_.Discard()) return true;
  Shutdown();
  return false;
}

bool SerialModule::WriteByte(std::uint8_t byte, bool waitForEcho) {
  if (!EnterByteMode()) return false;
  const double timeout = ConfiguredTimeout();
  if (!port_.Write(std::string(1, static_cast<char>(byte)), std::max(timeout, 1.0))) {
    Shutdown();
    return false;
  }
  channel_.NoteActivity();
  const double deadline = channel_.LastActivity() + timeout;
  if (CommSettings::Boolean("LocalEcho", kSection, false)) {
    const RtuChannel::Outcome dropped = channel_.DropBytes(1, deadline);
    if (dropped == RtuChannel::Outcome::LinkFailed) Shutdown();
    if (dropped != RtuChannel::Outcome::Data) return false;
  }
  if (!waitForEcho) return true;
  std::uint8_t echoed = 0;
  const RtuChannel::Outcome outcome = channel_.TakeByte(echoed, deadline);
  if (outcome == RtuChannel::Outcome::LinkFailed) Shutdown();
  return outcome == RtuChannel::Outcome::Data && echoed == byte;
}

bool SerialModule::TakeByte(std::uint8_t& byte, double timeoutSeconds) {
  if (!EnterByteMode()) return false;
  const double deadline = clock_.MonotonicSeconds() + std::max(0.0, timeoutSeconds);
  const RtuChannel::Outcome outcome = channel_.TakeByte(byte, deadline);
  if (outcome == RtuChannel::Outcome::LinkFailed) Shutdown();
  return outcome == RtuChannel::Outcome::Data;
}

}  // namespace quendrel
