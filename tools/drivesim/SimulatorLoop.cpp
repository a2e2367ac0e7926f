#include "drivesim/SimulatorLoop.h"

#include <cerrno>
#include <poll.h>
#include <sys/prctl.h>
#include <unistd.h>

#include "drivesim/StopSignals.h"

namespace quendrel {

namespace {

// Replies pile up only while nobody reads the port; past this they are thrown away.
constexpr std::size_t kUnsentLimit = 1 << 20;
// A sleeper wakes some tens of microseconds after its timer. An emulated line echoes each byte two
// byte times after it came (about a millisecond at 19200 bits/s), so that lateness would slow every
// exchange by several percent: the loop wakes this much early and polls through the rest.
constexpr SimDuration kWakeMargin = std::chrono::microseconds(50);

void WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
}

timespec Until(SimTime deadline, SimTime now) {
  const auto left = std::max(SimDuration::zero(), std::chrono::duration_cast<SimDuration>(deadline - now));
  return {static_cast<time_t>(left.count() / 1'000'000), static_cast<long>(left.count() % 1'000'000) * 1000};
}

}  // namespace

SimulatorLoop::SimulatorLoop(SimulatorCore& core, std::string linkPath, int controlIn, int controlOut)
    : core_(core), interpreter_(core, *this), linkPath_(std::move(linkPath)), controlIn_(controlIn),
      controlOut_(controlOut) {}

bool SimulatorLoop::Start(std::string& error) {
  terminal_ = PseudoTerminal::Open(linkPath_, error);
  return terminal_ != nullptr;
}

int SimulatorLoop::Listen(Framing framing, int port, std::string& error) {
  auto socket = TcpListener::Open(port, error);
  if (!socket) return -1;
  const int chosen = socket->Port();
  listeners_.push_back({std::move(socket), framing});
  return chosen;
}

void SimulatorLoop::Run() {
  // By default the kernel may defer a timer by 50 microseconds to batch wake-ups; the line's
  // timing is only as exact as ours.
  ::prctl(PR_SET_TIMERSLACK, 1UL);
  std::vector<pollfd> fds;
  std::vector<std::pair<Source, int>> sources;  // kind and index or channel, parallel to fds
  while (!quit_) {
    fds.clear();
    sources.clear();
    fds.push_back({controlIn_, POLLIN, 0});
    sources.emplace_back(Source::Control, 0);
    if (terminal_) {
      fds.push_back({terminal_->MasterFd(), static_cast<short>(POLLIN | (unsent_.empty() ? 0 : POLLOUT)), 0});
      sources.emplace_back(Source::Port, 0);
    }
    for (std::size_t i = 0; i < listeners_.size(); ++i) {
      fds.push_back({listeners_[i].socket->Fd(), POLLIN, 0});
      sources.emplace_back(Source::Listener, static_cast<int>(i));
    }
    for (const auto& [channel, connection] : connections_) {
      fds.push_back({connection->Fd(), static_cast<short>(POLLIN | (connection->HasUnsent() ? POLLOUT : 0)), 0});
      sources.emplace_back(Source::Connection, channel);
    }
    const auto deadline = core_.NextDeadline();
    const timespec wait = deadline ? Until(*deadline - kWakeMargin, SimClock::now()) : timespec{};
    if (::ppoll(fds.data(), fds.size(), deadline ? &wait : nullptr, StopSignals::WaitMask()) < 0 && errno != EINTR) {
      return;
    }
    if (StopSignals::Raised()) return;

    const SimTime now = SimClock::now();
    for (std::size_t i = 0; i < fds.size(); ++i) {
      const short events = fds[i].revents;
      if (events == 0) continue;
      const auto [source, which] = sources[i];
      if (source == Source::Control) ReadControl(now);
      if (source == Source::Port && (events & POLLIN) && terminal_) ReadPort(now);
      if (source == Source::Listener) Accept(listeners_[static_cast<std::size_t>(which)], now);
      if (source == Source::Connection) ReadConnection(which, now);
      if (quit_) return;
    }
    Deliver(SimClock::now());
  }
}

