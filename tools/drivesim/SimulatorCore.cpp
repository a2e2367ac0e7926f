#include "drivesim/SimulatorCore.h"

#include <algorithm>

#include "drivesim/SimFrame.h"
#include "foundation/files/FileCipher.h"

namespace quendrel {

namespace {

constexpr int kSerialAddressParameter = 1123;  // M11P23: writing it re-addresses the drive
constexpr int kFirmwareUploadParameter = 1139;  // M11P39: writing 1 restarts into the loader
constexpr std::size_t kReceivedLimit = 64 * 1024;
constexpr std::uint8_t kBroadcast = 0;
constexpr std::uint8_t kGatewayNoResponse = 11;
constexpr std::size_t kChallengeSize = 8;
constexpr char kLoginAccepted = 0x06;
constexpr char kLoginRefused = 0x15;
// Without baud emulation a pseudo-terminal delivers a frame in one burst; this only has to
// outlast the gaps inside a burst that was split by the kernel.
constexpr SimDuration kUnemulatedSilence = std::chrono::milliseconds(5);

bool ValidAddress(int address) { return address >= 1 && address <= 247; }

int Word(std::string_view bytes, std::size_t at) {
  return (static_cast<std::uint8_t>(bytes[at]) << 8) | static_cast<std::uint8_t>(bytes[at + 1]);
}

std::string Mbap(int transaction, int protocol, int length, std::uint8_t unit) {
  return {static_cast<char>(transaction >> 8), static_cast<char>(transaction),
          static_cast<char>(protocol >> 8),    static_cast<char>(protocol),
          static_cast<char>(length >> 8),      static_cast<char>(length),
          static_cast<char>(unit)};
}

// The answer a client with the right password gives: challenge XOR password XOR key stream.
std::string ExpectedLoginAnswer(const std::string& challenge, const std::string& password) {
  const std::string keyStream = DecryptString(std::string(challenge.size(), '\0'));
  std::string answer = challenge;
  for (std::size_t i = 0; i < answer.size(); ++i) {
    const char secret = password.empty() ? '\0' : password[i % password.size()];
    answer[i] = static_cast<char>(answer[i] ^ secret ^ keyStream[i]);
  }
  return answer;
}

}  // namespace

SimulatorCore::SimulatorCore(ParameterTable table, std::uint8_t address)
    : responder_(std::move(table)), address_(address) {
  channels_.emplace(kSerialChannel, Channel(Framing::Rtu, FrameSilence()));
  SetAddress(address);
}

void SimulatorCore::SetAddress(std::uint8_t address) {
  address_ = address;
  if (SimParameter* parameter = Table().Find(kSerialAddressParameter)) parameter->value = address;
}

void SimulatorCore::SetBaudRate(long baudRate) {
  baudRate_ = std::max(0L, baudRate);
  channels_.at(kSerialChannel).rtu.SetSilence(FrameSilence());
}

void SimulatorCore::SetMode(LineMode mode) {
  if (mode == LineMode::Loader && mode_ != LineMode::Loader) loader_.Restart();
  mode_ = mode;
  for (auto& [id, channel] : channels_) channel.rtu.Clear();
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

int SimulatorCore::OpenChannel(Framing framing, SimTime now) {
  const int id = nextChannel_++;
  Channel& channel = channels_.emplace(id, Channel(framing, kUnemulatedSilence)).first->second;
  if (password_) {
    channel.challenge = faults_.Noise(kChallengeSize);
    Queue(id, LineEvent::Kind::Send, now, channel.challenge);
  }
  return id;
}

void SimulatorCore::CloseChannel(int channel) {
  if (channel == kSerialChannel) return;
  channels_.erase(channel);
  std::erase_if(queue_, [channel](const LineEvent& event) { return event.channel == channel; });
}

void SimulatorCore::Receive(int id, std::string_view bytes, SimTime now) {
  const auto found = channels_.find(id);
  if (found == channels_.end() || found->second.closing || bytes.empty()) return;
  Channel& channel = found->second;
  if (!channel.challenge.empty()) Login(id, channel, bytes, now);
  if (bytes.empty() || channel.closing) return;
  if (channel.framing == Framing::Mbap) {
    channel.mbap.Append(bytes);
    std::string adu;
    MbapFramer::Status status;
    while ((status = channel.mbap.Next(adu)) == MbapFramer::Status::Complete) HandleAdu(id, adu, now);
    if (status == MbapFramer::Status::Broken) {
      // A stream out of step cannot be trusted again; a real interface drops the connection.
      channel.closing = true;
      Queue(id, LineEvent::Kind::Close, now);
    }
    return;
  }
  received_.append(bytes);
  if (received_.size() > kReceivedLimit) received_.erase(0, received_.size() - kReceivedLimit);
  if (localEcho_ && id == kSerialChannel) Queue(id, LineEvent::Kind::Send, now, std::string(bytes));
  switch (mode_) {
    case LineMode::Drive:
      channel.rtu.Append(bytes, now);
      Advance(now);
      break;
    case LineMode::Echo: {
      const long rate = id == kSerialChannel ? baudRate_ : 0;
      Queue(id, LineEvent::Kind::Send, now + WireTime(bytes.size(), rate), std::string(bytes));
      break;
    }
    case LineMode::Record:
      break;
    case LineMode::Loader:
      ReceiveLoader(id, channel, bytes, now);
      break;
  }
}

// A carriage return at a frame boundary starts synchronisation; from then on the loader takes
// every byte until its transfers are done, and frames are served again.
void SimulatorCore::ReceiveLoader(int id, Channel& channel, std::string_view bytes, SimTime now) {
  const long rate = id == kSerialChannel ? baudRate_ : 0;
  while (!bytes.empty()) {
    const bool raw = loader_.TakesRawBytes() || (bytes.front() == '\r' && channel.rtu.Pending() == 0);
    if (!raw) {
      channel.rtu.Append(bytes, now);
      Advance(now);
      return;
    }
    for (const FlashLoader::Output& out : loader_.Take(static_cast<std::uint8_t>(bytes.front()))) {
      const SimTime due = now + WireTime(static_cast<std::size_t>(out.byteTimes), rate) +
                          std::chrono::milliseconds(out.delayMs);
      Queue(id, LineEvent::Kind::Send, due, out.bytes);
    }
    bytes.remove_prefix(1);
  }
}

// Takes the client's answer to the challenge off the front of bytes.
void SimulatorCore::Login(int id, Channel& channel, std::string_view& bytes, SimTime now) {
  const std::size_t take = std::min(bytes.size(), kChallengeSize - channel.answer.size());
  channel.answer.append(bytes.substr(0, take));
  bytes.remove_prefix(take);
  if (channel.answer.size() < kChallengeSize) return;
  const bool refused = faults_.RefuseLogin();
  const bool accepted = !refused && channel.answer == ExpectedLoginAnswer(channel.challenge, *password_);
  channel.challenge.clear();
  Queue(id, LineEvent::Kind::Send, now, std::string(1, accepted ? kLoginAccepted : kLoginRefused));
  ++(accepted ? loginsAccepted_ : loginsRefused_);
  if (accepted) return;
  channel.closing = true;
  Queue(id, LineEvent::Kind::Close, now);
}

void SimulatorCore::Advance(SimTime now) {
  for (auto& [id, channel] : channels_) {
    if (channel.framing != Framing::Rtu || channel.closing) continue;
    while (auto frame = channel.rtu.Next(now)) HandleFrame(id, *frame, now);
  }
}

void SimulatorCore::Inject(std::string bytes, SimTime now) {
  for (const auto& [id, channel] : channels_) {
    if (channel.framing != Framing::Rtu || channel.closing || !channel.challenge.empty()) continue;
    const long rate = id == kSerialChannel ? baudRate_ : 0;
    Queue(id, LineEvent::Kind::Send, now + WireTime(bytes.size(), rate), bytes);
  }
}

void SimulatorCore::DiscardPending() {
  // A reopen planned by a close fault must survive the close itself.
  std::erase_if(queue_, [](const LineEvent& event) {
    return event.channel == kSerialChannel && event.kind != LineEvent::Kind::Reopen;
  });
  channels_.at(kSerialChannel).rtu.Clear();
}

std::optional<SimTime> SimulatorCore::NextDeadline() const {
  std::optional<SimTime> deadline;
  const auto consider = [&deadline](SimTime at) {
    if (!deadline || at < *deadline) deadline = at;
  };
  for (const auto& [id, channel] : channels_) {
    if (const auto framing = channel.rtu.Deadline()) consider(*framing);
  }
  for (const auto& event : queue_) consider(event.due);
  return deadline;
}

std::vector<LineEvent> SimulatorCore::TakeDue(SimTime now) {
  const auto notDue = std::stable_partition(queue_.begin(), queue_.end(),
                                            [now](const LineEvent& event) { return event.due <= now; });
  std::vector<LineEvent> due(std::make_move_iterator(queue_.begin()), std::make_move_iterator(notDue));
  queue_.erase(queue_.begin(), notDue);
  std::stable_sort(due.begin(), due.end(), [](const LineEvent& a, const LineEvent& b) { return a.due < b.due; });
  return due;
}

long SimulatorCore::RequestCount(std::uint8_t function) const {
  const auto it = byFunction_.find(function);
  return it == byFunction_.end() ? 0 : it->second;
}

void SimulatorCore::ResetStats() {
  requests_ = 0;
  byFunction_.clear();
  broadcasts_ = 0;
  loginsAccepted_ = 0;
  loginsRefused_ = 0;
}

std::string SimulatorCore::TakeReceived() {
  std::string bytes;
  bytes.swap(received_);
  return bytes;
}

void SimulatorCore::HandleFrame(int channel, const std::string& frame, SimTime now) {
  const auto request = SimFrame::Unwrap(frame);
  if (!request || (request->address != address_ && request->address != kBroadcast)) return;
  const auto served = Serve(channel, *request, now);
  if (!served) return;
  const FaultActions& actions = served->actions;
  const int from = actions.fromAddress == -1 ? served->address
                   : actions.fromAddress == -2 ? (served->address + 1) & 0xFF
                                               : actions.fromAddress;
  std::string pdu = served->pdu;
  // The count (or whatever follows the function code) lies; the CRC still checks.
  if (actions.lengthError != 0 && pdu.size() >= 2) pdu[1] = static_cast<char>(pdu[1] + actions.lengthError);
  std::string reply = SimFrame::Wrap(static_cast<std::uint8_t>(from), pdu);
  if (actions.corruptCrc) reply.back() = static_cast<char>(reply.back() ^ 0x5A);
  QueueReply(channel, std::move(reply), actions, request->FrameSize(), now);
}

void SimulatorCore::HandleAdu(int channel, const std::string& adu, SimTime now) {
  const int transaction = Word(adu, 0);
  SimRequest request;
  request.address = static_cast<std::uint8_t>(adu[6]);
  request.function = static_cast<std::uint8_t>(adu[7]);
  request.data = adu.substr(8);
  if (request.address != address_ && request.address != kBroadcast) {
    // The Ethernet interface answers for a drive that is not behind it.
    const std::string pdu = SimFrame::ExceptionReply(request.function, kGatewayNoResponse);
    Queue(channel, LineEvent::Kind::Send, now, Mbap(transaction, 0, 1 + pdu.size(), request.address) + pdu);
    return;
  }
  const auto served = Serve(channel, request, now);
  if (!served) return;
  const FaultActions& actions = served->actions;
  const int unit = actions.fromAddress == -1 ? request.address
                   : actions.fromAddress == -2 ? (request.address + 1) & 0xFF
                                               : actions.fromAddress;
  const int length = static_cast<int>(served->pdu.size()) + 1 + actions.lengthError;
  const int protocol = actions.corruptCrc ? 1 : 0;  // nothing to corrupt but the header
  if (actions.oldTid >= 0) {
    Queue(channel, LineEvent::Kind::Send, now,
          Mbap((transaction - 1) & 0xFFFF, protocol, length, static_cast<std::uint8_t>(unit)) + served->pdu);
    if (actions.oldTid == 1) return;
  }
  std::string reply = Mbap(transaction, protocol, length, static_cast<std::uint8_t>(unit)) + served->pdu;
  QueueReply(channel, std::move(reply), actions, adu.size(), now);
}

// Counts and executes a request addressed to the drive; nothing when no reply is to go out.
std::optional<SimulatorCore::Served> SimulatorCore::Serve(int channel, const SimRequest& request, SimTime now) {
  ++requests_;
  ++byFunction_[request.function];
  if (request.address == kBroadcast) ++broadcasts_;
  const FaultActions actions = faults_.Decide();
  if (actions.closePort) {
    Queue(channel, LineEvent::Kind::Close, now);
    if (actions.reopenAfterMs > 0 && channel == kSerialChannel) {
      Queue(channel, LineEvent::Kind::Reopen, now + std::chrono::milliseconds(actions.reopenAfterMs));
    }
  }
  if (!actions.serve) return std::nullopt;

  if (mode_ == LineMode::Loader) {
    const auto answer = loader_.Respond(request.function, request.data);
    if (answer.leave) {
      // The firmware runs again, its upload request forgotten.
      if (SimParameter* upload = Table().Find(kFirmwareUploadParameter)) upload->value = 0;
      SetMode(LineMode::Drive);
    }
    if (!answer.pdu || !actions.answer || request.address == kBroadcast) return std::nullopt;
    return Served{*answer.pdu, actions, address_};
  }
  responder_.SetEthernet(channel != kSerialChannel);
  const auto outcome = responder_.Respond(request.function, request.data);
  const std::uint8_t replyAddress = address_;
  if (outcome.written == kFirmwareUploadParameter && Table().Find(kFirmwareUploadParameter)->value == 1 &&
      channels_.at(channel).framing == Framing::Rtu) {
    // The drive restarts into its loader at once: the write is never answered.
    SetMode(LineMode::Loader);
    return std::nullopt;
  }
  if (outcome.written == kSerialAddressParameter) {
    // The reply still leaves from the old address; the next request must use the new one.
    const int newAddress = Table().Find(kSerialAddressParameter)->value;
    if (ValidAddress(newAddress)) address_ = static_cast<std::uint8_t>(newAddress);
  }
  // Like any Modbus slave the drive executes a broadcast but never answers it.
  if (!outcome.pdu || !actions.answer || request.address == kBroadcast) return std::nullopt;
  return Served{*outcome.pdu, actions, replyAddress};
}

// With baud emulation a serial reply is complete when it would be on a real line: after the
// request's own wire time, the 3.5-character silence that ends it, and the reply's wire time.
void SimulatorCore::QueueReply(int channel, std::string frame, const FaultActions& actions,
                               std::size_t requestSize, SimTime now) {
  const long rate = channel == kSerialChannel ? baudRate_ : 0;
  SimTime due = now + std::chrono::milliseconds(actions.lateMs);
  if (rate > 0) due += WireTime(requestSize, rate) + EndOfFrameSilence();
  if (actions.noiseBytes > 0) {
    due += WireTime(static_cast<std::size_t>(actions.noiseBytes), rate);
    Queue(channel, LineEvent::Kind::Send, due, faults_.Noise(actions.noiseBytes));
  }
  if (actions.cut) frame.resize(frame.size() / 2);
  const std::size_t pieces = std::min<std::size_t>(static_cast<std::size_t>(actions.pieces), frame.size());
  const std::size_t size = frame.size();
  for (std::size_t i = 0; i < pieces; ++i) {
    const std::size_t begin = size * i / pieces;
    const std::size_t end = size * (i + 1) / pieces;
    const SimTime pieceDue = due + WireTime(end, rate) + std::chrono::milliseconds(actions.pieceGapMs * i);
    Queue(channel, LineEvent::Kind::Send, pieceDue, frame.substr(begin, end - begin));
  }
  if (actions.cut && channel != kSerialChannel) Queue(channel, LineEvent::Kind::Close, due);
}

// Each line is half-duplex: nothing overtakes what was queued before it on the same channel.
void SimulatorCore::Queue(int channel, LineEvent::Kind kind, SimTime due, std::string bytes) {
  if (!channels_.contains(channel)) return;
  for (const auto& event : queue_) {
    if (event.channel == channel) due = std::max(due, event.due);
  }
  queue_.push_back({kind, due, std::move(bytes), channel});
}

}  // namespace quendrel
