#include "drivesim/TcpListener.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

namespace quendrel {

std::unique_ptr<TcpListener> TcpListener::Open(int port, std::string& error) {
  auto listener = std::make_unique<TcpListener>(Key{});
  listener->fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (listener->fd_ < 0) {
    error = std::string("socket: ") + std::strerror(errno);
    return nullptr;
  }
  const int yes = 1;
  ::setsockopt(listener->fd_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::bind(listener->fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(listener->fd_, 8) != 0) {
    error = "listen on 127.0.0.1:" + std::to_string(port) + ": " + std::strerror(errno);
    return nullptr;
  }
  socklen_t size = sizeof address;
  ::getsockname(listener->fd_, reinterpret_cast<sockaddr*>(&address), &size);
  listener->port_ = ntohs(address.sin_port);
  return listener;
}

TcpListener::~TcpListener() {
  if (fd_ >= 0) ::close(fd_);
}

int TcpListener::Accept() const {
  const int connection = ::accept4(fd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
  if (connection < 0) return -1;
  const int yes = 1;
  ::setsockopt(connection, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
  return connection;
}

}  // namespace quendrel
