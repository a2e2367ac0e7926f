// The simulated drive on its line, without any I/O: bytes in, timed bytes and port events out.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "drivesim/DriveResponder.h"
#include "drivesim/FaultPlan.h"
#include "drivesim/RequestFramer.h"
#include "drivesim/SimTime.h"

namespace quendrel {

// What the drive does with the bytes it receives. The flash loader will be one more mode.
enum class LineMode {
  Drive,   // Modbus frames to the running firmware
  Echo,    // every byte straight back, as a loader or a looped-back adapter would
  Record,  // bytes are only recorded (see TakeReceived)
};

struct LineEvent {
  enum class Kind { Send, Close, Reopen };
  Kind kind = Kind::Send;
  SimTime due{};
  std::string bytes;
};

class SimulatorCore {
 public:
  SimulatorCore(ParameterTable table, std::uint8_t address);

  void SetAddress(std::uint8_t address);
  std::uint8_t Address() const { return address_; }
  void SetLegacy(bool legacy) { responder_.SetLegacy(legacy); }
  bool Legacy() const { return responder_.Legacy(); }
  // Emulates a line at this many bits per second (0: replies go out at once).
  void SetBaudRate(long baudRate);
  long BaudRate() const { return baudRate_; }
  void SetMode(LineMode mode);
  LineMode Mode() const { return mode_; }
  FaultPlan& Faults() { return faults_; }
  DriveResponder& Responder() { return responder_; }
  ParameterTable& Table() { return responder_.Table(); }

  void Receive(std::string_view bytes, SimTime now);
  // Lets silence settle bytes that wait for the end of a frame.
  void Advance(SimTime now);
  // Bytes to go out on the line as they are, after everything already queued.
  void Inject(std::string bytes, SimTime now);
  // Forgets queued bytes and half-received frames, as a closed port does.
  void DiscardPending();

  // The earliest moment Advance or TakeDue has work.
  std::optional<SimTime> NextDeadline() const;
  std::vector<LineEvent> TakeDue(SimTime now);

  // Well-formed requests addressed to this drive, in total and by function code.
  long RequestCount() const { return requests_; }
  long RequestCount(std::uint8_t function) const;
  const std::map<std::uint8_t, long>& RequestCounts() const { return byFunction_; }
  void ResetStats();
  // Every byte received since the last call (the newest 64 KiB at most).
  std::string TakeReceived();

 private:
  void HandleFrame(const std::string& frame, SimTime now);
  void QueueReply(std::string frame, const FaultActions& actions, std::size_t requestSize, SimTime now);
  void Queue(LineEvent::Kind kind, SimTime due, std::string bytes = {});
  SimDuration EndOfFrameSilence() const;
  SimDuration FrameSilence() const;

  DriveResponder responder_;
  FaultPlan faults_;
  RequestFramer framer_;
  std::uint8_t address_;
  long baudRate_ = 0;
  LineMode mode_ = LineMode::Drive;
  std::deque<LineEvent> queue_;
  long requests_ = 0;
  std::map<std::uint8_t, long> byFunction_;
  std::string received_;
};

}  // namespace quendrel
