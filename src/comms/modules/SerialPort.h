// An open serial device in raw, non-blocking mode, closed when the object goes.
#pragma once

#include <string>
#include <string_view>

#include "comms/modules/ByteLink.h"

namespace quendrel {

class SerialPort final : public ByteLink {
 public:
  struct Settings {
    int baudRate = 19200;  // bits per second, one of the ten rates the program offers
    int parity = 0;        // 0 none, 1 odd, 2 even
    int dataBits = 8;
    int stopBits = 0;  // 0 one, 1 one and a half, 2 two
  };

  SerialPort() = default;
  ~SerialPort() override;
  SerialPort(const SerialPort&) = delete;
  SerialPort& operator=(const SerialPort&) = delete;

  // Closes any open device first. False when the device is missing, busy or refuses the settings.
  bool Open(const std::string& path, const Settings& settings);
  void Close();
  bool IsOpen() const { return fd_ >= 0; }
  const std::string& Path() const { return path_; }

  bool Configure(const Settings& settings);

  // Sends every byte or fails within the timeout. RTS is raised until the last bit has left, which
  // turns a two-wire RS-485 adapter around; lines without modem control just send.
  bool Write(std::string_view bytes, double timeoutSeconds) override;
  Wait WaitReadable(double timeoutSeconds) override;
  bool ReadAvailable(std::string& into) override;
  bool DiscardInput() override;
  void DiscardOutput();

  // False on pseudo-terminals and adapters that have no modem lines.
  bool HasModemControl() const { return modemControl_; }

 private:
  void SetRts(bool raised);

  int fd_ = -1;
  std::string path_;
  bool modemControl_ = false;
};

}  // namespace quendrel
