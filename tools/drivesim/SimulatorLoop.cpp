#include "drivesim/SimulatorLoop.h"

#include <cerrno>
#include <poll.h>
#include <unistd.h>

namespace quendrel {

namespace {

// Replies pile up only while nobody reads the port; past this they are thrown away.
constexpr std::size_t kUnsentLimit = 1 << 20;

void WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
}

}  // namespace

SimulatorLoop::SimulatorLoop(SimulatorCore& core, std::string linkPath, int controlIn, int controlOut)
    : core_(core), interpreter_(core, *this), linkPath_(std::move(linkPath)), controlIn_(controlIn),
      controlOut_(controlOut) {}

bool SimulatorLoop::Start(std::string& error) {
  terminal_ = PseudoTerminal::Open(linkPath_, error);
  return terminal_ != nullptr;
}

void SimulatorLoop::Run() {
  while (!quit_) {
    pollfd fds[2] = {{controlIn_, POLLIN, 0}, {terminal_ ? terminal_->MasterFd() : -1, POLLIN, 0}};
    if (!unsent_.empty()) fds[1].events |= POLLOUT;
    const SimTime now = SimClock::now();
    timespec wait{};
    const auto deadline = core_.NextDeadline();
    if (deadline) {
      const auto remaining = std::max(SimDuration::zero(), std::chrono::duration_cast<SimDuration>(*deadline - now));
      wait.tv_sec = static_cast<time_t>(remaining.count() / 1'000'000);
      wait.tv_nsec = static_cast<long>(remaining.count() % 1'000'000) * 1000;
    }
    if (::ppoll(fds, 2, deadline ? &wait : nullptr, nullptr) < 0 && errno != EINTR) return;
    const SimTime woke = SimClock::now();
    if (fds[1].revents & POLLIN) ReadPort(woke);
    if (fds[0].revents & (POLLIN | POLLHUP)) ReadControl(woke);
    Deliver(SimClock::now());
    if (fds[1].revents & POLLOUT) Flush();
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

void SimulatorLoop::Deliver(SimTime now) {
  core_.Advance(now);
  for (auto& event : core_.TakeDue(now)) {
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
  Flush();
}

void SimulatorLoop::Flush() {
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

}  // namespace quendrel
