#include "drivesim/SimTcpConnection.h"

#include <cerrno>
#include <sys/socket.h>
#include <unistd.h>

namespace quendrel {

namespace {

// Replies pile up only while a client does not read; past this they are thrown away.
constexpr std::size_t kUnsentLimit = 1 << 20;

}  // namespace

SimTcpConnection::~SimTcpConnection() {
  if (fd_ >= 0) ::close(fd_);
}

bool SimTcpConnection::Read(std::string& bytes) {
  char chunk[4096];
  const ssize_t count = ::recv(fd_, chunk, sizeof chunk, 0);
  if (count < 0) return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
  if (count == 0) return false;
  bytes.assign(chunk, static_cast<std::size_t>(count));
  return true;
}

void SimTcpConnection::Send(std::string_view bytes) {
  if (unsent_.size() < kUnsentLimit) unsent_.append(bytes);
  Flush();
}

void SimTcpConnection::Flush() {
  if (unsent_.empty()) return;
  const ssize_t written = ::send(fd_, unsent_.data(), unsent_.size(), MSG_NOSIGNAL);
  if (written > 0) unsent_.erase(0, static_cast<std::size_t>(written));
}

}  // namespace quendrel
