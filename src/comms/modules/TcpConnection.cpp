#include "comms/modules/TcpConnection.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cmath>
#include <vector>

#include "comms/server/GIOError.h"

namespace quendrel {

namespace {

double SecondsNow() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// poll() counts whole milliseconds; a wait that has some time left must not become a busy loop of 0 ms.
int PollMilliseconds(double seconds) {
  if (seconds <= 0) return 0;
  return static_cast<int>(std::fmin(std::ceil(seconds * 1000.0), 24.0 * 3600.0 * 1000.0));
}

// Waits for the events or the deadline; the revents, 0 on timeout, -1 on a poll failure.
int WaitFor(int fd, short events, double seconds) {
  pollfd entry{fd, events, 0};
  while (true) {
    const int ready = ::poll(&entry, 1, PollMilliseconds(seconds));
    if (ready > 0) return entry.revents;
    if (ready == 0) return 0;
    if (errno != EINTR) return -1;
  }
}

}  // namespace

TcpConnection::~TcpConnection() { Close(); }

void TcpConnection::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  peerClosed_ = false;
}

void TcpConnection::Fail(int detail) { failure_ = detail; }

bool TcpConnection::Connect(const std::string& host, int port, double timeoutSeconds) {
  Close();
  failure_ = 0;
  const double deadline = SecondsNow() + timeoutSeconds;
  // An unreachable name server would otherwise hold the exchange for as long as the resolver likes.
  const std::vector<HostLookup::Address> addresses = HostLookup::Find(host, port, timeoutSeconds, resolver_);
  for (const HostLookup::Address& address : addresses) {
    if (SecondsNow() >= deadline) break;
    if (ConnectTo(address, deadline)) return true;
  }
  failure_ = gioConnectFailed;
  return false;
}

bool TcpConnection::ConnectTo(const HostLookup::Address& address, double deadline) {
  const int fd = ::socket(address.family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  fd_ = fd;
  const auto* target = reinterpret_cast<const sockaddr*>(&address.storage);
  if (::connect(fd_, target, address.length) != 0) {
    if (errno != EINPROGRESS) {
      Close();
      return false;
    }
    int error = 0;
    socklen_t length = sizeof error;
    const int events = WaitFor(fd_, POLLOUT, deadline - SecondsNow());
    if (events <= 0 || ::getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0) {
      Close();
      return false;
    }
  }
  // Requests are single small frames: waiting to coalesce them would only add to every round trip.
  const int noDelay = 1;
  ::setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &noDelay, sizeof noDelay);
  return true;
}

bool TcpConnection::Write(std::string_view bytes, double timeoutSeconds) {
  if (fd_ < 0) return false;
  const double deadline = SecondsNow() + timeoutSeconds;
  while (!bytes.empty()) {
    const ssize_t sent = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
    if (sent > 0) {
      bytes.remove_prefix(static_cast<std::size_t>(sent));
      continue;
    }
    if (sent < 0 && errno == EINTR) continue;
    if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      const int events = WaitFor(fd_, POLLOUT, deadline - SecondsNow());
      if (events > 0 && (events & POLLOUT) != 0) continue;
    }
    Fail(errno == EPIPE || errno == ECONNRESET ? gioConnectionClosed : gioSendFailed);
    return false;
  }
  return true;
}

ByteLink::Wait TcpConnection::WaitReadable(double timeoutSeconds) {
  if (fd_ < 0 || peerClosed_) return Wait::Failed;
  const int events = WaitFor(fd_, POLLIN, timeoutSeconds);
  if (events < 0) {
    Fail(gioReceiveFailed);
    return Wait::Failed;
  }
  // A hang-up or an error is found out by the read that follows, which hands over what came first.
  return events == 0 ? Wait::TimedOut : Wait::Readable;
}

bool TcpConnection::ReadAvailable(std::string& into) {
  if (fd_ < 0) return false;
  if (peerClosed_) {
    Fail(gioConnectionClosed);
    return false;
  }
  char buffer[4096];
  bool received = false;
  while (true) {
    const ssize_t count = ::recv(fd_, buffer, sizeof buffer, MSG_DONTWAIT);
    if (count > 0) {
      into.append(buffer, static_cast<std::size_t>(count));
      received = true;
      // A short read emptied the socket; asking again would only cost a call.
      if (static_cast<std::size_t>(count) < sizeof buffer) return true;
      continue;
    }
    if (count < 0 && errno == EINTR) continue;
    if (count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return true;
    peerClosed_ = true;
    Fail(count == 0 || errno == ECONNRESET ? gioConnectionClosed : gioReceiveFailed);
    return received;
  }
}

bool TcpConnection::DiscardInput() {
  std::string dropped;
  return ReadAvailable(dropped) && !peerClosed_;
}

}  // namespace quendrel
