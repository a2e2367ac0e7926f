// The Ethernet transport: drive requests over TCP to a drive's Ethernet interface, as Modbus/TCP or
// as serial frames carried unchanged (which also carry the flash loader's raw bytes), with the
// interface's optional password login.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "comms/modules/GIOModule.h"
#include "comms/modules/ModbusTcpChannel.h"
#include "comms/modules/RtuChannel.h"
#include "comms/modules/TcpConnection.h"

namespace quendrel {

class Clock;

class EthernetModule final : public GIOModule {
 public:
  static constexpr int kModbusTcp = 0;
  static constexpr int kRtuOverTcp = 1;
  // The drive's address as it leaves the factory.
  static constexpr const char* kDefaultHost = "192.168.1.100";

  explicit EthernetModule(Clock& clock);
  ~EthernetModule() override;

  std::string Name() const override { return "Ethernet"; }
  // Takes the settings of [Ethernet]; the connection opens at the first exchange.
  void Startup() override;
  void Shutdown() override;
  // [Ethernet] Timeout, read at each call.
  double ConfiguredTimeout() const override;
  udtDriveResponse Exchange(const DriveRequest& request, double timeoutSeconds, bool singleSend) override;
  // Only serial frames over TCP have a byte channel; on Modbus/TCP these fail and take nothing.
  bool HasByteChannel() const override { return protocol_ == kRtuOverTcp; }
  bool WriteByte(std::uint8_t byte, bool waitForEcho) override;
  bool TakeByte(std::uint8_t& byte, double timeoutSeconds) override;

  // Writing the host, port or password closes an open connection; the next exchange opens the new one.
  const std::string& Host() const { return host_; }
  void SetHost(const std::string& host);
  int Port() const { return port_; }
  void SetPort(int port);
  // kModbusTcp or kRtuOverTcp.
  int Protocol() const { return protocol_; }
  void SetProtocol(int protocol);
  // Log in with CryptKey after connecting.
  bool Encrypted() const { return encrypted_; }
  void SetEncrypted(bool encrypted);
  const std::string& CryptKey() const { return cryptKey_; }
  void SetCryptKey(const std::string& password);

  // Reads and writes Host, Port, Protocol, Authenticate and Password of [Ethernet].
  void LoadSettings();
  void SaveSettings() const;
  bool IsConnected() const { return socket_.IsOpen(); }
  // Host names are looked up through this resolver from the next connection on.
  void SetResolver(HostLookup::Resolver resolver) { socket_.SetResolver(std::move(resolver)); }
  void CloseConnection();

  // The password as it is stored: enciphered with the file cipher, then upper-case hexadecimal.
  static std::string StoredPassword(std::string_view password);
  // Undoes StoredPassword; a text that is no hexadecimal byte string gives the empty password.
  static std::string PasswordFromStore(std::string_view stored);

 private:
  // 0 when connected (and logged in), else the detail code of the failure.
  int Connect(double timeoutSeconds);
  // Before a frame: finds out whether the host closed an idle connection meanwhile.
  bool LinkIsAlive();
  udtDriveResponse SendAndRead(const DriveRequest& request, const std::string& pdu, double timeoutSeconds);
  udtDriveResponse SendModbusTcp(const DriveRequest& request, const std::string& pdu,
                                 udtDriveResponse response, double timeoutSeconds);
  udtDriveResponse SendRtu(const DriveRequest& request, const std::string& frame, udtDriveResponse response,
                           double timeoutSeconds);
  udtDriveResponse Failed(udtDriveResponse response, int code, int detail);
  udtDriveResponse LinkFailed(udtDriveResponse response);
  // Without connect, an absent connection fails at once.
  bool EnterByteMode(bool connect);
  void DropOnLinkFailure(RtuChannel::Outcome outcome);

  Clock& clock_;
  TcpConnection socket_;
  ModbusTcpChannel mbap_{socket_, clock_};
  RtuChannel rtu_{socket_, clock_};
  std::string host_ = kDefaultHost;
  int port_ = 502;
  int protocol_ = kModbusTcp;
  bool encrypted_ = false;
  std::string cryptKey_;
  std::uint16_t transaction_ = 0;
  // Byte operations keep what arrives between them; the first one after a frame starts clean.
  bool byteMode_ = false;
};

}  // namespace quendrel
