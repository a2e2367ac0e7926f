#include "comms/modules/EthernetModule.h"

#include <algorithm>

#include "comms/modules/EthernetLogin.h"
#include "comms/modules/ModbusTcpCodec.h"
#include "comms/modules/SerialFrameCodec.h"
#include "comms/server/CommSettings.h"
#include "comms/server/DrivePdu.h"
#include "comms/server/GIOError.h"
#include "comms/server/SettingsChecks.h"
#include "foundation/files/FileCipher.h"
#include "foundation/settings/Config.h"
#include "foundation/text/NumberText.h"
#include "foundation/text/TextChecks.h"
#include "platform/Clock.h"

namespace quendrel {

namespace {

constexpr const char* kSection = "Ethernet";
// After garbage on a serial-frame connection the stream must be quiet this long before the next
// request, so the rest of a broken reply cannot run into it.
constexpr double kQuietAfterGarbage = 0.01;
// Sending one frame never waits on a slow peer for less than this.
constexpr double kMinimumWriteTimeout = 1.0;

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

EthernetModule::EthernetModule(Clock& clock) : clock_(clock) {}

EthernetModule::~EthernetModule() = default;

void EthernetModule::Startup() { LoadSettings(); }

void EthernetModule::Shutdown() { CloseConnection(); }

double EthernetModule::ConfiguredTimeout() const { return CommSettings::Timeout(kSection, 2.0); }

void EthernetModule::CloseConnection() {
  socket_.Close();
  mbap_.Forget();
  rtu_.Forget();
  byteMode_ = false;
}

void EthernetModule::SetHost(const std::string& host) {
  host_ = host;
  CloseConnection();
}

void EthernetModule::SetPort(int port) {
  port_ = std::clamp(port, 0, 65535);
  CloseConnection();
}

void EthernetModule::SetProtocol(int protocol) {
  const int chosen = protocol == kRtuOverTcp ? kRtuOverTcp : kModbusTcp;
  if (chosen == protocol_) return;
  protocol_ = chosen;
  // The other protocol's stream cannot go on on this connection.
  CloseConnection();
}

void EthernetModule::SetEncrypted(bool encrypted) {
  if (encrypted == encrypted_) return;
  encrypted_ = encrypted;
  // The login belongs at the start of a connection.
  CloseConnection();
}

void EthernetModule::SetCryptKey(const std::string& password) {
  cryptKey_ = password;
  CloseConnection();
}

void EthernetModule::LoadSettings() {
  host_ = TrimmedText(CommSettings::CheckedText("Host", kSection, kDefaultHost, HostProblem));
  port_ = static_cast<int>(LeadingNumber(CommSettings::CheckedText("Port", kSection, "502", TcpPortProblem)));
  protocol_ = CommSettings::CheckedInteger("Protocol", kSection, kModbusTcp, ProtocolProblem);
  encrypted_ = CommSettings::Boolean("Authenticate", kSection, false);
  cryptKey_ = PasswordFromStore(CommSettings::Text("Password", kSection, ""));
  CloseConnection();
}

void EthernetModule::SaveSettings() const {
  INIFile& settings = Config();
  settings.SetValue("Host", kSection, host_);
  settings.SetValue("Port", kSection, std::to_string(port_));
  settings.SetValue("Protocol", kSection, std::to_string(protocol_));
  settings.SetValue("Authenticate", kSection, encrypted_);
  settings.SetValue("Password", kSection, StoredPassword(cryptKey_));
}

std::string EthernetModule::StoredPassword(std::string_view password) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string stored;
  for (const char c : DecryptString(password)) {
    const auto byte = static_cast<unsigned char>(c);
    stored.push_back(kDigits[byte >> 4]);
    stored.push_back(kDigits[byte & 0x0F]);
  }
  return stored;
}

std::string EthernetModule::PasswordFromStore(std::string_view stored) {
  if (stored.size() % 2 != 0 || (!stored.empty() && !IsHexText(stored))) return {};
  std::string enciphered;
  for (std::size_t i = 0; i < stored.size(); i += 2) {
    enciphered.push_back(static_cast<char>(HexDigit(stored[i]) * 16 + HexDigit(stored[i + 1])));
  }
  return DecryptString(enciphered);
}

int EthernetModule::Connect(double timeoutSeconds) {
  CloseConnection();
  if (!socket_.Connect(host_, port_, timeoutSeconds)) return gioConnectFailed;
  if (!encrypted_) return 0;
  const double deadline = clock_.MonotonicSeconds() + timeoutSeconds;
  switch (EthernetLogin::Run(socket_, clock_, cryptKey_, deadline)) {
    case EthernetLogin::Result::Accepted:
      return 0;
    case EthernetLogin::Result::Refused:
      CloseConnection();
      return gioAuthenticationFailed;
    case EthernetLogin::Result::LinkFailed:
      break;
  }
  const int detail = socket_.FailureDetail();
  CloseConnection();
  return detail;
}

bool EthernetModule::LinkIsAlive() {
  if (!socket_.IsOpen()) return false;
  // Modbus/TCP keeps what has arrived: a late reply is told apart by its transaction id, and
  // dropping half of one would put the stream out of step.
  const bool alive = protocol_ == kModbusTcp ? mbap_.Poll() : rtu_.Discard();
  if (!alive) CloseConnection();
  return alive;
}

udtDriveResponse EthernetModule::Failed(udtDriveResponse response, int code, int detail) {
  response.Error = true;
  response.intData = static_cast<std::int16_t>(code);
  response.extraData = detail;
  // The connection is gone or broken; the next exchange opens a new one, so a reconnect ping
  // succeeds as soon as the interface is back. A peer that let a request time out may have stopped
  // reading this connection altogether (a gateway that rebooted behind it, a server that could not
  // parse the request), and would time out every later exchange on it too.
  if (code == gioSlaveNotResponding || code == gioTimeout) CloseConnection();
  return response;
}

udtDriveResponse EthernetModule::LinkFailed(udtDriveResponse response) {
  const int detail = socket_.FailureDetail();
  return Failed(std::move(response), gioSlaveNotResponding, detail != 0 ? detail : gioReceiveFailed);
}

udtDriveResponse EthernetModule::Exchange(const DriveRequest& request, double timeoutSeconds, bool singleSend) {
  const auto pdu = DrivePdu::Encode(request);
  if (!pdu) return SerialFrameCodec::Unsent(request, gioRequestTooLong);
  byteMode_ = false;
  const int sends = (singleSend || timeoutSeconds <= 0) ? 1 : 1 + CommSettings::Retries(kSection);
  udtDriveResponse response;
  for (int send = 1; send <= sends; ++send) {
    response = SendAndRead(request, *pdu, timeoutSeconds);
    if (!(response.Error && response.intData == gioTimeout)) break;
  }
  return response;
}

udtDriveResponse EthernetModule::SendAndRead(const DriveRequest& request, const std::string& pdu,
                                             double timeoutSeconds) {
  // The serial form, so a raw listing reads the same on every transport.
  udtDriveResponse response = SerialFrameCodec::Unsent(request, 0);
  response.Error = false;
  if (!LinkIsAlive()) {
    const double connectTimeout = timeoutSeconds > 0 ? timeoutSeconds : ConfiguredTimeout();
    const int detail = Connect(connectTimeout);
    if (detail != 0) return Failed(response, gioSlaveNotResponding, detail);
  }
  if (protocol_ == kModbusTcp) return SendModbusTcp(request, pdu, std::move(response), timeoutSeconds);
  const std::string frame = response.rawreq;
  return SendRtu(request, frame, std::move(response), timeoutSeconds);
}

udtDriveResponse EthernetModule::SendModbusTcp(const DriveRequest& request, const std::string& pdu,
                                               udtDriveResponse response, double timeoutSeconds) {
  const std::uint16_t transaction = ++transaction_;
  const std::string adu = ModbusTcpCodec::Adu(transaction, request.address, pdu);
  if (!socket_.Write(adu, std::max(timeoutSeconds, kMinimumWriteTimeout))) return LinkFailed(response);
  if (timeoutSeconds <= 0) return response;
  const double deadline = clock_.MonotonicSeconds() + timeoutSeconds;
  switch (mbap_.ReadReply(request, transaction, response, deadline)) {
    case ModbusTcpChannel::Outcome::Data:
      return response;
    case ModbusTcpChannel::Outcome::Invalid:
      return Failed(response, gioInvalidPacket, 0);
    case ModbusTcpChannel::Outcome::OutOfStep:
      CloseConnection();
      return Failed(response, gioInvalidPacket, 0);
    case ModbusTcpChannel::Outcome::TimedOut:
      return Failed(response, gioTimeout, 0);
    case ModbusTcpChannel::Outcome::LinkFailed:
      break;
  }
  return LinkFailed(response);
}

udtDriveResponse EthernetModule::SendRtu(const DriveRequest& request, const std::string& frame,
                                         udtDriveResponse response, double timeoutSeconds) {
  if (!socket_.Write(frame, std::max(timeoutSeconds, kMinimumWriteTimeout))) return LinkFailed(response);
  rtu_.NoteActivity();
  if (timeoutSeconds <= 0) return response;
  const double deadline = clock_.MonotonicSeconds() + timeoutSeconds;
  switch (rtu_.ReadReply(request, response, kQuietAfterGarbage, deadline)) {
    case RtuChannel::Outcome::Data:
      return response;
    case RtuChannel::Outcome::Invalid:
      return Failed(response, gioInvalidPacket, 0);
    case RtuChannel::Outcome::TimedOut:
      return Failed(response, gioTimeout, 0);
    case RtuChannel::Outcome::LinkFailed:
      break;
  }
  return LinkFailed(response);
}

bool EthernetModule::EnterByteMode(bool connect) {
  if (protocol_ != kRtuOverTcp) return false;
  if (!socket_.IsOpen() && (!connect || Connect(ConfiguredTimeout()) != 0)) return false;
  if (byteMode_) return true;
  byteMode_ = true;
  if (rtu_.Discard()) return true;
  CloseConnection();
  return false;
}

void EthernetModule::DropOnLinkFailure(RtuChannel::Outcome outcome) {
  if (outcome == RtuChannel::Outcome::LinkFailed) CloseConnection();
}

bool EthernetModule::WriteByte(std::uint8_t byte, bool waitForEcho) {
  if (!EnterByteMode(true)) return false;
  const double timeout = ConfiguredTimeout();
  if (!socket_.Write(std::string(1, static_cast<char>(byte)), std::max(timeout, kMinimumWriteTimeout))) {
    CloseConnection();
    return false;
  }
  if (!waitForEcho) return true;
  std::uint8_t echoed = 0;
  const RtuChannel::Outcome outcome = rtu_.TakeByte(echoed, clock_.MonotonicSeconds() + timeout);
  DropOnLinkFailure(outcome);
  return outcome == RtuChannel::Outcome::Data && echoed == byte;
}

bool EthernetModule::TakeByte(std::uint8_t& byte, double timeoutSeconds) {
  // Without a connection no byte can be waiting, and taking one never blocks on a connect.
  if (!EnterByteMode(false)) return false;
  const double deadline = clock_.MonotonicSeconds() + std::max(0.0, timeoutSeconds);
  const RtuChannel::Outcome outcome = rtu_.TakeByte(byte, deadline);
  DropOnLinkFailure(outcome);
  return outcome == RtuChannel::Outcome::Data;
}

}  // namespace quendrel
