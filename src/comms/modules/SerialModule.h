// The serial transport: Modbus RTU frames to drives on a serial line, and the raw byte channel
// the flash loader is fed through.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "comms/modules/GIOModule.h"
#include "comms/modules/RtuChannel.h"
#include "comms/modules/SerialPort.h"

namespace quendrel {

class Clock;

class SerialModule final : public GIOModule {
 public:
  // deviceFolder is where the serial devices are looked for when PortNames lists none.
  explicit SerialModule(Clock& clock, std::string deviceFolder = "/dev");
  ~SerialModule() override;

  std::string Name() const override { return "Serial"; }
  // Takes the port settings from [Serial Port]; the port opens at the first exchange.
  void Startup() override;
  void Shutdown() override;
  // [Serial Port] Timeout, read at each call.
  double ConfiguredTimeout() const override;
  udtDriveResponse Exchange(const DriveRequest& request, double timeoutSeconds, bool singleSend) override;
  bool HasByteChannel() const override { return true; }
  bool WriteByte(std::uint8_t byte, bool waitForEcho) override;
  bool TakeByte(std::uint8_t& byte, double timeoutSeconds) override;

  // The baud-rate code 0..9 (110 to 115200 bits per second).
  int BaudRate() const { return baudRate_; }
  void SetBaudRate(int code);
  // Index into PortNames(); 0 is what Windows called COM1. Setting it (like loading the settings)
  // fixes the device it names now: that device alone is reopened, even when adapters come and go
  // and the list shifts. While it names none, each open looks again, so an adapter plugged in
  // after start-up is used from then on.
  int ComPort() const { return comPort_; }
  void SetComPort(int index);
  // 0 none, 1 odd, 2 even.
  int Parity() const { return parity_; }
  void SetParity(int code);
  // 0 one, 1 one and a half, 2 two.
  int StopBits() const { return stopBits_; }
  std::string DataBits() const { return std::to_string(dataBits_); }
  // Closes and reopens the port with the current settings.
  void Reset();
  // Discards the port's pending input and output.
  void ClearBuffers();

  // Reads and writes the port settings of [Serial Port].
  void LoadSettings();
  void SaveSettings() const;

  // [Serial Port] PortNames split at ";", or else the serial devices present, sorted.
  std::vector<std::string> PortNames() const;
  static std::vector<std::string> PresentSerialDevices(const std::string& folder = "/dev");
  // The device ComPort named when the port was configured, or at the first open that found one;
  // "" while it names none.
  const std::string& DevicePath() const { return devicePath_; }
  bool IsOpen() const { return port_.IsOpen(); }

 private:
  SerialPort::Settings PortSettings() const;
  double CharacterTime() const;
  // How long the line must stay quiet after garbage before the next request.
  double QuietTime() const;
  // Fixes the device ComPort names among those present now.
  void ResolveDevice();
  bool EnsureOpen();
  void ApplySettings();
  bool WaitForSilence(double limit);
  bool EnterByteMode();
  udtDriveResponse SendAndRead(const DriveRequest& request, const std::string& frame, double timeoutSeconds,
                               bool localEcho);
  udtDriveResponse Failed(udtDriveResponse response, int code, int detail);

  Clock& clock_;
  std::string deviceFolder_;
  std::string devicePath_;
  SerialPort port_;
  RtuChannel channel_{port_, clock_};
  int baudRate_ = 6;
  int comPort_ = 0;
  int parity_ = 0;
  int dataBits_ = 8;
  int stopBits_ = 0;
  // Byte operations keep what arrives between them; the first one after a frame starts clean.
  bool byteMode_ = false;
};

}  // namespace quendrel