void SimulatorLoop::ReadControl(SimTime now) {
  char chunk[4096];
  const ssize_t count = ::read(controlIn_, chunk, sizeof chunk);
  if (count <= 0) {
    if (count < 0 && errno == EINTR) return;
    quit_ = true;  // whoever started us has gone
    return;
  }
  controlBuffer_.append(chunk, static_cast<std::size_t>(count));
  std::size_t end;
  while (!quit_ && (end = controlBuffer_.find('\n')) != std::string::npos) {
    std::string line = controlBuffer_.substr(0, end);
    controlBuffer_.erase(0, end + 1);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    Answer(interpreter_.Execute(line, now));
  }
}

void SimulatorLoop::ReadPort(SimTime now) {
  char chunk[4096];
  const ssize_t count = ::read(terminal_->MasterFd(), chunk, sizeof chunk);
  if (count > 0) core_.Receive(std::string_view(chunk, static_cast<std::size_t>(count)), now);
}

void SimulatorLoop::Accept(const Listener& listener, SimTime now) {
  const int fd = listener.socket->Accept();
  if (fd < 0) return;
  const int channel = core_.OpenChannel(listener.framing, now);
  connections_.emplace(channel, std::make_unique<SimTcpConnection>(fd));
}

void SimulatorLoop::ReadConnection(int channel, SimTime now) {
  const auto found = connections_.find(channel);
  if (found == connections_.end()) return;
  found->second->Flush();
  std::string bytes;
  if (!found->second->Read(bytes)) {
    Drop(channel);
    return;
  }
  core_.Receive(channel, bytes, now);
}

void SimulatorLoop::Deliver(SimTime now) {
  core_.Advance(now);
  for (auto& event : core_.TakeDue(now)) Perform(event);
  Flush();
}

void SimulatorLoop::Perform(LineEvent& event) {
  if (event.channel != SimulatorCore::kSerialChannel) {
    const auto found = connections_.find(event.channel);
    if (found == connections_.end()) return;
    if (event.kind == LineEvent::Kind::Send) found->second->Send(event.bytes);
    if (event.kind == LineEvent::Kind::Close) Drop(event.channel);
    return;
  }
  switch (event.kind) {
    case LineEvent::Kind::Send:
      if (terminal_ && unsent_.size() < kUnsentLimit) unsent_ += event.bytes;
      break;
    case LineEvent::Kind::Close:
      ClosePort();
      break;
    case LineEvent::Kind::Reopen:
      ReopenPort();
      break;
  }
}

void SimulatorLoop::Drop(int channel) {
  connections_.erase(channel);
  core_.CloseChannel(channel);
}

void SimulatorLoop::Flush() {
  for (auto& [channel, connection] : connections_) connection->Flush();
  if (!terminal_ || unsent_.empty()) return;
  const ssize_t written = ::write(terminal_->MasterFd(), unsent_.data(), unsent_.size());
  if (written > 0) unsent_.erase(0, static_cast<std::size_t>(written));
}

void SimulatorLoop::Answer(const std::string& line) { WriteAll(controlOut_, line + "\n"); }

void SimulatorLoop::ClosePort() {
  terminal_.reset();
  unsent_.clear();
  core_.DiscardPending();
}

std::string SimulatorLoop::ReopenPort() {
  if (!terminal_) {
    std::string error;
    terminal_ = PseudoTerminal::Open(linkPath_, error);
  }
  return DevicePath();
}

void SimulatorLoop::DisconnectClients() {
  while (!connections_.empty()) Drop(connections_.begin()->first);
}

std::string SimulatorLoop::Ports() const {
  std::string ports;
  for (const auto& listener : listeners_) {
    if (!ports.empty()) ports += ' ';
    ports += (listener.framing == Framing::Mbap ? "tcp " : "rtu-tcp ") + std::to_string(listener.socket->Port());
  }
  return ports;
}

}  // namespace quendrel
