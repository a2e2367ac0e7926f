#include "drivesim/SimulatorCore.h"

#include <algorithm>

#include "drivesim/SimFrame.h"

namespace quendrel {

namespace {

constexpr int kSerialAddressParameter = 1123;  // M11P23: writing it re-addresses the drive
constexpr std::size_t kReceivedLimit = 64 * 1024;
constexpr std::uint8_t kBroadcast = 0;
// Without baud emulation a pseudo-terminal delivers a frame in one burst; this only has to
// outlast the gaps inside a burst that was split by the kernel.
constexpr SimDuration kUnemulatedSilence = std::chrono::milliseconds(5);

bool ValidAddress(int address) { return address >= 1 && address <= 247; }

}  // namespace

SimulatorCore::SimulatorCore(ParameterTable table, std::uint8_t address)
    : responder_(std::move(table)), framer_(kUnemulatedSilence), address_(address) {
  SetAddress(address);
}

void SimulatorCore::SetAddress(std::uint8_t address) {
  address_ = address;
  if (SimParameter* parameter = Table().Find(kSerialAddressParameter)) parameter->value = address;
}

void SimulatorCore::SetBaudRate(long baudRate) {
  baudRate_ = std::max(0L, baudRate);
  framer_.SetSilence(FrameSilence());
}

void SimulatorCore::SetMode(LineMode mode) {
  mode_ = mode;
  framer_.Clear();
}

// A Modbus line is quiet for 3.5 characters between frames.
SimDuration SimulatorCore::EndOfFrameSilence() const {
  return baudRate_ == 0 ? SimDuration::zero() : SimDuration(35'000'000LL / baudRate_);
}

// Framing waits a little longer than the line's own silence: a scheduler hiccup on our side
// must not cut a frame in two.
SimDuration SimulatorCore::FrameSilence() const {
  if (baudRate_ == 0) return kUnemulatedSilence;
  return std::max(EndOfFrameSilence(), SimDuration(std::chrono::milliseconds(2)));
}

void SimulatorCore::Receive(std::string_view bytes, SimTime now) {
  received_.append(bytes);
  if (received_.size() > kReceivedLimit) received_.erase(0, received_.size() - kReceivedLimit);
  switch (mode_) {
    case LineMode::Drive:
      framer_.Append(bytes, now);
      Advance(now);
      break;
    case LineMode::Echo:
      Queue(LineEvent::Kind::Send, now + WireTime(bytes.size(), baudRate_), std::string(bytes));
      break;
    case LineMode::Record:
      break;
  }
}

void SimulatorCore::Advance(SimTime now) {
  while (auto frame = framer_.Next(now)) HandleFrame(*frame, now);
}

void SimulatorCore::Inject(std::string bytes, SimTime now) {
  const SimDuration wire = WireTime(bytes.size(), baudRate_);
  Queue(LineEvent::Kind::Send, now + wire, std::move(bytes));
}

void SimulatorCore::DiscardPending() {
  // A reopen planned by a close fault must survive the close itself.
  std::erase_if(queue_, [](const LineEvent& event) { return event.kind != LineEvent::Kind::Reopen; });
  framer_.Clear();
}

std::optional<SimTime> SimulatorCore::NextDeadline() const {
  std::optional<SimTime> deadline = framer_.Deadline();
  if (!queue_.empty() && (!deadline || queue_.front().due < *deadline)) deadline = queue_.front().due;
  return deadline;
}

std::vector<LineEvent> SimulatorCore::TakeDue(SimTime now) {
  std::vector<LineEvent> due;
  while (!queue_.empty() && queue_.front().due <= now) {
    due.push_back(std::move(queue_.front()));
    queue_.pop_front();
  }
  return due;
}

long SimulatorCore::RequestCount(std::uint8_t function) const {
  const auto it = byFunction_.find(function);
  return it == byFunction_.end() ? 0 : it->second;
}

void SimulatorCore::ResetStats() {
  requests_ = 0;
  byFunction_.clear();
}

std::string SimulatorCore::TakeReceived() {
  std::string bytes;
  bytes.swap(received_);
  return bytes;
}

void SimulatorCore::HandleFrame(const std::string& frame, SimTime now) {
  const auto request = SimFrame::Unwrap(frame);
  if (!request || (request->address != address_ && request->address != kBroadcast)) return;
  ++requests_;
  ++byFunction_[request->function];

  const FaultActions actions = faults_.Decide();
  if (actions.closePort) {
    Queue(LineEvent::Kind::Close, now);
    if (actions.reopenAfterMs > 0) {
      Queue(LineEvent::Kind::Reopen, now + std::chrono::milliseconds(actions.reopenAfterMs));
    }
  }
  if (!actions.serve) return;

  const auto outcome = responder_.Respond(request->function, request->data);
  const std::uint8_t replyAddress = address_;
  if (outcome.written == kSerialAddressParameter) {
    // The reply still leaves from the old address; the next request must use the new one.
    const int newAddress = Table().Find(kSerialAddressParameter)->value;
    if (ValidAddress(newAddress)) address_ = static_cast<std::uint8_t>(newAddress);
  }
  // Like any Modbus slave the drive executes a broadcast but never answers it.
  if (!outcome.pdu || !actions.answer || request->address == kBroadcast) return;

  const int from = actions.fromAddress == -1 ? replyAddress
                   : actions.fromAddress == -2 ? (replyAddress + 1) & 0xFF
                                               : actions.fromAddress;
  std::string reply = SimFrame::Wrap(static_cast<std::uint8_t>(from), *outcome.pdu);
  if (actions.corruptCrc) reply.back() = static_cast<char>(reply.back() ^ 0x5A);
  QueueReply(std::move(reply), actions, request->FrameSize(), now);
}

// With baud emulation the reply is complete when it would be on a real line: after the
// request's own wire time, the 3.5-character silence that ends it, and the reply's wire time.
void SimulatorCore::QueueReply(std::string frame, const FaultActions& actions, std::size_t requestSize,
                               SimTime now) {
  SimTime due = now + std::chrono::milliseconds(actions.lateMs);
  if (baudRate_ > 0) due += WireTime(requestSize, baudRate_) + EndOfFrameSilence();
  if (actions.noiseBytes > 0) {
    due += WireTime(static_cast<std::size_t>(actions.noiseBytes), baudRate_);
    Queue(LineEvent::Kind::Send, due, faults_.Noise(actions.noiseBytes));
  }
  const std::size_t pieces = std::min<std::size_t>(static_cast<std::size_t>(actions.pieces), frame.size());
  const std::size_t size = frame.size();
  for (std::size_t i = 0; i < pieces; ++i) {
    const std::size_t begin = size * i / pieces;
    const std::size_t end = size * (i + 1) / pieces;
    const SimTime pieceDue = due + WireTime(end, baudRate_) + std::chrono::milliseconds(actions.pieceGapMs * i);
    Queue(LineEvent::Kind::Send, pieceDue, frame.substr(begin, end - begin));
  }
}

// The line is half-duplex: nothing overtakes what was queued before it.
void SimulatorCore::Queue(LineEvent::Kind kind, SimTime due, std::string bytes) {
  if (!queue_.empty()) due = std::max(due, queue_.back().due);
  queue_.push_back({kind, due, std::move(bytes)});
}

}  // namespace quendrel
