// The simulated drive on its lines, without any I/O: bytes in, timed bytes and port events out.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "drivesim/DriveResponder.h"
#include "drivesim/FaultPlan.h"
#include "drivesim/FlashLoader.h"
#include "drivesim/MbapFramer.h"
#include "drivesim/RequestFramer.h"
#include "drivesim/SimFrame.h"
#include "drivesim/SimTime.h"

namespace quendrel {

// What the drive does with the bytes it receives on a serial-framed line.
enum class LineMode {
  Drive,   // Modbus frames to the running firmware
  Echo,    // every byte straight back, as a loader or a looped-back adapter would
  Record,  // bytes are only recorded (see TakeReceived)
  Loader,  // the flash loader: its own frames, synchronisation and echoed transfers
};

// How requests are framed on a channel: the serial layout (also RTU over TCP) or Modbus/TCP.
enum class Framing { Rtu, Mbap };

struct LineEvent {
  enum class Kind { Send, Close, Reopen };
  Kind kind = Kind::Send;
  SimTime due{};
  std::string bytes;
  int channel = 0;
};

class SimulatorCore {
 public:
  // The serial port; TCP connections get channels from OpenChannel.
  static constexpr int kSerialChannel = 0;

  SimulatorCore(ParameterTable table, std::uint8_t address);

  void SetAddress(std::uint8_t address);
  std::uint8_t Address() const { return address_; }
  void SetLegacy(bool legacy) { responder_.SetLegacy(legacy); }
  bool Legacy() const { return responder_.Legacy(); }
  // Emulates the serial line at this many bits per second (0: replies go out at once).
  void SetBaudRate(long baudRate);
  long BaudRate() const { return baudRate_; }
  void SetMode(LineMode mode);
  LineMode Mode() const { return mode_; }
  // A two-wire RS-485 adapter hands every byte sent straight back; this puts that echo on the
  // serial port ahead of whatever the drive does with the bytes.
  void SetLocalEcho(bool on) { localEcho_ = on; }
  bool LocalEcho() const { return localEcho_; }
  // With a password every new TCP connection must pass the challenge-response login first.
  void SetPassword(std::optional<std::string> password) { password_ = std::move(password); }
  FaultPlan& Faults() { return faults_; }
  DriveResponder& Responder() { return responder_; }
  FlashLoader& Loader() { return loader_; }
  ParameterTable& Table() { return responder_.Table(); }

  // A new TCP connection; queues its login challenge when a password is set.
  int OpenChannel(Framing framing, SimTime now);
  // Forgets a TCP connection and everything queued for it.
  void CloseChannel(int channel);

  void Receive(std::string_view bytes, SimTime now) { Receive(kSerialChannel, bytes, now); }
  void Receive(int channel, std::string_view bytes, SimTime now);
  // Lets silence settle bytes that wait for the end of a frame.
  void Advance(SimTime now);
  // Bytes to go out as they are, after everything already queued, on every serial-framed channel.
  void Inject(std::string bytes, SimTime now);
  // Forgets what the serial port had queued or half received, as a closed port does.
  void DiscardPending();

  // The earliest moment Advance or TakeDue has work.
  std::optional<SimTime> NextDeadline() const;
  // Events due by now, earliest first; each channel's events in the order they were queued.
  std::vector<LineEvent> TakeDue(SimTime now);

  // Well-formed requests addressed to this drive, in total and by function code.
  long RequestCount() const { return requests_; }
  long RequestCount(std::uint8_t function) const;
  const std::map<std::uint8_t, long>& RequestCounts() const { return byFunction_; }
  // Those of them sent to address 0, which every drive on a line executes.
  long BroadcastCount() const { return broadcasts_; }
  long LoginsAccepted() const { return loginsAccepted_; }
  long LoginsRefused() const { return loginsRefused_; }
  void ResetStats();
  // Every byte received on serial-framed channels since the last call (the newest 64 KiB at most).
  std::string TakeReceived();

 private:
  struct Channel {
    Channel(Framing kind, SimDuration silence) : framing(kind), rtu(silence) {}

    Framing framing;
    RequestFramer rtu;
    MbapFramer mbap;
    std::string challenge;  // while the login is awaited
    std::string answer;
    bool closing = false;
  };
  struct Served {
    std::string pdu;
    FaultActions actions;
    std::uint8_t address;
  };

  void Login(int channel, Channel& state, std::string_view& bytes, SimTime now);
  void ReceiveLoader(int channel, Channel& state, std::string_view bytes, SimTime now);
  void HandleFrame(int channel, const std::string& frame, SimTime now);
  void HandleAdu(int channel, const std::string& adu, SimTime now);
  std::optional<Served> Serve(int channel, const SimRequest& request, SimTime now);
  void QueueReply(int channel, std::string frame, const FaultActions& actions, std::size_t requestSize,
                  SimTime now);
  void Queue(int channel, LineEvent::Kind kind, SimTime due, std::string bytes = {});
  SimDuration EndOfFrameSilence() const;
  SimDuration FrameSilence() const;

  DriveResponder responder_;
  FlashLoader loader_;
  FaultPlan faults_;
  std::uint8_t address_;
  long baudRate_ = 0;
  LineMode mode_ = LineMode::Drive;
  bool localEcho_ = false;
  std::optional<std::string> password_;
  std::map<int, Channel> channels_;
  int nextChannel_ = kSerialChannel + 1;
  std::vector<LineEvent> queue_;
  long requests_ = 0;
  std::map<std::uint8_t, long> byFunction_;
  long broadcasts_ = 0;
  long loginsAccepted_ = 0;
  long loginsRefused_ = 0;
  std::string received_;
};

}  // namespace quendrel
